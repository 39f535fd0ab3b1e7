#include "cardmodel/UFemCardNameTable.h"

#include "cardmodel/UFemCardName.h"
#include "cardmodel/UFemCardType.h"
#include "cardmodel/UFemColumnValueParsing.h"
#include "foundation/UException.h"
#include "foundation/UFemErrorsEditCard.h"
#include "foundation/UFemErrorsSearchCardName.h"

#include <algorithm>
#include <optional>

namespace {

constexpr quint64 minimumCardNameTableCapacity = 20000;

// The name a text holds, trimmed; nullopt with the parser's error, or with nothing left (and no
// error).
std::optional<QString> parsedCardNameString(const QString& text, UErrorPtr* error, bool* isEmpty)
{
    std::optional<QString> name = UFemTrimmedCardNameString(text, error);
    *isEmpty = !name && !*error;
    return name;
}

} // namespace

UFemCardNameTable::UFemCardNameTable() { cardNameTable_.reserve(minimumCardNameTableCapacity); }

UFemCardNameTable::~UFemCardNameTable() { detachAllCardNames(); }

void UFemCardNameTable::detachAllCardNames()
{
    // Walking an empty table sized for a model file still visits every bucket.
    if (cardNameTable_.isEmpty())
        return;
    for (const std::shared_ptr<UFemCardName>& cardName : std::as_const(cardNameTable_))
        cardName->detachFromCardNameTable();
}

void UFemCardNameTable::resetWithCapacity(quint64 capacity)
{
    detachAllCardNames();
    cardNameTable_ = {};
    cardNameTable_.reserve(qsizetype(std::max(capacity, minimumCardNameTableCapacity)));
}

std::shared_ptr<UFemCardName> UFemCardNameTable::searchCardNameWithCardNameString(
    const QString& cardNameString, UErrorPtr* error) const
{
    UErrorPtr failure;
    bool isEmpty = false;
    const std::optional<QString> name = parsedCardNameString(cardNameString, &failure, &isEmpty);
    if (isEmpty)
        failure = UFemSearchingCardNameEmptyCardNameError();
    if (failure) {
        UFemSetError(error, failure);
        return nullptr;
    }
    return cardNameTable_.value(*name);
}

bool UFemCardNameTable::containsCardNameWithCardNameString(const QString& cardNameString, UErrorPtr* error) const
{
    return searchCardNameWithCardNameString(cardNameString, error) != nullptr;
}

std::vector<UFemCard*> UFemCardNameTable::cardArrayWithCardNameString(
    const QString& cardNameString, UErrorPtr* error) const
{
    const std::shared_ptr<UFemCardName> cardName = searchCardNameWithCardNameString(cardNameString, error);
    return cardName ? cardName->cardArray() : std::vector<UFemCard*> {};
}

std::shared_ptr<UFemCardName> UFemCardNameTable::cardNameOrNewWithCardNameString(
    const QString& cardNameString, UErrorPtr* error)
{
    UErrorPtr failure;
    std::shared_ptr<UFemCardName> cardName = searchCardNameWithCardNameString(cardNameString, &failure);
    if (failure) {
        UFemSetError(error, failure);
        return nullptr;
    }
    return cardName ? cardName : newCardNameWithCardNameString(cardNameString, error);
}

std::shared_ptr<UFemCardName> UFemCardNameTable::newCardNameWithCardNameString(
    const QString& cardNameString, UErrorPtr* error)
{
    auto cardName = std::make_shared<UFemCardName>(this);
    if (!setCardNameStringOfCardName_withCardName(cardName.get(), cardNameString, error))
        return nullptr;
    return cardName;
}

bool UFemCardNameTable::changeCardNameFromCardNameString(
    const QString& oldCardNameString, const QString& newCardNameString, UErrorPtr* error)
{
    UErrorPtr failure;
    const std::shared_ptr<UFemCardName> cardName = searchCardNameWithCardNameString(oldCardNameString, &failure);
    if (!failure && !cardName)
        failure = UFemSearchingCardNameCardNameNotUsedError_withCardNameString(oldCardNameString);
    if (failure) {
        UFemSetError(error, failure);
        return false;
    }
    return setCardNameStringOfCardName_withCardName(cardName.get(), newCardNameString, error);
}

bool UFemCardNameTable::setCardNameStringOfCardName_withCardName(
    UFemCardName* cardName, const QString& cardNameString, UErrorPtr* error)
{
    UErrorPtr failure;
    bool isEmpty = false;
    const std::optional<QString> name = parsedCardNameString(cardNameString, &failure, &isEmpty);
    if (isEmpty)
        failure = UFemChangingCardNameEmptyCardNameError();
    if (!failure && !cardName->isValid()) {
        cardName->_setCardNameString(*name);
        return true;
    }
    if (!failure && *name == cardName->cardNameString())
        failure = UFemChangingCardNameCardNameNotChangedError_withCardNameString(*name);
    if (failure) {
        UFemSetError(error, failure);
        return false;
    }
    const std::shared_ptr<UFemCardName> other = cardNameTable_.value(*name);
    if (!other) {
        const std::shared_ptr<UFemCardName> keptAlive = cardName->shared_from_this();
        removeCardNameFromCardNameTable(cardName);
        cardName->_setCardNameString(*name);
        addCardNameToCardNameTable(cardName);
        return true;
    }
    if (other->cardType() == cardName->cardType()) {
        failure = UFemCardNameUsedBySameTypeError_withCardNameString(
            *name, UFemCardTypeDisplayString(cardName->cardType()));
    } else {
        failure = UFemCardNameUsedByDifferentTypeError_withCardNameString(*name,
            UFemCardTypeDisplayString(other->cardType()), UFemCardTypeDisplayString(cardName->cardType()));
    }
    UFemSetError(error, failure);
    return false;
}

void UFemCardNameTable::addCardNameToCardNameTable(UFemCardName* cardName)
{
    const QString key = cardName->cardNameString();
    if (cardNameTable_.contains(key))
        UFemRaiseProgramError(QStringLiteral("The 'cardNameTable' contains the name before add the name.\n"));
    cardNameTable_.insert(key, cardName->shared_from_this());
}

void UFemCardNameTable::removeCardNameFromCardNameTable(UFemCardName* cardName)
{
    // remove(), not erase(): erase looks for the next entry, a walk over the empty buckets of a
    // table sized for a whole model file.
    const auto found = cardNameTable_.constFind(cardName->cardNameString());
    if (found != cardNameTable_.cend() && found->get() == cardName)
        cardNameTable_.remove(cardName->cardNameString());
}

QStringList UFemCardNameTable::allCardNameStringArray() const { return cardNameTable_.keys(); }

std::vector<std::shared_ptr<UFemCardName>> UFemCardNameTable::allCardNameArray() const
{
    return { cardNameTable_.cbegin(), cardNameTable_.cend() };
}
