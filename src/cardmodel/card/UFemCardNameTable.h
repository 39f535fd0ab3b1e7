#pragma once

#include "cardmodel/card/UFemCardNameIndex.h"
#include "foundation/errors/UError.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class UFemCard;
class UFemCardName;

// The names of one model by their text. Holds exactly the valid names; main thread only.
class UFemCardNameTable {
public:
    UFemCardNameTable();
    ~UFemCardNameTable();
    UFemCardNameTable(const UFemCardNameTable&) = delete;
    UFemCardNameTable& operator=(const UFemCardNameTable&) = delete;

    // Empties the table, sized for at least `capacity` names (a whole model text is read next).
    void resetWithCapacity(quint64 capacity);
    // Lets every name go, allocating nothing; the table is empty and of no capacity after.
    void clear() noexcept;

    // The name with the trimmed text, or nullptr when there is none (and nullptr with the error
    // when the text is empty or not a name).
    [[nodiscard]] std::shared_ptr<UFemCardName> searchCardNameWithCardNameString(
        const QString& cardNameString, UErrorPtr* error) const;
    [[nodiscard]] bool containsCardNameWithCardNameString(
        const QString& cardNameString, UErrorPtr* error) const;
    // Empty when the name is not found (or on error).
    std::vector<UFemCard*> cardArrayWithCardNameString(
        const QString& cardNameString, UErrorPtr* error) const;
    [[nodiscard]] std::shared_ptr<UFemCardName> cardNameOrNewWithCardNameString(
        const QString& cardNameString, UErrorPtr* error);
    // A name bound to this table but not yet in it.
    [[nodiscard]] std::shared_ptr<UFemCardName> newCardNameWithCardNameString(
        const QString& cardNameString, UErrorPtr* error);
    [[nodiscard]] bool changeCardNameFromCardNameString(
        const QString& oldCardNameString, const QString& newCardNameString, UErrorPtr* error);
    [[nodiscard]] bool setCardNameStringOfCardName_withCardName(
        UFemCardName* cardName, const QString& cardNameString, UErrorPtr* error);

    void addCardNameToCardNameTable(UFemCardName* cardName);
    // Removes the entry of the name's text when it is this very name.
    void removeCardNameFromCardNameTable(UFemCardName* cardName);
    QStringList allCardNameStringArray() const;
    std::vector<std::shared_ptr<UFemCardName>> allCardNameArray() const;

private:
    // Name columns look their already parsed text up without parsing it again.
    friend class UFemCardColumn;
    std::shared_ptr<UFemCardName> cardNameOrNewWithParsedCardNameString(QStringView cardNameString);

    void detachAllCardNames();
    std::shared_ptr<UFemCardName> heldCardName(QStringView cardNameString) const;

    UFemCardNameIndex cardNameTable_;
};
