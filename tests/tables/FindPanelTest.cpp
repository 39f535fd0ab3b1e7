#include "CardTableViewTestSupport.h"

#include "appkit/WindowTracker.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "cardmodel/text/UFemStringSearchManager.h"
#include "documents/document/UFemDocumentNotifications.h"
#include "documents/toolbar/UFemCardFilterField.h"
#include "documents/toolbar/UFemWindowToolbar.h"
#include "platform/UUndoManager.h"
#include "tables/UFemFindPanelController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace {

QStringList enabledCommands(const UFemFindPanelController& panel)
{
    QStringList enabled;
    for (const QString& command : UFemFindPanelController::commands)
        if (panel.commandButton(command)->isEnabled())
            enabled.append(command);
    return enabled;
}

QStringList allCommands()
{
    return { UFemFindPanelController::commands.begin(), UFemFindPanelController::commands.end() };
}

} // namespace

TEST(FindPanel, TagTableAndTheEmptySearchString)
{
    WindowTracker tracker;
    UFemFindPanelController panel(tracker);
    EXPECT_EQ(panel.searchString(), "");
    panel.loadWindow();
    auto* popup = panel.window()->findChild<QComboBox*>("searchOptionPopupButtonOutlet");
    auto* inComment = panel.window()->findChild<QCheckBox*>("ignoreInCommentCheckButtonOutlet");
    ASSERT_NE(popup, nullptr);
    ASSERT_NE(inComment, nullptr);
    popup->addItem(QStringLiteral("unknown"), 99);
    struct Row {
        int tag;
        bool ignoresComment;
        qint64 target;
        qint64 function;
    };
    for (const Row& row : std::initializer_list<Row> { { 11, false, 1, 1 }, { 11, true, 2, 1 },
             { 12, false, 1, 2 }, { 12, true, 2, 2 }, { 21, true, 3, 1 }, { 22, false, 3, 2 },
             { 31, true, 4, 1 }, { 32, false, 4, 2 }, { 99, true, 0, 0 } }) {
        popup->setCurrentIndex(popup->findData(row.tag));
        inComment->setChecked(row.ignoresComment);
        EXPECT_EQ(panel.searchTarget(), row.target) << row.tag;
        EXPECT_EQ(panel.searchFunction(), row.function) << row.tag;
    }

    UErrorPtr error;
    EXPECT_EQ(panel.stringSearchManagerWithDoesSearchBackDirection(false, &error), nullptr);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), 61001);
    EXPECT_EQ(error->localizedDescription(), "Search string is empty.");
    EXPECT_EQ(error->localizedRecoverySuggestion(), "Set search string with 'Find' panel.");

    // Pattern characters are plain text to the search.
    popup->setCurrentIndex(popup->findData(11));
    panel.setSearchString(QStringLiteral("a.*["));
    const auto manager = panel.stringSearchManagerWithDoesSearchBackDirection(true, &error);
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->searchString(), "a.*[");
    EXPECT_EQ(manager->searchFunction(), UFemStringSearchFunctionContains);
    EXPECT_TRUE(manager->doesSearchBackDirection());
    EXPECT_EQ(manager->matchRangeInTargetString(QStringLiteral("xa.*[y"), { 0, 6 }).location, 1u);
    EXPECT_EQ(manager->matchRangeInTargetString(QStringLiteral("xabbb[y"), { 0, 7 }).location,
        UFemRangeNotFound);
}

TEST(FindPanel, NoDocumentWindowDisablesEveryButton)
{
    WindowTracker tracker;
    UFemFindPanelController panel(tracker);
    panel.showFindPanel();
    EXPECT_EQ(panel.findPanelActionTargetObject(), nullptr);
    EXPECT_TRUE(enabledCommands(panel).isEmpty());
    panel.performFindCommand(QStringLiteral("findNext:"));
    panel.window()->close();
}

class FindPanelWindow : public CardTableViewFixture {
protected:
    FindPanelWindow()
        : panel(harness.tracker)
    {
        UFemFindPanel::setShared(&panel);
        harness.tracker.windowDidActivate(harness.window);
        panel.showFindPanel();
        harness.finishEventTurn();
        QApplication::setActiveWindow(harness.window->window());
        harness.finishEventTurn();
    }
    ~FindPanelWindow() override { UFemFindPanel::setShared(nullptr); }

    void press(const QString& command)
    {
        panel.commandButton(command)->click();
        harness.finishEventTurn();
    }
    QString message() const
    {
        return panel.window()->findChild<QLabel*>("replaceAllMessageTextFieldOutlet")->text();
    }
    void setReplaceString(const QString& text)
    {
        panel.window()->findChild<QComboBox*>("replaceStringComboBoxOutlet")->setCurrentText(text);
    }

