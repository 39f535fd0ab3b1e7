#include "graphics/drawingbuffer/UGLDrawingBuffer.h"

#include "foundation/errors/UException.h"

namespace {

// Interleaved records: position, colour, normal. The position and colour of record i are those of
// vertex vertexOf(i); its normal is normal i.
template <typename VertexOf>
void writeVertexRecords(_UGLDrawingBufferElement* cells, quint64 recordCount, bool hasColor,
    bool hasNormal, const double* vertexTable, const _UGLColor* colorTable,
    const double* normalTable, VertexOf vertexOf)
{
    const quint64 stride = UGLVertexRecordStride(hasColor, hasNormal);
    const quint64 normalCell = UGLVertexRecordNormalCell(hasColor);
    for (quint64 record = 0; record < recordCount; ++record, cells += stride) {
        const quint64 vertex = vertexOf(record);
        const double* position = vertexTable + 3 * vertex;
        cells[0].setFloatValue(float(position[0]));
        cells[1].setFloatValue(float(position[1]));
        cells[2].setFloatValue(float(position[2]));
        if (hasColor) {
            const _UGLColor& color = colorTable[vertex];
            cells[3].setFloatValue(float(color.red));
            cells[4].setFloatValue(float(color.green));
            cells[5].setFloatValue(float(color.blue));
            cells[6].setFloatValue(float(color.alpha));
        }
        if (hasNormal) {
            const double* normal = normalTable + 3 * record;
            cells[normalCell].setFloatValue(float(normal[0]));
            cells[normalCell + 1].setFloatValue(float(normal[1]));
            cells[normalCell + 2].setFloatValue(float(normal[2]));
        }
    }
}

void addToCell(_UGLDrawingBufferElement& cell, quint64 amount)
{
    cell.setUnsignedValue(quint32(cell.unsignedValue() + amount));
}

} // namespace

bool UGLDrawingBuffer::_getCurrentWriteVertexArrayCommand(
    quint32* command, quint64* polygonMode, bool* colorTableEnabled, bool* normalTableEnabled) const
{
    const _UGLDrawingBufferElement* header = currentWriteVertexArrayCommandHeaderElementPtr_;
    *command = header != nullptr ? currentWriteVertexArrayCommand_
                                 : quint32(UGLDrawingBufferCommandNone);
    *polygonMode
        = header != nullptr ? currentWriteVertexArrayCommandPolygonMode_ : UGLNoPolygonMode;
    *colorTableEnabled = header != nullptr && header[UGLVertexArrayHeaderColorFlag].flagValue();
    *normalTableEnabled = header != nullptr && header[UGLVertexArrayHeaderNormalFlag].flagValue();
    return header != nullptr;
}

UGLDrawingBuffer::VertexArrayFlags UGLDrawingBuffer::vertexArrayFlags(
    const _UGLColor* colorTable, const double* normalTable)
{
    if (doesDrawForSelectMode_)
        return { false, false, UGLVertexRecordStride(false, false) };
    // Per-vertex colours leave the lit material at the last one; the next object colour must be
    // written even when it equals the one the stream set before.
    if (colorTable != nullptr)
        isCurrentWriteObjectColorValid_ = false;
    const bool hasColor = colorTable != nullptr;
    const bool hasNormal = normalTable != nullptr;
    return { hasColor, hasNormal, UGLVertexRecordStride(hasColor, hasNormal) };
}

bool UGLDrawingBuffer::ensureVertexIndexRoom(quint64 entryCount, bool* isCanceled)
{
    if (currentWriteVertexIndexTableRecord_->vertexIndexCount + entryCount <= vertexIndexTableLimit)
        return true;
    bool canceled = false;
    moveToNextWriteBuffer_isCanceled(&canceled);
    if (canceled)
        setCanceledFlag(isCanceled);
    return !canceled;
}

void UGLDrawingBuffer::appendVertexIndex(quint32 entry)
{
    UGLDrawingBufferVertexIndexTableRecord& record = *currentWriteVertexIndexTableRecord_;
    record.vertexIndexTable[record.vertexIndexCount++] = entry;
}

