#include "graphicview/UFemGraphicViewCompositor.h"

#include "graphics/drawingbuffer/UGLRootDrawingBuffer.h"
#include "graphics/opengl/UOpenGLImageFunctions.h"
#include "graphicview/UFemGraphicViewController.h"
#include "graphicview/tasks/UFemBufferDrawingThreadContext.h"
#include "graphicview/tasks/UFemLayerImageDrawingThreadContext.h"

#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

using Record = UFemDrawingCardTypeInfoRecord;
using RawImage = UFemUGLRawImageDataRecord;
constexpr quint64 noIndex = ~quint64(0);
constexpr quint64 firstSelectionLayer = 5;
constexpr auto layerWaitStep = std::chrono::milliseconds(50);
constexpr double legendMargin = 16.0;

QColor qColor(const _UGLColor& color)
{
    return QColor::fromRgbF(
        float(color.red), float(color.green), float(color.blue), float(color.alpha));
}

} // namespace

UFemGraphicViewCompositor::UFemGraphicViewCompositor(UFemGraphicViewController& controller,
    UFemBufferDrawingThreadTaskContext& bufferTask,
    UFemLayerImageDrawingThreadTaskContext& layerTask)
    : controller_(controller)
    , bufferTask_(bufferTask)
    , layerTask_(layerTask)
{
}

std::optional<UFemGraphicDrawingInfo> UFemGraphicViewCompositor::drawingInfoWithDrawRectInfo(
    const UGLDrawRectInfo& drawRectInfo, bool* cancelFlag)
{
    UFemGraphicViewDrawingCacheManager& caches = controller_.drawingCacheManager();
    if (!caches.waitAndUpdateDrawingPreferenceCacheIfNeeded_ForceScaleFactor(cancelFlag)
        || !caches.waitAndUpdateDrawingPreferenceCacheIfNeeded_DispScaleFactor(cancelFlag)
        || !caches.waitAndUpdateDrawingPreferenceCacheIfNeeded_ColorScaleRange(cancelFlag))
        return std::nullopt;
    const UFemGraphicViewDrawingPreferenceCache cache = caches.drawingPreferenceCache();
    const UFemGraphicViewSettings& settings = controller_.viewSettings();
    const UFemGraphicViewCamera& camera = controller_.camera();
    UFemGraphicDrawingInfo info;
    double axes[3][3];
    for (int axis = 0; axis < 3; ++axis) {
        double onEye[3] = { 0, 0, 0 };
        onEye[axis] = 1;
        camera.getVectorOnObjectCoord(axes[axis], onEye);
        const double length = std::sqrt(axes[axis][0] * axes[axis][0]
            + axes[axis][1] * axes[axis][1] + axes[axis][2] * axes[axis][2]);
        for (double& component : axes[axis])
            component /= length;
    }
    info.setEyeCoordOnObjectCoord(axes);
    info.setDrawingOutputType(drawRectInfo.drawingOutputType);
    info.setImageSize(drawRectInfo.imageSize);
    info.setImagePixelSize(drawRectInfo.imagePixelSize);
    info.setImageResolutionPer72(drawRectInfo.imageResolutionPer72);
    info.setImageQuality(drawRectInfo.imageQuality);
    info.setLengthPerPixel(camera.eyeLocation().eyeLocationStruct().lengthPerPixel);
    const bool isSelectMode = drawRectInfo.drawingOutputType == UGLDrawingOutputTypeSelectMode;
    info.setRequiredNormalVector(!isSelectMode);
    info.setNodeSize(settings.nodeSize);
    info.setElementEdgeDraw(settings.isElementEdgeDraw && !isSelectMode);
    info.setElementEdgeWidth(settings.elementEdgeWidth);
    info.setRodAreaDiaSizeActive(false);
    info.setRodDiaSize(settings.rodDiaSize);
    info.setForceArrowRodWidth(settings.forceArrowRodWidth);
    info.setForceArrowHeadSize(settings.forceArrowHeadSize);
    info.setForceMomentHeadDiskDiaSize(settings.forceMomentHeadDiskDiaSize);
    info.setForceScaleFactor(cache.forceScaleFactor);
    info.setForceMomentScaleFactor(cache.momentScaleFactor);
    info.setDisplacementScaleFactor(cache.dispScaleFactor);
    info.setRestraintSize(settings.restraintSize);
    info.setRestraintDrawingType(settings.isRestraintShowInnerRestraint ? 1 : 0);
    info.setCoordArrowLength(settings.coordArrowLength);
    info.setCoordArrowRodWidth(settings.coordArrowRodWidth);
    info.setCoordArrowHeadSize(settings.coordArrowHeadSize);
    return info;
}

