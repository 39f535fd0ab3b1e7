#pragma once

#include "cardmodel/data/UFemCardSetManager.h"
#include "foundation/errors/UError.h"
#include "graphics/camera/UGLDrawRectInfo.h"
#include "graphics/drawingbuffer/UFemGraphicCocoaDrawObject.h"
#include "graphics/drawingbuffer/UFemGraphicDrawingInfo.h"
#include "graphics/drawingbuffer/UGLSelectGeometry.h"
#include "graphicview/UFemGraphicViewRecordAssignment.h"
#include "graphicview/caches/UFemDrawingCardTypeInfoRecord.h"
#include "graphicview/caches/UFemDrawingLayerImageInfoRecord.h"
#include "graphicview/tasks/UFemBufferDrawingThreadTaskContext.h"
#include "graphicview/tasks/UFemLayerImageDrawingThreadTaskContext.h"

#include <QImage>

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

class UFemGraphicViewController;
class UGLSharedFaceTable;
class UFemSelectBufferHitObjectWritingThreadTaskContext;

// Turns the model into one picture of the 3-D view: the buffer workers tessellate the card type
// records into the root drawing buffers of the two OpenGL contexts (256 cards at a time), one
// layer worker per context replays its buffer into raw layer images, and the main thread lays
// the layers over the background in record order. The layers below the selection form the base
// image, which a screen frame keeps for the next one.
class UFemGraphicViewCompositor final : public UFemBufferDrawingThreadTaskContext::Delegate,
                                        public UFemLayerImageDrawingThreadTaskContext::Delegate {
public:
    static constexpr quint64 cardChunkSize = 256;
    static constexpr quint64 maximumChildBufferCount = 4;

    // A screen compositor draws with the screen tasks, a picking one with the select-mode tasks.
    UFemGraphicViewCompositor(UFemGraphicViewController& controller,
        UFemBufferDrawingThreadTaskContext& bufferTask,
        UFemLayerImageDrawingThreadTaskContext& layerTask);

    // The picture at the info's pixel size (screen or print), its drawing errors added to
    // `errors`; a null image with *isCanceled set when the work was canceled or failed.
    // The selection layer draws `selectedCardSet`, and with `doesDrawRubberbandCard` the cards
    // the rubber band adds.
    QImage composeImage(const UGLDrawRectInfo& drawRectInfo, quint64 threadCount,
        const UFemCardSet& selectedCardSet, bool doesDrawRubberbandCard,
        std::vector<UErrorPtr>* errors, bool* isCanceled);

    using SelectGeometries
        = std::array<UGLSelectGeometry, UFemDrawingCardTypeInfoRecord::selectableRecordCount>;

    // One picking pass over `pickViewRect` (view points, y up) of the records in `pickMask`,
    // run on the calling thread; its hits land in the hit writer's buffer. A record's geometry
    // is tessellated into `geometries` while the controller holds it invalid, then drawn from
    // there. False when canceled or failed.
    bool composeSelectMode(const UGLDrawRectInfo& drawRectInfo, quint64 threadCount,
        const QRectF& pickViewRect, quint64 pickMask,
        UFemSelectBufferHitObjectWritingThreadTaskContext& hitWriter, SelectGeometries& geometries);
    // From the main thread, after the pass's hit writer was asked to cancel: once the pass's
    // workers run, they and the buffers its replay waits on are canceled (before, the pass sees
    // the writer's cancel itself). The pass then marks no geometry valid.
    void requestSelectModeCancel();
    // Called on the picking thread once a record's select geometry is built, before it is marked
    // valid (for tests); set only while no pass runs.
    void setSelectGeometryBuiltObserver(std::function<void(quint64 record)> observer)
    {
        selectGeometryBuiltObserver_ = std::move(observer);
    }

    // The per-frame drawing information of the records 0-4, 7 and 8; null when a settling of
    // the automatic values was canceled.
    std::optional<UFemGraphicDrawingInfo> drawingInfoWithDrawRectInfo(
        const UGLDrawRectInfo& drawRectInfo, bool* cancelFlag);

    // ---- Worker bodies
    bool runBufferDrawingWithThreadContext(UFemBufferDrawingThreadContext& threadContext) override;
    bool runLayerImageDrawingWithThreadContext(
        UFemLayerImageDrawingThreadContext& threadContext) override;
    // Each pickable record in select mode, from its select geometry.
    bool runLayerImageDrawingWithThreadContext_selectMode(
        UFemLayerImageDrawingThreadContext& threadContext) override;

private:
    struct LayerRun;

    bool startWorkers(const UFemGraphicViewRecordAssignment& assignment,
        const UGLDrawRectInfo& drawRectInfo, quint64 childCount, bool* isCanceled);
    void copyRecordTables();
    bool selectRecord(UGLRootDrawingBuffer& root, quint64 record, quint64* hitCount);
    bool compositeLayers(QImage& image, const UFemGraphicViewRecordAssignment& assignment,
        bool isBaseImageReused, const UGLDrawRectInfo& drawRectInfo);
    bool waitForLayer(quint64 layer);
    void closeBase(QImage& image, const UGLDrawRectInfo& drawRectInfo);
    void drawCocoaDrawObjects(QImage& image, double resolution) const;
    void drawColorScaleLegend(QImage& image, double resolution) const;
    void failWorkers();
    // Positions start..end of the record, or of `cacheIndexes` when given.
    void drawChunk(UGLDrawingBuffer& buffer, const UFemDrawingCardTypeInfoRecord& record,
        quint64 start, quint64 end, const UFemGraphicDrawingInfo& drawingInfo,
        const quint64* cacheIndexes, bool* isCanceled) const;
    void drawListedCards(UGLDrawingBuffer& buffer, const UFemDrawingCardTypeInfoRecord& record,
        const UFemGraphicDrawingInfo& drawingInfo, bool* isCanceled) const;
    void setSolidsAside(std::vector<quint64>& batch, std::vector<quint64>& solids,
        UGLSharedFaceTable& sharedFaces) const;
    void replayLayerRun(UOpenGLManager& manager, UGLRootDrawingBuffer& root,
        const std::vector<quint64>& records, quint64 layer, bool isFirstClear, bool clearsDepth,
        bool* isCanceled);

    UFemGraphicViewController& controller_;
    UFemBufferDrawingThreadTaskContext& bufferTask_;
    UFemLayerImageDrawingThreadTaskContext& layerTask_;
    // The frame's copies, read by the workers while they run.
    UFemDrawingCardTypeInfoRecordTable records_;
    UFemDrawingLayerImageInfoRecordTable layers_ {};
    std::array<UFemGraphicDrawingInfo, UFemGraphicViewCardTypeRecordCount> drawingInfos_;
    std::vector<UFemGraphicCocoaDrawObject> drawObjects_;
    // Set only during a picking pass.
    UFemSelectBufferHitObjectWritingThreadTaskContext* hitWriter_ = nullptr;
    SelectGeometries* selectGeometries_ = nullptr;
    // Per pickable record of a pass: whether a card drew in a way that depends on the camera.
    mutable std::array<std::atomic<bool>, UFemDrawingCardTypeInfoRecord::selectableRecordCount>
        isSelectDrawingViewDependent_ {};
    QRectF pickViewRect_;
    std::function<void(quint64 record)> selectGeometryBuiltObserver_;
    // The roots of the running select pass once its workers started, none before and after:
    // a canceller reaches them only then, never while the pass resets them.
    std::mutex selectCancelMutex_;
    std::vector<UGLRootDrawingBuffer*> liveSelectRoots_;
    bool isBaseClosed_ = false;
    bool doesDrawWithColor_ = false;
};
