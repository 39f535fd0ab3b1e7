#include "cardmodel/card/UFemCardColumn.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemCardNameTable.h"
#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemCardDataController.h"
#include "cardmodel/text/UFemColumnValueParsing.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/strings/UStringAddition.h"

#include <bit>
#include <limits>

UFemCardColumn::UFemCardColumn(
    UFemCard* ownerCard, quint64 columnIndex, qint32 columnType, qint32 cardNameCardType)
    : ownerCard_(ownerCard)
    , columnIndex_(quint32(columnIndex))
    , columnType_(qint16(columnType))
{
    if (columnIndex > std::numeric_limits<quint32>::max())
        UFemRaiseProgramError(QStringLiteral("The column index is out of range."));
    if (columnType != columnType_ || cardNameCardType != qint16(cardNameCardType))
        UFemRaiseProgramError(QStringLiteral("The column type is out of range."));
    if (columnType == CARD_COLUMN_TYPE_CARD_NAME || columnType == CARD_COLUMN_TYPE_REF_CARD_NAME)
        cardTypeOrDirection_ = qint16(cardNameCardType);
    if (isNameBearing())
        std::construct_at(&cardName_);
    else
        value_ = 0;
}

UFemCardColumn::~UFemCardColumn()
{
    finish();
}

// Ten million of these in a large model: keep them from growing unnoticed.
static_assert(sizeof(UFemCardColumn) <= 48);

void UFemCardColumn::setKeptString(std::optional<QStringView> string)
{
    if (string)
        string_.assign(*string);
    else
        string_.clear();
}

bool UFemCardColumn::hasColumnString(QStringView columnString) const
{
    switch (columnType_) {
    case CARD_COLUMN_TYPE_CARD_NAME:
    case CARD_COLUMN_TYPE_REF_CARD_NAME:
        return cardName_ && cardName_->hasCardNameString(columnString);
    case CARD_COLUMN_TYPE_FLOAT_VALUE:
    case CARD_COLUMN_TYPE_INT_VALUE:
    case CARD_COLUMN_TYPE_BOOL_VALUE:
    case CARD_COLUMN_TYPE_STRING_VALUE:
        return string_.equals(columnString);
    default: {
        const std::optional<QString> current = this->columnString();
        return current && *current == columnString;
    }
    }
}

void UFemCardColumn::finish()
{
    resetColumn();
    if (isNameBearing()) {
        std::destroy_at(&cardName_);
        value_ = 0;
    }
    columnType_ = 0;
    cardTypeOrDirection_ = 0;
    ownerCard_ = nullptr;
}

bool UFemCardColumn::existsSameCardNameWithCardColumnArray(
    const std::vector<const UFemCardColumn*>& cardColumnArray)
{
    for (const UFemCardColumn* column : cardColumnArray) {
        if (column->columnType_ != CARD_COLUMN_TYPE_CARD_NAME
            && column->columnType_ != CARD_COLUMN_TYPE_REF_CARD_NAME)
            UFemRaiseCardClassProgramError(QStringLiteral(
                "aColumnType of 'aCardColumnArray' is NOT 'CardName' or 'refCardName"));
    }
    for (std::size_t i = 0; i < cardColumnArray.size(); ++i) {
        for (std::size_t j = i + 1; j < cardColumnArray.size(); ++j) {
            if (cardColumnArray[i]->cardName_ == cardColumnArray[j]->cardName_)
                return true;
        }
    }
    return false;
}

void UFemCardColumn::releaseValue()
{
    string_.clear();
    if (!isNameBearing()) {
        value_ = 0;
        return;
    }
    if (columnType_ == UFemDegreeOfFreedomColumnType)
        cardTypeOrDirection_ = 0;
    if (cardName_) {
        if (columnType_ == CARD_COLUMN_TYPE_CARD_NAME)
            cardName_->removeCardNameColumn(this);
        else
            cardName_->removeNameRefCardColumn(this);
        cardName_.reset();
    }
}

bool UFemCardColumn::setColumnWithColumnString(
    const std::optional<QString>& columnString, UErrorPtr* error)
{
    if (columnType_ < CARD_COLUMN_TYPE_CARD_NAME || columnType_ > UFemDegreeOfFreedomColumnType)
        return true;
    // Emptying is what releasing a whole model does to every column: no text is built for it.
    if (!columnString) {
        if ((isNameBearing() && cardName_) || !string_.isNull())
            releaseValue();
        return true;
    }
    return setColumnWithColumnStringView(*columnString, error);
}

bool UFemCardColumn::setColumnWithColumnStringView(QStringView columnString, UErrorPtr* error)
{
    if (columnType_ < CARD_COLUMN_TYPE_CARD_NAME || columnType_ > UFemDegreeOfFreedomColumnType)
        return true;
    if (hasColumnString(columnString))
        return true;
    releaseValue();
    UErrorPtr failure;
    if (!parseValue(columnString, &failure)) {
        UFemSetError(error, failure);
        return false;
    }
    return true;
}

