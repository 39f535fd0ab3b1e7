#pragma once

#include <QString>

#include <functional>
#include <limits>
#include <memory>
#include <optional>

class UFemCard;
class UFemCardClassManager;
class UFemCardDataController;

// The column count of a class whose cards grow columns as they are given them.
inline constexpr quint64 UFemColumnExpandableNumberOfColumns = std::numeric_limits<quint64>::max();

// What a card class states about itself: the class operations of a card, and the factory of its
// cards. Classes are compared by identity; each lives as long as the process.
struct UFemCardClassDescription {
    // nullopt for the special classes, whose label must not be asked.
    std::optional<QString> cardLabelString;
    qint32 cardType = 0;
    // Names the form that edits the class's cards; empty for none.
    QString cardFormViewControllerClass;
    quint64 cardMenuOrderHintNo = 0;
    // nullopt where the count must not be asked; UFemColumnExpandableNumberOfColumns when the
    // cards grow columns.
    std::optional<quint64> numberOfColumns;
    // The reason of the program error raised when a value above must not be asked.
    QString dontCallReason;
    // Labels of columns 0..; unset gives "Column %lu" with the index.
    std::function<QString(quint64 columnIndex)> columnLabelStringAtIndex;
    std::function<std::shared_ptr<UFemCard>(UFemCardDataController* dataController)> makeCard;
    // Registers the class's own card value types; run once, when the class is registered.
    std::function<void(UFemCardClassManager& cardClassManager)> registerCardValueTypes;
};

class UFemCardClass {
public:
    explicit UFemCardClass(UFemCardClassDescription description);
    UFemCardClass(const UFemCardClass&) = delete;
    UFemCardClass& operator=(const UFemCardClass&) = delete;

    QString cardLabelString() const;
    qint32 cardType() const { return description_.cardType; }
    bool isAllowedHaveSomeCard() const;
    const QString& cardFormViewControllerClass() const
    {
        return description_.cardFormViewControllerClass;
    }
    quint64 cardMenuOrderHintNo() const { return description_.cardMenuOrderHintNo; }
    quint64 numberOfColumns() const;
    bool isColumnExpandable() const;
    QString columnLabelStringAtIndex(quint64 columnIndex) const;

    std::shared_ptr<UFemCard> makeCard(UFemCardDataController* dataController) const;
    void registerCardValueTypes(UFemCardClassManager& cardClassManager) const;

private:
    UFemCardClassDescription description_;
};
