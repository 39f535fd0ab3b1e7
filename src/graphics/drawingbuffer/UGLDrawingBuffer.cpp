#include "graphics/drawingbuffer/UGLDrawingBuffer.h"

#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "graphics/drawingbuffer/UGLDrawingBufferStageReplay.h"

#include <unistd.h>

#include <algorithm>

namespace {

template <typename Type> Type* newPageAlignedTable(quint64 count)
{
    const long pageSize = sysconf(_SC_PAGESIZE);
    void* table = nullptr;
    if (posix_memalign(&table, pageSize > 0 ? size_t(pageSize) : 4096, count * sizeof(Type)) != 0)
        UFemRaiseMemoryAllocationFailed();
    return static_cast<Type*>(table);
}

void writeColorCommand(_UGLDrawingBufferElement* cells, quint32 command, const _UGLColor& color)
{
    cells[0].setUnsignedValue(command);
    cells[1].setFloatValue(float(color.red));
    cells[2].setFloatValue(float(color.green));
    cells[3].setFloatValue(float(color.blue));
    cells[4].setFloatValue(float(color.alpha));
}

} // namespace

UGLDrawingBuffer::UGLDrawingBuffer(UGLOpenGLVersion renderingOpenGLVersion)
    : UGLDrawingBuffer(defaultBufferCount, defaultBufferElementCapacity, renderingOpenGLVersion)
{
}

UGLDrawingBuffer::UGLDrawingBuffer(
    quint64 bufferCount, quint64 bufferElementCapacity, UGLOpenGLVersion renderingOpenGLVersion)
    : UReadWriteBuffer(sizeof(_UGLDrawingBufferElement), bufferCount, bufferElementCapacity)
    , renderingOpenGLVersion_(renderingOpenGLVersion)
{
    if (bufferElementCapacity < blockPrologueCellCount + UGLVertexArrayHeaderCellCount)
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("Buffer size is out of range."), long(bufferElementCapacity));
    cocoaDrawObjectArrayDictionary_.reserve(cocoaDrawObjectArrayDefaultCapacity);
    vertexIndexTables_.reserve(bufferCount);
    for (quint64 index = 0; index < bufferCount; ++index) {
        vertexIndexTables_.emplace_back(newPageAlignedTable<quint32>(vertexIndexTableCapacity));
        vertexIndexTableRecordTable_[index].vertexIndexTable = vertexIndexTables_.back().get();
    }
}

UGLDrawingBuffer::~UGLDrawingBuffer() = default;

quint64 UGLDrawingBuffer::resetBufferWithChildBufferCount(quint64 childBufferCount)
{
    const quint64 count = UReadWriteBuffer::resetBufferWithChildBufferCount(childBufferCount);
    {
        std::lock_guard<std::mutex> lock(cocoaDrawObjectArrayLock_);
        cocoaDrawObjectArrayDictionary_.clear();
        currentReadCocoaDrawingObjectStageIdentifier_ = UFemNotFound;
        currentReadCocoaDrawObjectArray_ = nullptr;
        currentWriteCocoaDrawingObjectStageIdentifier_ = UFemNotFound;
        currentWriteCocoaDrawObjectArray_ = nullptr;
    }
    currentWriteVertexIndexTableRecord_ = nullptr;
    currentWriteEdgeDrawingBufferRecord_ = nullptr;
    closeCurrentWriteVertexArrayCommand();
    doesDrawForSelectMode_ = false;
    isReadLightingEnabled_ = false;
    return count;
}

void UGLDrawingBuffer::setEdgeDrawingBufferEnabled(bool flag)
{
    if (flag && edgeDrawingBuffers_.empty()) {
        edgeDrawingBuffers_.reserve(bufferCount());
        for (quint64 index = 0; index < bufferCount(); ++index) {
            edgeDrawingBuffers_.emplace_back(
                newPageAlignedTable<_UGLDrawingBufferElement>(edgeDrawingBufferCapacity));
            edgeDrawingBufferRecordTable_[index].edgeDrawingBuffer
                = edgeDrawingBuffers_.back().get();
        }
    }
    isEdgeDrawingBufferEnabled_ = flag;
}

