#pragma once

#include <QString>
#include <QTimer>

#include <cstddef>
#include <deque>
#include <functional>
#include <vector>

class UNotificationCenter;

// Posted by an undo manager (the sender) to its notification centre around undo and redo.
inline const QString UUndoManagerWillUndoChangeNotification
    = QStringLiteral("UUndoManagerWillUndoChangeNotification");
inline const QString UUndoManagerDidUndoChangeNotification
    = QStringLiteral("UUndoManagerDidUndoChangeNotification");
inline const QString UUndoManagerWillRedoChangeNotification
    = QStringLiteral("UUndoManagerWillRedoChangeNotification");
inline const QString UUndoManagerDidRedoChangeNotification
    = QStringLiteral("UUndoManagerDidRedoChangeNotification");
// Posted when a group of changes closes onto the undo stack (not for the groups that undo and
// redo themselves record), so that a document can count its changes.
inline const QString UUndoManagerDidCloseUndoGroupNotification
    = QStringLiteral("UUndoManagerDidCloseUndoGroupNotification");

// Undo and redo stacks of closures. QUndoStack wants command objects made up front; the model
// instead registers the inverse of each change as it makes it, and several changes made by one
// user command must undo as one step, so this is ours.
//
// Grouping: a registration with no group open opens one that closes when the event loop next
// turns (groupsByEvent, on by default), so everything one event handler does is one step.
// beginUndoGrouping/endUndoGrouping open explicit groups, which nest; nested groups merge into
// the outermost one. Registrations made while undoing form the redo step, those made while
// redoing form the undo step. Empty groups are dropped.
//
// Used on the thread that made it (the main thread); not thread-safe.
class UUndoManager {
public:
    // Notifications go to `center` (the default centre when null), with this manager as sender.
    explicit UUndoManager(UNotificationCenter* center = nullptr);
    ~UUndoManager();
    UUndoManager(const UUndoManager&) = delete;
    UUndoManager& operator=(const UUndoManager&) = delete;

    void registerUndo(std::function<void()> action);

    void beginUndoGrouping();
    // Throws std::logic_error when no group is open.
    void endUndoGrouping();
    int groupingLevel() const { return level_; }
    bool groupsByEvent() const { return groupsByEvent_; }
    // Without event grouping, a registration outside an explicit group throws std::logic_error.
    void setGroupsByEvent(bool groupsByEvent);

    // Names the open group; with no group open, or while undoing or redoing, does nothing (the
    // step being recorded by undo or redo keeps the name of the step it reverses).
    void setActionName(const QString& actionName);
    QString undoActionName() const;
    QString redoActionName() const;
    QString undoMenuItemTitle() const;
    QString redoMenuItemTitle() const;

    bool canUndo() const;
    bool canRedo() const;
    // Both close an open event group first; they throw std::logic_error inside an explicit
    // group, or when called from an undo or redo action.
    void undo();
    void redo();
    // The number of changes registered in the open group: a mark for rollBackOpenGroup.
    std::size_t openGroupActionCount() const { return open_.actions.size(); }
    // Reverses, newest first, the changes registered in the open group after `mark` and forgets
    // them, recording nothing, so that a compound edit that fails part way leaves no trace. Throws
    // std::logic_error with no group open or while undoing or redoing.
    void rollBackOpenGroup(std::size_t mark);

    bool isUndoing() const { return mode_ == Mode::Undoing; }
    bool isRedoing() const { return mode_ == Mode::Redoing; }

    // Empties both stacks and the open group, and enables registration again.
    void removeAllActions();

    // Registrations are ignored while disabled; the calls nest.
    void disableUndoRegistration();
    // Throws std::logic_error when registration is not disabled.
    void enableUndoRegistration();
    bool isUndoRegistrationEnabled() const { return disabledCount_ == 0; }

    // The most steps kept on the undo stack (the oldest are dropped); 0 keeps every step.
    int levelsOfUndo() const { return levelsOfUndo_; }
    void setLevelsOfUndo(int levels);

private:
    struct Group {
        QString name;
        std::vector<std::function<void()>> actions;
    };
    enum class Mode { Normal, Undoing, Redoing };

    void openEventGroup();
    void closeOutermostGroup();
    void closeEventGroupBeforeReplay(const char* operation);
    void replay(std::deque<Group>& from, std::deque<Group>& to, Mode mode);
    const Group* nextUndoStep() const;
    void trim(std::deque<Group>& stack) const;
    void post(const QString& name);

    UNotificationCenter* center_;
    std::deque<Group> undoStack_;
    std::deque<Group> redoStack_;
    Group open_;
    // The step being recorded while undoing or redoing.
    Group replayed_;
    int level_ = 0;
    int replayLevel_ = 0;
    bool eventGroupOpen_ = false;
    bool groupsByEvent_ = true;
    int disabledCount_ = 0;
    int levelsOfUndo_ = 0;
    Mode mode_ = Mode::Normal;
    QTimer eventGroupTimer_;
};
