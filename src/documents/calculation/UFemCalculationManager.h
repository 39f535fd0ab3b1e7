#pragma once

#include "appkit/SheetPresenter.h"
#include "calculation/UFemCalculationThreadWork.h"
#include "documents/calculation/UFemCalculationProgressEstimate.h"
#include "foundation/errors/UError.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QScrollArea;
class QTimer;
class QVBoxLayout;
class QWidget;
class UFemCalculationManagerCalculationViewController;
class UFemDataController;
class UFemDocument;

// The one object of the program that runs calculations in the background: each calculation on a
// detached thread of its own, several at once. It shows every running calculation as a row of its
// panel with progress, a state or time-remaining text and Pause and Quit buttons, and, back on the
// main thread, posts UFemCalculationDoneNotification so that the document that started it can
// take the results. Main thread only.
class UFemCalculationManager : public QObject {
    Q_OBJECT
public:
    // Seconds on a steady clock.
    using Clock = std::function<double()>;
    // Runs a calculation thread's work on a new thread; tests may hold the work back.
    using ThreadLauncher = std::function<void(std::function<void()> work)>;
    // Queues work for the main thread from a calculation thread; takes `work` only once queued,
    // so that a poster that throws (no memory) leaves it to be queued again.
    using MainThreadPoster = std::function<void(std::function<void()>& work)>;

    UFemCalculationManager();
    ~UFemCalculationManager() override;

    // Made on first use; lives until the program ends.
    static UFemCalculationManager& sharedCalculationManager();

    // Shows the panel's alerts; without one (or once it is gone) a presenter of the manager's own.
    void setSheetPresenter(SheetPresenter* presenter) { sheetPresenter_ = presenter; }
    void setClock(Clock clock) { clock_ = std::move(clock); }
    void setThreadLauncher(ThreadLauncher launcher) { threadLauncher_ = std::move(launcher); }
    void setMainThreadPoster(MainThreadPoster poster) { mainThreadPoster_ = std::move(poster); }
    // Threads of each calculation's solver; 0 (the default) takes the preference.
    void setCalculationThreadCount(quint64 threadCount) { calculationThreadCount_ = threadCount; }

    // Starts calculating a copy of the document's model; the results go to the result file when
    // a path is given. The identifier, or all ones with the error.
    quint64 startCalculationDocument(
        UFemDocument& document, const std::optional<QString>& resultFilePath, UErrorPtr* error);

    QWidget& calculationManagerPanel() const { return *calculationManagerPanel_; }
    void displayCalculationManagerPanel();
    // The row buttons' requests; true when the manager acted.
    bool pauseCalculationWithCalculationViewController(
        UFemCalculationManagerCalculationViewController& viewController, bool pauseFlag);
    bool quitCalculationWithCalculationViewController(
        UFemCalculationManagerCalculationViewController& viewController);
    // Asks whether to quit the named calculations; true when the user says so.
    bool confirmQuitCalculating(const QStringList& calculationFileNameStrings);
    QStringList calculationFileNameStrings() const;
    // Quits every running calculation; `whenStopped` runs once none is left, at once when none
    // runs. Their result files stay as they were.
    void quitAllCalculations(std::function<void()> whenStopped);
    // Refreshes every row and re-times the progress timer (`timer`: the timer that fired).
    void updateCalculationViewProgressWithTimer(QTimer* timer);
    void updateCalculationListView();

    // ---- The running calculations, in start order
    std::size_t calculationCount() const { return calculationRecordArray_.size(); }
    UFemCalculationManagerCalculationViewController& calculationViewController(
        std::size_t index) const;
    quint64 calculationIdentifierNumber(std::size_t index) const;
    // The interval of the progress timer in seconds; 0 while there is none.
    double progressTimerInterval() const;

    // Shared by a calculation's record and its thread.
    class UFemCalculationHandOver;

private:
    struct UFemCalculationRecord;

    UFemCalculationRecord* recordOfViewController(
        const UFemCalculationManagerCalculationViewController& viewController) const;
    // False with the memory error when no thread could be made for the calculation.
    [[nodiscard]] bool detachCalculationThread(UFemCalculationThreadArgument argument,
        std::shared_ptr<UFemCalculationHandOver> handOver, UErrorPtr* error);
    // Ends the calculations quit by the user whose results wait for memory to be handed over.
    void abandonQuitHandOvers();
    void calculationCompleted(const std::shared_ptr<UFemDataController>& dataController,
        const UFemCalculationThreadOutcome& outcome);
    void reportOnPanel(const UErrorPtr& error);
    void retimeProgressTimer(double smallestEstimate);
    SheetPresenter& sheetPresenter();

    std::vector<std::unique_ptr<UFemCalculationRecord>> calculationRecordArray_;
    quint64 nextCalculationIdentifierNumber_ = 0;
    std::unique_ptr<QTimer> updateCalculationViewProgressTimer_;
    std::unique_ptr<QWidget> calculationManagerPanel_;
    QScrollArea* calculationList_ = nullptr;
    QVBoxLayout* calculationListLayout_ = nullptr;
    QPointer<SheetPresenter> sheetPresenter_;
    std::unique_ptr<SheetPresenter> ownSheetPresenter_;
    Clock clock_;
    ThreadLauncher threadLauncher_;
    MainThreadPoster mainThreadPoster_;
    quint64 calculationThreadCount_ = 0;
    std::function<void()> whenAllStopped_;
};