// Block and stage boundaries -------------------------------------------------------------------

// Runs on the writing thread, with the base's lock held, whenever a block becomes the write block.
void UGLDrawingBuffer::didMoveToNextWriteBufferAtBufferIndex(quint64 bufferIndex, bool forNewStage)
{
    UReadWriteBuffer::didMoveToNextWriteBufferAtBufferIndex(bufferIndex, forNewStage);
    currentWriteVertexIndexTableRecord_ = &vertexIndexTableRecordTable_[bufferIndex];
    currentWriteVertexIndexTableRecord_->vertexIndexCount = 0;
    currentWriteEdgeDrawingBufferRecord_ = &edgeDrawingBufferRecordTable_[bufferIndex];
    if (forNewStage) {
        currentWriteObjectName_ = UGLNoObjectName;
        isCurrentWriteObjectColorValid_ = false;
    } else {
        writeBlockPrologue(bufferIndex);
    }
    closeCurrentWriteVertexArrayCommand();
    if (!isEdgeDrawingBufferEnabled_)
        return;
    currentWriteEdgeDrawingBufferRecord_->edgeDrawingBufferElementCount = 0;
    currentWriteEdgeQuadVertexCountPtr_ = nullptr;
    if (forNewStage)
        isCurrentWriteEdgeColorValid_ = false;
    else if (isCurrentWriteEdgeColorValid_)
        writeEdgeBlockPrologue();
}

void UGLDrawingBuffer::writeBlockPrologue(quint64 bufferIndex)
{
    auto* cells = reinterpret_cast<_UGLDrawingBufferElement*>(bufferAtIndex(bufferIndex));
    quint64 written = 0;
    if (currentWriteObjectName_ != UGLNoObjectName) {
        cells[0].setUnsignedValue(UGLDrawingBufferCommandObjectName);
        cells[1].setUnsignedValue(quint32(currentWriteObjectName_));
        written += UGLDrawingBufferObjectNameCellCount;
    }
    if (isCurrentWriteObjectColorValid_) {
        writeColorCommand(
            cells + written, UGLDrawingBufferCommandObjectColor, currentWriteObjectColor_);
        written += UGLDrawingBufferColorCellCount;
    }
    if (written != 0)
        UReadWriteBuffer::incrementWriteElementCount(written, nullptr);
}

void UGLDrawingBuffer::writeEdgeBlockPrologue()
{
    UGLEdgeDrawingBufferRecord& record = *currentWriteEdgeDrawingBufferRecord_;
    _UGLDrawingBufferElement* cells
        = record.edgeDrawingBuffer + record.edgeDrawingBufferElementCount;
    writeColorCommand(cells, UGLDrawingBufferCommandEdgeColor, currentWriteEdgeColor_);
    cells[5].setUnsignedValue(UGLDrawingBufferCommandEdgeQuads);
    cells[6].setUnsignedValue(0);
    currentWriteEdgeQuadVertexCountPtr_ = &cells[6];
    record.edgeDrawingBufferElementCount
        += UGLDrawingBufferColorCellCount + UGLDrawingBufferEdgeQuadsHeaderCellCount;
}

void UGLDrawingBuffer::closeCurrentWriteStage_isCanceled(bool* isCanceled)
{
    bool canceled = false;
    UReadWriteBuffer::closeCurrentWriteStage_isCanceled(&canceled);
    if (canceled)
        return setCanceledFlag(isCanceled);
    closeCurrentWriteVertexArrayCommand();
    currentWriteEdgeQuadVertexCountPtr_ = nullptr;
    // The closed stage's last block now belongs to the reader.
    currentWriteVertexIndexTableRecord_ = nullptr;
    currentWriteEdgeDrawingBufferRecord_ = nullptr;
}

void UGLDrawingBuffer::requireOpenWriteStage() const
{
    if (currentWriteVertexIndexTableRecord_ == nullptr)
        UFemRaiseProgramError(QStringLiteral("Write stage is not open."));
}

// Raw writing ----------------------------------------------------------------------------------

