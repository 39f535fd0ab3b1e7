#include "graphicview/UFemGraphicViewCompositor.h"

#include "cardmodel/card/UFemCard.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsGraphicDrawing.h"
#include "graphics/drawingbuffer/UGLRootDrawingBuffer.h"
#include "graphics/opengl/UOpenGLImageFunctions.h"
#include "graphics/primitives/UGLSharedFaceTable.h"
#include "graphicview/UFemGraphicViewController.h"
#include "graphicview/UFemOpenGLCurrentContext.h"
#include "graphicview/tasks/UFemBufferDrawingThreadContext.h"
#include "graphicview/tasks/UFemLayerImageDrawingThreadContext.h"

#include <algorithm>
#include <chrono>
#include <mutex>

namespace {

using Record = UFemDrawingCardTypeInfoRecord;
using RawImage = UFemUGLRawImageDataRecord;
constexpr quint64 noIndex = ~quint64(0);
constexpr quint64 rawImageGrowthNumerator = 9;
constexpr quint64 rawImageGrowthDenominator = 8;
// Waking up now and then also sees a cancel that came without a broadcast.
constexpr auto listWaitStep = std::chrono::milliseconds(50);

// Ends a child's writing on every way out, so that its reader never waits for it.
class WriteFinisher {
public:
    explicit WriteFinisher(UGLDrawingBuffer& buffer)
        : buffer_(buffer)
    {
    }
    ~WriteFinisher()
    {
        bool isCanceled = false;
        if (isStageOpen)
            buffer_.closeCurrentWriteStage_isCanceled(&isCanceled);
        buffer_.finishWriteBuffer_isCanceled(&isCanceled);
    }
    WriteFinisher(const WriteFinisher&) = delete;
    WriteFinisher& operator=(const WriteFinisher&) = delete;
    bool isStageOpen = false;

private:
    UGLDrawingBuffer& buffer_;
};

} // namespace

// Chunks of 256 cards, record by record of this worker's context, dealt by the context's
// dispenser as (record position, card position) pairs.
bool UFemGraphicViewCompositor::runBufferDrawingWithThreadContext(
    UFemBufferDrawingThreadContext& threadContext)
{
    UFemBufferDrawingThreadTaskContext::OpenGLContextRecord& context
        = bufferTask_.openGLContextRecord(threadContext.openGLContextIndex());
    UGLDrawingBuffer* buffer
        = context.rootDrawingBuffer->drawingBufferAtIndex(threadContext.childDrawingBufferIndex());
    if (buffer == nullptr)
        UFemRaiseProgramError(QStringLiteral("The worker has no child drawing buffer."));
    WriteFinisher finisher(*buffer);
    UThreadTaskNextTargetIndexesManager& dispenser = *context.nextTargetIndexesManager;
    const UFemGraphicViewTargetRecordIndexes& indexes = context.targetRecordIndexes;
    quint64 openRecord = noIndex;
    bool isCanceled = false;
    for (;;) {
        if (bufferTask_.cancelFlag())
            return false;
        quint64 position = 0;
        quint64 start = 0;
        dispenser.getNextTargetIndexesOf2ToIndex1Ptr(&position, &start, cardChunkSize, &isCanceled);
        if (isCanceled)
            return false;
        if (position == noIndex || position >= indexes.count) {
            dispenser.forwardNextTargetIndexesToFinished();
            return true;
        }
        const quint64 recordIndex = indexes.table.at(position);
        const Record& record = records_.at(recordIndex);
        // A pickable record with valid select geometry is drawn from it, not tessellated again.
        const bool isFromList = bufferTask_.doesDrawForSelectMode()
            && controller_.isSelectModeDisplayListValid(recordIndex);
        if (!record.doesCardTypeDraw || isFromList || start >= record.cardRangeLength) {
            dispenser.forwardNextTargetIndexesOf2WithIndexe1(position + 1, 0);
            continue;
        }
        const bool isListed = record.cardIndexListPtr != nullptr;
        const quint64 end = isListed ? record.cardRangeLength
                                     : std::min(start + cardChunkSize, record.cardRangeLength);
        if (end == record.cardRangeLength)
            dispenser.forwardNextTargetIndexesOf2WithIndexe1(position + 1, 0);
        const UFemGraphicDrawingInfo& info = drawingInfos_.at(recordIndex);
        if (recordIndex != openRecord) {
            if (finisher.isStageOpen)
                buffer->closeCurrentWriteStage_isCanceled(&isCanceled);
            buffer->openWriteStageWithStageIdentifier(recordIndex, &isCanceled);
            finisher.isStageOpen = true;
            openRecord = recordIndex;
            if (info.isElementEdgeDraw())
                buffer->setCurrentWriteEdgeColor(&record.edgeColor, &isCanceled);
        }
        if (isListed)
            drawListedCards(*buffer, record, info, &isCanceled);
        else
            drawChunk(*buffer, record, start, end, info, nullptr, &isCanceled);
        if (isCanceled || bufferTask_.cancelFlag())
            return false;
    }
}

