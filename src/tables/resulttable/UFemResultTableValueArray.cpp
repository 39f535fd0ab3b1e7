#include "tables/resulttable/UFemResultTableValueArray.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/expression/UFemCardValueExprList.h"
#include "cardmodel/expression/UFemCardValueExpression.h"

#include <cmath>

namespace {

constexpr size_t initialValueBufferCount = 48;

QString columnLabel(
    const QString& label, quint64 point, quint64 sectionPoint, const _UFemCardValueArraySize& size)
{
    const bool points = size.numberOfPoints > 1;
    const bool sections = size.numberOfSectionPoints > 1;
    if (points && sections)
        return QStringLiteral("%1 (%2,s%3)").arg(label).arg(point).arg(sectionPoint);
    if (points)
        return QStringLiteral("%1 (%2)").arg(label).arg(point);
    if (sections)
        return QStringLiteral("%1 (s%2)").arg(label).arg(sectionPoint);
    return label;
}

// The running extremes of the columns of one expression over its cases.
struct Extremes {
    std::vector<double> maxima;
    std::vector<double> minima;
    bool isSet = false;
    bool hasFailedCase = false;

    void add(const double* values, size_t count)
    {
        if (!isSet) {
            maxima.assign(values, values + count);
            minima.assign(values, values + count);
            isSet = true;
            return;
        }
        for (size_t i = 0; i < count; ++i) {
            if (values[i] > maxima[i])
                maxima[i] = values[i];
            if (values[i] < minima[i])
                minima[i] = values[i];
        }
    }
    double largestMagnitude() const
    {
        double largest = 0.0;
        for (size_t i = 0; i < maxima.size(); ++i)
            largest = std::fmax(largest, std::fmax(std::fabs(maxima[i]), std::fabs(minima[i])));
        return largest;
    }
};

} // namespace

void UFemResultTableValueArray::appendColumn(
    const UFemNumberFormatter& formatter, const QString& label)
{
    numberFormatters_.push_back(formatter);
    rows_.front().push_back(label);
}

void UFemResultTableValueArray::appendFailedSizeColumn(const UFemNumberFormatter& formatter,
    const QString& label, const UErrorPtr& error, bool hasMaxMin)
{
    appendColumn(formatter, label);
    const size_t caseRowEnd = rows_.size() - (hasMaxMin ? 2 : 0);
    for (size_t r = 1; r < caseRowEnd; ++r)
        rows_[r].push_back(error);
    for (size_t r = caseRowEnd; r < rows_.size(); ++r)
        rows_[r].push_back(UFemResultTableNoValueString);
}

std::optional<UFemResultTableValueArray>
UFemResultTableValueArray::cardTableValueArrayWithCardValueExprList(
    const UFemCardValueExprList& list, UFemCard& card, const std::vector<UFemCard*>& caseCardArray)
{
    const auto expressions = list.cardValueExpressionArrayWithCard(card);
    if (expressions.empty())
        return std::nullopt;
    const std::vector<UFemCard*> cases
        = caseCardArray.empty() ? std::vector<UFemCard*> { nullptr } : caseCardArray;
    const bool hasMaxMin = caseCardArray.size() >= 2;

    UFemResultTableValueArray array;
    array.rows_.push_back({ std::monostate() });
    for (UFemCard* caseCard : cases)
        array.rows_.push_back({ caseCard ? caseCard->cardNameString().value_or(QString())
                                         : UFemResultTableNoCaseString });
    if (hasMaxMin) {
        array.rows_.push_back({ UFemResultTableMaxString });
        array.rows_.push_back({ UFemResultTableMinString });
    }

    std::vector<double> values(initialValueBufferCount);
    for (const auto& expression : expressions) {
        UFemNumberFormatter formatter = expression->numberFormatter();
        _UFemCardValueArraySize size;
        UErrorPtr sizeError;
        if (!expression->getCardValueArraySize(&size, &card, &sizeError)) {
            array.appendFailedSizeColumn(formatter,
                expression->cardValueExpressionString().value_or(QString()), sizeError, hasMaxMin);
            continue;
        }
        const size_t count
            = size_t(size.numberOfPoints) * size.numberOfSectionPoints * size.numberOfVectorValues;
        if (count > values.size())
            values.resize(count);

        Extremes extremes;
        for (size_t c = 0; c < cases.size(); ++c) {
            UFemResultTableRow& row = array.rows_[c + 1];
            UErrorPtr error;
            if (!expression->getCardValue(values.data(), size, &card, cases[c], &error)) {
                extremes.hasFailedCase = true;
                row.insert(row.end(), count, error);
                continue;
            }
            row.insert(row.end(), values.begin(), values.begin() + qsizetype(count));
            extremes.add(values.data(), count);
        }
        if (hasMaxMin) {
            UFemResultTableRow& maxRow = array.rows_[cases.size() + 1];
            UFemResultTableRow& minRow = array.rows_[cases.size() + 2];
            if (extremes.hasFailedCase) {
                maxRow.insert(maxRow.end(), count, UFemResultTableNoValueString);
                minRow.insert(minRow.end(), count, UFemResultTableNoValueString);
            } else {
                maxRow.insert(maxRow.end(), extremes.maxima.begin(), extremes.maxima.end());
                minRow.insert(minRow.end(), extremes.minima.begin(), extremes.minima.end());
                formatter.setNumberFormatterHintWithMaxValue(extremes.largestMagnitude());
            }
        }
        const QStringList labels = expression->cardValueVectorValueLabelStringArray();
        const QString fallbackLabel = expression->cardValueExpressionString().value_or(QString());
        for (quint64 point = 1; point <= size.numberOfPoints; ++point)
            for (quint64 section = 1; section <= size.numberOfSectionPoints; ++section)
                for (quint64 k = 0; k < size.numberOfVectorValues; ++k)
                    array.appendColumn(formatter,
                        columnLabel(
                            qsizetype(k) < labels.size() ? labels[qsizetype(k)] : fallbackLabel,
                            point, section, size));
    }
    return array;
}
