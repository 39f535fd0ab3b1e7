#pragma once

#include "foundation/UFemNotFound.h"
#include "foundation/buffers/UReadWriteBuffer.h"
#include "graphics/drawingbuffer/UGLDrawingBufferCommand.h"
#include "graphics/drawingbuffer/UGLDrawingBufferElement.h"
#include "graphics/drawingbuffer/UGLDrawingBufferReading.h"
#include "graphics/drawingbuffer/UGLDrawingBufferWriting.h"
#include "graphics/drawingbuffer/UGLDrawingTypes.h"

#include <array>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

// Per block: the index entries its commands 9 to 11 point into.
struct UGLDrawingBufferVertexIndexTableRecord {
    quint32* vertexIndexTable = nullptr;
    quint64 vertexIndexCount = 0;
};

// Per block: its edge quads, replayed after the block's main stream.
struct UGLEdgeDrawingBufferRecord {
    _UGLDrawingBufferElement* edgeDrawingBuffer = nullptr;
    quint64 edgeDrawingBufferElementCount = 0;
};

// The command stream one drawing thread writes a frame into and one layer-image thread replays.
// Blocks pass from writer to reader stage by stage through the read-write buffer. Consecutive
// vertex arrays of one kind grow one command, so that the replay issues few OpenGL calls; every
// block starts by repeating the current object name and colour (and edge colour), so that any
// block replays correctly by itself. All tables are allocated once and reused for every frame.
//
// Threads: the writer state is the writing thread's alone; the side tables of a block are read
// only after the block was handed over; the draw objects are exchanged under their own lock; the
// settings (edges, select mode, lighting) are changed between frames only.
class UGLDrawingBuffer : public UReadWriteBuffer,
                         public UGLDrawingBufferWriting,
                         public UGLDrawingBufferReading {
public:
    static constexpr quint64 defaultBufferCount = 24;
    static constexpr quint64 defaultBufferElementCapacity = 32768;
    static constexpr quint64 vertexIndexTableCapacity = 11008;
    // What the writer lets a block's index table and edge buffer fill to.
    static constexpr quint64 vertexIndexTableLimit = 11007;
    static constexpr quint64 edgeDrawingBufferCapacity = 40000;
    static constexpr quint64 edgeDrawingBufferLimit = 39999;
    // Room a new block of a stage keeps for the repeated object name and colour.
    static constexpr quint64 blockPrologueCellCount = 14;
    static constexpr quint64 cocoaDrawObjectArrayDefaultCapacity = 20;

    explicit UGLDrawingBuffer(UGLOpenGLVersion renderingOpenGLVersion);
    // `bufferElementCapacity` must hold the block prologue and one command header.
    UGLDrawingBuffer(quint64 bufferCount, quint64 bufferElementCapacity,
        UGLOpenGLVersion renderingOpenGLVersion);
    ~UGLDrawingBuffer() override;

    UGLOpenGLVersion renderingOpenGLVersion() const { return renderingOpenGLVersion_; }

    // Writing (UGLDrawingBufferWriting).
    quint64 currentWriteObjectName() const override { return currentWriteObjectName_; }
    void setCurrentWriteObjectName(quint64 name, bool* isCanceled) override;
    void* writeBufferPtrWithElementCount(
        quint64 elementCount, bool doesIncrement, bool* isCanceled) override;
    void setCurrentWriteObjectColor(const _UGLColor* color, bool* isCanceled) override;
    bool _getCurrentWriteVertexArrayCommand(quint32* command, quint64* polygonMode,
        bool* colorTableEnabled, bool* normalTableEnabled) const override;
    void writeDrawVertexArrayWithPolygonMode(quint64 polygonMode, const double* vertexTable,
        const _UGLColor* colorTable, const double* normalTable, quint64 vertexCount,
        bool* isCanceled) override;
    void writeDrawVertexArrayByIndexArrayWithPolygonMode(quint64 polygonMode,
        const quint64* vertexIndexTable, quint64 vertexIndexCount, const double* vertexTable,
        const _UGLColor* colorTable, const double* normalTable, quint64 vertexCount,
        bool* isCanceled) override;
    void writeDrawVertexArrayByIndexArrayExpandingToNormalTableWithPolygonMode(quint64 polygonMode,
        const quint64* vertexIndexTable, quint64 vertexIndexCount, const double* vertexTable,
        const _UGLColor* colorTable, const double* normalTable_expanded,
        quint64 vertexAndColorTableCount, bool* isCanceled) override;
    void writeCocoaDrawingObjectWithArray(
        const std::vector<UFemGraphicCocoaDrawObject>& array, bool* isCanceled) override;
    void setCurrentWriteEdgeColor(const _UGLColor* color, bool* isCanceled) override;
    void writeEdgeLineWithEdgeQuadVertexTable(
        const double* edgeQuadVertexTable, quint64 edgeLineCount, bool* isCanceled) override;
    void writeEdgeLineWithEdgeQuadStripVertexTable(
        const double* edgeQuadStripVertexTable, quint64 edgeLineCount, bool* isCanceled) override;

    // Base operations that also end the open vertex-array command.
    void closeCurrentWriteStage_isCanceled(bool* isCanceled) override;
    void incrementWriteElementCount(quint64 elementCount, bool* isCanceled) override;
    // The base operations, keeping the open command open: the vertex-array writers extend it.
    void* _super_writeBufferPtrWithElementCount(
        quint64 elementCount, bool doesIncrement, bool* isCanceled);
    void _super_incrementWriteElementCount(quint64 elementCount, bool* isCanceled);

    // Also forgets every stage's draw objects and turns select mode and read lighting off.
    quint64 resetBufferWithChildBufferCount(quint64 childBufferCount) override;

    // Settings, changed between frames (UGLDrawingBufferReading).
    bool isEdgeDrawingBufferEnabled() const override { return isEdgeDrawingBufferEnabled_; }
    // The edge buffers are allocated on the first enable and kept.
    void setEdgeDrawingBufferEnabled(bool flag) override;
    // Select mode (picking): the writer keeps positions only.
    bool doesDrawForSelectMode() const { return doesDrawForSelectMode_; }
    void setDoesDrawForSelectMode(bool flag) override { doesDrawForSelectMode_ = flag; }
    // Kept for the reader, which must know whether OpenGL lighting is on.
    bool isReadLightingEnabled() const { return isReadLightingEnabled_; }
    void setReadLightingEnabled(bool flag) override { isReadLightingEnabled_ = flag; }

    // Replaying a stage into the current OpenGL context (UGLDrawingBufferReading).
    bool drawOpenGLUntilNextStage_returnsWhenEmpty(bool* returnsWhenEmpty,
        std::vector<UFemGraphicCocoaDrawObject>* cocoaDrawObjectArray, bool* isCanceled) override;

    // Reading side tables of a handed-over block.
    const quint32* vertexIndexTableWithBufferIndex(quint64 bufferIndex) const;
    quint64 vertexIndexCountWithBufferIndex(quint64 bufferIndex) const;
    // False with nulls when edges are off or the block has no edge cells.
    bool getEdgeDrawingBufferStartPtr(const _UGLDrawingBufferElement** startPtr,
        const _UGLDrawingBufferElement** endPtr, quint64 bufferIndex) const;
    // Moves the stage's draw objects, in writing order, behind those in `array`; true when it
    // moved any. False, with the flag set, once the buffer is cancelled.
    bool getCocoaDrawingObjectsToCocoaDrawObjectArray(
        std::vector<UFemGraphicCocoaDrawObject>* array, quint64 readStageIdentifier,
        bool* isCanceled);

protected:
    void didMoveToNextWriteBufferAtBufferIndex(quint64 bufferIndex, bool forNewStage) override;

private:
    struct FreeDeleter {
        void operator()(void* pointer) const { std::free(pointer); }
    };
    struct VertexArrayFlags {
        bool hasColor;
        bool hasNormal;
        quint64 stride;
    };

    static void setCanceledFlag(bool* isCanceled)
    {
        if (isCanceled != nullptr)
            *isCanceled = true;
    }
    VertexArrayFlags vertexArrayFlags(const _UGLColor* colorTable, const double* normalTable);
    // Room with the base's capacity check repeated after a block change, since the new block
    // starts with the repeated name and colour.
    _UGLDrawingBufferElement* roomForCells(quint64 elementCount, bool* isCanceled);
    void closeCurrentWriteVertexArrayCommand();
    // Makes room for `indexRoom` index entries (0: none needed), then extends the open command
    // when it is of this kind, else writes a new header; answers where the records go and the
    // base of the new indices, or null when cancelled.
    _UGLDrawingBufferElement* openVertexArrayCommand(quint32 command, quint64 polygonMode,
        const VertexArrayFlags& flags, quint64 recordCount, quint64 indexRoom, quint32* indexBase,
        bool* isCanceled);
    // Moves on when the block's index table cannot take `entryCount` more; false when cancelled.
    bool ensureVertexIndexRoom(quint64 entryCount, bool* isCanceled);
    void appendVertexIndex(quint32 entry);
    void appendVertexIndexes(
        const quint64* vertexIndexTable, quint64 vertexIndexCount, quint32 base);
    // Commands 8 and 9; the positions and colours of record i are those of vertex
    // vertexIndexTable[i] (of vertex i without an index table), its normal is normal i.
    void writePlainVertexArray(quint64 polygonMode, const quint64* vertexIndexTable,
        const double* vertexTable, const _UGLColor* colorTable, const double* normalTable,
        quint64 recordCount, bool* isCanceled);
    void writeBlockPrologue(quint64 bufferIndex);
    void writeEdgeBlockPrologue();
    void writeEdgeLines(
        const double* cornerTable, quint64 doublesPerLine, quint64 edgeLineCount, bool* isCanceled);
    _UGLDrawingBufferElement* currentEdgeCells() const;
    void requireOpenWriteStage() const;

    const UGLOpenGLVersion renderingOpenGLVersion_;

    // Writer state.
    quint64 currentWriteObjectName_ = UGLNoObjectName;
    bool isCurrentWriteObjectColorValid_ = false;
    _UGLColor currentWriteObjectColor_;
    _UGLDrawingBufferElement* currentWriteVertexArrayCommandHeaderElementPtr_ = nullptr;
    quint32 currentWriteVertexArrayCommand_ = UGLDrawingBufferCommandNone;
    quint64 currentWriteVertexArrayCommandPolygonMode_ = UGLNoPolygonMode;
    UGLDrawingBufferVertexIndexTableRecord* currentWriteVertexIndexTableRecord_ = nullptr;
    std::array<UGLDrawingBufferVertexIndexTableRecord, maximumBufferCount>
        vertexIndexTableRecordTable_ {};
    std::vector<std::unique_ptr<quint32, FreeDeleter>> vertexIndexTables_;

    bool isEdgeDrawingBufferEnabled_ = false;
    bool isCurrentWriteEdgeColorValid_ = false;
    _UGLColor currentWriteEdgeColor_;
    _UGLDrawingBufferElement* currentWriteEdgeQuadVertexCountPtr_ = nullptr;
    UGLEdgeDrawingBufferRecord* currentWriteEdgeDrawingBufferRecord_ = nullptr;
    std::array<UGLEdgeDrawingBufferRecord, maximumBufferCount> edgeDrawingBufferRecordTable_ {};
    std::vector<std::unique_ptr<_UGLDrawingBufferElement, FreeDeleter>> edgeDrawingBuffers_;

    // Shared by writer and reader.
    std::mutex cocoaDrawObjectArrayLock_;
    std::unordered_map<quint64, std::vector<UFemGraphicCocoaDrawObject>>
        cocoaDrawObjectArrayDictionary_;
    quint64 currentReadCocoaDrawingObjectStageIdentifier_ = UFemNotFound;
    std::vector<UFemGraphicCocoaDrawObject>* currentReadCocoaDrawObjectArray_ = nullptr;
    quint64 currentWriteCocoaDrawingObjectStageIdentifier_ = UFemNotFound;
    std::vector<UFemGraphicCocoaDrawObject>* currentWriteCocoaDrawObjectArray_ = nullptr;

    bool doesDrawForSelectMode_ = false;
    bool isReadLightingEnabled_ = false;
};
