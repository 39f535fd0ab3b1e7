#include "tables/resulttable/UFemResultTableModel.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/expression/UFemCardValueExpression.h"
#include "tables/resulttable/UFemResultTableTextWriter.h"

#include <QFontDatabase>
#include <QPalette>

#include <algorithm>
#include <limits>

namespace {

// Rows of a block: name, labels, the case row, spacer; or name, labels, the cases, Max, Min,
// spacer.
constexpr quint64 singleCaseRowsPerCard = 4;
constexpr quint64 rowsPerCardBesideCases = 5;
const QColor errorCellColor = Qt::gray;

} // namespace

UFemResultTableModel::UFemResultTableModel(QObject* parent)
    : QAbstractTableModel(parent)
    , valueFont_(QFontDatabase::systemFont(QFontDatabase::FixedFont))
{
}

void UFemResultTableModel::setTargetCardArrayProvider(CardArrayProvider provider)
{
    targetCardArrayProvider_ = std::move(provider);
}

void UFemResultTableModel::setCaseCardArrayProvider(CardArrayProvider provider)
{
    caseCardArrayProvider_ = std::move(provider);
}

bool UFemResultTableModel::setCardValueExprListString(
    const QString& cardValueExprListString, UErrorPtr* error)
{
    cardValueExprListString_ = cardValueExprListString;
    UErrorPtr parseError;
    const bool parsed
        = cardValueExprList_.setCardValueExprListString(cardValueExprListString, &parseError)
        || !parseError;
    // A failed parse has emptied the list too: the shape must follow it.
    needsUpdateTableContents_ = true;
    reloadData();
    if (!parsed)
        UFemSetError(error, parseError);
    return parsed;
}

void UFemResultTableModel::reloadData()
{
    beginResetModel();
    if (needsUpdateTableContents_)
        updateTableContents();
    endResetModel();
}

void UFemResultTableModel::removeAllCardTableValueArray()
{
    for (auto& block : resultCardAndValueArray_)
        block.cardTableValueArray.reset();
}

quint64 UFemResultTableModel::numberOfTableColumnForCard(UFemCard& card) const
{
    const auto expressions = cardValueExprList_.cardValueExpressionArrayWithCard(card);
    if (expressions.empty())
        return 0;
    quint64 count = 1;
    for (const auto& expression : expressions) {
        _UFemCardValueArraySize size;
        UErrorPtr sizeError;
        if (expression->getCardValueArraySize(&size, &card, &sizeError))
            count += quint64(size.numberOfPoints) * size.numberOfSectionPoints
                * size.numberOfVectorValues;
        else
            count += 1;
    }
    return count;
}

void UFemResultTableModel::updateTableContents()
{
    resultCardAndValueArray_.clear();
    numberOfTableColumn_ = 1;
    numberOfTableRowTotal_ = 0;
    numberOfTableRowForCard_ = 0;
    doesDisplayMaxMin_ = false;
    viewCenterMessageString_.clear();
    errorString_.clear();
    if (!cardValueExprList_.isValid()) {
        viewCenterMessageString_ = UFemResultTableNoExpressionMessage;
        return;
    }
    const UFemCardVector targets
        = targetCardArrayProvider_ ? targetCardArrayProvider_() : UFemCardVector();
    if (targets.empty()) {
        errorString_ = UFemResultTableSelectCardsMessage;
        return;
    }
    UFemCardVector cases = caseCardArrayProvider_ ? caseCardArrayProvider_() : UFemCardVector();
    std::vector<UFemResultTableCardAndValueObj> blocks;
    quint64 columns = 1;
    for (const UFemCardPtr& card : targets) {
        if (!UFemIsNormalCardType(card->cardType()))
            continue;
        const quint64 count = numberOfTableColumnForCard(*card);
        if (count == 0)
            continue;
        blocks.push_back({ card, count, std::nullopt });
        columns = std::max(columns, count);
    }
    if (blocks.empty()) {
        errorString_ = UFemResultTableNoMatchedCardMessage;
        return;
    }
    doesDisplayMaxMin_ = cases.size() >= 2;
    numberOfTableRowForCard_
        = doesDisplayMaxMin_ ? cases.size() + rowsPerCardBesideCases : singleCaseRowsPerCard;
    numberOfTableRowTotal_ = blocks.size() * numberOfTableRowForCard_;
    numberOfTableColumn_ = columns;
    resultCardAndValueArray_ = std::move(blocks);
    caseCardArray_ = std::move(cases);
    needsUpdateTableContents_ = false;
}

std::vector<UFemCard*> UFemResultTableModel::caseCardPointers() const
{
    std::vector<UFemCard*> cases;
    cases.reserve(caseCardArray_.size());
    for (const UFemCardPtr& card : caseCardArray_)
        cases.push_back(card.get());
    return cases;
}

UFemResultTableModel::RowPlace UFemResultTableModel::placeOfRow(quint64 row) const
{
    return { row / numberOfTableRowForCard_, row % numberOfTableRowForCard_ };
}

