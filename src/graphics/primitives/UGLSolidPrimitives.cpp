#include "graphics/primitives/UGLSolidPrimitives.h"

#include "graphics/primitives/UGLBandPrimitives.h"
#include "graphics/primitives/UGLPrimitiveSupport.h"
#include "graphics/primitives/UGLSharedFaceTable.h"

#include <algorithm>
#include <array>

namespace {

constexpr quint64 hexahedronFaceCount = 6;
constexpr quint64 hexahedronEdgeCount = 12;
constexpr quint64 hexahedronEdges[2 * hexahedronEdgeCount]
    = { 0, 1, 1, 2, 2, 3, 3, 0, 4, 5, 5, 6, 6, 7, 7, 4, 0, 4, 1, 5, 2, 6, 3, 7 };
constexpr quint64 quadrilateralCoarseIndexes[6] = { 0, 1, 2, 2, 3, 0 };
constexpr quint64 quadrilateralFineIndexes[12] = { 0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4 };
constexpr quint64 quadrilateralEdges[8] = { 0, 1, 1, 2, 2, 3, 3, 0 };
constexpr quint64 triangleEdges[6] = { 0, 1, 1, 2, 2, 0 };
constexpr quint64 tetrahedronIndexes[12] = { 0, 2, 1, 0, 1, 3, 1, 2, 3, 2, 0, 3 };
constexpr quint64 tetrahedronEdges[12] = { 0, 1, 1, 2, 2, 0, 0, 3, 1, 3, 2, 3 };
constexpr quint64 boxIndexes[24]
    = { 3, 2, 1, 0, 4, 5, 6, 7, 0, 1, 5, 4, 1, 2, 6, 5, 2, 3, 7, 6, 3, 0, 4, 7 };
// The coarse quality draws each face over its corners only; finer ones add face centres.
constexpr UGLImageQuality coarseImageQuality = 1;

// Two triangles a face; the fine split through a centre vertex only serves colour by value, which
// selection does not draw.
bool isCoarseFaceSplit(const UGLDrawingInfo* drawingInfo)
{
    return drawingInfo->imageQuality() == coarseImageQuality
        || drawingInfo->drawingOutputType() == UGLDrawingOutputTypeSelectMode;
}

// Up to 14 vertices (8 corners and 6 face centres) and 72 indices.
struct SolidTables {
    std::array<double, 14 * 3> vertices {};
    std::array<_UGLColor, 14> colors {};
    std::array<quint64, 72> indexes {};
    std::array<double, 72 * 3> normals {};
    const _UGLColor* colorTable = nullptr;
    quint64 vertexCount = 0;
    quint64 indexCount = 0;

