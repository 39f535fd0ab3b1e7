#include "documents/calculation/UFemCalculationManager.h"

#include "appkit/Alert.h"
#include "appkit/Notifier.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WindowFront.h"
#include "calculation/UFemDataControllerRunCalculation.h"
#include "calculation/UFemWFCalculationExceptionError.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "documents/calculation/UFemCalculationManagerCalculationViewController.h"
#include "documents/document/UFemDocument.h"
#include "documents/document/UFemDocumentNotifications.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"
#include "foundation/threads/UDetachedThreadManager.h"
#include "platform/UMainThread.h"
#include "platform/UNotificationCenter.h"

#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// The second button of the quit alert quits; the first lets the calculation go on.
constexpr int QuitCalculationButton = 1;

constexpr int PanelWidth = 420;
constexpr int PanelHeight = 300;
const QString CalculationCompletedSoundName = QStringLiteral("Hero");

double steadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

constexpr std::chrono::milliseconds firstHandOverPause { 1 };
constexpr std::chrono::milliseconds longestHandOverPause { 1000 };

} // namespace

// Between a calculation thread whose results cannot be handed over for want of memory and the
// main thread: the thread says that it waits, and the main thread may give up on it (Quit).
class UFemCalculationManager::UFemCalculationHandOver {
public:
    // Calculation thread: notes that it waits and pauses for `pause`; false once given up on.
    bool waitBeforeRetry(std::chrono::milliseconds pause)
    {
        std::unique_lock lock(lock_);
        isWaiting_ = true;
        return !abandoned_.wait_for(lock, pause, [this] { return isAbandoned_; });
    }
    // Main thread.
    bool isWaiting() const
    {
        const std::lock_guard lock(lock_);
        return isWaiting_;
    }
    bool isAbandoned() const
    {
        const std::lock_guard lock(lock_);
        return isAbandoned_;
    }
    // Gives up on a waiting hand-over; a completion it queues after all is then dropped.
    bool abandonIfWaiting()
    {
        const std::lock_guard lock(lock_);
        isAbandoned_ = isWaiting_;
        abandoned_.notify_one();
        return isAbandoned_;
    }

private:
    mutable std::mutex lock_;
    std::condition_variable abandoned_;
    bool isWaiting_ = false;
    bool isAbandoned_ = false;
};

namespace {

// Hands a finished calculation to the main thread: `completion`, made before the calculation so
// that the thread needs no memory for it, reports the calculation's outcome there. Queueing it
// needs memory too; without it, it is tried again until it goes through or the main thread gives
// up: the document must learn that its calculation ended, or it stays locked as calculating.
void handOverCalculation(const UFemCalculationManager::MainThreadPoster& poster,
    std::function<void()>& completion, UFemCalculationManager::UFemCalculationHandOver& handOver)
{
    for (auto pause = firstHandOverPause;; pause = std::min(2 * pause, longestHandOverPause)) {
        try {
            poster(completion);
            return;
        } catch (...) {
            // Only the queueing failed: the outcome stays the calculation's own.
        }
        if (!handOver.waitBeforeRetry(pause))
            return;
    }
}

} // namespace

struct UFemCalculationManager::UFemCalculationRecord {
    QString calculationFileNameString;
    quint64 calculationIdentifierNumber = UFemNoCalculationIdentifierNumber;
    std::shared_ptr<UFemDataController> calculationDataController;
    std::unique_ptr<UFemCalculationManagerCalculationViewController> calculationViewController;
    bool isCalculationPausingOnView = false;
    bool isQuitRequested = false;
    UFemCalculationProgressEstimate estimate;
    std::shared_ptr<UFemCalculationHandOver> handOver = std::make_shared<UFemCalculationHandOver>();
};

UFemCalculationManager::UFemCalculationManager()
    : calculationManagerPanel_(std::make_unique<QWidget>(nullptr, Qt::Tool))
    , clock_(&steadySeconds)
    , threadLauncher_(&UDetachedThreadManager::detachNewThread)
    , mainThreadPoster_(&UMainThread::postOrKeep)
{
    calculationManagerPanel_->setWindowTitle(QStringLiteral("Calculation Manager"));
    calculationManagerPanel_->resize(PanelWidth, PanelHeight);
    auto* panelLayout = new QVBoxLayout(calculationManagerPanel_.get());
    calculationList_ = new QScrollArea;
    calculationList_->setWidgetResizable(true);
    calculationList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    calculationList_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    calculationList_->setFrameShape(QFrame::StyledPanel);
    auto* listContent = new QWidget;
    calculationListLayout_ = new QVBoxLayout(listContent);
    calculationListLayout_->addStretch(1);
    calculationList_->setWidget(listContent);
    panelLayout->addWidget(calculationList_);
}

