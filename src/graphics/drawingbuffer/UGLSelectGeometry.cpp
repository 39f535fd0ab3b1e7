#include "graphics/drawingbuffer/UGLSelectGeometry.h"

#include "foundation/errors/UException.h"
#include "graphics/drawingbuffer/UGLDrawingBufferCommand.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

using Cell = _UGLDrawingBufferElement;

constexpr quint64 beginCellCount = 2;
// Draws per culled run: about 64 cards, few enough to skip most of a model around a pick, many
// enough that the boxes cost little.
constexpr quint32 runDrawCount = 64;
constexpr float boxLimit = std::numeric_limits<float>::max();
constexpr quint64 vertexCellCount = 4; // code, x, y, z

[[noreturn]] void raisePastBuffer(quint32 command)
{
    UFemRaiseProgramErrorWithValue(
        QStringLiteral("Drawing command runs past its buffer."), long(command));
}

void requireCells(const Cell* cell, const Cell* end, quint64 cellCount)
{
    if (quint64(end - cell) < cellCount)
        raisePastBuffer(cell->unsignedValue());
}

// The entries of a vertex array command must stay within its vertices: runs of arrays in all
// no longer than the array, indexes below its vertex count, indexed runs within the entries.
void requireEntriesWithinVertices(
    quint32 command, const quint32* entries, quint32 entryCount, quint64 vertexCount)
{
    const auto isVertex = [vertexCount](quint32 entry) { return entry < vertexCount; };
    switch (command) {
    case UGLDrawingBufferCommandVertexArray:
        return;
    case UGLDrawingBufferCommandVertexArrayRuns:
        if (std::accumulate(entries, entries + entryCount, quint64(0)) > vertexCount)
            raisePastBuffer(command);
        return;
    case UGLDrawingBufferCommandIndexedVertexArray:
        if (!std::all_of(entries, entries + entryCount, isVertex))
            raisePastBuffer(command);
        return;
    default:
        for (quint32 position = 0; position < entryCount;) {
            const quint32 length = entries[position];
            if (quint64(position) + 1 + length > entryCount
                || !std::all_of(entries + position + 1, entries + position + 1 + length, isVertex))
                raisePastBuffer(command);
            position += 1 + length;
        }
    }
}

} // namespace

void UGLSelectGeometry::clear()
{
    positions_.clear();
    indexes_.clear();
    draws_.clear();
    runs_.clear();
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
    requireEntriesWithinVertices(command, entries, entryCount, vertexCount);
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
            addToRun(isIndexed, first, count);
            return;
        }
    }
    if (runs_.empty() || runs_.back().drawCount == runDrawCount)
        runs_.push_back({ quint32(draws_.size()), 0, { boxLimit, boxLimit, boxLimit },
            { -boxLimit, -boxLimit, -boxLimit } });
    ++runs_.back().drawCount;
    draws_.push_back({ name_, mode, isIndexed, quint32(first), quint32(count) });
    addToRun(isIndexed, first, count);
}

void UGLSelectGeometry::addToRun(bool isIndexed, quint64 first, quint64 count)
{
    Run& run = runs_.back();
    for (quint64 k = first; k < first + count; ++k) {
        const GLfloat* position = positions_.data() + 3 * quint64(isIndexed ? indexes_[k] : k);
        for (quint64 axis = 0; axis < 3; ++axis) {
            run.minimum[axis] = std::min(run.minimum[axis], position[axis]);
            run.maximum[axis] = std::max(run.maximum[axis], position[axis]);
        }
    }
}

