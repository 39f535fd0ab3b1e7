#include "graphicview/UFemGraphicViewController.h"

#include "foundation/UFemHeaderGlobals.h"
#include "foundation/errors/UFemErrorsGraphicDrawing.h"
#include "foundation/strings/UFormattedString.h"
#include "graphics/opengl/UGLOpenGLVersion.h"
#include "graphicview/ranges/UFemDataControllerValueRange.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <chrono>
#include <mutex>

namespace {

constexpr double errorBoxPadding = 4.0;
// The largest side of a frame image; a larger request (a huge resolution) draws nothing.
constexpr double maximumPixelSide = 16384.0;
// A frame waits this long for the card value data before it shows the progress box.
constexpr auto cardValueDataWait = std::chrono::milliseconds(500);
constexpr QSizeF progressBoxSize { 200, 80 };
constexpr double progressBoxRadius = 8.0;
constexpr double progressBoxAlpha = 0.333;
constexpr QSize progressIndicatorSize { 120, 16 };
constexpr quint64 maximumRangeThreadCount = 4;
constexpr double drawingTimeBoxAlpha = 0.6;

QColor qColor(const _UGLColor& color)
{
    return QColor::fromRgbF(
        float(color.red), float(color.green), float(color.blue), float(color.alpha));
}

// m = min(4, max(1, trunc(0.5 n + 0.6))): the value ranges need fewer threads than the frame.
quint64 rangeThreadCount(quint64 threadCount)
{
    return std::min(
        maximumRangeThreadCount, std::max<quint64>(1, quint64(0.5 * double(threadCount) + 0.6)));
}

} // namespace

void UFemGraphicViewController::startFrameCalculations()
{
    if (openGLSetupErrors_.empty())
        startFrameCalculations(UFemForegroundTaskThreadCountOfDataController(dataController()));
}

void UFemGraphicViewController::startFrameCalculations(quint64 threadCount)
{
    UFemGraphicViewDrawingCacheManager& caches = *drawingCacheManager_;
    caches.updateDrawingPreferenceCacheIfNeeded();
    const quint64 rangeThreads = rangeThreadCount(threadCount);
    caches.startForceValueRangeCalcThreadIfNeededWithThreadCountToRun(rangeThreads);
    caches.startDisplacementValueRangeCalcThreadIfNeededWithThreadCountToRun(rangeThreads);
    caches.startColorScaleRangeCalcThreadIfNeededWithThreadCountToRun(threadCount);
    caches.startCardValueDataCalcThreadIfNeededWithThreadCountToRun(threadCount);
    updateEyeLocationDepthRangeIfNeeded();
}

QImage UFemGraphicViewController::pixelSizeImageWithDrawRectInfo(
    const UGLDrawRectInfo& drawRectInfo, std::vector<UErrorPtr>* errors, bool* isCanceled)
{
    // A copy: a rubber band's worker may change the selection during the frame.
    return pixelSizeImageWithDrawRectInfo(
        drawRectInfo, windowController()->selectedCardSet(), errors, isCanceled);
}

QImage UFemGraphicViewController::pixelSizeImageWithDrawRectInfo(
    const UGLDrawRectInfo& drawRectInfo, const UFemCardSet& selectedCardSet,
    std::vector<UErrorPtr>* errors, bool* isCanceled)
{
    const QSizeF pixelSize = drawRectInfo.imagePixelSize;
    if (pixelSize.isEmpty())
        return {};
    if (pixelSize.width() > maximumPixelSide || pixelSize.height() > maximumPixelSide) {
        errors->push_back(UFemGraphicDrawingError_withDescription(
            QStringLiteral("The image is too large to draw.")));
        return {};
    }
    if (!openGLSetupErrors_.empty()) {
        QImage image(pixelSize.toSize(), QImage::Format_ARGB32_Premultiplied);
        drawBackgroundImage(image, std::nullopt);
        errors->insert(errors->end(), openGLSetupErrors_.begin(), openGLSetupErrors_.end());
        return image;
    }
    const quint64 threadCount = UFemForegroundTaskThreadCountOfDataController(dataController());
    const bool isScreen = drawRectInfo.drawingOutputType == UGLDrawingOutputTypeScreen;
    // Only a band's pass may run beside a frame (the band's frame keeps out of its context); a
    // select geometry built for a tip ends first.
    if (!(isScreen && doesDrawRubberbandCard_))
        selectBufferHitObjectWritingThreadTaskContext_->waitAllThreadDone();
    return compositor_->composeImage(drawRectInfo, threadCount, selectedCardSet,
        isScreen && doesDrawRubberbandCard_, errors, isCanceled);
}