UFemCalculationManager::~UFemCalculationManager()
{
    // Rows first: their views live in the panel's list.
    calculationRecordArray_.clear();
}

UFemCalculationManager& UFemCalculationManager::sharedCalculationManager()
{
    // Never deleted: its panel must not outlive the application object at exit.
    static auto* shared = new UFemCalculationManager;
    return *shared;
}

SheetPresenter& UFemCalculationManager::sheetPresenter()
{
    if (sheetPresenter_)
        return *sheetPresenter_;
    if (!ownSheetPresenter_)
        ownSheetPresenter_ = std::make_unique<SheetPresenter>();
    return *ownSheetPresenter_;
}

quint64 UFemCalculationManager::startCalculationDocument(
    UFemDocument& document, const std::optional<QString>& resultFilePath, UErrorPtr* error)
{
    const quint64 identifier = nextCalculationIdentifierNumber_;
    const QString name
        = document.fileName().isEmpty() ? QStringLiteral("Untitled Document") : document.fileName();
    auto dataController = std::make_shared<UFemDataController>(document.dataControllerServices());
    if (!dataController->resetWithModelText(
            document.dataController().modelTextOfAllCards(), true, error))
        return UFemNoCalculationIdentifierNumber;
    UFemSetupForRunCalculation(*dataController, calculationThreadCount_);

    auto record = std::make_unique<UFemCalculationRecord>();
    record->calculationFileNameString = name;
    record->calculationIdentifierNumber = identifier;
    record->calculationDataController = dataController;
    record->calculationViewController
        = std::make_unique<UFemCalculationManagerCalculationViewController>(this);
    record->calculationViewController->setCalculationFileNameString(name);
    calculationRecordArray_.push_back(std::move(record));
    ++nextCalculationIdentifierNumber_;
    updateCalculationListView();
    updateCalculationViewProgressWithTimer(nullptr);

    if (!detachCalculationThread(
            { name, std::move(dataController), resultFilePath, document.projectTitleString(),
                document.projectVersionString(), document.projectCommentString() },
            calculationRecordArray_.back()->handOver, error)) {
        // The document is told at once and never locks.
        calculationRecordArray_.pop_back();
        updateCalculationListView();
        return UFemNoCalculationIdentifierNumber;
    }
    displayCalculationManagerPanel();
    return identifier;
}

bool UFemCalculationManager::detachCalculationThread(UFemCalculationThreadArgument argument,
    std::shared_ptr<UFemCalculationHandOver> handOver, UErrorPtr* error)
{
    QPointer<UFemCalculationManager> manager(this);
    try {
        auto outcome = std::make_shared<UFemCalculationThreadOutcome>();
        // The record holds the data controller until the completion: the thread keeps no
        // reference, so that the data controller ends on the main thread.
        std::function<void()> completion =
            [manager, weakController = std::weak_ptr(argument.dataController), outcome, handOver] {
                const auto dataController = weakController.lock();
                if (manager && dataController && !handOver->isAbandoned())
                    manager->calculationCompleted(dataController, *outcome);
            };
        threadLauncher_(
            [poster = mainThreadPoster_, completion = std::move(completion), outcome,
                handOver = std::move(handOver), argument = std::move(argument)]() mutable {
                *outcome = UFemRunCalculationThreadWork(argument);
                argument.dataController.reset();
                handOverCalculation(poster, completion, *handOver);
            });
    } catch (...) {
        UFemSetError(error, UFemWFCalculationErrorWithException(std::current_exception()));
        return false;
    }
    return true;
}

