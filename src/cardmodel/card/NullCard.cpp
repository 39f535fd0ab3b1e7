#include "cardmodel/card/NullCard.h"

#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/card/UFemCardType.h"
#include "foundation/errors/UException.h"

namespace {

constexpr quint64 specialCardMenuOrderHintNo = 100;

} // namespace

const UFemCardClass& NullCard::nullCardClass()
{
    static const UFemCardClass cardClass({
        .cardLabelString = std::nullopt,
        .cardType = UFemNullCardType,
        .cardFormViewControllerClass = QString(),
        .cardMenuOrderHintNo = specialCardMenuOrderHintNo,
        .numberOfColumns = 0,
        .dontCallReason = QStringLiteral("This is 'Null' card, so don't call this method."),
        .columnLabelStringAtIndex = {},
        .makeCard = [](UFemCardDataController* dataController) -> std::shared_ptr<UFemCard> {
            return std::make_shared<NullCard>(dataController);
        },
        .registerCardValueTypes = {},
    });
    return cardClass;
}

NullCard::NullCard(UFemCardDataController* dataController)
    : NullCard(nullCardClass(), dataController)
{
}

NullCard::NullCard(const UFemCardClass& cardClass, UFemCardDataController* dataController)
    : UFemCardAbst(cardClass, dataController)
{
}

NullCard::~NullCard()
{
    NullCard::invalidiate();
}

void NullCard::raiseDontCall() const
{
    UFemRaiseProgramError(cardType() == UFemErrorCardType
            ? QStringLiteral("This is 'Error' card, so don't call this method.")
            : QStringLiteral("This is 'Null' card, so don't call this method."));
}

bool NullCard::isRelatedToCaseWithCaseCard(const UFemCard&) const
{
    return false;
}
bool NullCard::isRelatedToCaseWithCaseCardArray(const std::vector<UFemCard*>&) const
{
    return false;
}
UFemCardColumn* NullCard::cardColumnAtIndex(quint64)
{
    raiseDontCall();
}

quint64 NullCard::getCardColumnsToCardColumnTable(
    UFemCardColumn**, quint64, quint64* nextCardColumnIndex)
{
    *nextCardColumnIndex = 0;
    return 0;
}

void NullCard::resetAllCardColumns()
{
    UFemRaisesOnFailure(UFemCardAbst::setCommentString(std::nullopt, nullptr));
}
UFemCardName* NullCard::cardName() const
{
    raiseDontCall();
}
std::optional<QString> NullCard::cardNameString() const
{
    raiseDontCall();
}
quint64 NullCard::numberOfNodeForDrawing() const
{
    return 0;
}
bool NullCard::doesDrawWhenNotAllNodeValid() const
{
    return false;
}

quint64 NullCard::getNodeCardNamesForDrawingToNodeCardNameTable(
    UFemCardName**, quint64, std::vector<UFemCardName*>*) const
{
    return 0;
}

UFemCardName* NullCard::nodeCardNameForDrawingWithNodeNo(quint64) const
{
    return nullptr;
}
bool NullCard::isRotationDisplacementValid() const
{
    return false;
}

bool NullCard::setCardColumnsWithCardTextColumns(
    const UFemCardTextColumns& cardTextColumns, UErrorPtr*)
{
    UFemRaisesOnFailure(UFemCardAbst::setCommentString(cardTextColumns.commentString(), nullptr));
    return true;
}

std::shared_ptr<UFemCardTextColumns> NullCard::cardTextColumns() const
{
    auto textColumns = std::make_shared<UFemCardTextColumns>();
    if (const std::optional<QString> comment = commentString()) {
        UErrorPtr ignored;
        // A comment text always fits a card's text columns.
        static_cast<void>(textColumns->setCommentString(*comment, &ignored));
    }
    return textColumns;
}

std::optional<QString> NullCard::columnStringAtIndex(quint64) const
{
    raiseDontCall();
}
UErrorPtr NullCard::checkErrorToRegister() const
{
    return nullptr;
}
UErrorPtr NullCard::checkErrorToRun() const
{
    return nullptr;
}
UErrorPtr NullCard::checkWarningToRun() const
{
    return nullptr;
}

bool NullCard::drawOpenGLToDrawingBuffer(UGLDrawingBuffer*, const double*, const _UGLColor*,
    const _UFemCardValueArraySize*, const double*, const UFemColorScale*, const UGLDrawingInfo*,
    UErrorPtr*) const
{
    return true;
}

void NullCard::invalidiate()
{
    NullCard::resetAllCardColumns();
    UFemCardAbst::invalidiate();
}

void NullCard::resetCardColumnAtIndex(quint64)
{
    raiseDontCall();
}

bool NullCard::setColumnString(const std::optional<QString>&, quint64, UErrorPtr*)
{
    raiseDontCall();
}
