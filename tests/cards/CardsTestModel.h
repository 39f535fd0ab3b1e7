#pragma once

#include "QStringPrinting.h"

// A model of the real card classes for the card tests: lines are read into a data controller with
// error cards, or into a single card to see its register error.

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/data/UFemDataController.h"
#include "cards/UFemCardClasses.h"
#include "foundation/errors/UError.h"
#include "foundation/errors/UException.h"
#include "platform/UNotificationCenter.h"
#include "platform/UUndoManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

namespace cardstest {

class CardsTestModel {
public:
    CardsTestModel()
    {
        UFemInstallCardClasses();
        undoManager.setGroupsByEvent(false);
        controller.setNotificationCenter(&center);
        controller.setUndoManager(&undoManager);
    }

    // Reads the text with error cards in place of lines that fail.
    void read(const QString& modelText)
    {
        UErrorPtr error;
        ASSERT_TRUE(controller.resetWithModelText(modelText, true, &error))
            << (error ? error->localizedDescription().toStdString() : std::string());
    }

    UFemCard& card(quint64 row) { return *controller.cardAtCardRowIndex(row); }

    template <typename Card> Card& cardAs(quint64 row)
    {
        auto* typed = dynamic_cast<Card*>(&card(row));
        if (typed == nullptr)
            throw std::runtime_error("unexpected card class");
        return *typed;
    }

    // The error description an error card shows; empty for a card that read.
    QString errorText(quint64 row)
    {
        const auto* errorCard = dynamic_cast<const ErrorCard*>(&card(row));
        return errorCard ? errorCard->cardErrorDescriptionString().value_or(QString()) : QString();
    }

    // Sets a fresh card of the class from one line and gives the register error (nullptr when the
    // line registers). The card stays in `single`, outside the model, its names in the model's
    // table.
    UErrorPtr registerLine(const UFemCardClass& cardClass, const QString& line)
    {
        UFemCardTextColumns columns;
        UErrorPtr error;
        EXPECT_TRUE(columns.setCardString(line, &error)) << line.toStdString();
        single = cardClass.makeCard(&controller);
        single->setCardColumnsWithCardTextColumns(columns, &error);
        return error;
    }

    UNotificationCenter center;
    UUndoManager undoManager;
    UFemDataController controller;
    std::shared_ptr<UFemCard> single;
};

// A card value type by its names, as registered in the shared registry.
inline _UFemCardValueType valueType(const char* major, const char* minor = nullptr)
{
    UFemCardClassManager& manager = UFemCardClassManager::sharedCardClassManager();
    return { manager.majorCardValueTypeWithMajorCardValueTypeString(QString::fromUtf8(major)),
        minor ? manager.minorCardValueTypeWithMinorCardValueTypeString(QString::fromUtf8(minor))
              : 0 };
}

// The text of a card error (register or run check), or a note that there was none.
inline QString errorDescription(const UErrorPtr& error)
{
    return error ? error->localizedDescription() : QStringLiteral("(no error)");
}

inline QString programErrorReason(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const UException& exception) {
        return exception.reason();
    }
    return QStringLiteral("(no program error)");
}

} // namespace cardstest
