#pragma once

#include "appkit/SheetPresenter.h"

#include <deque>
#include <vector>

// Stands in for the sheet presenter where no one can answer (tests, scripted runs): alerts are
// recorded with the window they were asked for and wait until answer() is called; modal alerts
// get `modalAnswer` at once. Sheets other than alerts are shown as usual, and so are alerts while
// `showsAlertSheets` is on, for tests of what closing a real alert does.
class RecordingSheetPresenter : public SheetPresenter {
public:
    void beginAlertSheet(QWidget* window, const Alert& alert, AlertCompletion done = {}) override;
    int runModalAlert(const Alert& alert) override;

    // Answers the oldest alert still waiting; throws std::logic_error when none waits.
    void answer(int buttonIndex);
    bool hasPending() const { return !pending_.empty(); }
    // The oldest waiting alert and its window; throw std::logic_error when none waits.
    const Alert& pendingAlert() const;
    QWidget* pendingWindow() const;

    // Every alert asked for, sheets and modal ones, in order.
    std::vector<Alert> alerts;
    int modalAnswer = 0;
    bool showsAlertSheets = false;

private:
    struct Waiting {
        QWidget* window = nullptr;
        Alert alert;
        AlertCompletion done;
    };
    const Waiting& oldest() const;

    std::deque<Waiting> pending_;
};
