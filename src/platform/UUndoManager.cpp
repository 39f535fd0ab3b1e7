#include "platform/UUndoManager.h"

#include "platform/UNotificationCenter.h"

#include <QCoreApplication>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

UUndoManager::UUndoManager(UNotificationCenter* center)
    : center_(center ? center : &UNotificationCenter::defaultCenter())
{
    // A zero-interval timer fires once the events of the current turn have been handled.
    eventGroupTimer_.setSingleShot(true);
    eventGroupTimer_.setInterval(0);
    QObject::connect(&eventGroupTimer_, &QTimer::timeout, [this] {
        if (!eventGroupOpen_)
            return;
        if (level_ == 1)
            closeOutermostGroup();
        else
            eventGroupTimer_.start(); // an explicit group inside it is still open
    });
}

UUndoManager::~UUndoManager() = default;

void UUndoManager::registerUndo(std::function<void()> action)
{
    if (!action || disabledCount_ > 0)
        return;
    if (mode_ != Mode::Normal) {
        replayed_.actions.push_back(std::move(action));
        return;
    }
    if (level_ == 0) {
        if (!groupsByEvent_)
            throw std::logic_error("UUndoManager: registration outside an undo group");
        openEventGroup();
    }
    // A new change makes the undone steps unreachable.
    redoStack_.clear();
    open_.actions.push_back(std::move(action));
}

void UUndoManager::beginUndoGrouping()
{
    if (mode_ != Mode::Normal)
        ++replayLevel_;
    else
        ++level_;
}

void UUndoManager::endUndoGrouping()
{
    int& level = mode_ != Mode::Normal ? replayLevel_ : level_;
    if (level == 0)
        throw std::logic_error("UUndoManager: endUndoGrouping without an open group");
    if (mode_ == Mode::Normal && level == 1)
        closeOutermostGroup();
    else
        --level;
}

void UUndoManager::setGroupsByEvent(bool groupsByEvent)
{
    groupsByEvent_ = groupsByEvent;
}

void UUndoManager::setActionName(const QString& actionName)
{
    if (mode_ == Mode::Normal && level_ > 0)
        open_.name = actionName;
}

const UUndoManager::Group* UUndoManager::nextUndoStep() const
{
    // An event group still open is what undo() would close and undo.
    if (eventGroupOpen_ && level_ == 1 && !open_.actions.empty())
        return &open_;
    return undoStack_.empty() ? nullptr : &undoStack_.back();
}

QString UUndoManager::undoActionName() const
{
    const Group* step = nextUndoStep();
    return step ? step->name : QString();
}

QString UUndoManager::redoActionName() const
{
    return redoStack_.empty() ? QString() : redoStack_.back().name;
}

QString UUndoManager::undoMenuItemTitle() const
{
    const QString name = undoActionName();
    return name.isEmpty() ? QCoreApplication::translate("UUndoManager", "Undo")
                          : QCoreApplication::translate("UUndoManager", "Undo %1").arg(name);
}

QString UUndoManager::redoMenuItemTitle() const
{
    const QString name = redoActionName();
    return name.isEmpty() ? QCoreApplication::translate("UUndoManager", "Redo")
                          : QCoreApplication::translate("UUndoManager", "Redo %1").arg(name);
}

bool UUndoManager::canUndo() const
{
    return mode_ == Mode::Normal && nextUndoStep() != nullptr;
}

bool UUndoManager::canRedo() const
{
    return mode_ == Mode::Normal && !redoStack_.empty();
}

void UUndoManager::undo()
{
    closeEventGroupBeforeReplay("undo");
    if (!undoStack_.empty())
        replay(undoStack_, redoStack_, Mode::Undoing);
}

void UUndoManager::redo()
{
    closeEventGroupBeforeReplay("redo");
    if (!redoStack_.empty())
        replay(redoStack_, undoStack_, Mode::Redoing);
}

void UUndoManager::rollBackOpenGroup(std::size_t mark)
{
    if (mode_ != Mode::Normal || level_ == 0)
        throw std::logic_error("UUndoManager: rollBackOpenGroup without an open group");
    disableUndoRegistration();
    try {
        while (open_.actions.size() > mark) {
            const std::function<void()> action = std::move(open_.actions.back());
            open_.actions.pop_back();
            action();
        }
    } catch (...) {
        enableUndoRegistration();
        throw;
    }
    enableUndoRegistration();
}

void UUndoManager::removeAllActions()
{
    undoStack_.clear();
    redoStack_.clear();
    open_.actions.clear();
    open_.name.clear();
    replayed_.actions.clear();
    disabledCount_ = 0;
}

void UUndoManager::disableUndoRegistration()
{
    ++disabledCount_;
}

void UUndoManager::enableUndoRegistration()
{
    if (disabledCount_ == 0)
        throw std::logic_error("UUndoManager: enableUndoRegistration without a disable");
    --disabledCount_;
}

void UUndoManager::setLevelsOfUndo(int levels)
{
    levelsOfUndo_ = std::max(levels, 0);
    trim(undoStack_);
    trim(redoStack_);
}

void UUndoManager::openEventGroup()
{
    level_ = 1;
    eventGroupOpen_ = true;
    eventGroupTimer_.start();
}

void UUndoManager::closeOutermostGroup()
{
    level_ = 0;
    eventGroupOpen_ = false;
    eventGroupTimer_.stop();
    Group closed = std::exchange(open_, Group());
    if (closed.actions.empty())
        return;
    undoStack_.push_back(std::move(closed));
    trim(undoStack_);
    post(UUndoManagerDidCloseUndoGroupNotification);
}

void UUndoManager::closeEventGroupBeforeReplay(const char* operation)
{
    if (mode_ != Mode::Normal)
        throw std::logic_error(
            std::string("UUndoManager: ") + operation + " while undoing or redoing");
    if (level_ > 1 || (level_ == 1 && !eventGroupOpen_))
        throw std::logic_error(std::string("UUndoManager: ") + operation + " inside an undo group");
    if (level_ == 1)
        closeOutermostGroup();
}

void UUndoManager::replay(std::deque<Group>& from, std::deque<Group>& to, Mode mode)
{
    const bool undoing = mode == Mode::Undoing;
    // Taken before the will-notification, whose observers may change the stacks.
    Group step = std::move(from.back());
    from.pop_back();
    post(undoing ? UUndoManagerWillUndoChangeNotification : UUndoManagerWillRedoChangeNotification);
    mode_ = mode;
    replayLevel_ = 0;
    replayed_ = Group { step.name, {} };
    // Whatever ran before a failing action is still reversible.
    auto finish = [&] {
        mode_ = Mode::Normal;
        Group recorded = std::exchange(replayed_, Group());
        if (!recorded.actions.empty()) {
            to.push_back(std::move(recorded));
            trim(to);
        }
    };
    try {
        for (auto action = step.actions.rbegin(); action != step.actions.rend(); ++action)
            (*action)();
    } catch (...) {
        finish();
        throw;
    }
    finish();
    post(undoing ? UUndoManagerDidUndoChangeNotification : UUndoManagerDidRedoChangeNotification);
}

void UUndoManager::trim(std::deque<Group>& stack) const
{
    while (levelsOfUndo_ > 0 && stack.size() > std::size_t(levelsOfUndo_))
        stack.pop_front();
}

void UUndoManager::post(const QString& name)
{
    center_->post(name, this);
}
