#include "graphics/drawingbuffer/UGLDrawingBufferReplay.h"

#include "foundation/errors/UException.h"
#include "graphics/drawingbuffer/UGLDrawingBufferCommand.h"
#include "graphics/opengl/UGLOpenGL.h"

#include <algorithm>
#include <array>

namespace {

using Cell = _UGLDrawingBufferElement;

// Runs handed to one glMultiDrawArrays or glMultiDrawElements call.
constexpr quint64 multiDrawRunLimit = 256;
constexpr quint64 vertexCellCount = 4; // code, x, y, z
constexpr quint64 beginCellCount = 2;

enum class ReplayForm { Display, Select };

// Software renderers run lit two-sided primitives through a pipeline whose cost per flush grows
// with the vertices of the draw call; list primitives are therefore drawn in pieces of at most
// this many vertices (a multiple of 1, 2, 3 and 4, so that no primitive is cut).
constexpr GLsizei listPieceVertexCount = 768;

bool isListMode(GLenum mode)
{
    return mode == GL_POINTS || mode == GL_LINES || mode == GL_TRIANGLES || mode == GL_QUADS;
}

void drawArraysInPieces(GLenum mode, GLint first, GLsizei count)
{
    if (!isListMode(mode)) {
        glDrawArrays(mode, first, count);
        return;
    }
    for (GLsizei done = 0; done < count; done += listPieceVertexCount)
        glDrawArrays(mode, first + done, std::min(listPieceVertexCount, count - done));
}

void drawElementsInPieces(
    GLenum mode, GLsizei count, const quint32* indexes, bool isRanged, GLuint vertexCount)
{
    if (!isListMode(mode) || count <= listPieceVertexCount) {
        if (isRanged)
            glDrawRangeElements(mode, 0, vertexCount, count, GL_UNSIGNED_INT, indexes);
        else
            glDrawElements(mode, count, GL_UNSIGNED_INT, indexes);
        return;
    }
    for (GLsizei done = 0; done < count; done += listPieceVertexCount)
        glDrawElements(
            mode, std::min(listPieceVertexCount, count - done), GL_UNSIGNED_INT, indexes + done);
}

[[noreturn]] void raiseUnknownCommand(quint32 command)
{
    UFemRaiseProgramErrorWithValue(QStringLiteral("Unknown drawing command."), long(command));
}

// A command must end within its block; a stream that says otherwise is not ours.
void requireCells(const Cell* cell, const Cell* end, quint64 cellCount)
{
    if (quint64(end - cell) < cellCount)
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("Drawing command runs past its buffer."), long(cell->unsignedValue()));
}

template <quint64 count> std::array<GLfloat, count> floatsAt(const Cell* cell)
{
    std::array<GLfloat, count> values;
    for (quint64 index = 0; index < count; ++index)
        values[index] = cell[index].floatValue();
    return values;
}

void applyObjectColor(const Cell* cell)
{
    const auto color = floatsAt<4>(cell + 1);
    glColor4fv(color.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, color.data());
}

// The begin and client-array state of one block; leaving the block (also by an exception) ends
// the open begin and disables the arrays, so that every block replays by itself.
class UGLBlockReplayState {
public:
    UGLBlockReplayState() = default;
    UGLBlockReplayState(const UGLBlockReplayState&) = delete;
    UGLBlockReplayState& operator=(const UGLBlockReplayState&) = delete;
    ~UGLBlockReplayState()
    {
        endOpenBegin();
        setClientArray(GL_VERTEX_ARRAY, &isVertexArrayEnabled_, false);
        setClientArray(GL_COLOR_ARRAY, &isColorArrayEnabled_, false);
        setClientArray(GL_NORMAL_ARRAY, &isNormalArrayEnabled_, false);
    }

    void begin(quint64 mode)
    {
        if (mode == openBeginMode_)
            return;
        endOpenBegin();
        glBegin(GLenum(mode));
        openBeginMode_ = mode;
    }
    // A begin of a list mode stays open, so that consecutive pairs share one glBegin.
    void end()
    {
        if (openBeginMode_ != UGLNoPolygonMode && !UGLIsListPolygonMode(openBeginMode_))
            endOpenBegin();
    }
    void endOpenBegin()
    {
        if (openBeginMode_ == UGLNoPolygonMode)
            return;
        glEnd();
        openBeginMode_ = UGLNoPolygonMode;
    }
    void useVertexArray() { setClientArray(GL_VERTEX_ARRAY, &isVertexArrayEnabled_, true); }
    void useColorArray(bool flag) { setClientArray(GL_COLOR_ARRAY, &isColorArrayEnabled_, flag); }
    void useNormalArray(bool flag)
    {
        setClientArray(GL_NORMAL_ARRAY, &isNormalArrayEnabled_, flag);
    }

private:
    static void setClientArray(GLenum array, bool* isEnabled, bool flag)
    {
        if (*isEnabled == flag)
            return;
        if (flag)
            glEnableClientState(array);
        else
            glDisableClientState(array);
        *isEnabled = flag;
    }

