#pragma once

#include "cardmodel/card/NullCard.h"

class UTextExcerpt;

// The card of a line that failed to read: it keeps the line's text columns with their error, so
// that the line is written back as it was read.
class ErrorCard : public NullCard {
public:
    explicit ErrorCard(UFemCardDataController* dataController);
    ~ErrorCard() override;

    static const UFemCardClass& errorCardClass();

    quint64 numberOfColumns() const override;
    void resetAllCardColumns() override;
    [[nodiscard]] bool setCardColumnsWithCardTextColumns(
        const UFemCardTextColumns& cardTextColumns, UErrorPtr* error) override;
    std::shared_ptr<UFemCardTextColumns> cardTextColumns() const override;
    std::optional<QString> columnStringAtIndex(quint64 columnIndex) const override;
    void invalidiate() override;

    std::optional<QString> cardErrorDescriptionString() const;
    // The kept line without its error tail.
    QString errorCardString_NoCardErrorDescription() const;
    // Appends that line to `line`, as much of it as the excerpt keeps.
    void appendErrorCardString_NoCardErrorDescription(UTextExcerpt& line) const;

private:
    // A line that could not even be split into columns.
    bool isKeptAsWholeLine() const;

    std::shared_ptr<UFemCardTextColumns> errorCardTextColumns_;
};