    UGLVec3 vertex(quint64 k) const { return UGLVec3::at(vertices.data() + 3 * k); }
    void addIndexes(std::initializer_list<quint64> entries)
    {
        for (quint64 entry : entries)
            indexes[indexCount++] = entry;
    }
};

void setNodes(SolidTables& tables, const double* const* nodes, const _UGLColor* const* nodeColors,
    const _UGLColor* color, quint64 nodeCount)
{
    tables.vertexCount = nodeCount;
    for (quint64 k = 0; k < nodeCount; ++k)
        UGLVec3::at(nodes[k]).store(tables.vertices.data() + 3 * k);
    if (nodeColors != nullptr && nodeColors[0] != nullptr) {
        for (quint64 k = 0; k < nodeCount; ++k)
            tables.colors[k] = *nodeColors[k];
        tables.colorTable = tables.colors.data();
    } else {
        tables.colorTable = UGLFillColorTable(tables.colors.data(), color, nodeCount);
    }
}

// A vertex at the mean position (and mean colour) of four vertices; answers its number.
quint64 addCentreVertex(SolidTables& tables, const quint64 (&corners)[4])
{
    const quint64 centre = tables.vertexCount++;
    UGLVec3 sum;
    _UGLColor colorSum;
    for (quint64 corner : corners) {
        sum = sum + tables.vertex(corner);
        const _UGLColor& c = tables.colors[corner];
        colorSum = { colorSum.red + c.red, colorSum.green + c.green, colorSum.blue + c.blue,
            colorSum.alpha + c.alpha };
    }
    (0.25 * sum).store(tables.vertices.data() + 3 * centre);
    tables.colors[centre] = { 0.25 * colorSum.red, 0.25 * colorSum.green, 0.25 * colorSum.blue,
        0.25 * colorSum.alpha };
    return centre;
}

// One normal per face, repeated for each of the face's index entries, so that faces look flat
// while colours stay smooth.
void writeFlatFaces(UGLDrawingBufferWriting* buffer, SolidTables& tables, quint64 polygonMode,
    const UGLVec3* faceNormals, quint64 entriesPerFace, const UGLDrawingInfo* drawingInfo,
    bool* isCanceled)
{
    if (!drawingInfo->isRequiredNormalVector()) {
        buffer->writeDrawVertexArrayByIndexArrayWithPolygonMode(polygonMode, tables.indexes.data(),
            tables.indexCount, tables.vertices.data(), tables.colorTable, nullptr,
            tables.vertexCount, isCanceled);
        return;
    }
    for (quint64 entry = 0; entry < tables.indexCount; ++entry)
        faceNormals[entry / entriesPerFace].store(tables.normals.data() + 3 * entry);
    buffer->writeDrawVertexArrayByIndexArrayExpandingToNormalTableWithPolygonMode(polygonMode,
        tables.indexes.data(), tables.indexCount, tables.vertices.data(), tables.colorTable,
        tables.normals.data(), tables.vertexCount, isCanceled);
}

void writeEdges(UGLDrawingBufferWriting* buffer, const SolidTables& tables, const quint64* edges,
    quint64 edgeCount, const _UGLEdgeDrawingInfo* edgeDrawingInfo,
    const UGLDrawingInfo* drawingInfo, bool isCanceled)
{
    if (isCanceled || edgeDrawingInfo == nullptr)
        return;
    UGLWriteElementEdgeBands(buffer, tables.vertices.data(), edges, edgeCount,
        edgeDrawingInfo->edgeColor(), drawingInfo, edgeDrawingInfo->edgeWidth);
}

UGLVec3 diagonalNormal(const SolidTables& tables, const quint64 (&face)[4])
{
    return UGLNormalized(UGLCross(tables.vertex(face[2]) - tables.vertex(face[0]),
        tables.vertex(face[3]) - tables.vertex(face[1])));
}

void writeQuadrilateral(UGLDrawingBufferWriting* buffer, const double* const nodes[4],
    const _UGLColor* const* nodeColors, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo)
{
    SolidTables tables;
    setNodes(tables, nodes, nodeColors, color, 4);
    const UGLVec3 normal = diagonalNormal(tables, { 0, 1, 2, 3 });
    const bool isCoarse = isCoarseFaceSplit(drawingInfo);
    if (!isCoarse)
        addCentreVertex(tables, { 0, 1, 2, 3 });
    const quint64* indexes = isCoarse ? quadrilateralCoarseIndexes : quadrilateralFineIndexes;
    const quint64 indexCount = isCoarse ? 6 : 12;
    bool isCanceled = false;
    buffer->writeDrawVertexArrayByIndexArrayWithPolygonMode(UGLPolygonModeTriangles, indexes,
        indexCount, tables.vertices.data(), tables.colorTable,
        UGLFillNormalTable(tables.normals.data(), normal, tables.vertexCount, drawingInfo),
        tables.vertexCount, &isCanceled);
    writeEdges(buffer, tables, quadrilateralEdges, 4, edgeDrawingInfo, drawingInfo, isCanceled);
}

void writeTriangle(UGLDrawingBufferWriting* buffer, const double* const nodes[3],
    const _UGLColor* const* nodeColors, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo)
{
    SolidTables tables;
    setNodes(tables, nodes, nodeColors, color, 3);
    const UGLVec3 normal = UGLNormalized(
        UGLCross(tables.vertex(1) - tables.vertex(0), tables.vertex(2) - tables.vertex(0)));
    bool isCanceled = false;
    buffer->writeDrawVertexArrayWithPolygonMode(UGLPolygonModeTriangles, tables.vertices.data(),
        tables.colorTable, UGLFillNormalTable(tables.normals.data(), normal, 3, drawingInfo), 3,
        &isCanceled);
    writeEdges(buffer, tables, triangleEdges, 3, edgeDrawingInfo, drawingInfo, isCanceled);
}

void writeTetrahedron(UGLDrawingBufferWriting* buffer, const double* const nodes[4],
    const _UGLColor* const* nodeColors, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo)
{
    SolidTables tables;
    setNodes(tables, nodes, nodeColors, color, 4);
    UGLVec3 faceNormals[4];
    for (quint64 face = 0; face < 4; ++face) {
        const quint64* f = tetrahedronIndexes + 3 * face;
        tables.addIndexes({ f[0], f[1], f[2] });
        faceNormals[face] = UGLNormalized(UGLCross(
            tables.vertex(f[1]) - tables.vertex(f[0]), tables.vertex(f[2]) - tables.vertex(f[0])));
    }
    bool isCanceled = false;
    writeFlatFaces(
        buffer, tables, UGLPolygonModeTriangles, faceNormals, 3, drawingInfo, &isCanceled);
    writeEdges(buffer, tables, tetrahedronEdges, 6, edgeDrawingInfo, drawingInfo, isCanceled);
}

// Per edge of hexahedronEdges the bits of the two faces that hold it.
constexpr std::array<quint32, hexahedronEdgeCount> hexahedronEdgeFaces = [] {
    std::array<quint32, hexahedronEdgeCount> faces {};
    for (quint64 edge = 0; edge < hexahedronEdgeCount; ++edge) {
        for (quint64 f = 0; f < hexahedronFaceCount; ++f) {
            const quint64(&face)[4] = UGLHexahedronFaces[f];
            const auto holds
                = [&](quint64 node) { return std::find(face, face + 4, node) != face + 4; };
            if (holds(hexahedronEdges[2 * edge]) && holds(hexahedronEdges[2 * edge + 1]))
                faces[edge] |= 1U << f;
        }
    }
    return faces;
}();

// The edges of the faces not in `hiddenFaces`: an edge between two hidden faces lies inside the
// solids that hide them.
quint64 edgesOfDrawnFaces(quint32 hiddenFaces, quint64 (&edges)[2 * hexahedronEdgeCount])
{
    quint64 count = 0;
    for (quint64 edge = 0; edge < hexahedronEdgeCount; ++edge) {
        if ((hexahedronEdgeFaces[edge] & ~hiddenFaces) == 0)
            continue;
        edges[2 * count] = hexahedronEdges[2 * edge];
        edges[2 * count + 1] = hexahedronEdges[2 * edge + 1];
        ++count;
    }
    return count;
}

} // namespace