    quint64 openBeginMode_ = UGLNoPolygonMode;
    bool isVertexArrayEnabled_ = false;
    bool isColorArrayEnabled_ = false;
    bool isNormalArrayEnabled_ = false;
};

// One vertex-array command (8 to 11) read from its header.
struct UGLVertexArrayCommand {
    quint32 command;
    GLenum mode;
    bool hasColor;
    bool hasNormal;
    quint32 vertexCount;
    const quint32* entries; // the command's index entries
    quint32 entryCount;
    const Cell* records;
    quint64 stride;

    quint64 cellCount() const { return UGLVertexArrayHeaderCellCount + vertexCount * stride; }
};

UGLVertexArrayCommand readVertexArrayCommand(
    const Cell* header, const Cell* end, const quint32* vertexIndexTable)
{
    requireCells(header, end, UGLVertexArrayHeaderCellCount);
    UGLVertexArrayCommand command {};
    command.command = header[UGLVertexArrayHeaderCommand].unsignedValue();
    command.mode = GLenum(header[UGLVertexArrayHeaderPolygonMode].unsignedValue());
    command.hasColor = header[UGLVertexArrayHeaderColorFlag].flagValue();
    command.hasNormal = header[UGLVertexArrayHeaderNormalFlag].flagValue();
    command.vertexCount = header[UGLVertexArrayHeaderVertexCount].unsignedValue();
    command.entries = vertexIndexTable + header[UGLVertexArrayHeaderIndexStart].unsignedValue();
    command.entryCount = header[UGLVertexArrayHeaderIndexCount].unsignedValue();
    command.records = header + UGLVertexArrayHeaderCellCount;
    command.stride = UGLVertexRecordStride(command.hasColor, command.hasNormal);
    requireCells(header, end, command.cellCount());
    return command;
}

void setArrayPointers(
    const UGLVertexArrayCommand& command, ReplayForm form, UGLBlockReplayState& state)
{
    const GLsizei strideBytes = GLsizei(command.stride * sizeof(Cell));
    state.useVertexArray();
    glVertexPointer(3, GL_FLOAT, strideBytes, command.records);
    if (form == ReplayForm::Select)
        return;
    state.useColorArray(command.hasColor);
    if (command.hasColor)
        glColorPointer(4, GL_FLOAT, strideBytes, command.records + UGLVertexRecordColorCell);
    state.useNormalArray(command.hasNormal);
    if (command.hasNormal)
        glNormalPointer(
            GL_FLOAT, strideBytes, command.records + UGLVertexRecordNormalCell(command.hasColor));
}

void drawRuns(const UGLVertexArrayCommand& command, bool isMultiDraw)
{
    GLint first = 0;
    for (quint32 done = 0; done < command.entryCount;) {
        const quint32 runCount = isMultiDraw
            ? quint32(std::min<quint64>(multiDrawRunLimit, command.entryCount - done))
            : 1;
        std::array<GLint, multiDrawRunLimit> firsts;
        std::array<GLsizei, multiDrawRunLimit> counts;
        for (quint32 run = 0; run < runCount; ++run) {
            firsts[run] = first;
            counts[run] = GLsizei(command.entries[done + run]);
            first += counts[run];
        }
        if (isMultiDraw)
            glMultiDrawArrays(command.mode, firsts.data(), counts.data(), GLsizei(runCount));
        else
            glDrawArrays(command.mode, firsts[0], counts[0]);
        done += runCount;
    }
}

void drawIndexedRuns(const UGLVertexArrayCommand& command, bool isMultiDraw)
{
    std::array<GLsizei, multiDrawRunLimit> counts;
    std::array<const void*, multiDrawRunLimit> indexPointers;
    quint64 runCount = 0;
    const auto flush = [&] {
        if (runCount > 0)
            glMultiDrawElements(command.mode, counts.data(), GL_UNSIGNED_INT, indexPointers.data(),
                GLsizei(runCount));
        runCount = 0;
    };
    for (quint32 position = 0; position < command.entryCount;) {
        const quint32 length = command.entries[position];
        const quint32* runEntries = command.entries + position + 1;
        position += 1 + length;
        if (position > command.entryCount)
            UFemRaiseProgramErrorWithValue(
                QStringLiteral("Drawing command runs past its buffer."), long(command.command));
        if (!isMultiDraw) {
            glDrawElements(command.mode, GLsizei(length), GL_UNSIGNED_INT, runEntries);
            continue;
        }
        counts[runCount] = GLsizei(length);
        indexPointers[runCount++] = runEntries;
        if (runCount == multiDrawRunLimit)
            flush();
    }
    flush();
}

void drawVertexArray(const UGLVertexArrayCommand& command, bool isMultiDraw)
{
    switch (command.command) {
    case UGLDrawingBufferCommandVertexArray:
        drawArraysInPieces(command.mode, 0, GLsizei(command.vertexCount));
        break;
    case UGLDrawingBufferCommandVertexArrayRuns:
        drawRuns(command, isMultiDraw);
        break;
    case UGLDrawingBufferCommandIndexedVertexArray:
        drawElementsInPieces(command.mode, GLsizei(command.entryCount), command.entries,
            isMultiDraw, command.vertexCount);
        break;
    default:
        drawIndexedRuns(command, isMultiDraw);
        break;
    }
}

