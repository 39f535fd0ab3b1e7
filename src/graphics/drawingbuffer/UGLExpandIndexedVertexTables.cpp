#include "graphics/drawingbuffer/UGLExpandIndexedVertexTables.h"

void UGLExpandIndexedVertexTables(const quint64* vertexIndexTable, quint64 vertexIndexCount,
    const double* vertexTable, const _UGLColor* colorTable, double* expandedVertexTable,
    double* expandedColorTable)
{
    for (quint64 entry = 0; entry < vertexIndexCount; ++entry) {
        const quint64 vertex = vertexIndexTable[entry];
        for (quint64 axis = 0; axis < 3; ++axis)
            expandedVertexTable[3 * entry + axis] = vertexTable[3 * vertex + axis];
        if (colorTable == nullptr)
            continue;
        const _UGLColor& color = colorTable[vertex];
        double* expanded = expandedColorTable + 4 * entry;
        expanded[0] = color.red;
        expanded[1] = color.green;
        expanded[2] = color.blue;
        expanded[3] = color.alpha;
    }
}
