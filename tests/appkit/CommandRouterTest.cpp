#include "AppKitTestSupport.h"

#include "appkit/CommandRouter.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>

namespace {

// Responds to the commands it is given, enabled while `enabled` says so, recording what it did.
class RecordingTarget : public CommandTarget {
public:
    explicit RecordingTarget(QStringList commands)
    {
        for (const QString& command : commands) {
            addCommand(command, [this](const CommandItem& sender) {
                performed.append(sender.command());
                tags.append(sender.tag());
            });
        }
    }
    bool validateCommand(CommandItem& item) override
    {
        if (item.tag() != 0) {
            item.setState(item.tag() == onTag ? CommandState::On : CommandState::Off);
        }
        return enabled;
    }

    bool enabled = true;
    int onTag = 0;
    QStringList performed;
    QList<int> tags;
};

class PanelController : public WindowController {
public:
    explicit PanelController(WindowTracker& tracker)
        : WindowController(std::make_unique<QWidget>(nullptr, Qt::Tool), tracker, Kind::Panel)
    {
        addCommand(QStringLiteral("findNext:"), [this](const CommandItem&) { ++found; });
    }
    int found = 0;
};

struct RouterHarness {
    RouterHarness()
    {
        app.writeFile(QStringLiteral("a.dummy"), "a");
        document = app.open(QStringLiteral("a.dummy"));
        window = static_cast<DummyWindowController*>(document->windowControllers().at(0).get());
        app.tracker.windowDidActivate(window);
        router.setApplicationDelegate(&delegate);
        router.setDocumentController(&app.controller);
        router.attachTarget(window->mainView(), &view);
    }

    AppKitHarness app;
    CommandRouter router { app.tracker };
    DummyDocument* document = nullptr;
    DummyWindowController* window = nullptr;
    RecordingTarget view { { QStringLiteral("copy:"), QStringLiteral("selectViewType:") } };
    RecordingTarget delegate { { QStringLiteral("showPreferencePanel:"),
        QStringLiteral("fileLock:") } };
};

} // namespace

TEST(CommandRouterTest, EditCommandsReachAFocusedFieldBeforeTheMainView)
{
    RouterHarness h;
    QLineEdit* field = h.window->field();
    field->setText(QStringLiteral("Node 1"));
    field->selectAll();
    field->setFocus();
    QApplication::clipboard()->clear();

    EXPECT_TRUE(h.router.perform(QStringLiteral("copy:")));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Node 1"));
    EXPECT_TRUE(h.view.performed.isEmpty());

    // The field answers for copy even when it cannot copy: the command stops there and beeps.
    field->deselect();
    CommandItem copy(QStringLiteral("copy:"));
    EXPECT_FALSE(h.router.validate(copy));
    EXPECT_FALSE(copy.isEnabled());
    EXPECT_FALSE(h.router.perform(QStringLiteral("copy:")));
    EXPECT_EQ(h.app.beeps.sounds, QStringList { QString() });
    EXPECT_TRUE(h.view.performed.isEmpty());

    h.window->mainView()->setFocus();
    EXPECT_TRUE(h.router.perform(QStringLiteral("copy:")));
    EXPECT_EQ(h.view.performed, QStringList { QStringLiteral("copy:") });
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Node 1"));

    // Paste goes to the field, not to the view, which does not handle it.
    field->setFocus();
    field->setText(QString());
    QApplication::clipboard()->setText(QStringLiteral("Beam 2"));
    EXPECT_TRUE(h.router.perform(QStringLiteral("paste:")));
    EXPECT_EQ(field->text(), QStringLiteral("Beam 2"));
}

TEST(CommandRouterTest, ChainRunsFromKeyPanelToDocumentController)
{
    RouterHarness h;
    PanelController panel(h.app.tracker);
    panel.showWindow();
    h.app.tracker.windowDidActivate(&panel);
    h.window->mainView()->setFocus();

    const std::vector<CommandTarget*> chain = h.router.responderChain();
    const std::vector<CommandTarget*> expected { &panel, &h.view, h.window, h.document, &h.delegate,
        &h.app.controller };
    EXPECT_EQ(chain, expected);

    EXPECT_EQ(h.router.targetForCommand(QStringLiteral("findNext:")), &panel);
    EXPECT_EQ(h.router.targetForCommand(QStringLiteral("performClose:")), &panel)
        << "the key window closes, not the main one";
    EXPECT_EQ(h.router.targetForCommand(QStringLiteral("copy:")), &h.view);
    EXPECT_EQ(h.router.targetForCommand(QStringLiteral("saveDocument:")), h.document);
    EXPECT_EQ(h.router.targetForCommand(QStringLiteral("showPreferencePanel:")), &h.delegate);
    EXPECT_EQ(h.router.targetForCommand(QStringLiteral("openDocument:")), &h.app.controller);
    EXPECT_EQ(h.router.targetForCommand(QStringLiteral("noSuchCommand:")), nullptr);
    h.router.detachTarget(h.window->mainView());
    EXPECT_EQ(h.router.targetForCommand(QStringLiteral("copy:")), nullptr);
    h.router.attachTarget(h.window->mainView(), &h.view);

    CommandItem unknown(QStringLiteral("noSuchCommand:"));
    EXPECT_FALSE(h.router.validate(unknown));
    EXPECT_FALSE(h.router.perform(unknown));
    EXPECT_EQ(h.app.beeps.sounds.size(), 1);

    EXPECT_TRUE(h.router.perform(QStringLiteral("findNext:")));
    EXPECT_EQ(panel.found, 1);

    // Without windows only the delegate and the document controller remain.
    panel.close();
    h.window->close();
    EXPECT_EQ(h.router.responderChain(),
        (std::vector<CommandTarget*> { &h.delegate, &h.app.controller }));
}

