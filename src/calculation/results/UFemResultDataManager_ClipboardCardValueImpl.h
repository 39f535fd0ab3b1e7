#pragma once

#include "cardmodel/data/UFemResultDataManager.h"

#include <QHash>

#include <functional>
#include <vector>

class UFemCardDataController;
class UUnicharString;

// Card values pasted as "name, value" lines. Loaded on the main thread, then only read (from
// worker threads too) without locks.
class UFemResultDataManager_ClipboardCardValueImpl final
    : public UFemResultDataManager_ClipboardCardValue {
public:
    // Shows the warning that a name was given twice, modally; may be empty (no warning shown).
    using RepeatedNameAlert
        = std::function<void(const QString& messageText, const QString& informativeText)>;

    // The model's card count sizes the table; the controller is not owned.
    UFemResultDataManager_ClipboardCardValueImpl(
        const UFemCardDataController* dataController, RepeatedNameAlert repeatedNameAlert);

    [[nodiscard]] bool loadClipboardCardValueWithClipboardCardValueString(
        const QString& clipboardCardValueString,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, UErrorPtr* error) override;
    // Found: the value and true; otherwise a quiet NaN and false. Reports no error.
    [[nodiscard]] bool getClipboardCardValue(
        double* value, const UFemCard& card, UErrorPtr* error) const override;
    // The same by the card's name.
    bool getClipboardCardValue(double* value, const QString& cardNameString) const;

    quint64 clipboardCardValueCount() const { return clipboardCardValueCount_; }

private:
    UErrorPtr loadLines(const UUnicharString& source, UFemColumnSeparatingCharacterType type);
    UErrorPtr readLine(
        const UUnicharString& source, quint64& index, UFemColumnSeparatingCharacterType type);
    UErrorPtr readLineEnd(const UUnicharString& source, quint64& index, char16_t stop,
        UFemColumnSeparatingCharacterType type) const;
    void storeValue(const QString& cardNameString, double value);

    const UFemCardDataController* dataController_;
    RepeatedNameAlert repeatedNameAlert_;
    // Card name -> slot in the value table.
    QHash<QString, quint64> clipboardCardValueDictionary_;
    std::vector<double> clipboardCardValueTable_;
    quint64 clipboardCardValueCount_ = 0;
};
