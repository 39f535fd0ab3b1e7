#include "graphicview/UFemGraphicViewCompositor.h"

#include "foundation/errors/UException.h"
#include "graphics/drawingbuffer/UGLRootDrawingBuffer.h"
#include "graphics/opengl/UOpenGLImageFunctions.h"
#include "graphicview/UFemGraphicViewController.h"
#include "graphicview/UFemOpenGLCurrentContext.h"
#include "graphicview/tasks/UFemLayerImageDrawingThreadContext.h"
#include "graphicview/tasks/UFemSelectBufferHitObjectWritingThreadTaskContext.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

using HitWriter = UFemSelectBufferHitObjectWritingThreadTaskContext;
using Record = UFemDrawingCardTypeInfoRecord;

// Leaves the pass's state on every way out: no restriction, no hit writer, no geometries.
class SelectPassGuard {
public:
    SelectPassGuard(UFemSelectBufferHitObjectWritingThreadTaskContext*& hitWriter,
        UFemSelectBufferHitObjectWritingThreadTaskContext& writer,
        UFemGraphicViewCompositor::SelectGeometries*& geometries,
        UFemGraphicViewCompositor::SelectGeometries& passGeometries, std::mutex& cancelMutex,
        std::vector<UGLRootDrawingBuffer*>& liveRoots)
        : hitWriter_(hitWriter)
        , geometries_(geometries)
        , cancelMutex_(cancelMutex)
        , liveRoots_(liveRoots)
    {
        hitWriter_ = &writer;
        geometries_ = &passGeometries;
    }
    ~SelectPassGuard()
    {
        {
            std::lock_guard lock(cancelMutex_);
            liveRoots_.clear();
        }
        if (manager != nullptr)
            manager->clearRestrictiveDrawRect();
        hitWriter_ = nullptr;
        geometries_ = nullptr;
    }
    SelectPassGuard(const SelectPassGuard&) = delete;
    SelectPassGuard& operator=(const SelectPassGuard&) = delete;
    UOpenGLManager* manager = nullptr;

private:
    UFemSelectBufferHitObjectWritingThreadTaskContext*& hitWriter_;
    UFemGraphicViewCompositor::SelectGeometries*& geometries_;
    std::mutex& cancelMutex_;
    std::vector<UGLRootDrawingBuffer*>& liveRoots_;
};

} // namespace

// The pass draws in the controller's second context only, which is its first context record
// here: that one is restricted to the pick rectangle.
bool UFemGraphicViewCompositor::composeSelectMode(const UGLDrawRectInfo& drawRectInfo,
    quint64 threadCount, const QRectF& pickViewRect, quint64 pickMask,
    UFemSelectBufferHitObjectWritingThreadTaskContext& hitWriter, SelectGeometries& geometries)
{
    UThreadTaskContext::clearAll_shouldNotRunning_withThreadTaskContextList(
        { &bufferTask_, &layerTask_ });
    bool canceled = false;
    if (!controller_.drawingCacheManager().waitCardValueDataCalcThreadFinished_isCanceled(&canceled)
        || canceled)
        return false;
    SelectPassGuard guard(
        hitWriter_, hitWriter, selectGeometries_, geometries, selectCancelMutex_, liveSelectRoots_);
    pickViewRect_ = pickViewRect;
    copyRecordTables();
    std::array<bool, UFemGraphicViewCardTypeRecordCount> drawn {};
    for (quint64 record = 0; record < Record::selectableRecordCount; ++record)
        drawn.at(record) = records_.at(record).doesCardTypeDraw;
    const UFemGraphicViewRecordAssignment assignment = UFemGraphicViewRecordAssignment::assign(
        drawn, UGLDrawingOutputTypeSelectMode, false, false, pickMask);
    if (assignment.contextCount == 0)
        return true;
    const quint64 childCount = std::clamp<quint64>(threadCount, 1, maximumChildBufferCount);
    for (std::atomic<bool>& isDependent : isSelectDrawingViewDependent_)
        isDependent.store(false);
    if (!startWorkers(assignment, drawRectInfo, childCount, &canceled)) {
        failWorkers();
        return false;
    }
    // From here a canceller reaches the workers; one that came before shows on the writer.
    bool isCanceledBefore = false;
    {
        std::lock_guard lock(selectCancelMutex_);
        for (quint64 k = 0; k < assignment.contextCount; ++k)
            liveSelectRoots_.push_back(controller_.rootDrawingBufferWithOpenGLContextIndex(
                assignment.contextTargets.at(k)));
        isCanceledBefore = hitWriter.cancelFlag();
    }
    if (isCanceledBefore) {
        failWorkers();
        return false;
    }
    guard.manager
        = controller_.openGLManagerWithOpenGLContextIndex(assignment.contextTargets.at(0));
    guard.manager->setRestrictiveDrawRect(pickViewRect);
    const bool didDraw = layerTask_.runTaskByCurrentThread();
    if (!didDraw || hitWriter.cancelFlag()) {
        failWorkers();
        return false;
    }
    return UThreadTaskContext::waitAllThreadDoneWithThreadTaskContextList(
        { &bufferTask_, &layerTask_ });
}

