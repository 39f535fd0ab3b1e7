#include "platform/UUndoManager.h"
#include "platform/UNotificationCenter.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStringList>

#include <stdexcept>

namespace {

// A value whose every change registers its inverse, as the model's edits do.
class UndoableText {
public:
    explicit UndoableText(UUndoManager& undoManager)
        : undoManager_(undoManager)
    {
    }

    void set(const QString& text)
    {
        const QString old = text_;
        text_ = text;
        undoManager_.registerUndo([this, old] { set(old); });
    }
    void append(const QString& piece) { set(text_ + piece); }
    const QString& text() const { return text_; }

private:
    UUndoManager& undoManager_;
    QString text_;
};

void finishEventTurn()
{
    QCoreApplication::processEvents();
}

} // namespace

TEST(UndoManager, OneEventTurnIsOneUndoStep)
{
    UNotificationCenter center;
    UUndoManager undoManager(&center);
    UndoableText text(undoManager);
    text.append("a");
    text.append("b");
    text.append("c");
    EXPECT_EQ(undoManager.groupingLevel(), 1);
    finishEventTurn();
    EXPECT_EQ(undoManager.groupingLevel(), 0);
    text.append("d");
    finishEventTurn();
    text.append("e");
    // Undo closes the turn's group that is still open.
    undoManager.undo();
    EXPECT_EQ(text.text(), "abcd");
    undoManager.undo();
    EXPECT_EQ(text.text(), "abc");
    undoManager.undo();
    EXPECT_EQ(text.text(), "");
    EXPECT_FALSE(undoManager.canUndo());
    // The three changes come back as one redo step too.
    undoManager.redo();
    EXPECT_EQ(text.text(), "abc");
    EXPECT_TRUE(undoManager.canUndo());
    EXPECT_TRUE(undoManager.canRedo());
}

TEST(UndoManager, ExplicitGroupsNestAndReplayInReverse)
{
    UNotificationCenter center;
    UUndoManager undoManager(&center);
    undoManager.setGroupsByEvent(false);
    QStringList order;
    EXPECT_THROW(undoManager.registerUndo([] {}), std::logic_error);
    EXPECT_THROW(undoManager.endUndoGrouping(), std::logic_error);

    undoManager.beginUndoGrouping();
    undoManager.registerUndo([&] { order << "a"; });
    undoManager.beginUndoGrouping();
    undoManager.registerUndo([&] { order << "b"; });
    EXPECT_EQ(undoManager.groupingLevel(), 2);
    EXPECT_THROW(undoManager.undo(), std::logic_error);
    undoManager.endUndoGrouping();
    undoManager.registerUndo([&] { order << "c"; });
    EXPECT_FALSE(undoManager.canUndo()); // not closed yet
    undoManager.endUndoGrouping();
    undoManager.beginUndoGrouping();
    undoManager.endUndoGrouping(); // empty groups are dropped

    EXPECT_TRUE(undoManager.canUndo());
    undoManager.undo();
    EXPECT_EQ(order, QStringList({ "c", "b", "a" }));
    EXPECT_FALSE(undoManager.canUndo());
}

TEST(UndoManager, ExplicitGroupInsideAnEventTurnJoinsIt)
{
    UNotificationCenter center;
    UUndoManager undoManager(&center);
    UndoableText text(undoManager);
    text.append("a");
    undoManager.beginUndoGrouping();
    text.append("b");
    undoManager.endUndoGrouping();
    text.append("c");
    finishEventTurn();
    undoManager.undo();
    EXPECT_EQ(text.text(), "");

    // A group begun outside a turn's group is a step of its own.
    undoManager.beginUndoGrouping();
    text.append("x");
    undoManager.endUndoGrouping();
    text.append("y");
    finishEventTurn();
    undoManager.undo();
    EXPECT_EQ(text.text(), "x");
}

TEST(UndoManager, RedoAfterUndoAndNewChangesDropRedo)
{
    UNotificationCenter center;
    UUndoManager undoManager(&center);
    UndoableText text(undoManager);
    bool sawUndoing = false;
    bool sawRedoing = false;
    undoManager.registerUndo(
        [&] { sawUndoing = undoManager.isUndoing() && !undoManager.isRedoing(); });
    text.set("one");
    finishEventTurn();
    text.set("two");
    finishEventTurn();

    undoManager.undo();
    EXPECT_EQ(text.text(), "one");
    EXPECT_FALSE(undoManager.isUndoing());
    undoManager.redo();
    EXPECT_EQ(text.text(), "two");
    undoManager.undo();
    undoManager.undo();
    EXPECT_EQ(text.text(), "");
    EXPECT_TRUE(sawUndoing);
    undoManager.redo();
    EXPECT_EQ(text.text(), "one");
    undoManager.redo();
    EXPECT_EQ(text.text(), "two");
    EXPECT_FALSE(undoManager.canRedo());

    undoManager.undo();
    EXPECT_TRUE(undoManager.canRedo());
    undoManager.registerUndo([&] { sawRedoing = undoManager.isRedoing(); });
    EXPECT_FALSE(undoManager.canRedo());
    finishEventTurn();
    undoManager.redo(); // nothing to redo
    EXPECT_EQ(text.text(), "one");
    EXPECT_FALSE(sawRedoing);
}

