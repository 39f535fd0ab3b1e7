#include "cardmodel/card/UFemCardNameTable.h"

#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/text/UFemColumnValueParsing.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/errors/UFemErrorsSearchCardName.h"

#include <algorithm>
#include <optional>

namespace {

constexpr quint64 minimumCardNameTableCapacity = 20000;

// The name a text holds, trimmed; nullopt with the parser's error, or with nothing left (and no
// error).
[[nodiscard]] std::optional<QString> parsedCardNameString(
    const QString& text, UErrorPtr* error, bool* isEmpty)
{
    std::optional<QString> name = UFemTrimmedCardNameString(text, error);
    *isEmpty = !name && !*error;
    return name;
}

} // namespace

UFemCardNameTable::UFemCardNameTable()
{
    cardNameTable_.resetWithCapacity(minimumCardNameTableCapacity);
}

UFemCardNameTable::~UFemCardNameTable()
{
    detachAllCardNames();
}

void UFemCardNameTable::detachAllCardNames()
{
    // Walking an empty table sized for a model file still visits every slot.
    if (cardNameTable_.size() == 0)
        return;
    cardNameTable_.forEach(
        [](const std::shared_ptr<UFemCardName>& cardName) { cardName->detachFromCardNameTable(); });
}

std::shared_ptr<UFemCardName> UFemCardNameTable::heldCardName(QStringView cardNameString) const
{
    const std::shared_ptr<UFemCardName>* held
        = cardNameTable_.find(cardNameString, UFemCardNameIndex::hashOfText(cardNameString));
    return held != nullptr ? *held : nullptr;
}

void UFemCardNameTable::clear() noexcept
{
    detachAllCardNames();
    cardNameTable_.clear();
}

void UFemCardNameTable::resetWithCapacity(quint64 capacity)
{
    detachAllCardNames();
    cardNameTable_.resetWithCapacity(std::max(capacity, minimumCardNameTableCapacity));
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
    return heldCardName(*name);
}

bool UFemCardNameTable::containsCardNameWithCardNameString(
    const QString& cardNameString, UErrorPtr* error) const
{
    return searchCardNameWithCardNameString(cardNameString, error) != nullptr;
}

std::vector<UFemCard*> UFemCardNameTable::cardArrayWithCardNameString(
    const QString& cardNameString, UErrorPtr* error) const
{
    const std::shared_ptr<UFemCardName> cardName
        = searchCardNameWithCardNameString(cardNameString, error);
    return cardName ? cardName->cardArray() : std::vector<UFemCard*> {};
}

// Every column that names a card comes here: the text is parsed and hashed once.
std::shared_ptr<UFemCardName> UFemCardNameTable::cardNameOrNewWithCardNameString(
    const QString& cardNameString, UErrorPtr* error)
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
    return cardNameOrNewWithParsedCardNameString(*name);
}

std::shared_ptr<UFemCardName> UFemCardNameTable::cardNameOrNewWithParsedCardNameString(
    QStringView cardNameString)
{
    if (std::shared_ptr<UFemCardName> held = heldCardName(cardNameString))
        return held;
    auto cardName = std::make_shared<UFemCardName>(this);
    cardName->_setCardNameString(cardNameString);
    return cardName;
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
    const std::shared_ptr<UFemCardName> cardName
        = searchCardNameWithCardNameString(oldCardNameString, &failure);
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
    const std::shared_ptr<UFemCardName> other = heldCardName(*name);
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
            UFemCardTypeDisplayString(other->cardType()),
            UFemCardTypeDisplayString(cardName->cardType()));
    }
    UFemSetError(error, failure);
    return false;
}

void UFemCardNameTable::addCardNameToCardNameTable(UFemCardName* cardName)
{
    if (!cardNameTable_.insert(cardName->shared_from_this()))
        UFemRaiseProgramError(
            QStringLiteral("The 'cardNameTable' contains the name before add the name.\n"));
}

void UFemCardNameTable::removeCardNameFromCardNameTable(UFemCardName* cardName)
{
    cardNameTable_.erase(cardName);
}

QStringList UFemCardNameTable::allCardNameStringArray() const
{
    QStringList names;
    names.reserve(qsizetype(cardNameTable_.size()));
    cardNameTable_.forEach([&names](const std::shared_ptr<UFemCardName>& cardName) {
        names.append(cardName->cardNameString());
    });
    return names;
}

std::vector<std::shared_ptr<UFemCardName>> UFemCardNameTable::allCardNameArray() const
{
    std::vector<std::shared_ptr<UFemCardName>> cardNames;
    cardNames.reserve(cardNameTable_.size());
    cardNameTable_.forEach([&cardNames](const std::shared_ptr<UFemCardName>& cardName) {
        cardNames.push_back(cardName);
    });
    return cardNames;
}
