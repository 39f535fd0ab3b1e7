#pragma once

#include "documents/mainview/UFemGraphicMoveModeController.h"
#include "documents/window/UFemWindowController.h"
#include "foundation/UGLColor.h"
#include "foundation/threads/UThreadTaskContext.h"
#include "graphics/camera/UGLDrawRectInfo.h"
#include "graphics/camera/UOpenGLEyeLocation.h"
#include "graphics/camera/UOpenGLObjectLocation.h"
#include "graphics/drawingbuffer/UGLRootDrawingBuffer.h"
#include "graphics/opengl/UOpenGLManager.h"
#include "graphicview/UFemGraphicView.h"
#include "graphicview/UFemGraphicViewCamera.h"
#include "graphicview/UFemGraphicViewCompositor.h"
#include "graphicview/UFemGraphicViewPicker.h"
#include "graphicview/UFemGraphicViewPreferencesViewController.h"
#include "graphicview/UFemGraphicViewSettings.h"
#include "graphicview/caches/UFemGraphicViewDrawingCacheManager.h"
#include "platform/UNotificationCenter.h"
#include "tables/UFemOptionalCardStringEditor.h"
#include "tables/resulttable/UFemMainViewWithResultTableController.h"
#include "tables/resulttable/UFemResultTablePane.h"