QImage UFemGraphicViewController::renderToImage(UGLDrawingOutputType outputType)
{
    if (graphicViewOutlet_ == nullptr)
        return {};
    if (openGLSetupErrors_.empty())
        startFrameCalculations(UFemForegroundTaskThreadCountOfDataController(dataController()));
    // A pending rubber band runs as in a frame of the view: its layer waits for the band's list.
    const bool isRubberbandFrame = outputType == UGLDrawingOutputTypeScreen
        && doesDrawRubberbandCard_ && openGLSetupErrors_.empty()
        && cardValueDataCalcThreadTaskContext_->waitAllThreadDone();
    const UFemCardSet selectedCardSet = windowController()->selectedCardSet();
    const quint64 changeIdentifier = isRubberbandFrame ? startRubberband(selectedCardSet) : 0;
    std::vector<UErrorPtr> errors;
    bool isCanceled = false;
    const QImage image
        = pixelSizeImageWithDrawRectInfo(graphicViewOutlet_->drawRectInfoWithOutputType(outputType),
            selectedCardSet, &errors, &isCanceled);
    if (isRubberbandFrame)
        completeRubberband(changeIdentifier);
    return image;
}

// Waits at most half a second for the card value data; while the progress box shows, frames
// only look whether the data has arrived or its calculation has failed (the frame then shows
// the errors).
bool UFemGraphicViewController::waitsForCardValueData()
{
    UThreadTaskContext& task = *cardValueDataCalcThreadTaskContext_;
    if (isDrawingCacheCalculatingProgressIndicatorDisplayed_) {
        // The last worker asks for this redraw and sets the end state under the lock, so the
        // state read under it is final.
        std::lock_guard lock(task);
        return hasCardValueDataFailed()
            || (drawingCacheManager_->isDrawingCardTypeInfoRecordTableValid()
                && task.isValueValid());
    }
    isRedisplayRequiredWhenCalculationDone_ = true;
    bool didTimeOut = false;
    const bool isDone = task.waitAllThreadDoneUntilDate(
        std::chrono::steady_clock::now() + cardValueDataWait, &didTimeOut);
    return isDone || !didTimeOut;
}

// Failed, not canceled: no data comes until the next change.
bool UFemGraphicViewController::hasCardValueDataFailed() const
{
    const UThreadTaskContext& task = *cardValueDataCalcThreadTaskContext_;
    return task.isCanceled() && !task.cancelFlag();
}

// The frame may change the camera itself (its first fit, a depth refit).
void UFemGraphicViewController::ufemGraphicViewDrawRect(UFemGraphicView& view, QPainter& painter,
    const QRectF& dirtyRect, const UGLDrawRectInfo& drawRectInfo)
{
    drawFrame(view, painter, dirtyRect, drawRectInfo);
    redisplayOutdatedToolTipUnlessDragging();
}

void UFemGraphicViewController::drawFrame(UFemGraphicView& view, QPainter& painter,
    const QRectF& dirtyRect, const UGLDrawRectInfo& drawRectInfo)
{
    if (isFitPendingUntilFirstFrame_ && camera_.hasViewArea()) {
        isFitPendingUntilFirstFrame_ = false;
        setEyeLocationAndObjectLocationByObjectSizeWithObjectDirection(nullptr);
    }
    const QRectF bounds(QPointF(0, 0), QSizeF(view.size()));
    const QRectF visible(dirtyRect.x(), view.height() - dirtyRect.y() - dirtyRect.height(),
        dirtyRect.width(), dirtyRect.height());
    if (openGLSetupErrors_.empty()) {
        startFrameCalculations(UFemForegroundTaskThreadCountOfDataController(dataController()));
        // A rubber band starts only over valid data; until then its request waits, and data
        // that failed ends it, so that the frame shows the errors.
        if (doesDrawRubberbandCard_ && hasCardValueDataFailed())
            completeRubberband(0);
        if (!waitsForCardValueData()
            || (doesDrawRubberbandCard_ && !cardValueDataCalcThreadTaskContext_->isValueValid())) {
            drawProgressPath(view, painter, visible);
            return;
        }
    }
    const bool isRubberbandFrame = doesDrawRubberbandCard_ && openGLSetupErrors_.empty();
    // Taken before a rubber band hands the selection to its worker.
    const UFemCardSet selectedCardSet = windowController()->selectedCardSet();
    const quint64 changeIdentifier = isRubberbandFrame ? startRubberband(selectedCardSet) : 0;
    // Only frames that rebuild the base image are measured.
    const bool isMeasured = UFemDoesDisplayGraphicViewDrawingTime.load() && !isBaseImageValid();
    const auto start = std::chrono::steady_clock::now();
    std::vector<UErrorPtr> errors;
    bool isCanceled = false;
    const QImage image
        = pixelSizeImageWithDrawRectInfo(drawRectInfo, selectedCardSet, &errors, &isCanceled);
    const std::chrono::duration<double> frameTime = std::chrono::steady_clock::now() - start;
    if (isCanceled) {
        if (isRubberbandFrame)
            completeRubberband(changeIdentifier);
        isRedisplayRequiredWhenCalculationDone_ = true;
        drawProgressPath(view, painter, visible);
        return;
    }
    hideProgressIndicator();
    if (image.isNull())
        painter.fillRect(bounds, qColor(settings_.screenImageBackgroundColor));
    else
        painter.drawImage(bounds, image, QRectF(image.rect()));
    drawErrorBoxes(painter, errors);
    if (doesDrawRubberbandRect_)
        drawRubberbandRect(painter, view);
    if (isMeasured)
        drawDrawingTimeLine(painter, view, frameTime.count());
    ufemMainView_drawOverlaidProjectInfoIfNeeded(painter, visible);
    if (isRubberbandFrame)
        completeRubberband(changeIdentifier);
    isRedisplayRequiredWhenCalculationDone_ = false;
}