void UFemGraphicViewCompositor::drawChunk(UGLDrawingBuffer& buffer, const Record& record,
    quint64 start, quint64 end, const UFemGraphicDrawingInfo& drawingInfo,
    const quint64* cacheIndexes, bool* isCanceled) const
{
    const UFemGraphicViewDrawingCardValueDataCache& cache
        = controller_.drawingCacheManager().drawingCardValueDataCache();
    const UFemColorScale* scale = record.colorByValueColorScale.get();
    const _UGLColor invalidValueColor
        = scale != nullptr ? scale->invalidValueColor() : record.objectColor;
    bool isColorWritten = false;
    for (quint64 position = start; position < end; ++position) {
        const UFemDrawingCardValueDataStruct& entry = cache.cardValueData(
            cacheIndexes != nullptr ? cacheIndexes[position] : record.cardRangeLocation + position);
        if (!entry.isNodeDataValid || entry.card == nullptr)
            continue;
        const _UGLColor* color = nullptr;
        const _UFemCardValueArraySize* size = nullptr;
        const double* values = nullptr;
        if (record.doesDrawWithColor) {
            if (entry.colorValueStatus == UFemDrawingCardValueDataStruct::ValueValid) {
                size = &entry.colorValueArraySize;
                values = entry.colorValues;
            } else {
                color = entry.colorValueStatus == UFemDrawingCardValueDataStruct::GettingValueFailed
                    ? &invalidValueColor
                    : &record.objectColor;
            }
        } else if (!isColorWritten) {
            buffer.setCurrentWriteObjectColor(&record.objectColor, isCanceled);
        }
        if (bufferTask_.doesDrawForSelectMode()) {
            buffer.setCurrentWriteObjectName(
                record.cardNameStartNoForSelectMode + position, isCanceled);
            if (!entry.card->isSelectDrawingViewIndependent())
                isSelectDrawingViewDependent_.at(record.cardTypeIndex).store(true);
        }
        UErrorPtr error;
        isColorWritten = entry.card->drawOpenGLToDrawingBuffer(&buffer, entry.nodeTable, color,
            size, values, record.doesDrawWithColor ? scale : nullptr, &drawingInfo, &error);
        if (*isCanceled)
            return;
    }
}

// A listed record (the selection) is drawn by one worker, batch by batch as its producer
// publishes the list; the wait also ends when this task is canceled. Closed solids are drawn
// once the list is whole, leaving out the faces they share: a band over a block of solids would
// otherwise draw every face inside it.
void UFemGraphicViewCompositor::drawListedCards(UGLDrawingBuffer& buffer, const Record& record,
    const UFemGraphicDrawingInfo& drawingInfo, bool* isCanceled) const
{
    UFemGraphicViewDrawingCardIndexList& list = *record.cardIndexListPtr;
    std::vector<quint64> batch;
    std::vector<quint64> solids;
    UGLSharedFaceTable sharedFaces;
    quint64 consumed = 0;
    for (;;) {
        bool isFinished = false;
        {
            std::unique_lock lock(list.lockCondition());
            while (list.cardIndexCount() == consumed && !list.isValid()) {
                if (bufferTask_.cancelFlag()) {
                    *isCanceled = true;
                    return;
                }
                list.lockCondition().waitUntil(std::chrono::steady_clock::now() + listWaitStep);
            }
            batch.assign(
                list.cardIndexTable() + consumed, list.cardIndexTable() + list.cardIndexCount());
            isFinished = list.isValid();
        }
        consumed += batch.size();
        setSolidsAside(batch, solids, sharedFaces);
        drawChunk(buffer, record, 0, batch.size(), drawingInfo, batch.data(), isCanceled);
        if (*isCanceled)
            return;
        if (isFinished)
            break;
    }
    UFemGraphicDrawingInfo solidInfo = drawingInfo;
    solidInfo.setSharedFaceTable(&sharedFaces);
    drawChunk(buffer, record, 0, solids.size(), solidInfo, solids.data(), isCanceled);
}

