#include "graphicview/UFemGraphicViewController.h"

#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/application/UFemCommandNames.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "documents/window/UFemWindowController.h"
#include "documents/window/UFemWindowNotifications.h"
#include "foundation/errors/UFemErrorsGraphicDrawing.h"
#include "graphicview/UFemGraphicViewControllerDrawingCacheSource.h"
#include "graphicview/UFemGraphicViewPreferences.h"
#include "graphicview/tasks/UFemBufferDrawingThreadTaskContext.h"
#include "graphicview/tasks/UFemLayerImageDrawingThreadTaskContext.h"
#include "graphicview/tasks/UFemRubberbandCardIndexTableCalcThreadTaskContext.h"
#include "graphicview/tasks/UFemSelectBufferHitObjectWritingThreadTaskContext.h"
#include "graphicview/tasks/UFemSelectedCardIndexTableCalcThreadTaskContext.h"
#include "tables/UFemTableViewController.h"
#include "tables/resulttable/UFemResultTableView.h"

UFemGraphicViewController::UFemGraphicViewController(UFemWindowController& windowController)
    : UFemMainViewWithResultTableController(windowController)
    , optionalEditor_(*this, UFemCardStringEditorSenderKeyGraphicViewController, quintptr(this))
    , camera_(dataController())
{
    loadGraphicViewBox();
    makeThreadTaskContexts();
    compositor_ = std::make_unique<UFemGraphicViewCompositor>(*this,
        static_cast<UFemBufferDrawingThreadTaskContext&>(*bufferDrawingThreadTaskContext_screen_),
        static_cast<UFemLayerImageDrawingThreadTaskContext&>(
            *layerImageDrawingThreadTaskContext_screen_));
    picker_ = std::make_unique<UFemGraphicViewPicker>(*this);
    clearGraphicViewDrawingCache();
    makeOpenGLManagers();
    setUpCamera();
    UFemRaisesOnFailure(setViewPreferences(
        UFemGraphicViewPreferences::defaultGraphicViewPreferencesOfFolderIndex(0), nullptr));
    observeNotifications();
    registerCameraCommands();
    updateViewSize();
    optionalEditor_.connectDidEndEditing(
        graphicViewOutlet_, [this] { optionalCardStringEditorDidEndEditing(); });
}

std::unique_ptr<UFemMainViewController> UFemGraphicViewController::makeMainViewController(
    UFemWindowController& windowController, UFemViewType viewType)
{
    if (viewType == UFemViewTypeGraphic)
        return std::make_unique<UFemGraphicViewController>(windowController);
    return UFemTableViewController::makeMainViewController(windowController, viewType);
}

UFemGraphicViewController::~UFemGraphicViewController()
{
    finish();
}

// Builds what the layout "UFemGraphicView" holds: the graphic view beside the result table, the
// pane being the box that holds the view.
void UFemGraphicViewController::loadGraphicViewBox()
{
    graphicViewOutlet_ = new UFemGraphicView;
    graphicViewOutlet_->setDelegate(this);
    drawingCacheCalculatingProgressIndicator_ = new QProgressBar(graphicViewOutlet_);
    drawingCacheCalculatingProgressIndicator_->setRange(0, 0);
    drawingCacheCalculatingProgressIndicator_->setTextVisible(false);
    drawingCacheCalculatingProgressIndicator_->hide();
    setMainView(graphicViewOutlet_);
    resultTablePane()->setObjectName(QStringLiteral("graphicViewBoxOutlet"));
}

