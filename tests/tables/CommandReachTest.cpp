// The commands the program builds, reached as a user reaches them: from the menus, the keys, the
// toolbar and the card table's context menu.
#include "CardTableViewTestSupport.h"
#include "ProgramTestSupport.h"

#include "appkit/CommandRouter.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/application/UFemAppDelegate.h"
#include "documents/application/UFemMainMenu.h"
#include "documents/calculation/UFemCalculationSettingPanelController.h"
#include "documents/toolbar/UFemCardFilterField.h"
#include "documents/toolbar/UFemWindowToolbar.h"
#include "tables/UFemCardTableContextMenu.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

// A Rod whose property is a shell's: a card that reads but cannot be calculated.
const QString ModelWithCardThatCannotRun
    = QString(WindowModelText)
          .replace(QStringLiteral("Rod , R1 , RP ,"), QStringLiteral("Rod , R1 , SP ,"))
    + QStringLiteral("ShellProp , SP , Steel , 0.1 ,\n");

QString cardTextOf(const UFemCardPtr& card)
{
    return UFemCardString(*card);
}

} // namespace

TEST(CommandReach, everyBuiltCommandHasAMenuItemAndTheCardOnesAContextItem)
{
    ProgramHarness harness;
    UFemDocument* document = harness.openProject(ProgramModelText, false);
    ASSERT_NE(document, nullptr);
    const QStringList cardCommands = { QStringLiteral("insert:"), QStringLiteral("delete_:"),
        QStringLiteral("copyAsTabSeparatedText:"), QStringLiteral("cutAsTabSeparatedText:"),
        QStringLiteral("pasteAsTabSeparatedText:"), QStringLiteral("retryAllErrorCards:"),
        QStringLiteral("fineNextErrorCard:"), QStringLiteral("findPreviousErrorCard:"),
        QStringLiteral("fineNextIncompleteCard:"), QStringLiteral("findPreviousIncompleteCard:") };
    const QStringList otherCommands = { QStringLiteral("checkToRunCalculation:"),
        QStringLiteral("loadClipboardCardValueWithMenuItem:"),
        QStringLiteral("loadClipboardCardValueAsTabSeparatedTextWithMenuItem:"),
        QStringLiteral("unloadClipboardCardValue"), QStringLiteral("saveModelDocumentTo:"),
        QStringLiteral("makeNewWindow:") };
    for (const QString& command : cardCommands + otherCommands) {
        SCOPED_TRACE(command.toStdString());
        EXPECT_NE(harness.item(command), nullptr);
        EXPECT_NE(harness.shell->commandRouter().targetForCommand(command), nullptr);
    }
    for (const QString& command : cardCommands)
        EXPECT_TRUE(UFemCardTableContextMenu::commands().contains(command))
            << command.toStdString();

    // The context menu's items are validated by the table: nothing selected, nothing to cut.
    QGuiApplication::clipboard()->setText(QStringLiteral("Node , N9 ,  , 5 , 5 , 5 ,\n"));
    UFemTableViewController* table = harness.tableOf(document);
    ASSERT_NE(table, nullptr) << ProgramHarness::windowOf(document)->viewType() << " "
                              << document->hasModelData() << " " << harness.sheets.alerts.size();
    const std::unique_ptr<QMenu> menu(
        UFemCardTableContextMenu::makeMenu(*table, table->cardTableView()));
    QStringList enabled;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isEnabled())
            enabled << CommandItem::commandOf(*action);
    }
    EXPECT_EQ(enabled,
        QStringList({ QStringLiteral("paste:"), QStringLiteral("insert:"),
            QStringLiteral("pasteAsTabSeparatedText:"), QStringLiteral("retryAllErrorCards:"),
            QStringLiteral("fineNextErrorCard:"), QStringLiteral("findPreviousErrorCard:"),
            QStringLiteral("fineNextIncompleteCard:"),
            QStringLiteral("findPreviousIncompleteCard:") }))
        << enabled.join(u' ').toStdString();
    // Chosen, an item performs its command on the table.
    for (QAction* action : menu->actions()) {
        if (CommandItem::commandOf(*action) == u"fineNextErrorCard:")
            action->trigger();
    }
    UFemWindowController& window = *ProgramHarness::windowOf(document);
    ASSERT_EQ(window.selectedCardArray().size(), 1u);
    EXPECT_TRUE(window.selectedCardArray().front()->isErrorCard());
}

