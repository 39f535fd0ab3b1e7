#pragma once

#include "foundation/UGLColor.h"
#include "graphics/drawingbuffer/UFemGraphicCocoaDrawObject.h"

#include <QtGlobal>

#include <vector>

// What the cards and the drawing primitives write a frame through. Positions, normals and
// colours come as doubles and are stored as floats. Every operation taking `isCanceled` sets it
// when the buffer has been cancelled and then has written nothing useful: the caller stops
// drawing and returns, and so does its caller.
class UGLDrawingBufferWriting {
public:
    virtual ~UGLDrawingBufferWriting() = default;

    // All-ones when none is set.
    virtual quint64 currentWriteObjectName() const = 0;
    // A name other than all-ones is written (again when equal); the name is kept in any case.
    virtual void setCurrentWriteObjectName(quint64 name, bool* isCanceled) = 0;
    // Room for raw commands 1 to 7 in the current block; counting them closes the open vertex
    // array, so that nothing is appended behind a raw command.
    virtual void* writeBufferPtrWithElementCount(
        quint64 elementCount, bool doesIncrement, bool* isCanceled)
        = 0;
    // Written only when it differs from the colour the stream last set.
    virtual void setCurrentWriteObjectColor(const _UGLColor* color, bool* isCanceled) = 0;
    // The open vertex-array command; false with 0, all-ones, false, false when none is open.
    virtual bool _getCurrentWriteVertexArrayCommand(quint32* command, quint64* polygonMode,
        bool* colorTableEnabled, bool* normalTableEnabled) const = 0;
    // Three doubles per position and per normal, one colour per vertex; tables may be null but
    // the positions. One call must fit an empty block with its header and repeated name and
    // colour: split larger drawings.
    virtual void writeDrawVertexArrayWithPolygonMode(quint64 polygonMode, const double* vertexTable,
        const _UGLColor* colorTable, const double* normalTable, quint64 vertexCount,
        bool* isCanceled)
        = 0;
    // The low 32 bits of each index are kept; at most 11006 indices a call.
    virtual void writeDrawVertexArrayByIndexArrayWithPolygonMode(quint64 polygonMode,
        const quint64* vertexIndexTable, quint64 vertexIndexCount, const double* vertexTable,
        const _UGLColor* colorTable, const double* normalTable, quint64 vertexCount,
        bool* isCanceled)
        = 0;
    // Normals per index position, as flat faces need; positions and colours per vertex.
    virtual void writeDrawVertexArrayByIndexArrayExpandingToNormalTableWithPolygonMode(
        quint64 polygonMode, const quint64* vertexIndexTable, quint64 vertexIndexCount,
        const double* vertexTable, const _UGLColor* colorTable, const double* normalTable_expanded,
        quint64 vertexAndColorTableCount, bool* isCanceled)
        = 0;
    // Appended to the current write stage's objects, in order.
    virtual void writeCocoaDrawingObjectWithArray(
        const std::vector<UFemGraphicCocoaDrawObject>& array, bool* isCanceled)
        = 0;
    // Edge operations are called only while edges are enabled. An equal colour is written again.
    virtual void setCurrentWriteEdgeColor(const _UGLColor* color, bool* isCanceled) = 0;
    // 12 doubles per edge line (the 4 corners of its quad); at most 3332 lines a call.
    virtual void writeEdgeLineWithEdgeQuadVertexTable(
        const double* edgeQuadVertexTable, quint64 edgeLineCount, bool* isCanceled)
        = 0;
    // 2 x (count + 1) vertices; line k is the quad of strip vertices 2k to 2k + 3.
    virtual void writeEdgeLineWithEdgeQuadStripVertexTable(
        const double* edgeQuadStripVertexTable, quint64 edgeLineCount, bool* isCanceled)
        = 0;
};