bool UFemCardColumn::parseValue(QStringView columnString, UErrorPtr* error)
{
    switch (columnType_) {
    case CARD_COLUMN_TYPE_STRING_VALUE:
        setKeptString(columnString);
        return true;
    case CARD_COLUMN_TYPE_FLOAT_VALUE: {
        double value = 0.0;
        std::optional<QStringView> kept;
        const bool parsed = UFemParseRealColumnValue(columnString, &kept, &value, error);
        setKeptString(kept);
        value_ = std::bit_cast<quint64>(value);
        return parsed;
    }
    case CARD_COLUMN_TYPE_INT_VALUE: {
        qint64 value = 0;
        std::optional<QStringView> kept;
        const bool parsed = UFemParseIntegerColumnValue(columnString, &kept, &value, error);
        setKeptString(kept);
        value_ = quint64(value);
        return parsed;
    }
    case CARD_COLUMN_TYPE_BOOL_VALUE: {
        bool value = false;
        std::optional<QStringView> kept;
        const bool parsed = UFemParseBoolColumnValue(columnString, &kept, &value, error);
        setKeptString(kept);
        value_ = value ? 1 : 0;
        return parsed;
    }
    case UFemDegreeOfFreedomColumnType: {
        UFemParsedDegreeOfFreedom parsed;
        if (!UFemParseDegreeOfFreedomColumnValue(columnString, &parsed, error))
            return false;
        if (parsed.isEmpty())
            return true;
        if (!bindCardName(parsed.nodeCardNameString, UFemNodeCardType, error))
            return false;
        setKeptString(QStringView(parsed.direction6String));
        cardTypeOrDirection_ = qint16(parsed.direction6);
        return true;
    }
    default: {
        UErrorPtr failure;
        const std::optional<QStringView> name = UFemTrimmedCardNameView(columnString, &failure);
        if (failure) {
            UFemSetError(error, failure);
            return false;
        }
        return !name || bindParsedCardName(*name, error);
    }
    }
}

bool UFemCardColumn::bindCardName(const QString& cardNameString, qint32 cardType, UErrorPtr* error)
{
    std::shared_ptr<UFemCardName> cardName
        = ownerCardNameTable().cardNameOrNewWithCardNameString(cardNameString, error);
    if (!cardName)
        return false;
    return registerCardName(std::move(cardName), cardType, error);
}

bool UFemCardColumn::bindParsedCardName(QStringView cardNameString, UErrorPtr* error)
{
    return registerCardName(
        ownerCardNameTable().cardNameOrNewWithParsedCardNameString(cardNameString),
        cardTypeOrDirection_, error);
}

UFemCardNameTable& UFemCardColumn::ownerCardNameTable() const
{
    UFemCardDataController* model = ownerCard_ != nullptr ? ownerCard_->dataController() : nullptr;
    if (model == nullptr)
        UFemRaiseProgramError(QStringLiteral("The card of the column has no data controller."));
    return model->cardNameTable();
}

bool UFemCardColumn::registerCardName(
    std::shared_ptr<UFemCardName> cardName, qint32 cardType, UErrorPtr* error)
{
    const bool registered = columnType_ == CARD_COLUMN_TYPE_CARD_NAME
        ? cardName->addCardNameColumn(this, cardType, error)
        : cardName->addNameRefCardColumn(this, cardType, error);
    if (registered)
        cardName_ = std::move(cardName);
    return registered;
}

void UFemCardColumn::resetColumn()
{
    UFemRaisesOnFailure(setColumnWithColumnString(std::nullopt, nullptr));
}

bool UFemCardColumn::isCardCompleteRegistered() const
{
    if (!isNameBearing())
        return true;
    return cardName_ && cardName_->hasCard();
}

std::optional<std::vector<QString>> UFemCardColumn::noRegisteredCardNameStringArray() const
{
    if (!isNameBearing() || !cardName_)
        return std::nullopt;
    return std::vector<QString> { cardName_->cardNameString() };
}

void UFemCardColumn::checkType(qint32 columnType, const char* reason) const
{
    if (columnType_ != columnType)
        UFemRaiseCardClassProgramError(QString::fromLatin1(reason));
}

void UFemCardColumn::checkNameColumn() const
{
    if (columnType_ != CARD_COLUMN_TYPE_CARD_NAME && columnType_ != CARD_COLUMN_TYPE_REF_CARD_NAME)
        UFemRaiseCardClassProgramError(
            QStringLiteral("This method is only for type 'CARD_COLUMN_TYPE_CARD_NAME' or "
                           "'CARD_COLUMN_TYPE_REF_CARD_NAME'."));
}

UFemCardName* UFemCardColumn::cardName() const
{
    checkNameColumn();
    return cardName_.get();
}

bool UFemCardColumn::hasCard() const
{
    checkNameColumn();
    return cardName_ && cardName_->hasCard();
}

UFemCard* UFemCardColumn::card() const
{
    checkNameColumn();
    return cardName_ ? cardName_->card() : nullptr;
}

std::vector<UFemCard*> UFemCardColumn::cardArray() const
{
    checkNameColumn();
    return cardName_ ? cardName_->cardArray() : std::vector<UFemCard*> {};
}

