#pragma once

#include "OpenGLTestSupport.h"

#include "foundation/UFemNotFound.h"
#include "graphics/drawingbuffer/UGLDrawingBuffer.h"
#include "graphics/drawingbuffer/UGLDrawingBufferReading.h"
#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"
#include "graphics/opengl/UOpenGLImageFunctions.h"
#include "graphics/opengl/UOpenGLManager.h"

#include <QImage>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

constexpr quint64 replayTriangles = GL_TRIANGLES;
constexpr quint64 replayTriangleStrip = GL_TRIANGLE_STRIP;
constexpr quint64 replayNoStage = UFemNotFound;

// A read-back image, top row first, and the projection it was drawn with.
struct ReplayFrame {
    std::vector<uchar> pixels;
    quint64 width = 0;
    quint64 height = 0;
    quint64 rowWidth = 0;
    std::array<GLdouble, 16> modelView {};
    std::array<GLdouble, 16> projection {};
    std::array<GLint, 4> viewport {};

    QRgb pixel(quint64 x, quint64 yFromTop) const
    {
        const uchar* p = pixels.data() + (yFromTop * rowWidth + x) * 4;
        return qRgba(p[0], p[1], p[2], p[3]);
    }
    // Window position of a model point: x right, y down from the top row, depth 0 to 1.
    std::array<double, 3> project(double x, double y, double z) const
    {
        GLdouble window[3] = {};
        gluProject(x, y, z, modelView.data(), projection.data(), viewport.data(), &window[0],
            &window[1], &window[2]);
        return { window[0], double(height) - window[1], window[2] };
    }
    QImage image() const
    {
        return QImage(
            pixels.data(), int(width), int(height), int(rowWidth * 4), QImage::Format_RGBA8888)
            .copy();
    }
};

// Renders one frame of `size` points: clears to black, turns on the depth test and, when asked,
// lighting, then lets `draw` replay with the context current.
inline ReplayFrame renderReplayFrame(
    UOpenGLManager& manager, QSizeF size, bool isLit, const std::function<void()>& draw)
{
    manager.setSize(size);
    manager.setEyeLocation(unitEye());
    EXPECT_TRUE(manager.makeCurrentContext());
    manager.updateOpenGL();
    UOpenGLSetClearColor(_UGLColor { 0.0, 0.0, 0.0, 1.0 });
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    UOpenGLSetLightingEnabled(isLit);
    draw();
    glFinish();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    ReplayFrame frame;
    frame.pixels.resize(manager.getPixelSize(&frame.width, &frame.height, &frame.rowWidth));
    manager.getStandardizedPixelSizeRawImage(frame.pixels.data());
    glGetDoublev(GL_MODELVIEW_MATRIX, frame.modelView.data());
    glGetDoublev(GL_PROJECTION_MATRIX, frame.projection.data());
    glGetIntegerv(GL_VIEWPORT, frame.viewport.data());
    UOpenGLManager::clearCurrentContext();
    return frame;
}

inline bool isColourNear(QRgb actual, QRgb expected)
{
    return std::abs(qRed(actual) - qRed(expected)) <= 3
        && std::abs(qGreen(actual) - qGreen(expected)) <= 3
        && std::abs(qBlue(actual) - qBlue(expected)) <= 3;
}

inline QRgb replayRgb(const _UGLColor& color)
{
    return qRgb(int(std::lround(color.red * 255)), int(std::lround(color.green * 255)),
        int(std::lround(color.blue * 255)));
}

// Whether the model point shows `expected` (within 3 per channel) within one pixel of where it
// projects.
inline ::testing::AssertionResult showsColourAt(
    const ReplayFrame& frame, double x, double y, double z, QRgb expected)
{
    const auto window = frame.project(x, y, z);
    const long column = long(window[0]);
    const long row = long(window[1]);
    QRgb seen = 0;
    for (long dy = -1; dy <= 1; ++dy) {
        for (long dx = -1; dx <= 1; ++dx) {
            const long px = column + dx;
            const long py = row + dy;
            if (px < 0 || py < 0 || px >= long(frame.width) || py >= long(frame.height))
                continue;
            seen = frame.pixel(quint64(px), quint64(py));
            if (isColourNear(seen, expected))
                return ::testing::AssertionSuccess();
        }
    }
    return ::testing::AssertionFailure()
        << "at (" << x << ", " << y << ", " << z << ") pixel (" << column << ", " << row
        << ") shows " << std::hex << seen << " instead of " << expected;
}

// Reads every stage of a buffer or root whose writers run or have run: opens it, replays it
// waiting for data, closes it. Answers the draw objects and whether every stage was read whole.
inline bool replayAllStages(UReadWriteBufferReading& reading, UGLDrawingBufferReading& replay,
    std::vector<UFemGraphicCocoaDrawObject>* drawObjects)
{
    bool canceled = false;
    for (;;) {
        const quint64 stage
            = reading.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled);
        if (stage == replayNoStage || canceled)
            return !canceled;
        if (!reading.openReadStageWithStageIdentifier(stage, &canceled))
            return false;
        if (!replay.drawOpenGLUntilNextStage_returnsWhenEmpty(nullptr, drawObjects, &canceled))
            return false;
        reading.closeCurrentReadStage_isCanceled(&canceled);
    }
}

// Writes a flat triangle with one colour per vertex through a vertex array.
inline void writeFlatTriangle(UGLDrawingBufferWriting& buffer, const std::array<double, 9>& corners,
    const _UGLColor& color, bool* canceled)
{
    const _UGLColor colors[3] = { color, color, color };
    buffer.writeDrawVertexArrayWithPolygonMode(
        replayTriangles, corners.data(), colors, nullptr, 3, canceled);
}

// The two triangles of an axis-parallel square of side `size` centred at (x, y), at height z.
inline std::array<double, 18> squareTriangles(double x, double y, double z, double size)
{
    const double h = size / 2;
    return { x - h, y - h, z, x + h, y - h, z, x + h, y + h, z, x - h, y - h, z, x + h, y + h, z,
        x - h, y + h, z };
}