bool UFemGraphicViewCompositor::runLayerImageDrawingWithThreadContext_selectMode(
    UFemLayerImageDrawingThreadContext& threadContext)
{
    const UFemLayerImageDrawingThreadTaskContext::OpenGLContextRecord& context
        = layerTask_.openGLContextRecord(threadContext.openGLContextIndex());
    const UFemGraphicViewTargetRecordIndexes& indexes = context.targetRecordIndexes;
    if (indexes.count == 0 || hitWriter_ == nullptr) {
        UOpenGLManager::clearCurrentContext();
        return true;
    }
    UOpenGLManager& manager = *context.openGLManager;
    const UFemOpenGLCurrentContext current(manager);
    if (!current.isCurrent())
        return false;
    manager.updateOpenGL();
    UOpenGLSetLightingEnabled(false);
    context.rootDrawingBuffer->setReadLightingEnabled(false);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    // The screen layers of this context may have left faces pushed back.
    UOpenGLSetFaceOffsetEnabled(false);
    quint64 hitCount = 0;
    for (quint64 position = 0; position < indexes.count; ++position)
        if (!selectRecord(*context.rootDrawingBuffer, indexes.table.at(position), &hitCount))
            return false;
    return true;
}

// Selection mode over one record from its geometry, recorded first from the buffer while the
// controller holds it invalid. An overflowing buffer grows, keeping the hits published so far,
// and the record is selected again, so that the hit count only grows.
bool UFemGraphicViewCompositor::selectRecord(
    UGLRootDrawingBuffer& root, quint64 record, quint64* hitCount)
{
    UGLSelectGeometry& geometry = selectGeometries_->at(record);
    if (!controller_.isSelectModeDisplayListValid(record)) {
        bool isCanceled = false;
        geometry.clear();
        if (root.openReadStageWithStageIdentifier(record, &isCanceled)) {
            if (!root.recordSelectGeometryUntilNextStage(geometry, &isCanceled)) {
                // Workers stopped by a cancel leave their stages short.
                if (isCanceled || hitWriter_->cancelFlag())
                    return false;
                UFemRaiseProgramError(QStringLiteral(
                    "Returned from drawOpenGLUntilNextStage... with didStageDone==NO."));
            }
            root.closeCurrentReadStage_isCanceled(&isCanceled);
        }
        if (isCanceled)
            return false;
        if (selectGeometryBuiltObserver_)
            selectGeometryBuiltObserver_(record);
        // A canceled pass may have drawn for a camera that has changed since, or drawn short.
        if (hitWriter_->cancelFlag())
            return false;
        controller_.setSelectModeDisplayListValid(
            record, !isSelectDrawingViewDependent_.at(record).load());
    }
    // A band takes every hit and no depth: runs inside it hit without being drawn.
    std::vector<GLuint> insideNames;
    std::vector<GLuint>* const insideNamesIfNoDepth
        = hitWriter_->isHitDepthNeeded() ? nullptr : &insideNames;
    for (;;) {
        if (hitWriter_->cancelFlag())
            return false;
        insideNames.clear();
        {
            std::lock_guard lock(*hitWriter_);
            const quint64 used = *hitCount * HitWriter::hitRecordWordCount;
            glSelectBuffer(GLsizei(hitWriter_->selectionBufferCapacity_GLUInt() - used),
                hitWriter_->selectionBufferPtr() + used);
        }
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(0);
        geometry.drawSelectMode(insideNamesIfNoDepth);
        const GLint written = glRenderMode(GL_RENDER);
        std::lock_guard lock(*hitWriter_);
        if (written < 0) {
            hitWriter_->growSelectionBuffer_whileLocked();
            continue;
        }
        *hitCount = hitWriter_->appendHitsWithoutDepth_whileLocked(
            *hitCount + quint64(written), insideNames);
        hitWriter_->publishHitObjectCount_whileLocked(*hitCount);
        return true;
    }
}

void UFemGraphicViewCompositor::requestSelectModeCancel()
{
    std::lock_guard lock(selectCancelMutex_);
    if (liveSelectRoots_.empty())
        return;
    bufferTask_.requestCancel();
    layerTask_.requestCancel();
    for (UGLRootDrawingBuffer* root : liveSelectRoots_)
        root->requestCancel();
}
