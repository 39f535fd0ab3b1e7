#pragma once

#include "foundation/errors/UError.h"

#include <QStringList>

#include <functional>
#include <memory>

// Shows what was wrong in the stored preferences: one preferences-file error per change of the
// user defaults, however many snapshots (application, documents, any thread) meet the problem.
// Snapshots are built on worker threads too, so the error is handed to the main thread and the
// builder never waits for the user.
class SheetPresenter;

class UFemPreferencesMessageReporter {
public:
    // Runs on the main thread with the error to show.
    using Presenter = std::function<void(const UErrorPtr& error)>;

    UFemPreferencesMessageReporter();
    UFemPreferencesMessageReporter(const UFemPreferencesMessageReporter&) = delete;
    UFemPreferencesMessageReporter& operator=(const UFemPreferencesMessageReporter&) = delete;

    // Without a presenter the error goes to the log.
    void setPresenter(Presenter presenter);
    // The messages of one snapshot; the first non-empty list since the last change is shown.
    void reportMessages(const QStringList& messages);
    // The user defaults changed: the next problem is shown again.
    void userDefaultsDidChange();

    // Shows the error in a modal alert whose informative text names what was wrong.
    static Presenter presenterWithSheetPresenter(SheetPresenter& sheets);

    // The preferences-file error (71001) of a message list, one message a line.
    static UErrorPtr preferencesFileErrorWithMessages(const QStringList& messages);

private:
    struct State;
    std::shared_ptr<State> state_;
};
