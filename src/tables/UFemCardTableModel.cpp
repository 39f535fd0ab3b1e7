#include "tables/UFemCardTableModel.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardErrorText.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "foundation/errors/UException.h"
#include "foundation/strings/UTextExcerpt.h"
#include "tables/UFemCardTableStyle.h"

#include <QColor>

const QString UFemCardTableModel::endRowString = QStringLiteral("<end>");

namespace {

UAttributedString styled(const QString& text, const QString& styleKey)
{
    UAttributedString string;
    string.append(text, styleKey);
    return string;
}

UAttributedString styledExcerpt(const QString& text, const QString& styleKey)
{
    UTextExcerpt excerpt(UFemShownCardStringLength);
    excerpt += text;
    return styled(excerpt.take(), styleKey);
}

UAttributedString nameCell(UFemCard& card)
{
    if (card.isNormalCard())
        return styledExcerpt(
            card.cardNameString().value_or(QString()), UFemCardStringAttributesKeyForNormal);
    if (card.isErrorCard())
        return styled(QStringLiteral("** ERROR **"), UFemCardStringAttributesKeyForError);
    if (card.isNullCard())
        return styledExcerpt(
            card.commentString().value_or(QString()), UFemCardStringAttributesKeyForComment);
    if (card.isSpecialCard())
        return styled(QStringLiteral("#SPECIAL"), UFemCardStringAttributesKeyForSpecial);
    UFemRaiseProgramError(QStringLiteral("'aCard' is not NORMAL, NULL, ERROR, or SPECIAL."));
}

UAttributedString errorCell(UFemCard& card)
{
    const std::optional<UFemCardErrorText> error = UFemCardErrorTextOfCard(card);
    if (!error)
        return {};
    return styledExcerpt(error->text,
        error->isWarning ? UFemCardStringAttributesKeyForWarning
                         : UFemCardStringAttributesKeyForError);
}

} // namespace

QString UFemCardTableModel::columnIdentifier(int column)
{
    switch (column) {
    case CardRowIndexColumn:
        return QStringLiteral("cardRowIndex");
    case CardNameStringColumn:
        return QStringLiteral("cardNameString");
    case CardStringColumn:
        return QStringLiteral("cardString");
    case ErrorStringColumn:
        return QStringLiteral("errorString");
    default:
        UFemRaiseProgramError(QStringLiteral("Unknown column of Card Table View."));
    }
}

UFemCardTableModel::UFemCardTableModel(UFemWindowCardTable& windowCardTable, QObject* parent)
    : QAbstractTableModel(parent)
    , windowCardTable_(windowCardTable)
    , cardCount_(windowCardTable.count())
{
}

void UFemCardTableModel::reload()
{
    const quint64 count = windowCardTable_.count();
    if (count != cardCount_) {
        beginResetModel();
        cellCache_.clear();
        cardCount_ = count;
        endResetModel();
        return;
    }
    cellCache_.clear();
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCountOfTable - 1));
}

UFemCard& UFemCardTableModel::cardAtRow(quint64 row) const
{
    return *windowCardTable_.cardAtIndex(row);
}

void UFemCardTableModel::setFirstShownColumn(int column)
{
    if (column == firstShownColumn_)
        return;
    firstShownColumn_ = column;
    emit dataChanged(index(rowCount() - 1, 0), index(rowCount() - 1, columnCountOfTable - 1));
}

void UFemCardTableModel::setErrorStringColumnShown(bool shown)
{
    if (shown == isErrorStringColumnShown_)
        return;
    isErrorStringColumnShown_ = shown;
    // The rows stay what they are; only the card string cells lose or gain their error tail.
    cellCache_.clear();
    emit dataChanged(index(0, CardStringColumn), index(rowCount() - 1, CardStringColumn));
}

int UFemCardTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(cardCount_ + 1);
}

int UFemCardTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columnCountOfTable;
}

UAttributedString UFemCardTableModel::composeCell(UFemCard& card, int column) const
{
    switch (column) {
    case CardRowIndexColumn:
        return styled(
            QString::number(card.cardRowIndex() + 1), UFemCardStringAttributesKeyForNormal);
    case CardNameStringColumn:
        return nameCell(card);
    case CardStringColumn:
        return UFemComposeAttributedCardStringExcerpt(card, UFemColumnSeparatingCharacterTypeComma,
            false, isErrorStringColumnShown_, UFemShownCardStringLength);
    case ErrorStringColumn:
        return errorCell(card);
    default:
        UFemRaiseProgramError(QStringLiteral("Unknown column of Card Table View."));
    }
}

QString UFemCardTableModel::cardStringOfRow(quint64 row) const
{
    return UFemComposeCardString(
        cardAtRow(row), UFemColumnSeparatingCharacterTypeComma, false, isErrorStringColumnShown_);
}

UAttributedString UFemCardTableModel::attributedStringOfCell(quint64 row, int column) const
{
    if (row >= cardCount_)
        return column == firstShownColumn_
            ? styled(endRowString, UFemCardStringAttributesKeyForNormal)
            : UAttributedString();
    const quint64 key = row * columnCountOfTable + quint64(column);
    const auto found = cellCache_.constFind(key);
    if (found != cellCache_.constEnd())
        return *found;
    if (cellCache_.size() >= cachedCellLimit)
        cellCache_.clear();
    return *cellCache_.insert(key, composeCell(cardAtRow(row), column));
}

QVariant UFemCardTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const quint64 row = quint64(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return attributedStringOfCell(row, column).string;
    case Qt::EditRole:
        return row < cardCount_ && column == CardStringColumn ? UFemCardString(cardAtRow(row))
                                                              : QVariant();
    case AttributedStringRole:
        // "<end>" is plain gray text.
        return row < cardCount_ ? QVariant::fromValue(attributedStringOfCell(row, column))
                                : QVariant();
    case Qt::ForegroundRole:
        if (row >= cardCount_)
            return QColor(Qt::gray);
        return column == CardRowIndexColumn ? QVariant(UFemCardTableStyle::rowIndexColor())
                                            : QVariant();
    case Qt::TextAlignmentRole:
        if (column == CardRowIndexColumn && row < cardCount_)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant UFemCardTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case CardRowIndexColumn:
        return tr("Row");
    case CardNameStringColumn:
        return tr("Name");
    case CardStringColumn:
        return tr("Card String");
    case ErrorStringColumn:
        return tr("Error");
    default:
        return {};
    }
}

Qt::ItemFlags UFemCardTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (quint64(index.row()) >= cardCount_)
        return Qt::ItemIsEnabled;
    // Card strings are edited by the controller's own editor, never through the model.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}