void UGLDrawingBuffer::closeCurrentWriteVertexArrayCommand()
{
    currentWriteVertexArrayCommandHeaderElementPtr_ = nullptr;
    currentWriteVertexArrayCommand_ = UGLDrawingBufferCommandNone;
    currentWriteVertexArrayCommandPolygonMode_ = UGLNoPolygonMode;
}

_UGLDrawingBufferElement* UGLDrawingBuffer::roomForCells(quint64 elementCount, bool* isCanceled)
{
    void* room = UReadWriteBuffer::writeBufferPtrWithElementCount(elementCount, false, isCanceled);
    if (room == nullptr)
        return nullptr;
    // The base checks the room before it moves on; a new block of a stage has lost the room its
    // repeated name and colour took.
    if (elementCount > currentWriteBufferSpaceElementCount_isCanceled(nullptr)) {
        if (this->isCanceled()) {
            setCanceledFlag(isCanceled);
            return nullptr;
        }
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("ElementCount is bigger than bufferElementCapacity. (RWBuffer)"),
            long(elementCount));
    }
    return static_cast<_UGLDrawingBufferElement*>(room);
}

void* UGLDrawingBuffer::_super_writeBufferPtrWithElementCount(
    quint64 elementCount, bool doesIncrement, bool* isCanceled)
{
    _UGLDrawingBufferElement* room = roomForCells(elementCount, isCanceled);
    if (room != nullptr && doesIncrement)
        UReadWriteBuffer::incrementWriteElementCount(elementCount, isCanceled);
    return room;
}

void UGLDrawingBuffer::_super_incrementWriteElementCount(quint64 elementCount, bool* isCanceled)
{
    UReadWriteBuffer::incrementWriteElementCount(elementCount, isCanceled);
}

void* UGLDrawingBuffer::writeBufferPtrWithElementCount(
    quint64 elementCount, bool doesIncrement, bool* isCanceled)
{
    void* room = _super_writeBufferPtrWithElementCount(elementCount, doesIncrement, isCanceled);
    if (doesIncrement)
        closeCurrentWriteVertexArrayCommand();
    return room;
}

void UGLDrawingBuffer::incrementWriteElementCount(quint64 elementCount, bool* isCanceled)
{
    UReadWriteBuffer::incrementWriteElementCount(elementCount, isCanceled);
    if (elementCount != 0)
        closeCurrentWriteVertexArrayCommand();
}

// Object name and colour -----------------------------------------------------------------------

void UGLDrawingBuffer::setCurrentWriteObjectName(quint64 name, bool* isCanceled)
{
    if (name != UGLNoObjectName) {
        auto* cells = static_cast<_UGLDrawingBufferElement*>(
            writeBufferPtrWithElementCount(UGLDrawingBufferObjectNameCellCount, true, isCanceled));
        if (cells != nullptr) {
            cells[0].setUnsignedValue(UGLDrawingBufferCommandObjectName);
            cells[1].setUnsignedValue(quint32(name));
        }
    }
    currentWriteObjectName_ = name;
}

void UGLDrawingBuffer::setCurrentWriteObjectColor(const _UGLColor* color, bool* isCanceled)
{
    if (this->isCanceled())
        return setCanceledFlag(isCanceled);
    if (isCurrentWriteObjectColorValid_ && currentWriteObjectColor_ == *color)
        return;
    bool canceled = false;
    auto* cells = static_cast<_UGLDrawingBufferElement*>(
        writeBufferPtrWithElementCount(UGLDrawingBufferColorCellCount, true, &canceled));
    if (canceled)
        return setCanceledFlag(isCanceled);
    writeColorCommand(cells, UGLDrawingBufferCommandObjectColor, *color);
    currentWriteObjectColor_ = *color;
    isCurrentWriteObjectColorValid_ = true;
}

// Draw objects ---------------------------------------------------------------------------------