// The background, the project information and a translucent box with the busy indicator; the
// data's completion redraws the view.
void UFemGraphicViewController::drawProgressPath(
    UFemGraphicView& view, QPainter& painter, const QRectF& visibleRect)
{
    const QRectF bounds(QPointF(0, 0), QSizeF(view.size()));
    painter.fillRect(bounds, qColor(settings_.screenImageBackgroundColor));
    ufemMainView_drawOverlaidProjectInfoIfNeeded(painter, visibleRect);
    const QRectF box(QPointF(bounds.width() / 2 - progressBoxSize.width() / 2,
                         bounds.height() / 2 - progressBoxSize.height() / 2),
        progressBoxSize);
    QPainterPath path;
    path.addRoundedRect(box, progressBoxRadius, progressBoxRadius);
    painter.fillPath(path, QColor::fromRgbF(1, 1, 1, float(progressBoxAlpha)));
    if (!isDrawingCacheCalculatingProgressIndicatorDisplayed_
        && drawingCacheCalculatingProgressIndicator_) {
        drawingCacheCalculatingProgressIndicator_->setGeometry(
            QRect(QPoint(int(bounds.width() / 2) - progressIndicatorSize.width() / 2,
                      int(bounds.height() / 2) - progressIndicatorSize.height() / 2),
                progressIndicatorSize));
        drawingCacheCalculatingProgressIndicator_->show();
    }
    isDrawingCacheCalculatingProgressIndicatorDisplayed_ = true;
}

void UFemGraphicViewController::hideProgressIndicator()
{
    if (!isDrawingCacheCalculatingProgressIndicatorDisplayed_)
        return;
    isDrawingCacheCalculatingProgressIndicatorDisplayed_ = false;
    if (drawingCacheCalculatingProgressIndicator_)
        drawingCacheCalculatingProgressIndicator_->hide();
}

// Boxes stack downwards from the view's top edge, one per error.
void UFemGraphicViewController::drawErrorBoxes(
    QPainter& painter, const std::vector<UErrorPtr>& errors) const
{
    const QFont font = QApplication::font();
    const QFontMetricsF metrics(font);
    painter.save();
    painter.setFont(font);
    double top = 0.0;
    for (const UErrorPtr& error : errors) {
        const QString text = error->localizedDescription();
        const QSizeF size = metrics.size(0, text);
        const QRectF box(
            0, top, size.width() + 2 * errorBoxPadding, size.height() + 2 * errorBoxPadding);
        painter.fillRect(box, qColor(overlayColors_.errorMessageRectFillColor));
        painter.setPen(qColor(overlayColors_.errorMessageRectBoundsColor));
        painter.drawRect(box);
        painter.setPen(qColor(overlayColors_.errorMessageStringColor));
        painter.drawText(
            box.adjusted(errorBoxPadding, errorBoxPadding, -errorBoxPadding, -errorBoxPadding),
            Qt::AlignLeft | Qt::AlignTop, text);
        top += box.height();
    }
    painter.restore();
}

