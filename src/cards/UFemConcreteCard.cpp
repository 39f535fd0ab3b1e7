#include "cards/UFemConcreteCard.h"

#include "cardmodel/card/UFemCardClassManager.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsGraphicDrawing.h"

#include <QStringList>

namespace {

const QString outOfRangeReason = QStringLiteral("Out of range.");

bool refersToOtherCards(qint32 columnType)
{
    return columnType == CARD_COLUMN_TYPE_CARD_NAME || columnType == CARD_COLUMN_TYPE_REF_CARD_NAME
        || columnType == UFemDegreeOfFreedomColumnType;
}

// The list text without its last ", ".
QString cutLastSeparator(QString list)
{
    list.chop(2);
    return list;
}

} // namespace

UFemConcreteCard::UFemConcreteCard(const UFemCardClass& cardClass,
    const UFemConcreteCardClassShape& shape, UFemCardDataController* dataController)
    : UFemCardAbst(cardClass, dataController)
    , shape_(shape)
    , columns_(shape.columns.size())
{
    for (std::size_t i = 0; i < shape.columns.size(); ++i) {
        const UFemCardColumnShape& columnShape = shape.columns[i];
        columns_.emplaceBack(this, i + 1, columnShape.columnType, columnShape.cardNameCardType);
    }
}

UFemConcreteCard::~UFemConcreteCard()
{
    UFemConcreteCard::invalidiate();
}

UFemCardColumn* UFemConcreteCard::cardColumnAtIndex(quint64 columnIndex)
{
    if (columnIndex == 0 || columnIndex > columns_.size())
        UFemRaiseProgramError(outOfRangeReason);
    return columns_.at(columnIndex - 1);
}

const UFemCardColumn& UFemConcreteCard::column(quint64 columnIndex) const
{
    return *const_cast<UFemConcreteCard*>(this)->cardColumnAtIndex(columnIndex);
}

quint64 UFemConcreteCard::getCardColumnsToCardColumnTable(
    UFemCardColumn** cardColumnTable, quint64 cardColumnTableSize, quint64* nextCardColumnIndex)
{
    return columns_.getCardColumnsToCardColumnTable(
        cardColumnTable, cardColumnTableSize, nextCardColumnIndex);
}

quint64 UFemConcreteCard::numberOfCurrentColumns() const
{
    return columns_.size() + 1;
}

void UFemConcreteCard::invalidiate()
{
    if (!columns_.isEmpty()) {
        resetAllCardColumns();
        columns_.clear();
    }
    UFemCardAbst::invalidiate();
}

bool UFemConcreteCard::isRequiredColumnAtIndex(quint64 columnIndex) const
{
    return columnIndex - 1 < shape_.columns.size() && shape_.columns[columnIndex - 1].isRequired;
}

UErrorPtr UFemConcreteCard::emptyColumnErrorToRegister() const
{
    QString list;
    quint64 count = 0;
    const quint64 n = numberOfCurrentColumns();
    const quint64 end = numberOfColumnsToCheckForEmpty();
    for (quint64 index = 1; index < end; ++index) {
        if (!isRequiredColumnAtIndex(index) || (index < n && !column(index).isEmptyColumn()))
            continue;
        list += ULocalizedFormattedString(
            "'%@' (column %lu), ", columnLabelStringAtIndex(index), index + 1);
        ++count;
    }
    if (count == 0)
        return nullptr;
    if (count == 1)
        return UFemCardRegisterError("Column %@ is empty.", cutLastSeparator(list));
    return UFemCardRegisterError("Columns %@ are empty.", cutLastSeparator(list));
}

