#pragma once

// A model for the card model's tests: cards in row order, a name table and optional clipboard
// card values, with helpers that read cards from model-text lines.

#include "cardmodel/card/UFemCardNameTable.h"
#include "cardmodel/data/UFemCardDataController.h"
#include "cardmodel/data/UFemClipboardCardValueManager.h"
#include "foundation/errors/UError.h"

#include <QHash>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

class UFemCard;
class UFemCardClass;

namespace fakecards {

// Clipboard values by card name; a name listed in `unreadableNames` gives a reading error.
class FakeClipboardCardValueManager : public UFemClipboardCardValueManager {
public:
    bool getClipboardCardValue(
        double* value, const UFemCard& card, UErrorPtr* error) const override;

    QHash<QString, double> values;
    QHash<QString, UErrorPtr> unreadableNames;
};

class FakeDataController : public UFemCardDataController {
public:
    FakeDataController() = default;
    ~FakeDataController() override;

    UFemCardNameTable& cardNameTable() override { return cardNameTable_; }
    quint64 numberOfCards() const override { return cards_.size(); }
    UFemCard* cardAtRowIndex(quint64 rowIndex) const override;
    const UFemClipboardCardValueManager* clipboardCardValueManager() const override
    {
        return clipboard_.get();
    }
    bool hasResultData() const override { return hasResultData_; }
    void setHasResultData(bool hasResultData) { hasResultData_ = hasResultData; }

    void setClipboardCardValueManager(std::unique_ptr<FakeClipboardCardValueManager> manager)
    {
        clipboard_ = std::move(manager);
    }

    // A card of the class read from `line` (one model-text line); nullptr with the error when the
    // card refuses its columns. The card is not in the model yet.
    std::shared_ptr<UFemCard> makeCard(
        const UFemCardClass& cardClass, const QString& line, UErrorPtr* error);
    // The same, appended at the end (or inserted at `rowIndex`).
    std::shared_ptr<UFemCard> addCard(
        const UFemCardClass& cardClass, const QString& line, UErrorPtr* error = nullptr);
    void insertCard(std::shared_ptr<UFemCard> card, quint64 rowIndex);
    // Removes the card from the rows and invalidates it (its names are unregistered).
    void removeCardAtRowIndex(quint64 rowIndex);

    // How many times cardAtRowIndex was asked since the last reset of the count.
    quint64 cardFetchCount() const { return fetchCount_; }
    void resetCardFetchCount() { fetchCount_ = 0; }

private:
    UFemCardNameTable cardNameTable_;
    std::vector<std::shared_ptr<UFemCard>> cards_;
    std::unique_ptr<FakeClipboardCardValueManager> clipboard_;
    bool hasResultData_ = false;
    mutable std::atomic<quint64> fetchCount_ { 0 };
};

} // namespace fakecards
