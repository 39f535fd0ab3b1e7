#include "graphics/drawingbuffer/UGLSelectGeometry.h"

#include "foundation/errors/UException.h"
#include "graphics/drawingbuffer/UGLDrawingBufferCommand.h"

namespace {

using Cell = _UGLDrawingBufferElement;

constexpr quint64 beginCellCount = 2;
constexpr quint64 vertexCellCount = 4; // code, x, y, z

void requireCells(const Cell* cell, const Cell* end, quint64 cellCount)
{
    if (quint64(end - cell) < cellCount)
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("Drawing command runs past its buffer."), long(cell->unsignedValue()));
}

} // namespace

void UGLSelectGeometry::clear()
{
    positions_.clear();
    indexes_.clear();
    draws_.clear();
    name_ = 0;
    isBeginOpen_ = false;
}

void UGLSelectGeometry::appendBlock(
    const Cell* start, const Cell* end, const quint32* vertexIndexTable)
{
    // Every block replays by itself: no begin stays open past it.
    for (const Cell* cell = start; cell < end;) {
        const quint32 command = cell->unsignedValue();
        if (command >= UGLDrawingBufferCommandVertexArray
            && command <= UGLDrawingBufferCommandIndexedRuns)
            cell = appendVertexArray(cell, end, vertexIndexTable);
        else
            cell = appendSimpleCommand(cell, end);
    }
    closeBegin();
}

const Cell* UGLSelectGeometry::appendSimpleCommand(const Cell* cell, const Cell* end)
{
    switch (cell->unsignedValue()) {
    case UGLDrawingBufferCommandBegin: {
        requireCells(cell, end, beginCellCount);
        const GLenum mode = GLenum(cell[1].unsignedValue());
        // Consecutive list primitives of one mode share one begin, as in the display replay.
        if (!isBeginOpen_ || beginMode_ != mode) {
            closeBegin();
            isBeginOpen_ = true;
            beginMode_ = mode;
            beginFirst_ = positionCount();
        }
        return cell + beginCellCount;
    }
    case UGLDrawingBufferCommandEnd:
        if (isBeginOpen_ && !UGLIsListPolygonMode(beginMode_))
            closeBegin();
        return cell + 1;
    case UGLDrawingBufferCommandColor:
    case UGLDrawingBufferCommandObjectColor:
        requireCells(cell, end, UGLDrawingBufferColorCellCount);
        return cell + UGLDrawingBufferColorCellCount;
    case UGLDrawingBufferCommandNormal:
        requireCells(cell, end, vertexCellCount);
        return cell + vertexCellCount;
    case UGLDrawingBufferCommandVertex:
        requireCells(cell, end, vertexCellCount);
        for (quint64 axis = 1; axis < vertexCellCount; ++axis)
            positions_.push_back(cell[axis].floatValue());
        return cell + vertexCellCount;
    case UGLDrawingBufferCommandObjectName:
        requireCells(cell, end, UGLDrawingBufferObjectNameCellCount);
        closeBegin();
        name_ = cell[1].unsignedValue();
        return cell + UGLDrawingBufferObjectNameCellCount;
    default:
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("Unknown drawing command."), long(cell->unsignedValue()));
    }
}

const Cell* UGLSelectGeometry::appendVertexArray(
    const Cell* header, const Cell* end, const quint32* vertexIndexTable)
{
    requireCells(header, end, UGLVertexArrayHeaderCellCount);
    closeBegin();
    const quint32 command = header[UGLVertexArrayHeaderCommand].unsignedValue();
    const GLenum mode = GLenum(header[UGLVertexArrayHeaderPolygonMode].unsignedValue());
    const quint64 stride = UGLVertexRecordStride(header[UGLVertexArrayHeaderColorFlag].flagValue(),
        header[UGLVertexArrayHeaderNormalFlag].flagValue());
    const quint64 vertexCount = header[UGLVertexArrayHeaderVertexCount].unsignedValue();
    const quint32* entries
        = vertexIndexTable + header[UGLVertexArrayHeaderIndexStart].unsignedValue();
    const quint32 entryCount = header[UGLVertexArrayHeaderIndexCount].unsignedValue();
    const quint64 cellCount = UGLVertexArrayHeaderCellCount + vertexCount * stride;
    requireCells(header, end, cellCount);
    const quint32 base = positionCount();
    const Cell* records = header + UGLVertexArrayHeaderCellCount;
    for (quint64 vertex = 0; vertex < vertexCount; ++vertex)
        for (quint64 axis = 0; axis < 3; ++axis)
            positions_.push_back(records[vertex * stride + axis].floatValue());
    switch (command) {
    case UGLDrawingBufferCommandVertexArray:
        addDraw(mode, false, base, vertexCount);
        break;
    case UGLDrawingBufferCommandVertexArrayRuns: {
        quint64 first = base;
        for (quint32 run = 0; run < entryCount; ++run) {
            addDraw(mode, false, first, entries[run]);
            first += entries[run];
        }
        break;
    }
    case UGLDrawingBufferCommandIndexedVertexArray:
        for (quint32 entry = 0; entry < entryCount; ++entry)
            indexes_.push_back(base + entries[entry]);
        addDraw(mode, true, indexes_.size() - entryCount, entryCount);
        break;
    default:
        for (quint32 position = 0; position < entryCount;) {
            const quint32 length = entries[position];
            if (quint64(position) + 1 + length > entryCount)
                UFemRaiseProgramErrorWithValue(
                    QStringLiteral("Drawing command runs past its buffer."), long(command));
            for (quint32 entry = position + 1; entry <= position + length; ++entry)
                indexes_.push_back(base + entries[entry]);
            addDraw(mode, true, indexes_.size() - length, length);
            position += 1 + length;
        }
        break;
    }
    return header + cellCount;
}

void UGLSelectGeometry::closeBegin()
{
    if (!isBeginOpen_)
        return;
    isBeginOpen_ = false;
    addDraw(beginMode_, false, beginFirst_, positionCount() - beginFirst_);
}

// List primitives of one name that follow each other become one draw.
void UGLSelectGeometry::addDraw(GLenum mode, bool isIndexed, quint64 first, quint64 count)
{
    if (count == 0)
        return;
    if (!draws_.empty()) {
        Draw& last = draws_.back();
        if (last.name == name_ && last.mode == mode && last.isIndexed == isIndexed
            && UGLIsListPolygonMode(mode) && quint64(last.first) + last.count == first) {
            last.count += quint32(count);
            return;
        }
    }
    draws_.push_back({ name_, mode, isIndexed, quint32(first), quint32(count) });
}

void UGLSelectGeometry::drawSelectMode() const
{
    if (draws_.empty())
        return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions_.data());
    GLuint loadedName = 0;
    for (const Draw& draw : draws_) {
        if (draw.name != loadedName) {
            glLoadName(draw.name);
            loadedName = draw.name;
        }
        if (draw.isIndexed)
            glDrawElements(
                draw.mode, GLsizei(draw.count), GL_UNSIGNED_INT, indexes_.data() + draw.first);
        else
            glDrawArrays(draw.mode, GLint(draw.first), GLsizei(draw.count));
    }
    glDisableClientState(GL_VERTEX_ARRAY);
}