TEST(CommandReach, checkModelSaysSoWhenNothingStopsTheCalculation)
{
    ProgramHarness harness;
    UFemDocument* document = harness.openModel(QStringLiteral("m.vtmodel"), WindowModelText);
    ASSERT_NE(document, nullptr);
    harness.item(QStringLiteral("checkToRunCalculation:"))->trigger();
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(harness.sheets.alerts.back().messageText,
        QStringLiteral("Checking model completed. No error found."));
    EXPECT_EQ(document->windowControllers().size(), 1u);
}

TEST(CommandReach, checkModelOpensAWindowOfTheCardsThatStopWithTheirErrors)
{
    ProgramHarness harness;
    UFemDocument* document
        = harness.openModel(QStringLiteral("m.vtmodel"), ModelWithCardThatCannotRun);
    ASSERT_NE(document, nullptr);
    harness.item(QStringLiteral("checkToRunCalculation:"))->trigger();
    finishEventTurn();
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    ASSERT_EQ(document->windowControllers().size(), 2u)
        << harness.sheets.alerts.back().messageText.toStdString();
    UFemWindowController& checkWindow = *ProgramHarness::windowOf(document, 1);
    EXPECT_EQ(checkWindow.viewType(), UFemViewTypeCard);
    EXPECT_EQ(checkWindow.filterString(), QStringLiteral("hasError"));
    ASSERT_EQ(checkWindow.windowCardTable().count(), 1u);
    EXPECT_EQ(cardTextOf(checkWindow.windowCardTable().cardArray().objectAtIndex(0)),
        QStringLiteral("Rod , R1 , SP , N1 , N2 ,"));
    // The "Model with Error" settings: row numbers, the card text and its error.
    auto* table = dynamic_cast<UFemTableViewController*>(checkWindow.mainViewController());
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->cardTableView()->isErrorStringColumnActive());
    EXPECT_TRUE(table->cardTableView()->isCardStringColumnActive());
    EXPECT_TRUE(table->cardTableView()->isCardRowIndexColumnActive());
    EXPECT_FALSE(table->cardTableView()->isCardNameStringColumnActive());
    // A window of the program, with its menus, in front.
    EXPECT_NE(checkWindow.window()->findChild<QMenuBar*>(), nullptr);
    EXPECT_TRUE(checkWindow.window()->isVisible());
    // The first window keeps its own view.
    EXPECT_FALSE(dynamic_cast<UFemTableViewController*>(
        ProgramHarness::windowOf(document)->mainViewController())
                     ->cardTableView()
                     ->isErrorStringColumnActive());
}

TEST(CommandReach, newWindowShowsTheSameModelAndExportAsksWhereToWrite)
{
    ProgramHarness harness;
    UFemDocument* document = harness.openModel(QStringLiteral("m.vtmodel"), WindowModelText);
    ASSERT_NE(document, nullptr);
    harness.item(QStringLiteral("makeNewWindow:"))->trigger();
    ASSERT_EQ(document->windowControllers().size(), 2u);
    UFemWindowController& second = *ProgramHarness::windowOf(document, 1);
    EXPECT_EQ(&second.dataController(), &document->dataController());
    EXPECT_EQ(second.windowCardTable().count(),
        ProgramHarness::windowOf(document)->windowCardTable().count());
    EXPECT_NE(second.window()->findChild<QMenuBar*>(), nullptr);

    harness.panels.savePath = harness.homePath(QStringLiteral("exported.vtmodel"));
    QAction* exportItem = harness.item(QStringLiteral("saveModelDocumentTo:"));
    CommandItem item(*exportItem);
    EXPECT_TRUE(harness.shell->commandRouter().validate(item));
    exportItem->trigger();
    ASSERT_EQ(harness.panels.savePanels.size(), 1u);
    EXPECT_EQ(harness.panels.savePanels.back().nameFieldLabel, QStringLiteral("Export As:"));
    QFile exported(harness.panels.savePath);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(exported.readAll()), canonicalModelText(WindowModelText));
}

