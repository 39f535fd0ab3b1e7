// The main views' edit commands chosen from the main menu reach the card table shown.
#include "ProgramTestSupport.h"

#include "appkit/CommandRouter.h"
#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/application/UFemMainMenu.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

struct MenuCase {
    const char* command;
    // Window rows selected before.
    std::vector<quint64> selectedRows;
    const char* clipboard;
    // The model's card lines after, or the clipboard after when `copies`.
    QStringList expected;
    bool copies = false;
};

QStringList cardLines(UFemDataController& model)
{
    QStringList lines;
    for (quint64 row = 0; row < model.cardCount(); ++row)
        lines << UFemCardString(*model.cardAtCardRowIndex(row));
    return lines;
}

const QString ThreeNodes = QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,\n"
                                          "Node , N2 ,  , 1 , 0 , 0 ,\n"
                                          "Bogus , X1 , 1 ,\n");

} // namespace

TEST(MainViewCommands, editItemsOfTheMainMenuActOnTheCardTable)
{
    const QString n1 = QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,");
    const QString n2 = QStringLiteral("Node , N2 ,  , 1 , 0 , 0 ,");
    // An error card's line carries its error.
    const QString bogus
        = QStringLiteral("Bogus , X1 , 1 ,    \u00a1 Error : Unknown Card Class Name: 'Bogus'.");
    const MenuCase cases[] = {
        { "delete_:", { 1 }, "", { n1, bogus } },
        { "cut:", { 0 }, "", { n1 + QLatin1Char('\n') }, true },
        { "copyAsTabSeparatedText:", { 1 }, "", { QStringLiteral("Node\tN2\t\t1\t0\t0\n") }, true },
        { "cutAsTabSeparatedText:", { 0, 1 }, "", { bogus } },
        { "paste:", { 1 }, "Node , N9 , , 5 , 5 , 5 ,\n",
            { n1, QStringLiteral("Node , N9 ,  , 5 , 5 , 5 ,"), n2, bogus } },
        { "pasteAsTabSeparatedText:", { 2 }, "Node\tN9\t\t5\t5\t5\n",
            { n1, n2, QStringLiteral("Node , N9 ,  , 5 , 5 , 5 ,"), bogus } },
        { "insert:", { 0 }, "", { QString(), n1, n2, bogus } },
    };
    for (const MenuCase& c : cases) {
        SCOPED_TRACE(c.command);
        ProgramHarness harness;
        UFemDocument* document = harness.openModel(QStringLiteral("m.vtmodel"), ThreeNodes);
        ASSERT_NE(document, nullptr);
        UFemWindowController& window = *ProgramHarness::windowOf(document);
        UFemCardVector selected;
        for (quint64 row : c.selectedRows)
            selected.push_back(window.windowCardTable().cardArray().objectAtIndex(row));
        window.setSelectedCardArray(selected);
        QGuiApplication::clipboard()->setText(QString::fromLatin1(c.clipboard));
        QAction* item = harness.item(QString::fromLatin1(c.command));
        ASSERT_NE(item, nullptr);
        CommandItem validated(*item);
        ASSERT_TRUE(harness.shell->commandRouter().validate(validated));
        item->trigger();
        finishEventTurn();
        if (c.copies)
            EXPECT_EQ(QGuiApplication::clipboard()->text(), c.expected.front());
        else
            EXPECT_EQ(cardLines(document->dataController()), c.expected);
        EXPECT_TRUE(harness.sheets.alerts.empty());
        EXPECT_TRUE(harness.beeps.sounds.isEmpty());
    }
}

TEST(MainViewCommands, errorCardItemsNeedErrorCardsAndClipboardValuesNeedLoading)
{
    ProgramHarness harness;
    UFemDocument* document = harness.openModel(QStringLiteral("m.vtmodel"), ThreeNodes);
    ASSERT_NE(document, nullptr);
    UFemWindowController& window = *ProgramHarness::windowOf(document);
    CommandRouter& router = harness.shell->commandRouter();
    const auto isEnabled = [&harness, &router](const char* command) {
        CommandItem item(*harness.item(QString::fromLatin1(command)));
        return router.validate(item);
    };

    harness.item(QStringLiteral("fineNextErrorCard:"))->trigger();
    ASSERT_EQ(window.selectedCardArray().size(), 1u);
    EXPECT_TRUE(window.selectedCardArray().front()->isErrorCard());
    EXPECT_TRUE(isEnabled("retryAllErrorCards:"));
    harness.item(QStringLiteral("delete_:"))->trigger();
    // Without error cards there is nothing to retry.
    EXPECT_FALSE(isEnabled("retryAllErrorCards:"));

    EXPECT_FALSE(isEnabled("unloadClipboardCardValue"));
    QGuiApplication::clipboard()->setText(QStringLiteral("N1 , 2.5\nN2 , 4\n"));
    harness.item(QStringLiteral("loadClipboardCardValueWithMenuItem:"))->trigger();
    EXPECT_TRUE(harness.sheets.alerts.empty())
        << harness.sheets.alerts.front().messageText.toStdString() << " / "
        << harness.sheets.alerts.front().informativeText.toStdString();
    ASSERT_NE(document->dataController().clipboardCardValueResultDataManager(), nullptr);
    EXPECT_TRUE(isEnabled("unloadClipboardCardValue"));
    harness.item(QStringLiteral("unloadClipboardCardValue"))->trigger();
    EXPECT_EQ(document->dataController().clipboardCardValueResultDataManager(), nullptr);

    // An empty clipboard is said so.
    QGuiApplication::clipboard()->clear();
    harness.item(QStringLiteral("loadClipboardCardValueAsTabSeparatedTextWithMenuItem:"))
        ->trigger();
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(
        harness.sheets.alerts.back().messageText, QStringLiteral("There is no text in clipboard."));
}
