#include "tables/resulttable/UFemResultTableTextWriter.h"

#include "cardmodel/card/UFemCard.h"

namespace {

const QString commaSeparator = QStringLiteral(" , ");

template <typename... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};
// Spelled out for compilers without deduction for aggregates.
template <typename... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

QString cellText(const UFemResultTableCell& cell, const UFemNumberFormatter* formatter)
{
    return std::visit(Overloaded {
                          [](std::monostate) { return QString(); },
                          [formatter](double value) {
                              return formatter ? formatter->stringWithValue(value) : QString();
                          },
                          [](const UErrorPtr& error) {
                              return error ? error->localizedShortDescription() : QString();
                          },
                          [](const QString& text) { return text; },
                      },
        cell);
}

} // namespace

QString UFemResultTableTextWriter::cardNameRowString(const UFemCard& card)
{
    return QStringLiteral("%1 (Row:%2)")
        .arg(card.cardNameString().value_or(QString()))
        .arg(card.cardRowIndex() + 1);
}

void UFemResultTableTextWriter::writeCardNameRow(QString& text, const UFemCard& card)
{
    text += cardNameRowString(card);
    text += u'\n';
}

void UFemResultTableTextWriter::writeValueRow(QString& text,
    const UFemResultTableValueArray& valueArray, quint64 rowIndex,
    UFemColumnSeparatingCharacterType type,
    const std::optional<UFemNumberFormatter>& numberFormatter)
{
    const UFemResultTableRow& row = valueArray.row(rowIndex);
    const bool isTab = type == UFemColumnSeparatingCharacterTypeTab;
    const qsizetype valueWidth = numberFormatter ? qsizetype(numberFormatter->stringLength()) : 0;
    std::optional<UFemNumberFormatter> formatter = numberFormatter;
    for (size_t column = 0; column < row.size(); ++column) {
        if (!formatter && std::holds_alternative<double>(row[column]))
            formatter = column == 0 ? UFemNumberFormatter::defaultWritingFileNumberFormatter()
                                    : valueArray.numberFormatter(column);
        const QString cell = cellText(row[column], formatter ? &*formatter : nullptr);
        if (isTab) {
            if (column > 0)
                text += u'\t';
            text += cell;
        } else {
            if (column > 0)
                text += commaSeparator;
            text += cell.leftJustified(column == 0 ? firstCellWidth : valueWidth);
        }
    }
    if (!isTab)
        text += commaSeparator;
    text += u'\n';
}

bool UFemResultTableTextWriter::writeResultTableValueToResultTextString(QString& text,
    const UFemCardValueExprList& list, UFemCard& card, const std::vector<UFemCard*>& caseCardArray,
    const UFemNumberFormatter& numberFormatter)
{
    const auto valueArray = UFemResultTableValueArray::cardTableValueArrayWithCardValueExprList(
        list, card, caseCardArray);
    if (!valueArray)
        return false;
    writeCardNameRow(text, card);
    for (quint64 row = 1; row < valueArray->numberOfRows(); ++row)
        writeValueRow(
            text, *valueArray, row, UFemColumnSeparatingCharacterTypeComma, numberFormatter);
    return true;
}