void UGLWriteHexahedronWithTables(UGLDrawingBufferWriting* buffer, const double* const nodes[8],
    const _UGLColor* const* nodeColors, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo)
{
    const UGLSharedFaceTable* shared = drawingInfo->sharedFaceTable();
    const quint32 hiddenFaces = shared != nullptr ? shared->sharedHexahedronFaceMask(nodes) : 0;
    SolidTables tables;
    setNodes(tables, nodes, nodeColors, color, 8);
    const bool isCoarse = isCoarseFaceSplit(drawingInfo);
    UGLVec3 faceNormals[hexahedronFaceCount];
    quint64 drawnFaceCount = 0;
    for (quint64 f = 0; f < hexahedronFaceCount; ++f) {
        if ((hiddenFaces & (1U << f)) != 0)
            continue;
        const quint64(&face)[4] = UGLHexahedronFaces[f];
        faceNormals[drawnFaceCount++] = diagonalNormal(tables, face);
        if (isCoarse) {
            tables.addIndexes({ face[0], face[1], face[2], face[2], face[3], face[0] });
            continue;
        }
        const quint64 m = addCentreVertex(tables, face);
        tables.addIndexes(
            { m, face[0], face[1], m, face[1], face[2], m, face[2], face[3], m, face[3], face[0] });
    }
    bool isCanceled = false;
    if (drawnFaceCount != 0)
        writeFlatFaces(buffer, tables, UGLPolygonModeTriangles, faceNormals, isCoarse ? 6 : 12,
            drawingInfo, &isCanceled);
    quint64 edges[2 * hexahedronEdgeCount];
    const quint64 edgeCount = edgesOfDrawnFaces(hiddenFaces, edges);
    if (edgeCount != 0)
        writeEdges(buffer, tables, edges, edgeCount, edgeDrawingInfo, drawingInfo, isCanceled);
}

void UGLWriteHexahedron(UGLDrawingBufferWriting* buffer, const double p0[3], const _UGLColor* c0,
    const double p1[3], const _UGLColor* c1, const double p2[3], const _UGLColor* c2,
    const double p3[3], const _UGLColor* c3, const double p4[3], const _UGLColor* c4,
    const double p5[3], const _UGLColor* c5, const double p6[3], const _UGLColor* c6,
    const double p7[3], const _UGLColor* c7, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo)
{
    const double* const nodes[8] = { p0, p1, p2, p3, p4, p5, p6, p7 };
    const _UGLColor* const colors[8] = { c0, c1, c2, c3, c4, c5, c6, c7 };
    UGLWriteHexahedronWithTables(buffer, nodes, colors, color, edgeDrawingInfo, drawingInfo);
}

void UGLWriteHexahedronUniformColor(UGLDrawingBufferWriting* buffer, const double p0[3],
    const double p1[3], const double p2[3], const double p3[3], const double p4[3],
    const double p5[3], const double p6[3], const double p7[3], const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo)
{
    const double* const nodes[8] = { p0, p1, p2, p3, p4, p5, p6, p7 };
    UGLWriteHexahedronWithTables(buffer, nodes, nullptr, color, edgeDrawingInfo, drawingInfo);
}