void UGLDrawingBuffer::appendVertexIndexes(
    const quint64* vertexIndexTable, quint64 vertexIndexCount, quint32 base)
{
    UGLDrawingBufferVertexIndexTableRecord& record = *currentWriteVertexIndexTableRecord_;
    quint32* entries = record.vertexIndexTable + record.vertexIndexCount;
    for (quint64 index = 0; index < vertexIndexCount; ++index)
        entries[index] = base + quint32(vertexIndexTable[index]);
    record.vertexIndexCount += vertexIndexCount;
}

_UGLDrawingBufferElement* UGLDrawingBuffer::openVertexArrayCommand(quint32 command,
    quint64 polygonMode, const VertexArrayFlags& flags, quint64 recordCount, quint64 indexRoom,
    quint32* indexBase, bool* isCanceled)
{
    requireOpenWriteStage();
    if (indexRoom != 0 && !ensureVertexIndexRoom(indexRoom, isCanceled))
        return nullptr;
    const quint64 cellCount = flags.stride * recordCount;
    const quint64 roomCount = cellCount + UGLVertexArrayHeaderCellCount;
    bool canceled = false;
    const _UGLDrawingBufferElement* open = currentWriteVertexArrayCommandHeaderElementPtr_;
    const bool extends = open != nullptr && currentWriteVertexArrayCommand_ == command
        && currentWriteVertexArrayCommandPolygonMode_ == polygonMode
        && open[UGLVertexArrayHeaderColorFlag].flagValue() == flags.hasColor
        && open[UGLVertexArrayHeaderNormalFlag].flagValue() == flags.hasNormal;
    _UGLDrawingBufferElement* cells = extends
        ? roomForCells(roomCount, &canceled)
        : static_cast<_UGLDrawingBufferElement*>(
            _super_writeBufferPtrWithElementCount(roomCount, true, &canceled));
    if (extends && !canceled) {
        // A block change closed the command; a new header opens it again in the new block.
        const bool survived = currentWriteVertexArrayCommandHeaderElementPtr_ != nullptr;
        _super_incrementWriteElementCount(survived ? cellCount : roomCount, &canceled);
        if (survived && !canceled) {
            *indexBase
                = currentWriteVertexArrayCommandHeaderElementPtr_[UGLVertexArrayHeaderVertexCount]
                      .unsignedValue();
            return cells;
        }
    }
    if (canceled) {
        setCanceledFlag(isCanceled);
        return nullptr;
    }
    const bool hasIndexes = command != UGLDrawingBufferCommandVertexArray;
    cells[UGLVertexArrayHeaderCommand].setUnsignedValue(command);
    cells[UGLVertexArrayHeaderPolygonMode].setUnsignedValue(quint32(polygonMode));
    cells[UGLVertexArrayHeaderColorFlag].setFlagValue(flags.hasColor);
    cells[UGLVertexArrayHeaderNormalFlag].setFlagValue(flags.hasNormal);
    cells[UGLVertexArrayHeaderVertexCount].setUnsignedValue(0);
    cells[UGLVertexArrayHeaderIndexStart].setUnsignedValue(
        hasIndexes ? quint32(currentWriteVertexIndexTableRecord_->vertexIndexCount) : 0);
    cells[UGLVertexArrayHeaderIndexCount].setUnsignedValue(0);
    currentWriteVertexArrayCommandHeaderElementPtr_ = cells;
    currentWriteVertexArrayCommand_ = command;
    currentWriteVertexArrayCommandPolygonMode_ = polygonMode;
    *indexBase = 0;
    return cells + UGLVertexArrayHeaderCellCount;
}