void UGLDrawingBuffer::writeCocoaDrawingObjectWithArray(
    const std::vector<UFemGraphicCocoaDrawObject>& array, bool* isCanceled)
{
    bool canceled = false;
    const quint64 stageIdentifier = currentWriteStageIdentifier_isCanceled(&canceled);
    if (canceled)
        return setCanceledFlag(isCanceled);
    std::lock_guard<std::mutex> lock(cocoaDrawObjectArrayLock_);
    if (stageIdentifier != currentWriteCocoaDrawingObjectStageIdentifier_
        || currentWriteCocoaDrawObjectArray_ == nullptr) {
        // Node-based map: the array stays where it is while other stages are added.
        std::vector<UFemGraphicCocoaDrawObject>& stageArray
            = cocoaDrawObjectArrayDictionary_[stageIdentifier];
        stageArray.reserve(
            std::max<std::size_t>(array.size(), cocoaDrawObjectArrayDefaultCapacity));
        currentWriteCocoaDrawingObjectStageIdentifier_ = stageIdentifier;
        currentWriteCocoaDrawObjectArray_ = &stageArray;
    }
    currentWriteCocoaDrawObjectArray_->insert(
        currentWriteCocoaDrawObjectArray_->end(), array.begin(), array.end());
}

bool UGLDrawingBuffer::getCocoaDrawingObjectsToCocoaDrawObjectArray(
    std::vector<UFemGraphicCocoaDrawObject>* array, quint64 readStageIdentifier, bool* isCanceled)
{
    if (this->isCanceled()) {
        setCanceledFlag(isCanceled);
        return false;
    }
    std::lock_guard<std::mutex> lock(cocoaDrawObjectArrayLock_);
    if (readStageIdentifier != currentReadCocoaDrawingObjectStageIdentifier_
        || currentReadCocoaDrawObjectArray_ == nullptr) {
        const auto found = cocoaDrawObjectArrayDictionary_.find(readStageIdentifier);
        if (found == cocoaDrawObjectArrayDictionary_.end())
            return false;
        currentReadCocoaDrawingObjectStageIdentifier_ = readStageIdentifier;
        currentReadCocoaDrawObjectArray_ = &found->second;
    }
    if (currentReadCocoaDrawObjectArray_->empty())
        return false;
    std::move(currentReadCocoaDrawObjectArray_->begin(), currentReadCocoaDrawObjectArray_->end(),
        std::back_inserter(*array));
    currentReadCocoaDrawObjectArray_->clear();
    return true;
}

bool UGLDrawingBuffer::drawOpenGLUntilNextStage_returnsWhenEmpty(bool* returnsWhenEmpty,
    std::vector<UFemGraphicCocoaDrawObject>* cocoaDrawObjectArray, bool* isCanceled)
{
    return UGLDrawingBufferReplayStage(
        *this, renderingOpenGLVersion_, doesDrawForSelectMode_, returnsWhenEmpty,
        [this, cocoaDrawObjectArray](quint64 stage, bool* canceled) {
            getCocoaDrawingObjectsToCocoaDrawObjectArray(cocoaDrawObjectArray, stage, canceled);
        },
        isCanceled);
}

// Side tables of handed-over blocks ------------------------------------------------------------

const quint32* UGLDrawingBuffer::vertexIndexTableWithBufferIndex(quint64 bufferIndex) const
{
    if (bufferIndex >= bufferCount())
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("bufferIndex is out of range."), long(bufferIndex));
    return vertexIndexTableRecordTable_[bufferIndex].vertexIndexTable;
}

quint64 UGLDrawingBuffer::vertexIndexCountWithBufferIndex(quint64 bufferIndex) const
{
    if (bufferIndex >= bufferCount())
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("bufferIndex is out of range."), long(bufferIndex));
    return vertexIndexTableRecordTable_[bufferIndex].vertexIndexCount;
}

bool UGLDrawingBuffer::getEdgeDrawingBufferStartPtr(const _UGLDrawingBufferElement** startPtr,
    const _UGLDrawingBufferElement** endPtr, quint64 bufferIndex) const
{
    *startPtr = nullptr;
    *endPtr = nullptr;
    if (!isEdgeDrawingBufferEnabled_ || bufferIndex >= bufferCount())
        return false;
    const UGLEdgeDrawingBufferRecord& record = edgeDrawingBufferRecordTable_[bufferIndex];
    if (record.edgeDrawingBufferElementCount == 0)
        return false;
    *startPtr = record.edgeDrawingBuffer;
    *endPtr = record.edgeDrawingBuffer + record.edgeDrawingBufferElementCount;
    return true;
}