void UGLWriteQuadrilateral(UGLDrawingBufferWriting* buffer, const double p0[3], const _UGLColor* c0,
    const double p1[3], const _UGLColor* c1, const double p2[3], const _UGLColor* c2,
    const double p3[3], const _UGLColor* c3, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo)
{
    const double* const nodes[4] = { p0, p1, p2, p3 };
    const _UGLColor* const colors[4] = { c0, c1, c2, c3 };
    writeQuadrilateral(buffer, nodes, colors, color, edgeDrawingInfo, drawingInfo);
}

void UGLWriteQuadrilateralUniformColor(UGLDrawingBufferWriting* buffer, const double p0[3],
    const double p1[3], const double p2[3], const double p3[3], const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo)
{
    const double* const nodes[4] = { p0, p1, p2, p3 };
    writeQuadrilateral(buffer, nodes, nullptr, color, edgeDrawingInfo, drawingInfo);
}

void UGLWriteTriangle(UGLDrawingBufferWriting* buffer, const double p0[3], const _UGLColor* c0,
    const double p1[3], const _UGLColor* c1, const double p2[3], const _UGLColor* c2,
    const _UGLColor* color, const _UGLEdgeDrawingInfo* edgeDrawingInfo,
    const UGLDrawingInfo* drawingInfo)
{
    const double* const nodes[3] = { p0, p1, p2 };
    const _UGLColor* const colors[3] = { c0, c1, c2 };
    writeTriangle(buffer, nodes, colors, color, edgeDrawingInfo, drawingInfo);
}

void UGLWriteTriangleUniformColor(UGLDrawingBufferWriting* buffer, const double p0[3],
    const double p1[3], const double p2[3], const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo)
{
    const double* const nodes[3] = { p0, p1, p2 };
    writeTriangle(buffer, nodes, nullptr, color, edgeDrawingInfo, drawingInfo);
}

void UGLWriteTetrahedron(UGLDrawingBufferWriting* buffer, const double p0[3], const _UGLColor* c0,
    const double p1[3], const _UGLColor* c1, const double p2[3], const _UGLColor* c2,
    const double p3[3], const _UGLColor* c3, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo)
{
    const double* const nodes[4] = { p0, p1, p2, p3 };
    const _UGLColor* const colors[4] = { c0, c1, c2, c3 };
    writeTetrahedron(buffer, nodes, colors, color, edgeDrawingInfo, drawingInfo);
}

void UGLWriteTetrahedronUniformColor(UGLDrawingBufferWriting* buffer, const double p0[3],
    const double p1[3], const double p2[3], const double p3[3], const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo)
{
    const double* const nodes[4] = { p0, p1, p2, p3 };
    writeTetrahedron(buffer, nodes, nullptr, color, edgeDrawingInfo, drawingInfo);
}

void UGLWriteOrientedBox(UGLDrawingBufferWriting* buffer, const double centre[3],
    const double axis1[3], const double axis2[3], const double axis3[3], const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo, double size1,
    double size2, double size3)
{
    const UGLVec3 C = UGLVec3::at(centre);
    const UGLVec3 e1 = UGLVec3::at(axis1), e2 = UGLVec3::at(axis2), e3 = UGLVec3::at(axis3);
    const UGLVec3 A = 0.5 * size1 * e1, B = 0.5 * size2 * e2, K = 0.5 * size3 * e3;
    SolidTables tables;
    quint64 k = 0;
    for (UGLVec3 corner : { C - A - B - K, C + A - B - K, C + A + B - K, C - A + B - K,
             C - A - B + K, C + A - B + K, C + A + B + K, C - A + B + K })
        corner.store(tables.vertices.data() + 3 * k++);
    tables.vertexCount = 8;
    tables.colorTable = UGLFillColorTable(tables.colors.data(), color, 8);
    for (quint64 entry : boxIndexes)
        tables.addIndexes({ entry });
    const UGLVec3 faceNormals[6] = { -e3, e3, -e2, e1, e2, -e1 };
    bool isCanceled = false;
    writeFlatFaces(buffer, tables, UGLPolygonModeQuads, faceNormals, 4, drawingInfo, &isCanceled);
    writeEdges(buffer, tables, hexahedronEdges, 12, edgeDrawingInfo, drawingInfo, isCanceled);
}

void UGLWriteOrientedBoxWithPixelSize(UGLDrawingBufferWriting* buffer, const double centre[3],
    const double axis1[3], const double axis2[3], const double axis3[3], const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo,
    double size1InPixels, double size2InPixels, double size3InPixels)
{
    const double lengthPerPixel = drawingInfo->lengthPerPixel();
    UGLWriteOrientedBox(buffer, centre, axis1, axis2, axis3, color, edgeDrawingInfo, drawingInfo,
        size1InPixels * lengthPerPixel, size2InPixels * lengthPerPixel,
        size3InPixels * lengthPerPixel);
}