// The tasks of the frame pipeline replace these plain ones with their own.
void UFemGraphicViewController::makeThreadTaskContexts()
{
    auto colorScaleRange = std::make_unique<UFemColorScaleRangeCalcThreadTaskContext>();
    auto cardValueData = std::make_unique<UFemCardValueDataCalcThreadTaskContext>();
    auto hitWriter = std::make_unique<UFemSelectBufferHitObjectWritingThreadTaskContext>();
    auto selectedCards = std::make_unique<UFemSelectedCardIndexTableCalcThreadTaskContext>();
    auto rubberband = std::make_unique<UFemRubberbandCardIndexTableCalcThreadTaskContext>();
    auto bufferScreen = std::make_unique<UFemBufferDrawingThreadTaskContext>();
    auto bufferSelectMode = std::make_unique<UFemBufferDrawingThreadTaskContext>();
    auto layerScreen = std::make_unique<UFemLayerImageDrawingThreadTaskContext>();
    auto layerSelectMode = std::make_unique<UFemLayerImageDrawingThreadTaskContext>();
    drawingCacheSource_ = std::make_unique<UFemGraphicViewControllerDrawingCacheSource>(*this);
    drawingCacheManager_
        = std::make_unique<UFemGraphicViewDrawingCacheManager>(*drawingCacheSource_,
            UFemGraphicViewDrawingCacheManager::Tasks { *colorScaleRange, *cardValueData,
                *hitWriter, *selectedCards, *rubberband, *bufferScreen, *bufferSelectMode,
                *layerScreen, *layerSelectMode });
    colorScaleRangeCalcThreadTaskContext_ = std::move(colorScaleRange);
    cardValueDataCalcThreadTaskContext_ = std::move(cardValueData);
    selectBufferHitObjectWritingThreadTaskContext_ = std::move(hitWriter);
    selectedCardIndexTableCalcThreadTaskContext_ = std::move(selectedCards);
    rubberbandCardIndexTableCalcThreadTaskContext_ = std::move(rubberband);
    bufferDrawingThreadTaskContext_screen_ = std::move(bufferScreen);
    bufferDrawingThreadTaskContext_selectMode_ = std::move(bufferSelectMode);
    layerImageDrawingThreadTaskContext_screen_ = std::move(layerScreen);
    layerImageDrawingThreadTaskContext_selectMode_ = std::move(layerSelectMode);
}

// A document without a usable renderer still opens: the view then shows the drawing error and
// draws nothing else.
void UFemGraphicViewController::makeOpenGLManagers()
{
    const std::shared_ptr<const UFemUserPreferences> preferences = documentUserPreferences();
    for (quint64 index = 0; index < openGLContextCount; ++index) {
        if (preferences == nullptr
            || preferences->virtualScreenIdentifierWithOpenGLContextIndex(index) == UFemNotFound) {
            openGLSetupErrors_.push_back(UFemGraphicDrawingError_withDescription(
                QStringLiteral("No OpenGL renderer can draw the 3-D view.")));
            return;
        }
        const UGLOpenGLVersion version
            = preferences->renderingOpenGLVersionWithOpenGLContextIndex(index);
        UErrorPtr error;
        openGLManagerTable_[index] = UOpenGLManager::create(
            preferences->virtualScreenIdentifierWithOpenGLContextIndex(index), version,
            preferences->offlineRenderingTypeWithOpenGLContextIndex(index), false, &error);
        if (openGLManagerTable_[index] == nullptr) {
            openGLSetupErrors_.push_back(UFemGraphicDrawingError_withDescription(
                error != nullptr ? error->localizedDescription() : QString()));
            return;
        }
        rootDrawingBuffer_[index] = std::make_unique<UGLRootDrawingBuffer>(version);
    }
}