quint64 replayVertexArray(const Cell* header, const Cell* end, const quint32* vertexIndexTable,
    ReplayForm form, bool isMultiDraw, UGLBlockReplayState& state)
{
    const UGLVertexArrayCommand command = readVertexArrayCommand(header, end, vertexIndexTable);
    state.endOpenBegin();
    setArrayPointers(command, form, state);
    drawVertexArray(command, isMultiDraw);
    return command.cellCount();
}

// One command of the fixed-size kinds (1 to 7); answers the cells it took.
quint64 replaySimpleCommand(
    const Cell* cell, const Cell* end, ReplayForm form, UGLBlockReplayState& state)
{
    const bool isDisplay = form == ReplayForm::Display;
    switch (cell->unsignedValue()) {
    case UGLDrawingBufferCommandBegin:
        requireCells(cell, end, beginCellCount);
        state.begin(cell[1].unsignedValue());
        return beginCellCount;
    case UGLDrawingBufferCommandEnd:
        state.end();
        return 1;
    case UGLDrawingBufferCommandColor:
        requireCells(cell, end, UGLDrawingBufferColorCellCount);
        if (isDisplay)
            glColor4fv(floatsAt<4>(cell + 1).data());
        return UGLDrawingBufferColorCellCount;
    case UGLDrawingBufferCommandNormal:
        requireCells(cell, end, vertexCellCount);
        if (isDisplay)
            glNormal3fv(floatsAt<3>(cell + 1).data());
        return vertexCellCount;
    case UGLDrawingBufferCommandVertex:
        requireCells(cell, end, vertexCellCount);
        glVertex3fv(floatsAt<3>(cell + 1).data());
        return vertexCellCount;
    case UGLDrawingBufferCommandObjectName:
        requireCells(cell, end, UGLDrawingBufferObjectNameCellCount);
        if (!isDisplay) {
            state.endOpenBegin();
            glLoadName(cell[1].unsignedValue());
        }
        return UGLDrawingBufferObjectNameCellCount;
    case UGLDrawingBufferCommandObjectColor:
        requireCells(cell, end, UGLDrawingBufferColorCellCount);
        if (isDisplay)
            applyObjectColor(cell);
        return UGLDrawingBufferColorCellCount;
    default:
        raiseUnknownCommand(cell->unsignedValue());
    }
}

void replayBlock(const Cell* cell, const Cell* end, const quint32* vertexIndexTable,
    ReplayForm form, bool isMultiDraw)
{
    UGLBlockReplayState state;
    while (cell < end) {
        const quint32 command = cell->unsignedValue();
        if (command >= UGLDrawingBufferCommandVertexArray
            && command <= UGLDrawingBufferCommandIndexedRuns)
            cell += replayVertexArray(cell, end, vertexIndexTable, form, isMultiDraw, state);
        else
            cell += replaySimpleCommand(cell, end, form, state);
    }
}

} // namespace

void UGLDrawingBufferReplay(const Cell* start, const Cell* end, const quint32* vertexIndexTable)
{
    replayBlock(start, end, vertexIndexTable, ReplayForm::Display, false);
}

void UGLDrawingBufferReplayMultiDraw(
    const Cell* start, const Cell* end, const quint32* vertexIndexTable)
{
    replayBlock(start, end, vertexIndexTable, ReplayForm::Display, true);
}

void UGLDrawingBufferReplaySelectMode(
    const Cell* start, const Cell* end, const quint32* vertexIndexTable)
{
    replayBlock(start, end, vertexIndexTable, ReplayForm::Select, false);
}

void UGLDrawingBufferReplaySelectModeMultiDraw(
    const Cell* start, const Cell* end, const quint32* vertexIndexTable)
{
    replayBlock(start, end, vertexIndexTable, ReplayForm::Select, true);
}

void UGLDrawingBufferDrawEdgeBuffer(const Cell* cell, const Cell* end)
{
    UGLBlockReplayState state;
    state.useVertexArray();
    while (cell < end) {
        const quint32 command = cell->unsignedValue();
        if (command == UGLDrawingBufferCommandEdgeColor) {
            requireCells(cell, end, UGLDrawingBufferColorCellCount);
            applyObjectColor(cell);
            cell += UGLDrawingBufferColorCellCount;
            continue;
        }
        if (command != UGLDrawingBufferCommandEdgeQuads)
            raiseUnknownCommand(command);
        requireCells(cell, end, UGLDrawingBufferEdgeQuadsHeaderCellCount);
        const quint32 vertexCount = cell[1].unsignedValue();
        const quint64 cellCount
            = UGLDrawingBufferEdgeQuadsHeaderCellCount + 3 * quint64(vertexCount);
        requireCells(cell, end, cellCount);
        if (vertexCount > 0) {
            glVertexPointer(3, GL_FLOAT, 0, cell + UGLDrawingBufferEdgeQuadsHeaderCellCount);
            drawArraysInPieces(GL_QUADS, 0, GLsizei(vertexCount));
        }
        cell += cellCount;
    }
}
