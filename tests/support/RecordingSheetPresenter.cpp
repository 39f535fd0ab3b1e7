#include "RecordingSheetPresenter.h"

#include <stdexcept>

void RecordingSheetPresenter::beginAlertSheet(
    QWidget* window, const Alert& alert, AlertCompletion done)
{
    alerts.push_back(alert);
    if (showsAlertSheets) {
        SheetPresenter::beginAlertSheet(window, alert, std::move(done));
        return;
    }
    pending_.push_back({ window, alert, std::move(done) });
}

int RecordingSheetPresenter::runModalAlert(const Alert& alert)
{
    alerts.push_back(alert);
    return modalAnswer;
}

const RecordingSheetPresenter::Waiting& RecordingSheetPresenter::oldest() const
{
    if (pending_.empty()) {
        throw std::logic_error("no alert is waiting for an answer");
    }
    return pending_.front();
}

const Alert& RecordingSheetPresenter::pendingAlert() const
{
    return oldest().alert;
}

QWidget* RecordingSheetPresenter::pendingWindow() const
{
    return oldest().window;
}

void RecordingSheetPresenter::answer(int buttonIndex)
{
    oldest();
    Waiting answered = std::move(pending_.front());
    pending_.pop_front();
    if (answered.done) {
        answered.done(buttonIndex);
    }
}