UErrorPtr UFemConcreteCard::unregisteredCardErrorToRun() const
{
    QString list;
    quint64 count = 0;
    const quint64 n = numberOfCurrentColumns();
    for (quint64 index = 2; index < n; ++index) {
        const UFemCardColumn& c = column(index);
        if (!refersToOtherCards(c.columnType()) || c.isEmptyColumn()
            || c.isCardCompleteRegistered())
            continue;
        const std::vector<QString> names
            = c.noRegisteredCardNameStringArray().value_or(std::vector<QString> {});
        if (names.empty())
            continue;
        list += ULocalizedFormattedString(
            "'%@', ", QStringList(names.begin(), names.end()).join(QStringLiteral("', '")));
        count += names.size();
    }
    if (count == 0)
        return nullptr;
    if (count == 1)
        return UFemCardRunError("Card %@ is not registered yet.", cutLastSeparator(list));
    return UFemCardRunError("Cards %@ are not registered yet.", cutLastSeparator(list));
}

UErrorPtr UFemConcreteCard::checkErrorToRegister() const
{
    if (UErrorPtr error = emptyColumnErrorToRegister())
        return error;
    return checkOwnErrorToRegister();
}

UErrorPtr UFemConcreteCard::checkErrorToRun() const
{
    if (UErrorPtr error = unregisteredCardErrorToRun())
        return error;
    return checkOwnErrorToRun();
}

bool UFemConcreteCard::isRelatedToCaseWithCaseCard(const UFemCard&) const
{
    return true;
}

bool UFemConcreteCard::isRelatedToCaseWithCaseCardArray(
    const std::vector<UFemCard*>& caseCardArray) const
{
    return !caseCardArray.empty();
}

bool UFemConcreteCard::respondsToCardValueType(_UFemCardValueType) const
{
    return false;
}

bool UFemConcreteCard::getCardValueArraySize(
    _UFemCardValueArraySize* cardValueArraySize, _UFemCardValueType) const
{
    *cardValueArraySize = _UFemCardValueArraySize {};
    return false;
}

bool UFemConcreteCard::drawOpenGLToDrawingBuffer(UGLDrawingBuffer*, const double*, const _UGLColor*,
    const _UFemCardValueArraySize*, const double*, const UFemColorScale*, const UGLDrawingInfo*,
    UErrorPtr*) const
{
    return true;
}

bool UFemConcreteCard::checkOneNodeColorCardValueArraySize(
    const _UFemCardValueArraySize* colorCardValueArraySize, UErrorPtr* error) const
{
    if (colorCardValueArraySize == nullptr || colorCardValueArraySize->numberOfPoints == 0)
        return true;
    const _UFemCardValueArraySize& size = *colorCardValueArraySize;
    if (size.numberOfPoints == 1 && size.numberOfSectionPoints == 1
        && size.numberOfVectorValues == 1)
        return true;
    UFemSetError(error,
        UFemDrawingCardColorCardValueArraySizeError_withCardInfoString(cardInfoString(), size,
            QStringLiteral(
                "Number of points: 1, Number of section points: 1, Number of vector values: 1")));
    return false;
}

UFemCardClassDescription UFemMakeConcreteCardClassDescription(
    const UFemConcreteCardClassShape& shape,
    std::function<std::shared_ptr<UFemCard>(UFemCardDataController*)> makeCard,
    std::function<void(UFemCardClassManager&)> registerCardValueTypes)
{
    const QString label = QString::fromUtf8(shape.label);
    return UFemCardClassDescription {
        .cardLabelString = label,
        .cardType = shape.cardType,
        .cardFormViewControllerClass = label + QStringLiteral("FormViewController"),
        .cardMenuOrderHintNo = shape.cardMenuOrderHintNo,
        .numberOfColumns = shape.columns.size() + 1,
        .dontCallReason = QString(),
        .columnLabelStringAtIndex =
            [&shape, label](quint64 columnIndex) {
                if (columnIndex == 0)
                    return label;
                if (columnIndex - 1 < shape.columns.size())
                    return QString::fromUtf8(shape.columns[columnIndex - 1].label);
                return UFormattedString("Column %lu", columnIndex);
            },
        .makeCard = std::move(makeCard),
        .registerCardValueTypes = std::move(registerCardValueTypes),
    };
}
