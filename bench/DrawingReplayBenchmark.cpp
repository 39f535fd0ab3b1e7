// One frame of 10^6 lit, coloured triangles (positions, colours and normals) covering a
// 1920 x 1080 off-screen image on the software renderer: 8 writing threads fill the 4 children of
// each of two root drawing buffers while the layer-image thread replays both roots (OpenGL 1.4
// form) and reads the image back. The frame time is the wall time of one such frame.
// Baseline in the same run: the same triangles, already interleaved in 8 float arrays, drawn with
// one glDrawArrays each and read back, without buffers or threads; the ratio shows what writing
// and replaying costs over bare rasterisation. With VANTREL_REPLAY_FRAME_PNG set, the last
// replayed frame is saved there.
#include "BenchmarkRatioReporter.h"

#include "foundation/UFemNotFound.h"
#include "graphics/drawingbuffer/UGLRootDrawingBuffer.h"
#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"
#include "graphics/opengl/UOpenGLImageFunctions.h"
#include "graphics/opengl/UOpenGLManager.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

constexpr quint64 writerCount = 8;
constexpr quint64 childrenPerRoot = 4;
constexpr quint64 columns = 1000;
constexpr quint64 rows = 500; // 2 triangles per grid cell: 10^6 triangles
constexpr quint64 cellsPerCall = 50;
constexpr double imageWidth = 1920;
constexpr double imageHeight = 1080;
constexpr quint64 stride = 10;

// The triangles of grid row `row`, cells [first, first + count): positions, colours, normals.
struct RowPiece {
    std::vector<double> vertices;
    std::vector<_UGLColor> colors;
    std::vector<double> normals;

    RowPiece(quint64 row, quint64 first, quint64 count)
    {
        const double cellWidth = imageWidth / double(columns);
        const double cellHeight = imageHeight / double(rows);
        const double y0 = -imageHeight / 2 + cellHeight * double(row);
        for (quint64 column = first; column < first + count; ++column) {
            const double x0 = -imageWidth / 2 + cellWidth * double(column);
            const double corners[6][2]
                = { { x0, y0 }, { x0 + cellWidth, y0 }, { x0 + cellWidth, y0 + cellHeight },
                      { x0, y0 }, { x0 + cellWidth, y0 + cellHeight }, { x0, y0 + cellHeight } };
            for (const auto& corner : corners)
                addVertex(corner[0], corner[1], row);
        }
    }

    void addVertex(double x, double y, quint64 row)
    {
        vertices.insert(vertices.end(), { x, y, 0.0 });
        const double nx = 0.6 * std::sin(x / 60);
        const double ny = 0.6 * std::cos(y / 45);
        const double length = std::sqrt(nx * nx + ny * ny + 1);
        normals.insert(normals.end(), { nx / length, ny / length, 1 / length });
        const double writer = double(row % writerCount) / double(writerCount - 1);
        colors.push_back(
            { 0.3 + 0.7 * (x / imageWidth + 0.5), 0.4 + 0.6 * writer, 0.9 - 0.6 * writer, 1 });
    }
};

// Writer w draws the grid rows w, w + 8, ... in pieces of 50 cells.
std::vector<RowPiece> writerPieces(quint64 writer)
{
    std::vector<RowPiece> pieces;
    for (quint64 row = writer; row < rows; row += writerCount)
        for (quint64 first = 0; first < columns; first += cellsPerCall)
            pieces.emplace_back(row, first, cellsPerCall);
    return pieces;
}

void writePieces(UGLDrawingBuffer& buffer, const std::vector<RowPiece>& pieces)
{
    bool canceled = false;
    buffer.openWriteStageWithStageIdentifier(0, &canceled);
    for (const RowPiece& piece : pieces)
        buffer.writeDrawVertexArrayWithPolygonMode(GL_TRIANGLES, piece.vertices.data(),
            piece.colors.data(), piece.normals.data(), piece.colors.size(), &canceled);
    buffer.closeCurrentWriteStage_isCanceled(&canceled);
    buffer.finishWriteBuffer_isCanceled(&canceled);
}

void replayAllStages(UGLRootDrawingBuffer& root)
{
    bool canceled = false;
    std::vector<UFemGraphicCocoaDrawObject> objects;
    for (;;) {
        const quint64 stage = root.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled);
        if (stage == UFemNotFound || canceled)
            return;
        root.openReadStageWithStageIdentifier(stage, &canceled);
        root.drawOpenGLUntilNextStage_returnsWhenEmpty(nullptr, &objects, &canceled);
        root.closeCurrentReadStage_isCanceled(&canceled);
    }
}

struct Frame {
    std::unique_ptr<UOpenGLManager> manager;
    std::vector<uchar> pixels;