TEST(UndoManager, ActionNamesAndMenuTitles)
{
    UNotificationCenter center;
    UUndoManager undoManager(&center);
    UndoableText text(undoManager);
    EXPECT_EQ(undoManager.undoMenuItemTitle(), "Undo");
    text.set("a");
    undoManager.setActionName("Typing");
    finishEventTurn();
    // No group open: the previous step keeps its name.
    undoManager.setActionName("Ignored");
    EXPECT_EQ(undoManager.undoActionName(), "Typing");
    EXPECT_EQ(undoManager.undoMenuItemTitle(), "Undo Typing");

    text.set("b");
    undoManager.setActionName("Paste");
    EXPECT_EQ(undoManager.undoActionName(), "Paste"); // the turn's open group
    finishEventTurn();

    undoManager.undo();
    EXPECT_EQ(undoManager.undoActionName(), "Typing");
    EXPECT_EQ(undoManager.redoActionName(), "Paste");
    EXPECT_EQ(undoManager.redoMenuItemTitle(), "Redo Paste");
    undoManager.redo();
    EXPECT_EQ(undoManager.undoActionName(), "Paste");
    EXPECT_EQ(undoManager.redoActionName(), "");
    EXPECT_EQ(undoManager.redoMenuItemTitle(), "Redo");
}

TEST(UndoManager, NotificationsAroundUndoAndRedo)
{
    UNotificationCenter center;
    UUndoManager undoManager(&center);
    QStringList events;
    center.addObserver(nullptr, QString(), &undoManager, [&](const UNotification& n) {
        events << QString(n.name).remove("UUndoManager").remove("Notification");
    });
    undoManager.registerUndo([&] {
        events << "action";
        undoManager.registerUndo([&] { events << "redo action"; });
    });
    finishEventTurn();
    undoManager.undo();
    undoManager.redo();
    EXPECT_EQ(events,
        QStringList({ "DidCloseUndoGroup", "WillUndoChange", "action", "DidUndoChange",
            "WillRedoChange", "redo action", "DidRedoChange" }));
}

TEST(UndoManager, DisablingLevelsAndRemoveAllActions)
{
    UNotificationCenter center;
    UUndoManager undoManager(&center);
    UndoableText text(undoManager);
    undoManager.disableUndoRegistration();
    undoManager.disableUndoRegistration();
    text.set("ignored");
    undoManager.enableUndoRegistration();
    text.set("still ignored");
    undoManager.enableUndoRegistration();
    EXPECT_THROW(undoManager.enableUndoRegistration(), std::logic_error);
    finishEventTurn();
    EXPECT_FALSE(undoManager.canUndo());

    undoManager.setLevelsOfUndo(2);
    for (const char* step : { "1", "2", "3" }) {
        text.set(step);
        finishEventTurn();
    }
    undoManager.undo();
    undoManager.undo();
    EXPECT_EQ(text.text(), "1");
    EXPECT_FALSE(undoManager.canUndo());

    undoManager.disableUndoRegistration();
    undoManager.removeAllActions();
    EXPECT_FALSE(undoManager.canRedo());
    EXPECT_TRUE(undoManager.isUndoRegistrationEnabled());
    text.set("4");
    finishEventTurn();
    EXPECT_TRUE(undoManager.canUndo());
}

TEST(UndoManager, AFailingActionLeavesTheManagerUsable)
{
    UNotificationCenter center;
    UUndoManager undoManager(&center);
    UndoableText text(undoManager);
    text.set("a");
    undoManager.registerUndo([] { throw std::runtime_error("failed"); });
    finishEventTurn();
    EXPECT_THROW(undoManager.undo(), std::runtime_error);
    EXPECT_FALSE(undoManager.isUndoing());
    EXPECT_EQ(text.text(), "a");
    EXPECT_FALSE(undoManager.canUndo());
    text.set("b");
    finishEventTurn();
    undoManager.undo();
    EXPECT_EQ(text.text(), "a");
}

TEST(UndoManager, RollingBackTheOpenGroupLeavesNoTrace)
{
    UNotificationCenter center;
    UUndoManager undoManager(&center);
    UndoableText text(undoManager);
    EXPECT_THROW(undoManager.rollBackOpenGroup(0), std::logic_error);
    text.set("kept");
    undoManager.beginUndoGrouping();
    const std::size_t mark = undoManager.openGroupActionCount();
    text.append(" and");
    text.append(" failed");
    undoManager.rollBackOpenGroup(mark);
    EXPECT_EQ(text.text(), "kept");
    EXPECT_EQ(undoManager.openGroupActionCount(), mark);
    undoManager.endUndoGrouping();
    finishEventTurn();
    EXPECT_FALSE(undoManager.canRedo());
    undoManager.undo();
    EXPECT_EQ(text.text(), "");
    EXPECT_FALSE(undoManager.canUndo());
}
