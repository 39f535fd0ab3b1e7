#include "graphics/drawingbuffer/UGLDrawingInfo.h"

#include <cmath>
#include <numbers>

namespace {

template <std::size_t Size>
void fillPointVertexTable(std::array<double, Size>& table, const double (&rows)[3][3])
{
    constexpr std::size_t vertexCount = Size / 3;
    for (std::size_t k = 0; k < vertexCount; ++k) {
        const double angle = 2.0 * std::numbers::pi * double(k) / double(vertexCount);
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        for (std::size_t axis = 0; axis < 3; ++axis)
            table[3 * k + axis] = c * rows[0][axis] + s * rows[1][axis];
    }
}

} // namespace

UGLDrawingInfo::UGLDrawingInfo()
{
    // The identity frame: the eye looks down the object's z axis.
    const double identity[3][3] = { { 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 1 } };
    setEyeCoordOnObjectCoord(identity);
}

void UGLDrawingInfo::getEyeCoordOnObjectCoord(double eyeCoordOnObjectCoord[3][3]) const
{
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            eyeCoordOnObjectCoord[row][column] = eyeCoordOnObjectCoord_[row][column];
}

void UGLDrawingInfo::setEyeCoordOnObjectCoord(const double eyeCoordOnObjectCoord[3][3])
{
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            eyeCoordOnObjectCoord_[row][column] = eyeCoordOnObjectCoord[row][column];
    fillPointVertexTable(pointVertexTableFor6Vertex_, eyeCoordOnObjectCoord_);
    fillPointVertexTable(pointVertexTableFor8Vertex_, eyeCoordOnObjectCoord_);
    fillPointVertexTable(pointVertexTableFor10Vertex_, eyeCoordOnObjectCoord_);
    fillPointVertexTable(pointVertexTableFor12Vertex_, eyeCoordOnObjectCoord_);
}