void UFemGraphicViewController::observeNotifications()
{
    UFemDataController& data = dataController();
    UNotificationCenter& modelCenter = data.modelNotificationCenter();
    UNotificationCenter& center = UNotificationCenter::defaultCenter();
    UFemWindowCardTable& cards = windowCardTable();
    UNotificationCenter& cardsCenter = cards.notificationCenter();
    const UFemWindowController* window = windowController();
    auto quit = [this](const UNotification&) { quitAllBackgroundThreadIfCalculating(); };
    auto quitAndClose = [this](const UNotification&) { quitAndApplyAndClose(); };
    auto reload = [this](const UNotification&) { reloadBothViews(); };
    auto clearAll = [this](const UNotification&) { clearCachesForDataChange(true); };
    auto clearKeepingRange = [this](const UNotification&) { clearCachesForDataChange(false); };
    auto observe = [this](UNotificationCenter& on, const QString& name, const void* sender,
                       UNotificationCenter::Handler handler) {
        observations_.push_back(on.observe(name, sender, std::move(handler)));
    };
    // The size arrives through the view's resize events.
    observe(modelCenter, UFemModelDataWillChangeNotification, &data, quitAndClose);
    observe(modelCenter, UFemModelDataDidChangeNotification, &data, reload);
    observe(modelCenter, UFemModelDataWillChangeNotification_private, &data, quit);
    observe(modelCenter, UFemModelDataDidChangeNotification_private, &data,
        [this](const UNotification&) {
            clearCachesForDataChange(true);
            camera_.invalidateEyeLocationDepth();
        });
    observe(cardsCenter, UFemWindowCardTableWillChangeNotification, &cards, quitAndClose);
    observe(cardsCenter, UFemWindowCardTableDidChangeNotification, &cards, reload);
    observe(cardsCenter, UFemWindowCardTableWillChangeNotification_private, &cards, quit);
    observe(
        cardsCenter, UFemWindowCardTableDidChangeNotification_private, &cards, clearKeepingRange);
    observe(modelCenter, UFemResultDataWillChangeNotification, &data, quit);
    observe(modelCenter, UFemResultDataDidChangeNotification, &data, reload);
    observe(modelCenter, UFemResultDataWillChangeNotification_private, &data, quit);
    observe(modelCenter, UFemResultDataDidChangeNotification_private, &data, clearAll);
    observe(center, UFemWindowCurrentCaseWillChangeNotification, window, quit);
    observe(
        center, UFemWindowCurrentCaseDidChangeNotification, window, [this](const UNotification&) {
            clearCachesForDataChange(false);
            reloadBothViews();
        });
    observe(
        center, UFemWindowSelectedCardWillChangeNotification, window, [this](const UNotification&) {
            if (isPreparingRubberbandHandOver_)
                applyAndCloseCardStringFieldEditor();
            else
                quitAndApplyAndClose();
        });
    observe(
        center, UFemWindowSelectedCardDidChangeNotification, window, [this](const UNotification&) {
            clearAllBackgroundThreadIfCanceled();
            selectedCardIndexTableCalcThreadTaskContext_->waitAllThreadDone();
            selectedCardIndexTableCalcThreadTaskContext_->clearAll_shouldNotRunning();
            if (!doesIgnoreGraphicViewReloadingWhenSelectedCardChangeNotification_)
                reloadGraphicView();
            reloadResultTableView();
        });
    observe(modelCenter, UFemCardStringEditorShouldCloseNotification, &data,
        [this](const UNotification& notification) {
            const QVariant poster
                = notification.userInfo.value(UFemCardStringEditorSenderKeyGraphicViewController);
            if (!poster.isValid() || poster.value<quintptr>() != quintptr(this))
                applyAndCloseCardStringFieldEditor();
        });
}

void UFemGraphicViewController::registerCameraCommands()
{
    addCommand(UFemFitObjectInViewCommand, [this](const CommandItem&) { fitObjectInView(); });
    addCommand(UFemSetDirectionXRightZUpCommand,
        [this](const CommandItem&) { setDirection_X_Right_Z_Up(); });
    addCommand(UFemSetDirectionXRightYUpCommand,
        [this](const CommandItem&) { setDirection_X_Right_Y_Up(); });
    addCommand(UFemSetDirectionYRightZUpCommand,
        [this](const CommandItem&) { setDirection_Y_Right_Z_Up(); });
}

void UFemGraphicViewController::tellPipelineStep(const char* step) const
{
    if (pipelineStepObserver_)
        pipelineStepObserver_(step);
}