void UGLDrawingBuffer::writePlainVertexArray(quint64 polygonMode, const quint64* vertexIndexTable,
    const double* vertexTable, const _UGLColor* colorTable, const double* normalTable,
    quint64 recordCount, bool* isCanceled)
{
    const VertexArrayFlags flags = vertexArrayFlags(colorTable, normalTable);
    const bool isList = UGLIsListPolygonMode(polygonMode);
    const quint32 command
        = isList ? UGLDrawingBufferCommandVertexArray : UGLDrawingBufferCommandVertexArrayRuns;
    quint32 indexBase = 0;
    _UGLDrawingBufferElement* records = openVertexArrayCommand(
        command, polygonMode, flags, recordCount, isList ? 0 : 1, &indexBase, isCanceled);
    if (records == nullptr)
        return;
    if (vertexIndexTable != nullptr)
        writeVertexRecords(records, recordCount, flags.hasColor, flags.hasNormal, vertexTable,
            colorTable, normalTable,
            [vertexIndexTable](quint64 record) { return vertexIndexTable[record]; });
    else
        writeVertexRecords(records, recordCount, flags.hasColor, flags.hasNormal, vertexTable,
            colorTable, normalTable, [](quint64 record) { return record; });
    _UGLDrawingBufferElement* header = currentWriteVertexArrayCommandHeaderElementPtr_;
    addToCell(header[UGLVertexArrayHeaderVertexCount], recordCount);
    if (!isList) {
        appendVertexIndex(quint32(recordCount));
        addToCell(header[UGLVertexArrayHeaderIndexCount], 1);
    }
}

void UGLDrawingBuffer::writeDrawVertexArrayWithPolygonMode(quint64 polygonMode,
    const double* vertexTable, const _UGLColor* colorTable, const double* normalTable,
    quint64 vertexCount, bool* isCanceled)
{
    writePlainVertexArray(
        polygonMode, nullptr, vertexTable, colorTable, normalTable, vertexCount, isCanceled);
}

void UGLDrawingBuffer::writeDrawVertexArrayByIndexArrayWithPolygonMode(quint64 polygonMode,
    const quint64* vertexIndexTable, quint64 vertexIndexCount, const double* vertexTable,
    const _UGLColor* colorTable, const double* normalTable, quint64 vertexCount, bool* isCanceled)
{
    // The run length (or one spare entry) and the indices must fit an empty table.
    if (vertexIndexCount + 1 > vertexIndexTableLimit)
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("VertexIndexCount is bigger than vertexIndexTableCapacity."),
            long(vertexIndexCount));
    const VertexArrayFlags flags = vertexArrayFlags(colorTable, normalTable);
    const bool isList = UGLIsListPolygonMode(polygonMode);
    const quint32 command
        = isList ? UGLDrawingBufferCommandIndexedVertexArray : UGLDrawingBufferCommandIndexedRuns;
    quint32 indexBase = 0;
    _UGLDrawingBufferElement* records = openVertexArrayCommand(
        command, polygonMode, flags, vertexCount, vertexIndexCount + 1, &indexBase, isCanceled);
    if (records == nullptr)
        return;
    writeVertexRecords(records, vertexCount, flags.hasColor, flags.hasNormal, vertexTable,
        colorTable, normalTable, [](quint64 record) { return record; });
    _UGLDrawingBufferElement* header = currentWriteVertexArrayCommandHeaderElementPtr_;
    addToCell(header[UGLVertexArrayHeaderVertexCount], vertexCount);
    if (!isList)
        appendVertexIndex(quint32(vertexIndexCount));
    appendVertexIndexes(vertexIndexTable, vertexIndexCount, indexBase);
    addToCell(
        header[UGLVertexArrayHeaderIndexCount], isList ? vertexIndexCount : vertexIndexCount + 1);
}

void UGLDrawingBuffer::writeDrawVertexArrayByIndexArrayExpandingToNormalTableWithPolygonMode(
    quint64 polygonMode, const quint64* vertexIndexTable, quint64 vertexIndexCount,
    const double* vertexTable, const _UGLColor* colorTable, const double* normalTable_expanded,
    quint64 vertexAndColorTableCount, bool* isCanceled)
{
    if (doesDrawForSelectMode_ || normalTable_expanded == nullptr) {
        writeDrawVertexArrayByIndexArrayWithPolygonMode(polygonMode, vertexIndexTable,
            vertexIndexCount, vertexTable, colorTable, nullptr, vertexAndColorTableCount,
            isCanceled);
        return;
    }
    writePlainVertexArray(polygonMode, vertexIndexTable, vertexTable, colorTable,
        normalTable_expanded, vertexIndexCount, isCanceled);
}