TEST(CommandRouterTest, MenuValidatesOnShowAndTriggerValidatesAgain)
{
    RouterHarness h;
    QMenu menu;
    QAction* lock = menu.addAction(QStringLiteral("Lock"));
    lock->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    QAction* table = menu.addAction(QStringLiteral("Card View"));
    QAction* graphic = menu.addAction(QStringLiteral("3D Graphic View"));
    h.router.bindAction(lock, QStringLiteral("fileLock:"));
    h.router.bindAction(table, QStringLiteral("selectViewType:"), 1);
    h.router.bindAction(graphic, QStringLiteral("selectViewType:"), 2);
    h.router.bindMenu(&menu);
    h.window->mainView()->setFocus();

    h.delegate.enabled = false;
    h.view.onTag = 2;
    menu.popup(QPoint(0, 0));
    EXPECT_FALSE(lock->isEnabled());
    EXPECT_TRUE(table->isEnabled());
    EXPECT_FALSE(table->isChecked());
    EXPECT_TRUE(graphic->isChecked());
    menu.close();
    EXPECT_TRUE(lock->isEnabled()) << "enabled again so that its shortcut reaches the router";

    // The shortcut's trigger is validated again: disabled, so it beeps and does nothing.
    lock->trigger();
    EXPECT_TRUE(h.delegate.performed.isEmpty());
    EXPECT_EQ(h.app.beeps.sounds.size(), 1);

    h.delegate.enabled = true;
    lock->trigger();
    EXPECT_EQ(h.delegate.performed, QStringList { QStringLiteral("fileLock:") });
    graphic->trigger();
    table->trigger();
    EXPECT_EQ(h.view.tags, (QList<int> { 2, 1 }));
    EXPECT_EQ(h.app.beeps.sounds.size(), 1);
}

TEST(CommandRouterTest, ToolbarActionsFollowFocusOnACoalescedTimer)
{
    RouterHarness h;
    QAction cut(QStringLiteral("Cut"));
    h.router.bindAction(&cut, QStringLiteral("cut:"));
    h.router.addValidatedAction(&cut);
    QLineEdit* field = h.window->field();
    field->setText(QStringLiteral("abc"));
    field->selectAll();
    field->setFocus();
    h.router.scheduleValidation();
    finishEventTurn();
    EXPECT_TRUE(cut.isEnabled());

    h.window->mainView()->setFocus();
    h.router.scheduleValidation();
    h.router.scheduleValidation();
    EXPECT_TRUE(cut.isEnabled()) << "validation waits for the event loop";
    finishEventTurn();
    EXPECT_FALSE(cut.isEnabled()) << "the main view does not cut";
}

TEST(CommandRouterTest, UndoReachesAFocusedFieldFirstThenTheDocument)
{
    RouterHarness h;
    h.document->append(QStringLiteral("+"));
    h.window->mainView()->setFocus();
    CommandItem undo(QStringLiteral("undo:"));
    EXPECT_TRUE(h.router.validate(undo));
    EXPECT_EQ(undo.title(), QStringLiteral("Undo Append"));
    CommandItem redo(QStringLiteral("redo:"));
    EXPECT_FALSE(h.router.validate(redo));
    EXPECT_EQ(redo.title(), QStringLiteral("Redo"));

    QLineEdit* field = h.window->field();
    field->setFocus();
    field->insert(QStringLiteral("typed"));
    EXPECT_NE(h.router.targetForCommand(QStringLiteral("undo:")), h.document);
    EXPECT_TRUE(h.router.perform(QStringLiteral("undo:")));
    EXPECT_EQ(field->text(), QString()) << "the field's own typing is undone";
    EXPECT_EQ(h.document->text(), QStringLiteral("a+"));

    h.window->mainView()->setFocus();
    EXPECT_TRUE(h.router.perform(QStringLiteral("undo:")));
    EXPECT_EQ(h.document->text(), QStringLiteral("a"));
    EXPECT_FALSE(h.document->isDocumentEdited());
    EXPECT_TRUE(h.router.perform(QStringLiteral("redo:")));
    EXPECT_EQ(h.document->text(), QStringLiteral("a+"));
    EXPECT_FALSE(h.router.perform(QStringLiteral("redo:"))) << "nothing left to redo";
    EXPECT_EQ(h.app.beeps.sounds.size(), 1);
}