bool UFemResultTableModel::isMaxMinLine(quint64 line) const
{
    return doesDisplayMaxMin_ && line + 3 >= numberOfTableRowForCard_ && !isSpacerLine(line);
}

const UFemResultTableValueArray* UFemResultTableModel::valueArrayOfBlock(quint64 block) const
{
    UFemResultTableCardAndValueObj& object = resultCardAndValueArray_[block];
    if (!object.cardTableValueArray) {
        ++valueArrayBuildCount_;
        object.cardTableValueArray
            = UFemResultTableValueArray::cardTableValueArrayWithCardValueExprList(
                cardValueExprList_, *object.card, caseCardPointers());
    }
    return object.cardTableValueArray ? &*object.cardTableValueArray : nullptr;
}

void UFemResultTableModel::writeResultTableRowValueToResultTextString(QString& text, quint64 row,
    UFemColumnSeparatingCharacterType type,
    const std::optional<UFemNumberFormatter>& numberFormatter) const
{
    if (row >= numberOfTableRowTotal_)
        return;
    const RowPlace place = placeOfRow(row);
    const UFemResultTableValueArray* array = valueArrayOfBlock(place.block);
    if (!array)
        return;
    if (place.line == 0)
        UFemResultTableTextWriter::writeCardNameRow(
            text, *resultCardAndValueArray_[place.block].card);
    else if (isSpacerLine(place.line))
        text += u'\n';
    else
        UFemResultTableTextWriter::writeValueRow(text, *array, place.line, type, numberFormatter);
}

int UFemResultTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return int(std::min<quint64>(numberOfTableRowTotal_, std::numeric_limits<int>::max()));
}

int UFemResultTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(numberOfTableColumn_);
}

Qt::ItemFlags UFemResultTableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

QVariant UFemResultTableModel::headerData(int, Qt::Orientation, int) const
{
    return {};
}

QVariant UFemResultTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || quint64(index.row()) >= numberOfTableRowTotal_)
        return {};
    const RowPlace place = placeOfRow(quint64(index.row()));
    const auto column = quint64(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return displayData(place, column);
    case Qt::BackgroundRole:
        return backgroundData(place, column);
    default:
        return cellRoleData(place, column, role);
    }
}

QVariant UFemResultTableModel::displayData(const RowPlace& place, quint64 column) const
{
    if (place.line == 0)
        return column == 0 ? QVariant(UFemResultTableTextWriter::cardNameRowString(
                   *resultCardAndValueArray_[place.block].card))
                           : QVariant();
    if (isSpacerLine(place.line))
        return {};
    const UFemResultTableValueArray* array = valueArrayOfBlock(place.block);
    if (!array || column >= array->numberOfColumns())
        return {};
    return valueCellDisplay(*array, place.line, column);
}

QVariant UFemResultTableModel::valueCellDisplay(
    const UFemResultTableValueArray& array, quint64 line, quint64 column) const
{
    const UFemResultTableCell& cell = array.row(line)[column];
    if (const double* value = std::get_if<double>(&cell))
        return column == 0 ? QString::number(*value)
                           : array.numberFormatter(column).stringWithValue(*value);
    if (const UErrorPtr* error = std::get_if<UErrorPtr>(&cell))
        return *error ? (*error)->localizedShortDescription() : QString();
    if (const QString* text = std::get_if<QString>(&cell))
        return *text;
    return {};
}

QVariant UFemResultTableModel::cellRoleData(const RowPlace& place, quint64 column, int role) const
{
    if (place.line == 0 || isSpacerLine(place.line) || column == 0) {
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        return {};
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (place.line == 1)
        return {};
    const auto& block = resultCardAndValueArray_[place.block];
    if (!block.cardTableValueArray || column >= block.cardTableValueArray->numberOfColumns())
        return {};
    const UFemResultTableCell& cell = block.cardTableValueArray->row(place.line)[column];
    if (role == Qt::ForegroundRole && std::holds_alternative<UErrorPtr>(cell))
        return errorCellColor;
    if (role == Qt::FontRole && std::holds_alternative<double>(cell))
        return valueFont_;
    return {};
}

QVariant UFemResultTableModel::backgroundData(const RowPlace& place, quint64 column) const
{
    const auto fill
        = [](const QColor& color) { return color.isValid() ? QVariant(color) : QVariant(); };
    if (place.line == 0)
        return fill(colors_.cardNameRowColor);
    if (place.line == 1)
        return fill(colors_.valueLabelRowColor);
    if (isSpacerLine(place.line))
        return {};
    if (isMaxMinLine(place.line))
        return fill(colors_.maxMinValueRowColor);
    if (column == 0 && colors_.caseNameColumnColor.isValid())
        return colors_.caseNameColumnColor;
    const bool isSecond = (place.line - 2) % 2 == 1;
    if (isSecond && colors_.caseValueRow2Color.isValid())
        return colors_.caseValueRow2Color;
    return fill(colors_.caseValueRow1Color);
}