// Moves the batch's closed solids to `solids`, their faces into `sharedFaces`.
void UFemGraphicViewCompositor::setSolidsAside(std::vector<quint64>& batch,
    std::vector<quint64>& solids, UGLSharedFaceTable& sharedFaces) const
{
    const UFemGraphicViewDrawingCardValueDataCache& cache
        = controller_.drawingCacheManager().drawingCardValueDataCache();
    const auto isSolid = [&](quint64 cacheIndex) {
        const UFemDrawingCardValueDataStruct& entry = cache.cardValueData(cacheIndex);
        if (!entry.isNodeDataValid || entry.card == nullptr
            || !entry.card->addSolidFacesToSharedFaceTable(&sharedFaces, entry.nodeTable))
            return false;
        solids.push_back(cacheIndex);
        return true;
    };
    batch.erase(std::remove_if(batch.begin(), batch.end(), isSolid), batch.end());
}

// Runs of records of one layer replay into one raw image; a layer that drew nothing is marked
// finished without an image.
bool UFemGraphicViewCompositor::runLayerImageDrawingWithThreadContext(
    UFemLayerImageDrawingThreadContext& threadContext)
{
    const UFemLayerImageDrawingThreadTaskContext::OpenGLContextRecord& context
        = layerTask_.openGLContextRecord(threadContext.openGLContextIndex());
    UOpenGLManager& manager = *context.openGLManager;
    UGLRootDrawingBuffer& root = *context.rootDrawingBuffer;
    const UFemGraphicViewTargetRecordIndexes& indexes = context.targetRecordIndexes;
    const UFemOpenGLCurrentContext current(manager);
    // Without an error the frame would take the failure for a cancel and wait forever.
    if (!current.isCurrent()) {
        layerTask_.addCalculationError(UFemGraphicDrawingError_withDescription(
            QStringLiteral("The OpenGL context could not be made current.")));
        return false;
    }
    manager.updateOpenGL();
    quint64 width = 0;
    quint64 height = 0;
    quint64 rowWidth = 0;
    const quint64 byteCount = manager.getPixelSize(&width, &height, &rowWidth);
    UOpenGLSetClearColor({ 0, 0, 0, 0 });
    quint64 lastClearedLayer = noIndex;
    bool isCanceled = false;
    for (quint64 first = 0; first < indexes.count;) {
        const quint64 layer = records_.at(indexes.table.at(first)).layerIndex;
        quint64 past = first;
        std::vector<quint64> run;
        while (past < indexes.count && records_.at(indexes.table.at(past)).layerIndex == layer)
            run.push_back(indexes.table.at(past++));
        first = past;
        bool clearsDepth = layers_.at(layer).doesClearDepthBuffer || lastClearedLayer == noIndex;
        for (quint64 between = lastClearedLayer + 1; lastClearedLayer != noIndex && between < layer;
             ++between)
            clearsDepth = clearsDepth || layers_.at(between).doesClearDepthBuffer;
        std::vector<UFemGraphicCocoaDrawObject> drawObjects;
        bool didDraw = false;
        for (const quint64 record : run) {
            if (!root.openReadStageWithStageIdentifier(record, &isCanceled)) {
                if (isCanceled)
                    return false;
                continue;
            }
            if (!didDraw) {
                const UFemDrawingLayerImageInfoRecord& info = layers_.at(layer);
                UOpenGLSetLightingEnabled(info.doesEnableLighting);
                root.setReadLightingEnabled(info.doesEnableLighting);
                glShadeModel(info.doesEnableSmoothColor ? GL_SMOOTH : GL_FLAT);
                if (info.doesEnableDepthTest)
                    glEnable(GL_DEPTH_TEST);
                else
                    glDisable(GL_DEPTH_TEST);
                glClear(GL_COLOR_BUFFER_BIT | (clearsDepth ? GL_DEPTH_BUFFER_BIT : 0));
                lastClearedLayer = layer;
                didDraw = true;
            }
            // Element faces lie behind their edges and the node markers on them.
            UOpenGLSetFaceOffsetEnabled(
                record == Record::Element || record == Record::UndeformedElement);
            if (!root.drawOpenGLUntilNextStage_returnsWhenEmpty(
                    nullptr, &drawObjects, &isCanceled)) {
                if (isCanceled)
                    return false;
                UFemRaiseProgramError(QStringLiteral(
                    "Returned from drawOpenGLUntilNextStage... with aDidStageDone==NO."));
            }
            root.closeCurrentReadStage_isCanceled(&isCanceled);
        }
        RawImage& raw = layerTask_.layerImageDataRecord(layer);
        if (didDraw) {
            glFinish();
            if (raw.imageData.size() < byteCount)
                raw.imageData.assign(
                    byteCount * rawImageGrowthNumerator / rawImageGrowthDenominator, 0);
            manager.getStandardizedPixelSizeRawImage(raw.imageData.data());
        }
        std::lock_guard lock(layerTask_);
        raw.validness = didDraw ? RawImage::ImageReadBack : RawImage::FinishedWithoutImage;
        raw.cocoaDrawObjectArray = std::move(drawObjects);
        layerTask_.broadcast();
    }
    return true;
}