void UFemCalculationManager::calculationCompleted(
    const std::shared_ptr<UFemDataController>& dataController,
    const UFemCalculationThreadOutcome& outcome)
{
    QVariantMap userInfo;
    userInfo.insert(UFemCalculationDataControllerKey, QVariant::fromValue(dataController));
    const auto found = std::find_if(calculationRecordArray_.begin(), calculationRecordArray_.end(),
        [&](const auto& record) { return record->calculationDataController == dataController; });
    if (found == calculationRecordArray_.end()) {
        sheetPresenter().runModalAlert(Alert::fromError(
            *UFemUnexpectedError_withDescription(QStringLiteral("Unknown calculation."))));
    } else {
        userInfo.insert(UFemCalculationIdentifierNumberKey, (*found)->calculationIdentifierNumber);
        calculationRecordArray_.erase(found);
        updateCalculationListView();
    }

    UErrorPtr error = outcome.error;
    if (!error) {
        const UFemResultDataManager* results = dataController->resultDataManager();
        if (const auto text = results ? results->calculationErrorString() : std::nullopt)
            error = UFemCalculationFailedWhileCalculationError_withCalculationErrorString(*text);
    }
    if (error) {
        reportOnPanel(error);
        userInfo.insert(UFemCalculationErrorKey, QVariant::fromValue(error));
    }
    // The results are good and go to the document even when their file could not be written.
    if (outcome.resultFileError)
        reportOnPanel(outcome.resultFileError);
    if (!error && !outcome.resultFileError)
        Notifier::playSound(CalculationCompletedSoundName);
    UNotificationCenter::defaultCenter().post(UFemCalculationDoneNotification, this, userInfo);
    if (calculationRecordArray_.empty() && whenAllStopped_)
        std::exchange(whenAllStopped_, {})();
}

void UFemCalculationManager::reportOnPanel(const UErrorPtr& error)
{
    sheetPresenter().beginAlertSheet(calculationManagerPanel_.get(), Alert::fromError(*error));
    Notifier::beep();
}

void UFemCalculationManager::displayCalculationManagerPanel()
{
    WindowFront::bring(*calculationManagerPanel_);
}

UFemCalculationManager::UFemCalculationRecord* UFemCalculationManager::recordOfViewController(
    const UFemCalculationManagerCalculationViewController& viewController) const
{
    for (const auto& record : calculationRecordArray_)
        if (record->calculationViewController.get() == &viewController)
            return record.get();
    return nullptr;
}

bool UFemCalculationManager::pauseCalculationWithCalculationViewController(
    UFemCalculationManagerCalculationViewController& viewController, bool pauseFlag)
{
    UFemCalculationRecord* record = recordOfViewController(viewController);
    if (record == nullptr)
        return false;
    UFemPauseCalculationWithFlag(*record->calculationDataController, pauseFlag);
    record->isCalculationPausingOnView = pauseFlag;
    updateCalculationViewProgressWithTimer(nullptr);
    return true;
}

bool UFemCalculationManager::quitCalculationWithCalculationViewController(
    UFemCalculationManagerCalculationViewController& viewController)
{
    UFemCalculationRecord* record = recordOfViewController(viewController);
    if (record == nullptr)
        return false;
    const std::shared_ptr<UFemDataController> dataController = record->calculationDataController;
    // The record may be gone when the alert ends: the calculation may have completed meanwhile.
    if (!confirmQuitCalculating({ record->calculationFileNameString }))
        return false;
    UFemQuitCalculation(*dataController);
    for (const auto& each : calculationRecordArray_)
        each->isQuitRequested |= each->calculationDataController == dataController;
    abandonQuitHandOvers();
    return true;
}

void UFemCalculationManager::abandonQuitHandOvers()
{
    std::vector<std::pair<std::shared_ptr<UFemDataController>, QString>> abandoned;
    for (const auto& record : calculationRecordArray_)
        if (record->isQuitRequested && record->handOver->abandonIfWaiting())
            abandoned.emplace_back(
                record->calculationDataController, record->calculationFileNameString);
    // As a calculation quit while it runs: the results are dropped, the result file stays as the
    // thread wrote it.
    for (const auto& [dataController, name] : abandoned)
        calculationCompleted(
            dataController, { UFemCalculationCanceledError_withDocumentNameString(name), {} });
}