    // The window and the panel side by side, when the environment asks for the picture (looked
    // at by hand under Xvfb).
    void grabPanelBesideWindow() const
    {
        const QByteArray directory = qgetenv("VANTREL_GRAB_DIR");
        if (directory.isEmpty())
            return;
        const QPixmap window = harness.window->window()->grab();
        const QPixmap panelImage = panel.window()->grab();
        QPixmap both(
            window.width() + panelImage.width(), qMax(window.height(), panelImage.height()));
        both.fill(Qt::darkGray);
        QPainter painter(&both);
        painter.drawPixmap(0, 0, window);
        painter.drawPixmap(window.width(), 0, panelImage);
        painter.end();
        both.save(QDir(QString::fromLocal8Bit(directory)).filePath("findpanel.png"));
    }

    UFemFindPanelController panel;
};

TEST_F(FindPanelWindow, ButtonsAndMessageFollowTheFrontWindow)
{
    EXPECT_EQ(panel.findPanelActionTargetObject(), harness.window->mainViewController());
    selectCards({ "N1" });
    panel.updateValidateButtons();
    EXPECT_EQ(enabledCommands(panel), allCommands());

    // Typing a card filter: nothing to act on.
    panel.setReplaceAllMessageString("3 replaced");
    harness.window->toolbar().cardFilterField()->setFocus(Qt::OtherFocusReason);
    harness.finishEventTurn();
    EXPECT_TRUE(enabledCommands(panel).isEmpty());
    EXPECT_EQ(message(), "");
    table->setFocus(Qt::OtherFocusReason);
    harness.finishEventTurn();
    EXPECT_EQ(enabledCommands(panel), allCommands());

    // A locked document only finds.
    panel.setReplaceAllMessageString("3 replaced");
    harness.model().setLockedOutside(true);
    UNotificationCenter::defaultCenter().post(
        UFemDocumentLockStatusDidChangeNotification, harness.document);
    EXPECT_EQ(enabledCommands(panel), (QStringList { "findNext:", "findPrevious:" }));
    EXPECT_EQ(message(), "");
    harness.model().setLockedOutside(false);

    // The information view answers no find.
    harness.window->setViewType(UFemViewTypeInfo);
    EXPECT_TRUE(enabledCommands(panel).isEmpty());
    harness.window->setViewType(UFemViewTypeCard);
    EXPECT_FALSE(enabledCommands(panel).isEmpty());

    panel.setReplaceAllMessageString("3 replaced");
    harness.window->window()->hide();
    harness.tracker.windowDidHide(harness.window);
    EXPECT_EQ(message(), "");
    EXPECT_TRUE(enabledCommands(panel).isEmpty());
}

TEST_F(FindPanelWindow, FindReplaceAndReplaceAllInTheCardTable)
{
    panel.setSearchString(QStringLiteral(", 0 , 0 ,"));
    setReplaceString(QStringLiteral(", 0 , 2 ,"));
    press(QStringLiteral("findNext:"));
    ASSERT_TRUE(table->isEditingCell());
    EXPECT_EQ(controller->cellEditorRow(), 2u);
    EXPECT_EQ(controller->cellEditor()->selectedText(), ", 0 , 0 ,");
    grabPanelBesideWindow();

    press(QStringLiteral("replaceSelectionAndFindNext:"));
    EXPECT_EQ(
        cell(2, UFemCardTableModel::CardStringColumn), "Node , N1 ,  , 0 , 2 , 0 ,    \\ left end");
    EXPECT_EQ(controller->cellEditorRow(), 3u);
    EXPECT_EQ(controller->cellEditor()->selectedText(), ", 0 , 0 ,");

    harness.document->undoManager().undo();
    const QString before = harness.model().modelTextOfAllCards();
    panel.setSearchString(QStringLiteral(" 0 ,"));
    setReplaceString(QStringLiteral(" 0.0 ,"));
    int changes = 0;
    UNotificationCenter* modelCenter = harness.model().notificationCenter();
    const UNotificationObservation counting
        = (modelCenter != nullptr ? *modelCenter : UNotificationCenter::defaultCenter())
              .observe(UFemModelDataDidChangeNotification, &harness.model(),
                  [&](const UNotification&) { ++changes; });
    press(QStringLiteral("replaceAll:"));
    EXPECT_EQ(message(), "5 replaced");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(cell(3, UFemCardTableModel::CardStringColumn), "Node , N2 ,  , 1.5 , 0.0 , 0.0 ,");
    harness.document->undoManager().undo();
    EXPECT_EQ(harness.model().modelTextOfAllCards(), before);
}

TEST_F(FindPanelWindow, AnEmptySearchOnlyBeeps)
{
    press(QStringLiteral("findNext:"));
    EXPECT_EQ(harness.beepCount(), 1);
    EXPECT_TRUE(harness.sheets.alerts.empty());
    EXPECT_FALSE(table->isEditingCell());
}