QString UFemGraphicViewController::drawingTimeRendererDescription() const
{
    UOpenGLGraphicProcessorInfoRecord record;
    quint64 renderingType = 0;
    UErrorPtr error;
    if (!getGraphicProcessorInfoWithOpenGLContextIndex(0, &record, &renderingType, &error)
        || error != nullptr)
        return ULocalizedString("Unknown Renderer");
    QString renderer = record.rendererString;
    const QString engine = QStringLiteral(" OpenGL Engine");
    const qsizetype found = renderer.indexOf(engine, 0, Qt::CaseInsensitive);
    if (found >= 0)
        renderer.remove(found, engine.size());
    return renderer
        + UFormattedString(" ( %@, FBO : %@ )",
            UGLOpenGLVersionString(renderingOpenGLVersionWithOpenGLContextIndex(0)),
            QString::fromLatin1(
                renderingType == UGLOfflineRenderingTypeFrameBufferObject ? "YES" : "NO"));
}

// White text in a dark box in the lower-left corner.
void UFemGraphicViewController::drawDrawingTimeLine(
    QPainter& painter, const UFemGraphicView& view, double seconds) const
{
    const QString text
        = ULocalizedFormattedString("Drawing Time: %5.3f [sec/frame] ( %5.2f [FPS] ) ( %@ )",
            seconds, seconds > 0 ? 1.0 / seconds : 0.0, drawingTimeRendererDescription());
    const QFont font = QApplication::font();
    const QSizeF size = QFontMetricsF(font).size(0, text);
    const QRectF box(0, view.height() - size.height() - 2 * errorBoxPadding,
        size.width() + 2 * errorBoxPadding, size.height() + 2 * errorBoxPadding);
    painter.save();
    painter.setFont(font);
    const QColor shade = QColor::fromRgbF(0, 0, 0, float(drawingTimeBoxAlpha));
    painter.fillRect(box, shade);
    painter.setPen(shade);
    painter.drawRect(box);
    painter.setPen(Qt::white);
    painter.drawText(
        box.adjusted(errorBoxPadding, errorBoxPadding, -errorBoxPadding, -errorBoxPadding),
        Qt::AlignLeft | Qt::AlignTop, text);
    painter.restore();
}

// Its own will-change must not cancel the card value data this frame is about to use.
quint64 UFemGraphicViewController::startRubberband(const UFemCardSet& selectedCardSet)
{
    quint64 changeIdentifier = 0;
    if (doesAddSelectedCardFromRubberbandCard_) {
        isPreparingRubberbandHandOver_ = true;
        changeIdentifier
            = windowController()->_selectedCardSetManager().prepareChangeByOtherThread();
        isPreparingRubberbandHandOver_ = false;
    }
    return picker_->startUpdateRubberbandCardIndexTable(rubberbandRect_,
        rubberbandPickMaskCardTypeIndexes_, doesAddSelectedCardFromRubberbandCard_,
        changeIdentifier, selectedCardSet);
}

// Finishes the hand-over the band prepared, on every path, and ends the request.
void UFemGraphicViewController::completeRubberband(quint64 changeIdentifier)
{
    if (changeIdentifier != 0) {
        doesIgnoreGraphicViewReloadingWhenSelectedCardChangeNotification_ = true;
        windowController()
            ->_selectedCardSetManager()
            .waitFinishChangeByOtherThreadWithChangeIdentifier(changeIdentifier);
        doesIgnoreGraphicViewReloadingWhenSelectedCardChangeNotification_ = false;
    }
    rubberbandCardIndexTableCalcThreadTaskContext_->waitAllThreadDone();
    rubberbandCardIndexTableCalcThreadTaskContext_->clearAll_shouldNotRunning();
    doesDrawRubberbandCard_ = false;
    doesDrawRubberbandRect_ = false;
    rubberbandRect_ = QRectF();
    rubberbandPickMaskCardTypeIndexes_ = allPickMaskCardTypeIndexes;
    doesAddSelectedCardFromRubberbandCard_ = false;
}

// The band's rectangle is in view points with y up.
void UFemGraphicViewController::drawRubberbandRect(
    QPainter& painter, const UFemGraphicView& view) const
{
    const QRectF box(rubberbandRect_.x(),
        view.height() - rubberbandRect_.y() - rubberbandRect_.height(), rubberbandRect_.width(),
        rubberbandRect_.height());
    painter.save();
    painter.fillRect(box, qColor(overlayColors_.rubberbandRectFillColor));
    painter.setPen(qColor(overlayColors_.rubberbandRectBoundsColor));
    painter.drawRect(box);
    painter.restore();
}