void UFemGraphicViewController::quitAndApplyAndClose()
{
    quitAllBackgroundThreadIfCalculating();
    applyAndCloseCardStringFieldEditor();
}

void UFemGraphicViewController::clearCachesForDataChange(bool clearsColorScaleRange)
{
    clearAllBackgroundThreadIfCanceled();
    if (clearsColorScaleRange)
        clearColorScaleRangeCache();
    clearGraphicViewDrawingCache();
    clearBaseImage();
    clearSelectModeObjectDisplayList();
}

void UFemGraphicViewController::reloadBothViews()
{
    reloadGraphicView();
    reloadResultTableView();
}

void UFemGraphicViewController::reloadGraphicView()
{
    tellPipelineStep("reloadGraphicView");
    if (graphicViewOutlet_ != nullptr)
        graphicViewOutlet_->reloadData();
}

void UFemGraphicViewController::reloadResultTableView()
{
    tellPipelineStep("reloadResultTableView");
    if (resultTablePane() != nullptr)
        resultTablePane()->resultTableView()->viewport()->update();
}

void UFemGraphicViewController::quitAllBackgroundThreadIfCalculating()
{
    tellPipelineStep("quitAllBackgroundThreadIfCalculating");
    UThreadTaskContext::waitAllThreadDoneWithThreadTaskContextList(
        { bufferDrawingThreadTaskContext_selectMode_.get(),
            layerImageDrawingThreadTaskContext_selectMode_.get(),
            selectBufferHitObjectWritingThreadTaskContext_.get(),
            selectedCardIndexTableCalcThreadTaskContext_.get(),
            rubberbandCardIndexTableCalcThreadTaskContext_.get() });
    UThreadTaskContext::cancelAndWaitQuitIfNotFinishedWithThreadTaskContextList(
        { colorScaleRangeCalcThreadTaskContext_.get(), cardValueDataCalcThreadTaskContext_.get(),
            bufferDrawingThreadTaskContext_screen_.get(),
            layerImageDrawingThreadTaskContext_screen_.get() });
}

void UFemGraphicViewController::clearAllBackgroundThreadIfCanceled()
{
    tellPipelineStep("clearAllBackgroundThreadIfCanceled");
    UThreadTaskContext::clearAllIfValueNotFinishedAndNotRunningWithThreadTaskContextList(
        { colorScaleRangeCalcThreadTaskContext_.get(), cardValueDataCalcThreadTaskContext_.get(),
            bufferDrawingThreadTaskContext_screen_.get(),
            layerImageDrawingThreadTaskContext_screen_.get() });
}

void UFemGraphicViewController::clearColorScaleRangeCache()
{
    tellPipelineStep("clearColorScaleRangeCache");
    drawingCacheManager_->clearColorScaleRangeCache();
}

void UFemGraphicViewController::clearGraphicViewDrawingCache()
{
    tellPipelineStep("clearGraphicViewDrawingCache");
    drawingCacheManager_->clearGraphicViewDrawingCache();
}

void UFemGraphicViewController::clearBaseImage()
{
    tellPipelineStep("clearBaseImage");
    baseImage_.reset();
    baseImageCocoaDrawObjectArray_.clear();
}

// What the view shows changed (the model, the cards in the window, a setting): a shown tip names
// what it showed before.
void UFemGraphicViewController::clearSelectModeObjectDisplayList()
{
    tellPipelineStep("clearSelectModeObjectDisplayList");
    for (std::atomic<bool>& isValid : selectModeDisplayListValidnessTable_)
        isValid.store(false);
    outdateToolTip();
}

void UFemGraphicViewController::clearViewDependentSelectModeObjectDisplayList()
{
    tellPipelineStep("clearViewDependentSelectModeObjectDisplayList");
    for (quint64 index = 0; index < selectModeDisplayListCount; ++index)
        if (!selectModeDisplayListViewIndependenceTable_.at(index).load())
            selectModeDisplayListValidnessTable_.at(index).store(false);
}