TEST(CommandReach, theDeleteAndBackspaceKeysDeleteTheSelectedCardsAndUndoBringsThemBack)
{
    ProgramHarness harness;
    UFemDocument* document = harness.openModel(QStringLiteral("m.vtmodel"), WindowModelText);
    ASSERT_NE(document, nullptr);
    UFemWindowController& window = *ProgramHarness::windowOf(document);
    UFemCardTableView* table = harness.tableOf(document)->cardTableView();
    const QString before = document->dataController().modelTextOfAllCards();
    for (const int key : { int(Qt::Key_Delete), int(Qt::Key_Backspace) }) {
        window.setSelectedCardArray({ window.windowCardTable().cardArray().objectAtIndex(2) });
        sendKey(table, key);
        finishEventTurn();
        EXPECT_EQ(document->dataController().cardCount(), 11u);
        EXPECT_FALSE(document->dataController().modelTextOfAllCards().contains(u"Node , N1"));
        harness.item(QStringLiteral("undo:"))->trigger();
        EXPECT_EQ(document->dataController().modelTextOfAllCards(), before);
    }
    // No selection: nothing to delete, a beep.
    window.clearSelectedCardArray();
    sendKey(table, Qt::Key_Delete);
    EXPECT_EQ(document->dataController().modelTextOfAllCards(), before);
    EXPECT_EQ(harness.beeps.sounds.size(), 1);
}

TEST(CommandReach, escInTheCardFilterFieldGivesUpTheTyping)
{
    ProgramHarness harness;
    UFemDocument* document = harness.openModel(QStringLiteral("m.vtmodel"), WindowModelText);
    ASSERT_NE(document, nullptr);
    UFemWindowController& window = *ProgramHarness::windowOf(document);
    UFemCardFilterField& field = *window.toolbar().cardFilterField();
    field.setText(QStringLiteral("type:Node"));
    emit field.editingFinished();
    ASSERT_EQ(window.filterString(), QStringLiteral("type:Node"));

    field.setText(QStringLiteral("type:Ro"));
    field.setModified(true);
    sendKey(&field, Qt::Key_Escape);
    EXPECT_EQ(field.text(), QStringLiteral("type:Node"));
    EXPECT_FALSE(field.isModified());
    emit field.editingFinished();
    EXPECT_EQ(window.filterString(), QStringLiteral("type:Node"));
    EXPECT_EQ(window.windowCardTable().count(), 2u);
}

TEST(CommandReach, controlsWithoutAHandlerOrAViewToServeStayDisabled)
{
    ProgramHarness harness;
    UFemDocument* document = harness.openModel(QStringLiteral("m.vtmodel"), WindowModelText);
    ASSERT_NE(document, nullptr);
    UFemWindowController& window = *ProgramHarness::windowOf(document);
    // No model edit window yet: button and menu item alike.
    QAction* editWindowItem = harness.item(QStringLiteral("openModelEditWindow:"));
    CommandItem editWindow(*editWindowItem);
    EXPECT_FALSE(harness.shell->commandRouter().validate(editWindow));
    auto* button
        = window.toolbar().toolbar()->findChild<QToolButton*>(QStringLiteral("editwindow_icon"));
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->isEnabled());

    // The 3-D view's stand-in takes no move modes.
    window.setViewType(UFemViewTypeGraphic);
    harness.shell->appDelegate().updateMainMenu();
    EXPECT_FALSE(window.toolbar().graphicMoveModeSwitch()->button(3)->isEnabled());
    EXPECT_FALSE(harness.shell->mainMenu().graphicMoveModeMenuItem()->isEnabled());
    CommandItem rotate(
        *harness.item(QStringLiteral("graphicMoveModeMenuItemSelectedWithMenuItem:"), 3));
    EXPECT_FALSE(harness.shell->commandRouter().validate(rotate));
}

TEST(CommandReach, theResultFilePanelIsTitled)
{
    ProgramHarness harness;
    UFemDocument* document = harness.openModel(QStringLiteral("m.vtmodel"), WindowModelText);
    ASSERT_NE(document, nullptr);
    harness.item(QStringLiteral("startCalculation:"))->trigger();
    document->calculationSettingPanelController()
        .calculationSettingPanelChangeFilePathButtonPushed();
    ASSERT_EQ(harness.panels.savePanels.size(), 1u);
    EXPECT_EQ(harness.panels.savePanels.back().title, QStringLiteral("Result File Name"));
    EXPECT_EQ(harness.panels.savePanels.back().allowedExtensions, QStringList { "vtresult" });
}