QImage UFemGraphicViewCompositor::composeImage(const UGLDrawRectInfo& drawRectInfo,
    quint64 threadCount, const UFemCardSet& selectedCardSet, bool doesDrawRubberbandCard,
    std::vector<UErrorPtr>* errors, bool* isCanceled)
{
    UFemGraphicViewDrawingCacheManager& caches = controller_.drawingCacheManager();
    const quint64 childCount = std::clamp<quint64>(threadCount, 1, maximumChildBufferCount);
    UThreadTaskContext::clearAll_shouldNotRunning_withThreadTaskContextList(
        { &bufferTask_, &layerTask_ });
    bool canceled = false;
    const QSize pixelSize = drawRectInfo.imagePixelSize.toSize();
    const bool isScreen = drawRectInfo.drawingOutputType == UGLDrawingOutputTypeScreen;
    const std::optional<_UGLColor> printColor = isScreen
        ? std::nullopt
        : std::optional<_UGLColor>(controller_.viewSettings().printImageBackgroundColor);
    // A failed calculation shows its errors over the background instead of waiting forever.
    auto failedImage = [&](const std::vector<UErrorPtr>& failures) {
        QImage background(pixelSize, QImage::Format_ARGB32_Premultiplied);
        controller_.drawBackgroundImage(background, printColor);
        errors->insert(errors->end(), failures.begin(), failures.end());
        return background;
    };
    if (!caches.waitCardValueDataCalcThreadFinished_isCanceled(&canceled) || canceled) {
        const std::vector<UErrorPtr> failures
            = controller_.cardValueDataCalcThreadTaskContext().errorArray();
        if (canceled || failures.empty()) {
            *isCanceled = true;
            return {};
        }
        return failedImage(failures);
    }
    std::array<bool, UFemGraphicViewCardTypeRecordCount> drawn {};
    copyRecordTables();
    for (quint64 record = 0; record < UFemGraphicViewCardTypeRecordCount; ++record)
        drawn.at(record) = records_.at(record).doesCardTypeDraw;
    const UFemGraphicViewDrawingPreferenceCache cache = caches.drawingPreferenceCache();
    doesDrawWithColor_ = cache.doesDrawWithColor;
    errors->insert(errors->end(), cache.drawingErrorArray.begin(), cache.drawingErrorArray.end());

    const bool isBaseImageReused = isScreen && controller_.isBaseImageValid();
    const UFemGraphicViewRecordAssignment assignment = UFemGraphicViewRecordAssignment::assign(
        drawn, drawRectInfo.drawingOutputType, isBaseImageReused, doesDrawRubberbandCard, 0);
    // The selection layer's workers wait for the selected-card list, so it starts whenever
    // record 7 is taken.
    const bool takesSelection
        = std::find(assignment.takenRecords.table.begin(),
              assignment.takenRecords.table.begin() + qsizetype(assignment.takenRecords.count),
              quint64(Record::SelectedCards))
        != assignment.takenRecords.table.begin() + qsizetype(assignment.takenRecords.count);
    if ((takesSelection && !controller_.picker().startSelectedCardIndexTable(selectedCardSet))
        || !startWorkers(assignment, drawRectInfo, childCount, &canceled)) {
        failWorkers();
        *isCanceled = true;
        return {};
    }
    QImage image;
    drawObjects_.clear();
    if (isBaseImageReused) {
        image = controller_.baseImage();
        drawObjects_ = controller_.baseImageCocoaDrawObjectArray();
    } else {
        image = QImage(pixelSize, QImage::Format_ARGB32_Premultiplied);
        controller_.drawBackgroundImage(image, printColor);
    }
    isBaseClosed_ = isBaseImageReused;
    if (!compositeLayers(image, assignment, isBaseImageReused, drawRectInfo)) {
        failWorkers();
        std::vector<UErrorPtr> failures = bufferTask_.errorArray();
        const std::vector<UErrorPtr> layerFailures = layerTask_.errorArray();
        failures.insert(failures.end(), layerFailures.begin(), layerFailures.end());
        if (failures.empty()) {
            *isCanceled = true;
            return {};
        }
        return failedImage(failures);
    }
    drawCocoaDrawObjects(image, drawRectInfo.imageResolutionPer72);
    if (doesDrawWithColor_ && controller_.viewSettings().isDrawColorByValueColorScale)
        drawColorScaleLegend(image, drawRectInfo.imageResolutionPer72);
    if (assignment.contextCount > 0
        && !UThreadTaskContext::waitAllThreadDoneWithThreadTaskContextList(
            { &bufferTask_, &layerTask_ })) {
        const std::vector<UErrorPtr> workerErrors = bufferTask_.errorArray();
        errors->insert(errors->end(), workerErrors.begin(), workerErrors.end());
        const std::vector<UErrorPtr> layerErrors = layerTask_.errorArray();
        errors->insert(errors->end(), layerErrors.begin(), layerErrors.end());
    }
    return image;
}