bool UFemCalculationManager::confirmQuitCalculating(const QStringList& calculationFileNameStrings)
{
    Alert alert;
    alert.messageText = QStringLiteral("Do you really want to quit (abort) calculating '%1'?")
                            .arg(calculationFileNameStrings.join(QStringLiteral("', '")));
    alert.informativeText = QStringLiteral("You can't continue the calculation after 'Quit'.");
    alert.buttons
        = { QStringLiteral("Cancel (Continue calculation)"), QStringLiteral("Quit calculation") };
    return sheetPresenter().runModalAlert(alert) == QuitCalculationButton;
}

QStringList UFemCalculationManager::calculationFileNameStrings() const
{
    QStringList names;
    for (const auto& record : calculationRecordArray_)
        names << record->calculationFileNameString;
    return names;
}

void UFemCalculationManager::quitAllCalculations(std::function<void()> whenStopped)
{
    if (calculationRecordArray_.empty()) {
        whenStopped();
        return;
    }
    whenAllStopped_ = std::move(whenStopped);
    for (const auto& record : calculationRecordArray_) {
        record->isQuitRequested = true;
        UFemQuitCalculation(*record->calculationDataController);
    }
    abandonQuitHandOvers();
}

void UFemCalculationManager::updateCalculationViewProgressWithTimer(QTimer*)
{
    // A quit calculation may have begun to wait for memory only after the quit.
    abandonQuitHandOvers();
    if (calculationRecordArray_.empty()) {
        if (updateCalculationViewProgressTimer_)
            updateCalculationViewProgressTimer_.release()->deleteLater();
        return;
    }
    const double now = clock_();
    double smallestEstimate = UFemCalculationProgressEstimate::PausedEstimate;
    for (const auto& record : calculationRecordArray_) {
        const UFemDataController& dataController = *record->calculationDataController;
        UFemCalculationProgressFigures figures;
        figures.currentProgress = UFemCurrentProgress(dataController);
        figures.progressTotalLength = UFemProgressTotalLength(dataController);
        figures.computingCount = UFemComputingCount(dataController);
        figures.isCalculationPausing = UFemIsCalculationPausing(dataController);
        figures.isCalculationPausingOnView = record->isCalculationPausingOnView;
        figures.isWaitingToHandOver = record->handOver->isWaiting();
        const UFemCalculationProgressDisplay display = record->estimate.update(figures, now);
        record->calculationViewController->setCalculationProgressValue(display.fraction);
        record->calculationViewController->setCalculationInfoString(display.infoString);
        smallestEstimate = std::min(smallestEstimate, display.estimate);
    }
    retimeProgressTimer(smallestEstimate);
}

void UFemCalculationManager::retimeProgressTimer(double smallestEstimate)
{
    const double interval = UFemCalculationProgressTimerInterval(smallestEstimate);
    if (updateCalculationViewProgressTimer_
        && UFemShouldKeepCalculationProgressTimer(progressTimerInterval(), interval))
        return;
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(std::chrono::milliseconds(qint64(interval * 1000.0)));
    QTimer* raw = timer.get();
    connect(
        raw, &QTimer::timeout, this, [this, raw] { updateCalculationViewProgressWithTimer(raw); });
    timer->start();
    // Replaced from inside its own timeout: deleted later, not under its own signal.
    if (updateCalculationViewProgressTimer_)
        updateCalculationViewProgressTimer_.release()->deleteLater();
    updateCalculationViewProgressTimer_ = std::move(timer);
}

double UFemCalculationManager::progressTimerInterval() const
{
    return updateCalculationViewProgressTimer_
        ? double(updateCalculationViewProgressTimer_->interval()) / 1000.0
        : 0.0;
}

void UFemCalculationManager::updateCalculationListView()
{
    int row = 0;
    for (const auto& record : calculationRecordArray_) {
        QWidget& view = record->calculationViewController->calculationView();
        if (calculationListLayout_->indexOf(&view) != row)
            calculationListLayout_->insertWidget(row, &view);
        view.show();
        ++row;
    }
}

UFemCalculationManagerCalculationViewController& UFemCalculationManager::calculationViewController(
    std::size_t index) const
{
    return *calculationRecordArray_.at(index)->calculationViewController;
}

quint64 UFemCalculationManager::calculationIdentifierNumber(std::size_t index) const
{
    return calculationRecordArray_.at(index)->calculationIdentifierNumber;
}