    Frame()
    {
        const auto& catalogue = UGLGraphicProcessorInfoManager::sharedGraphicProcessorInfoManager();
        UErrorPtr error;
        manager = UOpenGLManager::create(catalogue.softwareRendererVirtualScreenIdentifier(),
            UGLOpenGLVersion_1_4, UGLOfflineRenderingTypeFrameBufferObject, false, &error);
        if (!manager)
            std::abort();
        manager->setSize(QSizeF(imageWidth, imageHeight));
        UOpenGLEyeLocation eye;
        const double position[3] = { 0, 0, 100 };
        const double direction[3] = { 0, 0, -1 };
        const double up[3] = { 0, 1, 0 };
        eye.setEyeLocationWithPosition(position, direction, up, 1, 200, 1.0);
        manager->setEyeLocation(eye);
        pixels.resize(manager->getPixelSize(nullptr, nullptr, nullptr));
    }
    void begin()
    {
        manager->makeCurrentContext();
        manager->updateOpenGL();
        UOpenGLSetClearColor(_UGLColor { 0, 0, 0, 1 });
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        UOpenGLSetLightingEnabled(true);
        glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
    }
    void end()
    {
        manager->getStandardizedPixelSizeRawImage(pixels.data());
        benchmark::DoNotOptimize(pixels.data());
    }
    void save(const char* path) const
    {
        quint64 width = 0, height = 0, rowWidth = 0;
        manager->getPixelSize(&width, &height, &rowWidth);
        QImage(pixels.data(), int(width), int(height), int(rowWidth * 4), QImage::Format_RGBA8888)
            .save(QString::fromLocal8Bit(path));
    }
};

void BM_ReplayFrameEightWriters(benchmark::State& state)
{
    std::vector<std::vector<RowPiece>> pieces;
    for (quint64 writer = 0; writer < writerCount; ++writer)
        pieces.push_back(writerPieces(writer));
    UGLRootDrawingBuffer roots[2] { UGLRootDrawingBuffer(UGLOpenGLVersion_1_4),
        UGLRootDrawingBuffer(UGLOpenGLVersion_1_4) };
    Frame frame;
    for (auto _ : state) {
        std::vector<std::thread> writers;
        for (quint64 writer = 0; writer < writerCount; ++writer) {
            UGLRootDrawingBuffer& root = roots[writer / childrenPerRoot];
            if (writer % childrenPerRoot == 0)
                root.resetBufferWithChildBufferCount(childrenPerRoot);
            UGLDrawingBuffer* child = root.drawingBufferAtIndex(writer % childrenPerRoot);
            writers.emplace_back([child, &pieces, writer] { writePieces(*child, pieces[writer]); });
        }
        frame.begin();
        for (UGLRootDrawingBuffer& root : roots)
            replayAllStages(root);
        frame.end();
        for (std::thread& writer : writers)
            writer.join();
    }
    if (const char* path = std::getenv("VANTREL_REPLAY_FRAME_PNG"))
        frame.save(path);
    UOpenGLManager::clearCurrentContext();
    state.counters["triangles"] = double(columns * rows * 2);
}

void BM_BareDrawArrays(benchmark::State& state)
{
    std::vector<std::vector<float>> arrays;
    for (quint64 writer = 0; writer < writerCount; ++writer) {
        std::vector<float> flat;
        for (const RowPiece& piece : writerPieces(writer)) {
            for (quint64 vertex = 0; vertex < piece.colors.size(); ++vertex) {
                const _UGLColor& c = piece.colors[vertex];
                const double* p = &piece.vertices[3 * vertex];
                const double* n = &piece.normals[3 * vertex];
                flat.insert(flat.end(),
                    { float(p[0]), float(p[1]), float(p[2]), float(c.red), float(c.green),
                        float(c.blue), float(c.alpha), float(n[0]), float(n[1]), float(n[2]) });
            }
        }
        arrays.push_back(std::move(flat));
    }
    Frame frame;
    constexpr GLsizei strideBytes = GLsizei(stride * sizeof(float));
    for (auto _ : state) {
        frame.begin();
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        for (const std::vector<float>& flat : arrays) {
            glVertexPointer(3, GL_FLOAT, strideBytes, flat.data());
            glColorPointer(4, GL_FLOAT, strideBytes, flat.data() + 3);
            glNormalPointer(GL_FLOAT, strideBytes, flat.data() + 7);
            glDrawArrays(GL_TRIANGLES, 0, GLsizei(flat.size() / stride));
        }
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        frame.end();
    }
    UOpenGLManager::clearCurrentContext();
}

BENCHMARK(BM_ReplayFrameEightWriters)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareDrawArrays)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    BenchmarkRatioReporter reporter(std::vector<std::pair<std::string, std::string>> {
        { "BM_ReplayFrameEightWriters", "BM_BareDrawArrays" } });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