void UFemGraphicViewCompositor::copyRecordTables()
{
    UFemGraphicViewDrawingCacheManager& caches = controller_.drawingCacheManager();
    {
        std::lock_guard lock(caches.drawingCardTypeInfoRecordTableLockCondition());
        records_ = caches.drawingCardTypeInfoRecordTable();
    }
    std::lock_guard lock(caches.drawingLayerImageInfoRecordTableLockCondition());
    layers_ = caches.drawingLayerImageInfoRecordTable();
}

// Both targets' roots get c children; the buffer task then runs one worker per child and the
// layer task one per context.
bool UFemGraphicViewCompositor::startWorkers(const UFemGraphicViewRecordAssignment& assignment,
    const UGLDrawRectInfo& drawRectInfo, quint64 childCount, bool* isCanceled)
{
    if (assignment.contextCount == 0)
        return true;
    bool cancelFlag = false;
    const std::optional<UFemGraphicDrawingInfo> info
        = drawingInfoWithDrawRectInfo(drawRectInfo, &cancelFlag);
    if (!info.has_value())
        return false;
    drawingInfos_.fill(*info);
    UFemGraphicDrawingInfo undeformed = *info;
    const UFemGraphicViewSettings& settings = controller_.viewSettings();
    undeformed.setElementEdgeDraw(settings.isNonDisplacementModelEdgeDraw);
    drawingInfos_.at(Record::UndeformedElement) = undeformed;
    drawingInfos_.at(Record::UndeformedNode) = undeformed;

    std::array<UGLRootDrawingBuffer*, UFemGraphicViewMaximumOpenGLContextCount> roots {};
    std::array<UOpenGLManager*, UFemGraphicViewMaximumOpenGLContextCount> managers {};
    std::array<const quint64*, UFemGraphicViewMaximumOpenGLContextCount> indexTables {};
    std::array<quint64, UFemGraphicViewMaximumOpenGLContextCount> indexCounts {};
    const UGLDrawRectInfo& rect = drawRectInfo;
    const bool isSelectMode = hitWriter_ != nullptr;
    for (quint64 k = 0; k < assignment.contextCount; ++k) {
        const quint64 target = assignment.contextTargets.at(k);
        UOpenGLManager* manager = controller_.openGLManagerWithOpenGLContextIndex(target);
        UGLRootDrawingBuffer* root = controller_.rootDrawingBufferWithOpenGLContextIndex(target);
        if (manager == nullptr || root == nullptr)
            return false;
        // Every manager draws with the frame's camera, size and resolution.
        manager->setEyeLocation(controller_.eyeLocation());
        manager->setObjectLocation(controller_.objectLocation());
        manager->setSize(rect.imageSize);
        manager->setImageResolutionPer72(rect.imageResolutionPer72);
        manager->setImageQuality(rect.imageQuality);
        root->resetBufferWithChildBufferCount(childCount);
        root->setEdgeDrawingBufferEnabled(!isSelectMode);
        root->setDoesDrawForSelectMode(isSelectMode);
        roots.at(k) = root;
        managers.at(k) = manager;
        indexTables.at(k) = assignment.targets.at(target).table.data();
        indexCounts.at(k) = assignment.targets.at(target).count;
    }
    if (!bufferTask_.setArgumentIfNeededWithDelegate(this, roots.data(), indexTables.data(),
            indexCounts.data(), assignment.contextCount, isSelectMode, pickViewRect_,
            drawingInfos_.data())
        || !layerTask_.setArgumentIfNeededWithDelegate(this, indexTables.data(), indexCounts.data(),
            managers.data(), roots.data(), assignment.contextCount, isSelectMode,
            isSelectMode ? hitWriter_->selectionBufferPtr() : nullptr,
            isSelectMode ? hitWriter_->selectionBufferCapacity_GLUInt() : 0,
            isSelectMode ? hitWriter_->hitObjectCountPtr() : nullptr))
        return false;
    bool canceled = false;
    bufferTask_.startThreadIfNeeded_isCanceled(&canceled);
    // The picking pass replays on the calling thread.
    if (!canceled && !isSelectMode)
        layerTask_.startThreadIfNeeded_isCanceled(&canceled);
    if (canceled)
        *isCanceled = true;
    return !canceled;
}