std::optional<QString> UFemCardColumn::cardNameString() const
{
    checkNameColumn();
    return cardName_ ? std::optional<QString>(cardName_->cardNameString()) : std::nullopt;
}

namespace {

constexpr const char* floatOnly = "This method is only for type 'CARD_COLUMN_TYPE_FLOAT_VALUE'.";
constexpr const char* dofOnly = "This method is only for type 'UFemDegreeOfFreedomColumnType'.";

} // namespace

double UFemCardColumn::doubleValue() const
{
    checkType(CARD_COLUMN_TYPE_FLOAT_VALUE, floatOnly);
    return std::bit_cast<double>(value_);
}

float UFemCardColumn::floatValue() const
{
    checkType(CARD_COLUMN_TYPE_FLOAT_VALUE, floatOnly);
    return float(std::bit_cast<double>(value_));
}

qint64 UFemCardColumn::integerValue() const
{
    checkType(
        CARD_COLUMN_TYPE_INT_VALUE, "This method is only for type 'CARD_COLUMN_TYPE_INT_VALUE'.");
    return qint64(value_);
}

bool UFemCardColumn::boolValue() const
{
    checkType(
        CARD_COLUMN_TYPE_BOOL_VALUE, "This method is only for type 'CARD_COLUMN_TYPE_BOOL_VALUE'.");
    return value_ != 0;
}

QString UFemCardColumn::stringValue() const
{
    checkType(CARD_COLUMN_TYPE_STRING_VALUE,
        "This method is only for type 'CARD_COLUMN_TYPE_STRING_VALUE'.");
    return keptStringOrEmpty();
}

UFemCardName* UFemCardColumn::nodeCardName() const
{
    checkType(UFemDegreeOfFreedomColumnType, dofOnly);
    return cardName_.get();
}

bool UFemCardColumn::hasNodeCard() const
{
    checkType(UFemDegreeOfFreedomColumnType, dofOnly);
    return cardName_ && cardName_->hasCard();
}

UFemCard* UFemCardColumn::nodeCard() const
{
    checkType(UFemDegreeOfFreedomColumnType, dofOnly);
    return cardName_ ? cardName_->card() : nullptr;
}

std::optional<QString> UFemCardColumn::nodeCardNameString() const
{
    checkType(UFemDegreeOfFreedomColumnType, dofOnly);
    return cardName_ ? std::optional<QString>(cardName_->cardNameString()) : std::nullopt;
}

quint64 UFemCardColumn::direction6() const
{
    checkType(UFemDegreeOfFreedomColumnType, dofOnly);
    return quint64(cardTypeOrDirection_);
}

std::optional<QString> UFemCardColumn::columnString() const
{
    switch (columnType_) {
    case CARD_COLUMN_TYPE_CARD_NAME:
    case CARD_COLUMN_TYPE_REF_CARD_NAME:
        return cardName_ ? std::optional<QString>(cardName_->cardNameString()) : std::nullopt;
    case CARD_COLUMN_TYPE_FLOAT_VALUE:
    case CARD_COLUMN_TYPE_INT_VALUE:
    case CARD_COLUMN_TYPE_BOOL_VALUE:
    case CARD_COLUMN_TYPE_STRING_VALUE:
        return keptString();
    case UFemDegreeOfFreedomColumnType:
        return cardName_ ? std::optional<QString>(cardName_->cardNameString() + keptStringOrEmpty())
                         : std::nullopt;
    default:
        UFemRaiseProgramError(QStringLiteral("Unexpected 'columnType' value is set."));
    }
}

bool UFemCardColumn::isEmptyColumn() const
{
    if (isNameBearing())
        return !cardName_;
    if (columnType_ >= CARD_COLUMN_TYPE_FLOAT_VALUE && columnType_ <= CARD_COLUMN_TYPE_STRING_VALUE)
        return string_.isNull();
    UFemRaiseProgramError(QStringLiteral("Unexpected 'columnType' value is set."));
}

std::optional<QString> UFemCardColumn::supposedColumnStringWithSupposedCardNameString(
    const QString& supposedCardNameString, const UFemCardName* currentCardName,
    UErrorPtr* error) const
{
    const std::optional<QString> trimmed = UTrimmedStringOrNil(supposedCardNameString);
    if (!trimmed) {
        UFemSetError(error, UFemChangingCardNameEmptyCardNameError());
        return std::nullopt;
    }
    switch (columnType_) {
    case CARD_COLUMN_TYPE_CARD_NAME:
    case CARD_COLUMN_TYPE_REF_CARD_NAME:
        if (cardName_.get() != currentCardName)
            UFemRaiseProgramError(
                QStringLiteral("cardNameColumnRecord.cardName != aCurrentCardName"));
        return trimmed;
    case UFemDegreeOfFreedomColumnType:
        if (cardName_.get() != currentCardName)
            UFemRaiseProgramError(
                QStringLiteral("degreeOfFreedomColumnRecord.nodeCardName != aCurrentCardName"));
        return *trimmed + keptStringOrEmpty();
    default:
        UFemRaiseProgramErrorWithValue(
            QStringLiteral(
                "Column Type is not CardNameColumnType, RefCardNameColumnType, or DOFColumnType."),
            columnType_);
    }
}
