#include "cardmodel/card/ErrorCard.h"

#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/card/UFemCardType.h"
#include "foundation/errors/UException.h"

namespace {

constexpr quint64 specialCardMenuOrderHintNo = 100;

} // namespace

const UFemCardClass& ErrorCard::errorCardClass()
{
    static const UFemCardClass cardClass({
        .cardLabelString = std::nullopt,
        .cardType = UFemErrorCardType,
        .cardFormViewControllerClass = QString(),
        .cardMenuOrderHintNo = specialCardMenuOrderHintNo,
        .numberOfColumns = std::nullopt,
        .dontCallReason = QStringLiteral("This is 'Error' card, so don't call this method."),
        .columnLabelStringAtIndex = {},
        .makeCard = [](UFemCardDataController* dataController) -> std::shared_ptr<UFemCard> {
            return std::make_shared<ErrorCard>(dataController);
        },
        .registerCardValueTypes = {},
    });
    return cardClass;
}

ErrorCard::ErrorCard(UFemCardDataController* dataController)
    : NullCard(errorCardClass(), dataController)
{
}

ErrorCard::~ErrorCard()
{
    ErrorCard::invalidiate();
}

bool ErrorCard::isKeptAsWholeLine() const
{
    return errorCardTextColumns_ && errorCardTextColumns_->errorCardString().has_value();
}

quint64 ErrorCard::numberOfColumns() const
{
    if (!errorCardTextColumns_)
        UFemRaiseProgramError(QStringLiteral("This ErrorCard doesn't have columns, but string."));
    // A line kept whole has no columns to count; asking its text columns would raise.
    return isKeptAsWholeLine() ? 0 : errorCardTextColumns_->numberOfColumns();
}

void ErrorCard::resetAllCardColumns()
{
    errorCardTextColumns_.reset();
}

bool ErrorCard::setCardColumnsWithCardTextColumns(
    const UFemCardTextColumns& cardTextColumns, UErrorPtr*)
{
    errorCardTextColumns_ = cardTextColumns.copy();
    return true;
}

std::shared_ptr<UFemCardTextColumns> ErrorCard::cardTextColumns() const
{
    if (!errorCardTextColumns_)
        return std::make_shared<UFemCardTextColumns>();
    return errorCardTextColumns_->copy();
}

std::optional<QString> ErrorCard::columnStringAtIndex(quint64 columnIndex) const
{
    if (!errorCardTextColumns_ || isKeptAsWholeLine())
        return std::nullopt;
    return errorCardTextColumns_->columnStringAtIndex(columnIndex);
}

void ErrorCard::invalidiate()
{
    ErrorCard::resetAllCardColumns();
    NullCard::invalidiate();
}

std::optional<QString> ErrorCard::cardErrorDescriptionString() const
{
    return errorCardTextColumns_ ? errorCardTextColumns_->cardErrorDescriptionString()
                                 : std::nullopt;
}

QString ErrorCard::errorCardString_NoCardErrorDescription() const
{
    return errorCardTextColumns_ ? errorCardTextColumns_->cardStringWithDoesOmitComment(false, true)
                                 : QString();
}

void ErrorCard::appendErrorCardString_NoCardErrorDescription(UTextExcerpt& line) const
{
    if (errorCardTextColumns_)
        errorCardTextColumns_->appendCardString(
            line, UFemColumnSeparatingCharacterTypeComma, false, true);
}