namespace {

enum class BoxPlace { outside, crossing, inside };

// Share of the clip volume's half width that counts as inside, so that the renderer's float
// transform of a corner near a plane cannot put a primitive wholly outside.
constexpr GLdouble insideShare = 1 - 1e-5;

// Where the box lies against the clip volume of `matrix` (projection times model view,
// column-major): wholly outside one of its planes, wholly inside all of them, or crossing.
BoxPlace placeOfBox(const GLdouble matrix[16], const std::array<GLfloat, 3>& minimum,
    const std::array<GLfloat, 3>& maximum)
{
    constexpr int cornerCount = 8;
    // Per plane (x, y, z against -w and +w): how many corners lie beyond it.
    std::array<int, 6> beyond {};
    bool isInside = true;
    for (int corner = 0; corner < cornerCount; ++corner) {
        const GLdouble p[3] = { (corner & 1) != 0 ? maximum[0] : minimum[0],
            (corner & 2) != 0 ? maximum[1] : minimum[1],
            (corner & 4) != 0 ? maximum[2] : minimum[2] };
        GLdouble clip[4];
        for (int row = 0; row < 4; ++row)
            clip[row] = matrix[row] * p[0] + matrix[4 + row] * p[1] + matrix[8 + row] * p[2]
                + matrix[12 + row];
        isInside = isInside && clip[3] > 0;
        for (int axis = 0; axis < 3; ++axis) {
            beyond[2 * axis] += clip[axis] < -clip[3] ? 1 : 0;
            beyond[2 * axis + 1] += clip[axis] > clip[3] ? 1 : 0;
            isInside = isInside && std::abs(clip[axis]) <= insideShare * clip[3];
        }
    }
    if (std::any_of(beyond.begin(), beyond.end(), [](int n) { return n == cornerCount; }))
        return BoxPlace::outside;
    return isInside ? BoxPlace::inside : BoxPlace::crossing;
}

// Fewer vertices than this make no primitive of the mode, and so no hit.
quint32 primitiveVertexCount(GLenum mode)
{
    switch (mode) {
    case GL_POINTS:
        return 1;
    case GL_LINES:
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        return 2;
    case GL_QUADS:
    case GL_QUAD_STRIP:
        return 4;
    default:
        return 3;
    }
}

void multiply(GLdouble result[16], const GLdouble a[16], const GLdouble b[16])
{
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            GLdouble sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a[4 * k + row] * b[4 * column + k];
            result[4 * column + row] = sum;
        }
}

} // namespace

void UGLSelectGeometry::drawSelectMode(std::vector<GLuint>* insideNames) const
{
    lastDrawnCount_ = 0;
    if (draws_.empty())
        return;
    GLdouble projection[16];
    GLdouble modelView[16];
    GLdouble clip[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    multiply(clip, projection, modelView);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions_.data());
    GLuint loadedName = 0;
    for (const Run& run : runs_) {
        const BoxPlace place = placeOfBox(clip, run.minimum, run.maximum);
        if (place == BoxPlace::inside && insideNames != nullptr)
            appendHitNames(run, insideNames);
        else if (place != BoxPlace::outside)
            drawRun(run, &loadedName);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
}

void UGLSelectGeometry::drawRun(const Run& run, GLuint* loadedName) const
{
    for (quint32 index = run.firstDraw; index < run.firstDraw + run.drawCount; ++index) {
        const Draw& draw = draws_[index];
        if (draw.name != *loadedName) {
            glLoadName(draw.name);
            *loadedName = draw.name;
        }
        if (draw.isIndexed)
            glDrawElements(
                draw.mode, GLsizei(draw.count), GL_UNSIGNED_INT, indexes_.data() + draw.first);
        else
            glDrawArrays(draw.mode, GLint(draw.first), GLsizei(draw.count));
    }
    lastDrawnCount_ += run.drawCount;
}

void UGLSelectGeometry::appendHitNames(const Run& run, std::vector<GLuint>* names) const
{
    for (quint32 index = run.firstDraw; index < run.firstDraw + run.drawCount; ++index) {
        const Draw& draw = draws_[index];
        if (draw.count >= primitiveVertexCount(draw.mode)
            && (names->empty() || names->back() != draw.name))
            names->push_back(draw.name);
    }
}