void UFemGraphicViewController::finish()
{
    if (isFinished_)
        return;
    isFinished_ = true;
    quitAllBackgroundThreadIfCalculating();
    viewWillSwapOut();
    clearSelectModeObjectDisplayList();
    clearAllBackgroundThreadIfCanceled();
    observations_.clear();
    optionalEditor_.disconnect();
    doesDrawRubberbandCard_ = false;
    doesDrawRubberbandRect_ = false;
    if (preferencesViewController_ != nullptr)
        preferencesViewController_->setDelegate(nullptr);
    // The view lives on with the pane, which the window may hold longer than this controller.
    if (graphicViewOutlet_ != nullptr)
        graphicViewOutlet_->setDelegate(nullptr);
    graphicViewOutlet_ = nullptr;
    for (quint64 index = 0; index < openGLContextCount; ++index) {
        openGLManagerTable_[index].reset();
        rootDrawingBuffer_[index].reset();
    }
    UFemMainViewWithResultTableController::finish();
}

QWidget* UFemGraphicViewController::mainView() const
{
    return graphicViewOutlet_;
}

QWidget* UFemGraphicViewController::mainViewBox() const
{
    return resultTablePane();
}

UFemPreferencesViewController* UFemGraphicViewController::preferencesViewController()
{
    if (preferencesViewController_ == nullptr) {
        preferencesViewController_ = std::make_unique<UFemGraphicViewPreferencesViewController>();
        preferencesViewController_->setDelegate(this);
    }
    return preferencesViewController_.get();
}

void UFemGraphicViewController::viewWillSwapOut()
{
    quitAllBackgroundThreadIfCalculating();
}

// Only the first swap-in fits the model: later ones keep the camera as the user left it.
void UFemGraphicViewController::viewDidSwapIn()
{
    clearAllBackgroundThreadIfCanceled();
    if (!isViewDidSwapInAlreadyCalled_) {
        isViewDidSwapInAlreadyCalled_ = true;
        isFitPendingUntilFirstFrame_ = true;
    }
    reloadGraphicView();
    if (graphicViewOutlet_ != nullptr)
        graphicViewOutlet_->setFocus();
}

quint64 UFemGraphicViewController::cardRowIndexToAddCard(UErrorPtr* error)
{
    if (dataController().isLocked())
        UFemSetError(error, dataController().errorIfLocked());
    return UFemNotFound;
}

UOpenGLManager* UFemGraphicViewController::openGLManagerWithOpenGLContextIndex(quint64 index) const
{
    return openGLManagerTable_.at(index).get();
}

UGLRootDrawingBuffer* UFemGraphicViewController::rootDrawingBufferWithOpenGLContextIndex(
    quint64 index) const
{
    return rootDrawingBuffer_.at(index).get();
}

UGLOpenGLVersion UFemGraphicViewController::renderingOpenGLVersionWithOpenGLContextIndex(
    quint64 index) const
{
    const UOpenGLManager* manager = openGLManagerTable_.at(index).get();
    return manager != nullptr ? manager->renderingOpenGLVersion() : UGLOpenGLVersion_1_1;
}

bool UFemGraphicViewController::getGraphicProcessorInfoWithOpenGLContextIndex(quint64 index,
    UOpenGLGraphicProcessorInfoRecord* record, quint64* currentOfflineRenderingType,
    UErrorPtr* error) const
{
    const UOpenGLManager* manager = openGLManagerTable_.at(index).get();
    if (manager == nullptr) {
        UFemSetError(error, openGLSetupErrors_.front());
        return false;
    }
    return manager->getGraphicProcessorInfo(record, currentOfflineRenderingType, error);
}

bool UFemGraphicViewController::doesDrawOverlaidProjectInfo() const
{
    return windowController() != nullptr && windowController()->doesDrawOverlaidProjectInfo();
}

void UFemGraphicViewController::hideOverlaidProjectInfo()
{
    if (windowController() != nullptr)
        windowController()->setDoesDrawOverlaidProjectInfo(false);
}
