#pragma once

#include "foundation/UGLColor.h"

#include <QtGlobal>

// Gathers, for each index, the indexed vertex (3 doubles) and, when `colorTable` is given, its
// colour (4 doubles: r, g, b, a) into flat tables of `vertexIndexCount` entries, for drawings that
// need one record per index position.
void UGLExpandIndexedVertexTables(const quint64* vertexIndexTable, quint64 vertexIndexCount,
    const double* vertexTable, const _UGLColor* colorTable, double* expandedVertexTable,
    double* expandedColorTable);
