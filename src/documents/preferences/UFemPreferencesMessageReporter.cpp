#include "documents/preferences/UFemPreferencesMessageReporter.h"

#include "appkit/SheetPresenter.h"
#include "foundation/errors/UFemErrorsPreferences.h"
#include "platform/UMainThread.h"

#include <QDebug>

#include <mutex>

struct UFemPreferencesMessageReporter::State {
    std::mutex mutex;
    Presenter presenter;
    bool hasReportedSinceChange = false;
};

UFemPreferencesMessageReporter::UFemPreferencesMessageReporter()
    : state_(std::make_shared<State>())
{
}

void UFemPreferencesMessageReporter::setPresenter(Presenter presenter)
{
    std::lock_guard lock(state_->mutex);
    state_->presenter = std::move(presenter);
}

void UFemPreferencesMessageReporter::reportMessages(const QStringList& messages)
{
    if (messages.isEmpty())
        return;
    {
        std::lock_guard lock(state_->mutex);
        if (state_->hasReportedSinceChange)
            return;
        state_->hasReportedSinceChange = true;
    }
    // The state, not the reporter, is kept alive by the queued call.
    UMainThread::perform(
        [state = state_, error = preferencesFileErrorWithMessages(messages)] {
            Presenter presenter;
            {
                std::lock_guard lock(state->mutex);
                presenter = state->presenter;
            }
            if (presenter)
                presenter(error);
            else
                qWarning().noquote()
                    << error->localizedDescription() << error->localizedFailureReason();
        },
        false);
}

void UFemPreferencesMessageReporter::userDefaultsDidChange()
{
    std::lock_guard lock(state_->mutex);
    state_->hasReportedSinceChange = false;
}

UErrorPtr UFemPreferencesMessageReporter::preferencesFileErrorWithMessages(
    const QStringList& messages)
{
    return UFemPreferencesFileError_withDescription(messages.join(QLatin1Char('\n')));
}

UFemPreferencesMessageReporter::Presenter
UFemPreferencesMessageReporter::presenterWithSheetPresenter(SheetPresenter& sheets)
{
    return [&sheets](const UErrorPtr& error) {
        Alert alert = Alert::fromError(*error);
        // The description is the same for every problem; the failure reason holds the problems.
        alert.informativeText
            = error->localizedFailureReason() + QStringLiteral("\n\n") + alert.informativeText;
        sheets.runModalAlert(alert);
    };
}
