#pragma once

#include "graphics/drawingbuffer/UGLDrawingBufferElement.h"
#include "graphics/opengl/UGLOpenGL.h"

#include <array>
#include <vector>

// The picking geometry of one stage of a select-mode drawing stream, kept in memory: positions,
// object names and primitives, drawn again by each later pick with client vertex arrays.
// Display lists do not serve here: Mesa 22's software renderer replays a list that mixes
// primitive modes (a rod's quad strip and its end polygons) wrongly in selection mode, losing
// hits or crashing. Runs of draws carry a model-space box, so that a pick over a small rectangle
// skips the runs that lie outside it.
class UGLSelectGeometry {
public:
    void clear();
    bool isEmpty() const { return draws_.empty(); }
    quint64 vertexCount() const { return positions_.size() / 3; }
    quint64 drawCount() const { return draws_.size(); }

    // Appends one block of a select-mode stream (commands 1 to 11; colours and normals are
    // skipped). A command that runs past the block, or whose entries name vertices past its
    // array, raises "Drawing command runs past its buffer." and leaves nothing of itself.
    void appendBlock(const _UGLDrawingBufferElement* start, const _UGLDrawingBufferElement* end,
        const quint32* vertexIndexTable);
    // Draws what was appended into the current context, loading each object name as it changes,
    // except the runs that the current projection and model view put wholly outside the clip
    // volume. The caller has set up selection and pushed a name. With `insideNames`, the runs
    // wholly inside the volume are not drawn either, since every draw there that makes a
    // primitive hits: their names are appended instead (once for consecutive draws of a name),
    // for a caller that needs no hit depths.
    void drawSelectMode(std::vector<GLuint>* insideNames = nullptr) const;
    // Draws since the last one.
    quint64 lastDrawnCount() const { return lastDrawnCount_; }

private:
    struct Draw {
        GLuint name;
        GLenum mode;
        bool isIndexed;
        quint32 first; // into the positions, or into the indexes when indexed
        quint32 count;
    };

    const _UGLDrawingBufferElement* appendVertexArray(const _UGLDrawingBufferElement* header,
        const _UGLDrawingBufferElement* end, const quint32* vertexIndexTable);
    const _UGLDrawingBufferElement* appendSimpleCommand(
        const _UGLDrawingBufferElement* cell, const _UGLDrawingBufferElement* end);
    // A run of consecutive draws and the box of the positions they use.
    struct Run {
        quint32 firstDraw;
        quint32 drawCount;
        std::array<GLfloat, 3> minimum;
        std::array<GLfloat, 3> maximum;
    };

    void addDraw(GLenum mode, bool isIndexed, quint64 first, quint64 count);
    void addToRun(bool isIndexed, quint64 first, quint64 count);
    void drawRun(const Run& run, GLuint* loadedName) const;
    void appendHitNames(const Run& run, std::vector<GLuint>* names) const;
    void closeBegin();
    quint32 positionCount() const { return quint32(positions_.size() / 3); }

    std::vector<GLfloat> positions_;
    std::vector<GLuint> indexes_;
    std::vector<Draw> draws_;
    std::vector<Run> runs_;
    mutable quint64 lastDrawnCount_ = 0;
    // While appending: the name loaded last and the open begin block.
    GLuint name_ = 0;
    GLenum beginMode_ = 0;
    bool isBeginOpen_ = false;
    quint64 beginFirst_ = 0;
};