#include <QImage>
#include <QPointer>
#include <QProgressBar>
#include <QSizeF>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The controller of a document window's 3-D view: it owns the camera, the view settings and the
// whole frame pipeline (two OpenGL contexts, their root drawing buffers, the drawing caches and
// nine background tasks), and shares its pane with the result table. The graphic view hands it
// every drawing request and event.
class UFemGraphicViewController : public UFemMainViewWithResultTableController,
                                  public UFemGraphicMoveModeController,
                                  public UFemGraphicViewDelegate,
                                  public UFemPreferencesViewControllerOwner {
public:
    static constexpr QSize minimumBoxSize { 400, 300 };
    static constexpr quint64 openGLContextCount = 2;
    // One piece of select geometry per pickable card type.
    static constexpr quint64 selectModeDisplayListCount = 5;
    // All five pickable card types.
    static constexpr quint64 allPickMaskCardTypeIndexes = 31;
    static constexpr quint64 objectMoveModePointer = 1;

    explicit UFemGraphicViewController(UFemWindowController& windowController);
    // The window's maker of main views: the 3-D view for the graphic type, the card table for
    // the card type, null for the others.
    static std::unique_ptr<UFemMainViewController> makeMainViewController(
        UFemWindowController& windowController, UFemViewType viewType);
    ~UFemGraphicViewController() override;

    void finish() override;

    // ---- Main view
    QWidget* mainView() const override;
    QWidget* mainViewBox() const override;
    QSize minimumMainViewBoxSize() const override { return minimumBoxSize; }
    bool useViewPreferences() const override { return true; }
    QVariantMap viewPreferences() const override { return currentViewPreferences_; }
    // Applies a whole settings dictionary; a filter or expression that does not parse rejects
    // it, re-applies the previous one and reports the parser's error.
    [[nodiscard]] bool setViewPreferences(
        const QVariantMap& viewPreferences, UErrorPtr* error) override;
    UFemPreferencesViewController* preferencesViewController() override;
    void viewWillSwapOut() override;
    void viewDidSwapIn() override;
    qint64 selectedViewSettingMenuTag() const { return selectedViewSettingMenuTag_; }
    quint64 cardRowIndexToAddCard(UErrorPtr* error) override;
    _UFemSearchCardStringRange selectedSearchCardStringRange(UErrorPtr* error) override;
    [[nodiscard]] bool selectSearchCardStringRange(
        const _UFemSearchCardStringRange& range, UErrorPtr* error) override;
    [[nodiscard]] bool deselectSearchCardStringRange(UErrorPtr* error) override;
    // The window's optional editor on the one selected card; editing a card out of the window's
    // cards selects the card now at its row.
    [[nodiscard]] QLineEdit* cardStringFieldEditor(quint64* editedRow,
        bool doesApplyFieldEditorChange, bool doesCloseFieldEditor, UErrorPtr* error) override;
    void applyAndCloseCardStringFieldEditor() override;
    void deactivateCardStringFieldEditorTemporary() override;
    // The view redraws the selection through the selected-card notification.
    void updateSelectionOnViewBySelectedCardSetManager() { }

    UFemGraphicView* graphicView() const { return graphicViewOutlet_; }
    void reloadGraphicView();
    void reloadResultTableView();

    quint64 objectMoveMode() const override { return objectMoveMode_; }
    void setObjectMoveMode(quint64 objectMoveMode) override { objectMoveMode_ = objectMoveMode; }

    // ---- OpenGL (context index 0 or 1); null managers when no renderer can draw
    UOpenGLManager* openGLManagerWithOpenGLContextIndex(quint64 index) const;
    UGLRootDrawingBuffer* rootDrawingBufferWithOpenGLContextIndex(quint64 index) const;
    UGLOpenGLVersion renderingOpenGLVersionWithOpenGLContextIndex(quint64 index) const;
    [[nodiscard]] bool getGraphicProcessorInfoWithOpenGLContextIndex(quint64 index,
        UOpenGLGraphicProcessorInfoRecord* record, quint64* currentOfflineRenderingType,
        UErrorPtr* error) const;
    // The drawing errors every frame shows: a renderer that is missing or failed.
    const std::vector<UErrorPtr>& openGLSetupErrors() const { return openGLSetupErrors_; }

    // ---- Background tasks
    // Waits for the five picking tasks, then cancels and waits for the four screen tasks.
    void quitAllBackgroundThreadIfCalculating();
    // Makes the screen tasks that were cancelled restartable.
    void clearAllBackgroundThreadIfCanceled();

    // ---- The nine background tasks of the frame pipeline
    UThreadTaskContext& colorScaleRangeCalcThreadTaskContext() const
    {
        return *colorScaleRangeCalcThreadTaskContext_;
    }
    UThreadTaskContext& cardValueDataCalcThreadTaskContext() const
    {
        return *cardValueDataCalcThreadTaskContext_;
    }
    UThreadTaskContext& selectBufferHitObjectWritingThreadTaskContext() const
    {
        return *selectBufferHitObjectWritingThreadTaskContext_;
    }
    UThreadTaskContext& selectedCardIndexTableCalcThreadTaskContext() const
    {
        return *selectedCardIndexTableCalcThreadTaskContext_;
    }
    UThreadTaskContext& rubberbandCardIndexTableCalcThreadTaskContext() const
    {
        return *rubberbandCardIndexTableCalcThreadTaskContext_;
    }
    UThreadTaskContext& bufferDrawingThreadTaskContext_screen() const
    {
        return *bufferDrawingThreadTaskContext_screen_;
    }
    UThreadTaskContext& bufferDrawingThreadTaskContext_selectMode() const
    {
        return *bufferDrawingThreadTaskContext_selectMode_;
    }
    UThreadTaskContext& layerImageDrawingThreadTaskContext_screen() const
    {
        return *layerImageDrawingThreadTaskContext_screen_;
    }
    UThreadTaskContext& layerImageDrawingThreadTaskContext_selectMode() const
    {
        return *layerImageDrawingThreadTaskContext_selectMode_;
    }

    // ---- Caches
    UFemGraphicViewDrawingCacheManager& drawingCacheManager() const
    {
        return *drawingCacheManager_;
    }
    void clearColorScaleRangeCache();
    void clearGraphicViewDrawingCache();
    // The composite of the layers below the selection, kept between screen frames.
    bool isBaseImageValid() const { return baseImage_.has_value(); }
    QImage baseImage() const { return baseImage_.value_or(QImage()); }
    const std::vector<UFemGraphicCocoaDrawObject>& baseImageCocoaDrawObjectArray() const
    {
        return baseImageCocoaDrawObjectArray_;
    }
    void setBaseImage(
        const QImage& image, const std::vector<UFemGraphicCocoaDrawObject>& drawObjects = {})
    {
        baseImage_ = image;
        baseImageCocoaDrawObjectArray_ = drawObjects;
    }
    void clearBaseImage();
    bool isSelectModeDisplayListValid(quint64 index) const
    {
        return selectModeDisplayListValidnessTable_.at(index).load();
    }
    // A record's select geometry that is view independent survives camera changes.
    void setSelectModeDisplayListValid(quint64 index, bool isViewIndependent = false)
    {
        selectModeDisplayListViewIndependenceTable_.at(index).store(isViewIndependent);
        selectModeDisplayListValidnessTable_.at(index).store(true);
    }
    void clearSelectModeObjectDisplayList();
    // After a camera or view-size change: keeps the select geometry that does not depend on it.
    void clearViewDependentSelectModeObjectDisplayList();
    // Tells each step of the pipeline's clearing, reloading and triad drawing by name, in order
    // (for tests).
    void setPipelineStepObserver(std::function<void(const char* step)> observer)
    {
        pipelineStepObserver_ = std::move(observer);
    }

    // ---- Settings (getters: the fields of viewSettings())
    const UFemGraphicViewSettings& viewSettings() const { return settings_; }
    void setNodeDraw(bool value);
    void setNodeColor(const _UGLColor& value);
    void setNodeSize(double value);
    void setElementDraw(bool value);
    void setElementColor(const _UGLColor& value);
    void setElementEdgeDraw(bool value);
    void setElementEdgeWidth(double value);
    void setElementEdgeColor(const _UGLColor& value);
    void setRodAreaDiaSize(bool value);
    void setRodDiaSize(double value);
    void setForceDraw(bool value);
    void setForceColor(const _UGLColor& value);
    void setForceArrowRodWidth(double value);
    void setForceArrowHeadSize(double value);
    void setForceMomentHeadDiskDiaSize(double value);
    void setForceScaleFactorAuto(bool value);
    void setForceScaleFactor(double value);
    void setForceMomentScaleFactor(double value);
    void setAutoForceArrowLength(double value);
    void setAutoForceMomentArrowLength(double value);
    void setRestraintDraw(bool value);
    void setRestraintColor(const _UGLColor& value);
    void setRestraintSize(double value);
    void setRestraintShowInnerRestraint(bool value);
    void setGlobalCoordDraw(bool value);
    void setGlobalCoordColor(const _UGLColor& value);
    void setGlobalCoordDrawPosition(qint64 value);
    void setOtherCoordDraw(bool value);
    void setOtherCoordColor(const _UGLColor& value);
    void setCoordArrowLength(double value);
    void setCoordArrowRodWidth(double value);
    void setCoordArrowHeadSize(double value);
    void setScreenImageBackgroundColor(const _UGLColor& value);
    void setPrintImageBackgroundColor(const _UGLColor& value);
    void setSelectionDraw(bool value);
    void setSelectionColor(const _UGLColor& value);
    void setLighting(bool value);
    void setDrawWithDisplacement(bool value);
    void setDisplacementScaleFactorAuto(bool value);
    void setDisplacementScaleFactor(double value);
    void setAutoDisplacementPerObjectLengthFactor(double value);
    void setNonDisplacementModelDraw(bool value);
    void setNonDisplacementModelColor(const _UGLColor& value);
    void setNonDisplacementModelEdgeDraw(bool value);
    void setNonDisplacementModelNodeDraw(bool value);
    void setDrawWithColorByValue(bool value);
    // Texts that do not parse: no filter stays (every card), while the previous expression
    // stays. Empty texts clear them.
    void setColorByValueCardFilterString(const QString& string, UErrorPtr* error);
    void setColorByValueCardValueExpressionString(const QString& string, UErrorPtr* error);
    std::optional<QString> colorByValueCardFilterString() const;
    std::optional<QString> colorByValueCardValueExpressionString() const;
    void setColorByValueColorScale(UFemColorScalePtr colorScale);
    void setDrawColorByValueColorScale(bool value);
    void setScreenImageResolutionPer72(double value);
    void setPrintImageResolutionPer72(double value);
    void setObjectMoveRotateBaseDistance(double value);
    void setObjectMoveScaleBaseDistance(double value);

    // ---- Overlay colours
    struct OverlayColors {
        _UGLColor colorScaleLabelImageRectBoundsColor { 1.0, 1.0, 1.0, 0.5 };
        _UGLColor colorScaleLabelImageRectFillColor { 1.0, 1.0, 1.0, 0.8 };
        _UGLColor rubberbandRectBoundsColor { 1.0, 1.0, 1.0, 0.5 };
        _UGLColor rubberbandRectFillColor { 1.0, 1.0, 1.0, 0.2 };
        _UGLColor errorMessageRectBoundsColor { 1.0, 0.0, 0.0, 0.75 };
        _UGLColor errorMessageRectFillColor { 1.0, 0.5, 0.5, 0.75 };
        _UGLColor errorMessageStringColor { 0.0, 0.0, 0.0, 1.0 };
    };
    const OverlayColors& overlayColors() const { return overlayColors_; }
    OverlayColors& overlayColors() { return overlayColors_; }

    // ---- Camera (sizes in view points)
    UFemGraphicViewCamera& camera() { return camera_; }
    const UFemGraphicViewCamera& camera() const { return camera_; }
    QSizeF viewSize() const { return camera_.viewSize(); }
    // Hands the size to both managers and drops the image caches; no redisplay.
    void setViewSize(QSizeF size);
    void updateViewSize();
    const UOpenGLEyeLocation& eyeLocation() const { return camera_.eyeLocation(); }
    const UOpenGLObjectLocation& objectLocation() const { return camera_.objectLocation(); }
    // Fits the model into the view; `direction` is 9 doubles (the model axes as rows), null
    // keeps the current one. Nothing happens while the view has no area.
    void setEyeLocationAndObjectLocationByObjectSizeWithObjectDirection(const double* direction);
    void updateEyeLocationDepthRangeIfNeeded();
    void fitObjectInView();
    void setDirection_X_Right_Z_Up();
    void setDirection_X_Right_Y_Up();
    void setDirection_Y_Right_Z_Up();
    // dx, dy in view points, y up; true when the camera or the placement changed.
    bool updateEyeAndObjectLocationWithObjectMoveMode(quint64 mode, double dx, double dy);

    // ---- Background and triad
    // The background over the whole of `image` (pixel size); a print colour replaces the
    // screen colour.
    void drawBackgroundImage(
        QImage& image, const std::optional<_UGLColor>& backgroundColorForPrint) const;
    // The same picture as 32-bit pixels (red, green, blue, alpha bytes), rows of
    // `pixelBufferWidth` pixels.
    void writeBackgroundImageToRawImageData(quint32* rawImageData, quint64 pixelWidth,
        quint64 pixelHeight, quint64 pixelBufferWidth,
        const std::optional<_UGLColor>& backgroundColorForPrint) const;
    // The global axis triad into `image` at resolution `resolution`: position 1 at the model
    // origin, 2 in the lower-left corner; other positions draw nothing.
    void drawGlobalCoordToImage(QImage& image, qint64 position, double resolution) const;

    // ---- The graphic view's delegate
    void ufemGraphicViewDrawRect(UFemGraphicView& view, QPainter& painter, const QRectF& dirtyRect,
        const UGLDrawRectInfo& drawRectInfo) override;
    double screenImageResolutionPer72() const override
    {
        return settings_.screenImageResolutionPer72;
    }
    double printImageResolutionPer72() const override
    {
        return settings_.printImageResolutionPer72;
    }
    void ufemGraphicViewSizeDidChange(UFemGraphicView& view) override;
    bool doesDrawOverlaidProjectInfo() const override;
    void hideOverlaidProjectInfo() override;
    void ufemGraphicViewMouseDown(
        UFemGraphicView& view, const UFemGraphicViewMouseEvent& event) override;
    void ufemGraphicViewMouseDragged(
        UFemGraphicView& view, const UFemGraphicViewMouseEvent& event) override;
    void ufemGraphicViewMouseUp(
        UFemGraphicView& view, const UFemGraphicViewMouseEvent& event) override;
    bool ufemMainViewKeyDown(UFemGraphicView& view, QKeyEvent& event) override;
    bool ufemMainViewKeyUp(UFemGraphicView& view, QKeyEvent& event) override;
    // The tip of the card under the point under the current pick mask.
    std::optional<QString> toolTipStringWithViewPoint(QPointF viewPoint) override;

    // ---- Picking (view points, y up)
    UFemCardPtr cardAtViewPoint(QPointF point, quint64 pickMask);
    UFemCardPtr cardInViewRect(const QRectF& rect, quint64 pickMask);
    quint64 hitObjectNameInViewRect(const QRectF& rect, quint64 pickMask);
    UFemGraphicViewPicker& picker() { return *picker_; }
    quint64 currentPressedKeyPickMaskCardTypeIndexes() const
    {
        return currentPressedKeyPickMaskCardTypeIndexes_;
    }
    quint64 rubberbandPickMaskCardTypeIndexes() const { return rubberbandPickMaskCardTypeIndexes_; }
    bool doesDrawRubberbandCard() const { return doesDrawRubberbandCard_; }
    bool doesDrawRubberbandRect() const { return doesDrawRubberbandRect_; }
    bool doesAddSelectedCardFromRubberbandCard() const
    {
        return doesAddSelectedCardFromRubberbandCard_;
    }
    const QRectF& rubberbandRect() const { return rubberbandRect_; }
    // Resets the rubber band outside a frame.
    void clearRubberband();
    // Starts the card value data and the value ranges the frames and picks need.
    void startFrameCalculations();

    // The picture of one frame at the info's pixel size with its drawing errors; a null image
    // with *isCanceled set when the work was canceled. Without a renderer it is the background.
    QImage pixelSizeImageWithDrawRectInfo(
        const UGLDrawRectInfo& drawRectInfo, std::vector<UErrorPtr>* errors, bool* isCanceled);
    QImage pixelSizeImageWithDrawRectInfo(const UGLDrawRectInfo& drawRectInfo,
        const UFemCardSet& selectedCardSet, std::vector<UErrorPtr>* errors, bool* isCanceled);
    // A finished picture of `outputType` at the view's size, waiting as long as it takes.
    QImage renderToImage(UGLDrawingOutputType outputType);
    bool isRedisplayRequiredWhenCalculationDone() const
    {
        return isRedisplayRequiredWhenCalculationDone_.load();
    }
    bool isDrawingCacheCalculatingProgressIndicatorDisplayed() const
    {
        return isDrawingCacheCalculatingProgressIndicatorDisplayed_;
    }

private:
    void loadGraphicViewBox();
    void makeThreadTaskContexts();
    void makeOpenGLManagers();
    void setUpCamera();
    void observeNotifications();
    void registerCameraCommands();
    void tellPipelineStep(const char* step) const;
    void handEyeLocationToManagers();
    // The picking pass reads the camera and marks the select geometry it built as valid: a
    // camera change first cancels a tip's pass (a band's it waits for), so that the change's
    // clearing comes after and no geometry of the old camera is marked valid. The tip is then
    // of the old view, whether shown or still to come from the canceled pass: see outdateToolTip.
    void outdatePickingPass();
    // Closes the tip, which names what lay under the pointer in the old view, and asks for it
    // again once the new view is drawn or the drag that moves it ends.
    void outdateToolTip();
    void redisplayOutdatedToolTipUnlessDragging();
    // Asks the view for the tip under the pointer again, after the events queued now.
    void redisplayToolTipLater();
    static void redisplayToolTipLaterOf(UFemGraphicView* view);
    void handObjectLocationToManagers();
    void fitWithDirectionAndRedraw(const double* direction);
    void clearCachesForDataChange(bool clearsColorScaleRange);
    void quitAndApplyAndClose();
    void reloadBothViews();
    [[nodiscard]] bool applyViewPreferences(const QVariantMap& preferences, UErrorPtr* error);
    enum class CacheDrop { none, image, imageAndPick };
    template <typename T>
    void changeSetting(T UFemGraphicViewSettings::*field, const T& value, CacheDrop drop);
    void drawErrorBoxes(QPainter& painter, const std::vector<UErrorPtr>& errors) const;
    void startFrameCalculations(quint64 threadCount);
    bool waitsForCardValueData();
    bool hasCardValueDataFailed() const;
    void drawFrame(UFemGraphicView& view, QPainter& painter, const QRectF& dirtyRect,
        const UGLDrawRectInfo& drawRectInfo);
    void drawProgressPath(UFemGraphicView& view, QPainter& painter, const QRectF& visibleRect);
    void hideProgressIndicator();
    QString drawingTimeRendererDescription() const;
    void drawDrawingTimeLine(QPainter& painter, const UFemGraphicView& view, double seconds) const;
    void setRubberband(QPointF from, QPointF to, bool isDragging);
    quint64 startRubberband(const UFemCardSet& selectedCardSet);
    void completeRubberband(quint64 changeIdentifier);
    void drawRubberbandRect(QPainter& painter, const UFemGraphicView& view) const;
    void toggleSelectionOfCardAtViewPoint(QPointF point);
    void openEditorOnCardAtViewPoint(QPointF point);
    void optionalCardStringEditorDidEndEditing();
    // Selects the card at window `row` alone; past the end clears the selection and answers
    // UFemNotFound.
    quint64 selectCardAtRowAlone(quint64 row);

    // Outlets of the view layout
    QPointer<UFemGraphicView> graphicViewOutlet_;

    // Frame pipeline
    std::unique_ptr<UThreadTaskContext> colorScaleRangeCalcThreadTaskContext_;
    std::unique_ptr<UThreadTaskContext> cardValueDataCalcThreadTaskContext_;
    std::unique_ptr<UThreadTaskContext> selectBufferHitObjectWritingThreadTaskContext_;
    std::unique_ptr<UThreadTaskContext> selectedCardIndexTableCalcThreadTaskContext_;
    std::unique_ptr<UThreadTaskContext> rubberbandCardIndexTableCalcThreadTaskContext_;
    std::unique_ptr<UThreadTaskContext> bufferDrawingThreadTaskContext_screen_;
    std::unique_ptr<UThreadTaskContext> bufferDrawingThreadTaskContext_selectMode_;
    std::unique_ptr<UThreadTaskContext> layerImageDrawingThreadTaskContext_screen_;
    std::unique_ptr<UThreadTaskContext> layerImageDrawingThreadTaskContext_selectMode_;
    // After the tasks, so that it goes before them.
    std::unique_ptr<UFemGraphicViewDrawingCacheSource> drawingCacheSource_;
    std::unique_ptr<UFemGraphicViewDrawingCacheManager> drawingCacheManager_;
    // Set by the picking worker, cleared on the main thread.
    std::array<std::atomic<bool>, selectModeDisplayListCount>
        selectModeDisplayListValidnessTable_ {};
    std::array<std::atomic<bool>, selectModeDisplayListCount>
        selectModeDisplayListViewIndependenceTable_ {};
    std::array<std::unique_ptr<UOpenGLManager>, openGLContextCount> openGLManagerTable_;
    std::array<std::unique_ptr<UGLRootDrawingBuffer>, openGLContextCount> rootDrawingBuffer_;
    std::vector<UErrorPtr> openGLSetupErrors_;
    std::optional<QImage> baseImage_;
    std::vector<UFemGraphicCocoaDrawObject> baseImageCocoaDrawObjectArray_;
    std::unique_ptr<UFemGraphicViewCompositor> compositor_;
    std::unique_ptr<UFemGraphicViewPicker> picker_;
    // Set while a frame waits for, or gave up waiting for, the card value data; the data's
    // completion then redraws the view. Read by the worker that completes it.
    std::atomic<bool> isRedisplayRequiredWhenCalculationDone_ { false };
    QPointer<QProgressBar> drawingCacheCalculatingProgressIndicator_;
    bool isDrawingCacheCalculatingProgressIndicatorDisplayed_ = false;
    std::function<void(const char*)> pipelineStepObserver_;

    // Selection and rubber band
    bool doesIgnoreGraphicViewReloadingWhenSelectedCardChangeNotification_ = false;
    bool doesDrawRubberbandCard_ = false;
    bool doesDrawRubberbandRect_ = false;
    QRectF rubberbandRect_;
    quint64 rubberbandPickMaskCardTypeIndexes_ = allPickMaskCardTypeIndexes;
    quint64 currentPressedKeyPickMaskCardTypeIndexes_ = allPickMaskCardTypeIndexes;
    bool doesAddSelectedCardFromRubberbandCard_ = false;
    bool isPreparingRubberbandHandOver_ = false;
    UFemOptionalCardStringEditor optionalEditor_;

    // Camera
    UFemGraphicViewCamera camera_;
    bool isViewDidSwapInAlreadyCalled_ = false;
    // The first swap-in's fit waits for the first frame: only then is the view laid out.
    bool isFitPendingUntilFirstFrame_ = false;

    UFemGraphicViewSettings settings_;
    OverlayColors overlayColors_;

    // Interaction
    qint64 selectedViewSettingMenuTag_ = 0;
    quint64 objectMoveMode_ = objectMoveModePointer;
    QPointF lastDragLocation_;
    QPointF mouseLocationOnMouseDown_;
    int mouseClickCount_ = 0;
    Qt::KeyboardModifiers modifierFlagsOnMouseDown_;
    bool isMouseDragging_ = false;
    // The camera changed since the tip was asked for.
    bool isToolTipOutdated_ = false;

    QVariantMap currentViewPreferences_;
    std::unique_ptr<UFemGraphicViewPreferencesViewController> preferencesViewController_;
    std::vector<UNotificationObservation> observations_;
    bool isFinished_ = false;
};