// Consecutive records of one layer share its image; the base closes before the first selection
// layer or at the end.
bool UFemGraphicViewCompositor::compositeLayers(QImage& image,
    const UFemGraphicViewRecordAssignment& assignment, bool isBaseImageReused,
    const UGLDrawRectInfo& drawRectInfo)
{
    quint64 pixelWidth = 0;
    quint64 pixelHeight = 0;
    quint64 rowWidth = 0;
    if (assignment.contextCount > 0)
        controller_.openGLManagerWithOpenGLContextIndex(assignment.contextTargets.at(0))
            ->getPixelSize(&pixelWidth, &pixelHeight, &rowWidth);
    quint64 previousLayer = noIndex;
    for (quint64 position = 0; position < assignment.takenRecords.count; ++position) {
        const quint64 layer = records_.at(assignment.takenRecords.table.at(position)).layerIndex;
        if (layer == previousLayer)
            continue;
        previousLayer = layer;
        if (!isBaseClosed_ && layer >= firstSelectionLayer)
            closeBase(image, drawRectInfo);
        if (!waitForLayer(layer))
            return false;
        std::lock_guard lock(layerTask_);
        RawImage& raw = layerTask_.layerImageDataRecord(layer);
        if (raw.validness != RawImage::ImageReadBack)
            continue;
        QPainter painter(&image);
        UOpenGLMakeImageFromRawImageData(painter, raw.imageData.data(),
            QPainter::CompositionMode_SourceOver, pixelWidth, pixelHeight, rowWidth, nullptr,
            layers_.at(layer).layerImageCompositeFraction);
        drawObjects_.insert(
            drawObjects_.end(), raw.cocoaDrawObjectArray.begin(), raw.cocoaDrawObjectArray.end());
    }
    if (!isBaseClosed_ && !isBaseImageReused)
        closeBase(image, drawRectInfo);
    return true;
}

// The wait also ends when the layer task stops, whether it finished or failed.
bool UFemGraphicViewCompositor::waitForLayer(quint64 layer)
{
    std::unique_lock lock(layerTask_);
    for (;;) {
        if (layerTask_.layerImageDataRecord(layer).validness != RawImage::Pending)
            return true;
        if (!layerTask_.isRunning() && !layerTask_.isReadyToRun())
            return false;
        layerTask_.waitUntilDate(std::chrono::steady_clock::now() + layerWaitStep);
    }
}

void UFemGraphicViewCompositor::closeBase(QImage& image, const UGLDrawRectInfo& drawRectInfo)
{
    isBaseClosed_ = true;
    const UFemGraphicViewSettings& settings = controller_.viewSettings();
    if (settings.isGlobalCoordDraw)
        controller_.drawGlobalCoordToImage(
            image, settings.globalCoordDrawPosition, drawRectInfo.imageResolutionPer72);
    if (drawRectInfo.drawingOutputType == UGLDrawingOutputTypeScreen)
        controller_.setBaseImage(image, drawObjects_);
}

void UFemGraphicViewCompositor::drawCocoaDrawObjects(QImage& image, double resolution) const
{
    if (drawObjects_.empty())
        return;
    QPainter painter(&image);
    painter.scale(resolution, resolution);
    for (const UFemGraphicCocoaDrawObject& object : drawObjects_)
        object.draw(painter);
}

void UFemGraphicViewCompositor::drawColorScaleLegend(QImage& image, double resolution) const
{
    const UFemColorScalePtr scale
        = controller_.drawingCacheManager().drawingPreferenceCache().colorScaleForColor;
    if (scale == nullptr)
        return;
    const QImage legend = scale->colorScaleLabelImageWithImageResolutionPer72(resolution);
    if (legend.isNull())
        return;
    const QRectF box(image.width() - legend.width() - legendMargin * resolution,
        (image.height() - legend.height()) / 2.0, legend.width(), legend.height());
    QPainter painter(&image);
    const UFemGraphicViewController::OverlayColors& colors = controller_.overlayColors();
    painter.fillRect(box, qColor(colors.colorScaleLabelImageRectFillColor));
    painter.setPen(qColor(colors.colorScaleLabelImageRectBoundsColor));
    painter.drawRect(box);
    painter.drawImage(box.topLeft(), legend);
}

// Canceling the roots wakes a layer worker that waits for buffer data.
void UFemGraphicViewCompositor::failWorkers()
{
    bufferTask_.requestCancel();
    layerTask_.requestCancel();
    for (quint64 target = 0; target < UFemGraphicViewMaximumOpenGLContextCount; ++target)
        if (UGLRootDrawingBuffer* root
            = controller_.rootDrawingBufferWithOpenGLContextIndex(target))
            root->requestCancel();
    UThreadTaskContext::cancelAndWaitQuitIfNotFinishedWithThreadTaskContextList(
        { &bufferTask_, &layerTask_ });
}
