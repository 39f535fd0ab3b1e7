// Writing lit triangles (positions, normals and colours) into drawing buffers: 10^6 triangles
// through one buffer, and the same 10^6 shared by 8 buffers on 8 writing threads, each buffer
// drained by a reader thread that hands blocks back at once (no OpenGL). The argument is the
// number of triangles per write call (1 as a primitive writing face by face, 50 as a batch).
// Baseline in the same run: interleaving the same triangles into one flat float array on one
// thread; "vs_plain" is triangles per second relative to it (1 = as fast as the plain loop).
#include "foundation/UFemNotFound.h"
#include "graphics/drawingbuffer/UGLDrawingBuffer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr quint64 triangleCount = 1'000'000;
constexpr quint64 triangles = 4;
constexpr quint64 stride = 10;

struct TriangleBatch {
    std::vector<double> vertices;
    std::vector<double> normals;
    std::vector<_UGLColor> colors;

    explicit TriangleBatch(quint64 count)
    {
        for (quint64 vertex = 0; vertex < 3 * count; ++vertex) {
            vertices.insert(vertices.end(), { double(vertex), 0.5 * double(vertex), 1.0 });
            normals.insert(normals.end(), { 0.0, 0.6, 0.8 });
            colors.push_back({ 0.2, 0.4, 0.6, 1.0 });
        }
    }
};

// Hands every block back as soon as the writer passes it on, until the writer finishes.
void drain(UGLDrawingBuffer& buffer)
{
    bool canceled = false;
    for (;;) {
        const quint64 stage = buffer.nextReadStageIdentifier_returnsWhenUnknown(nullptr, &canceled);
        if (stage == UFemNotFound || canceled)
            return;
        buffer.openReadStageWithStageIdentifier(stage, &canceled);
        const void* start = nullptr;
        const void* end = nullptr;
        while (!buffer.getNextReadBufferStartPtr(&start, &end, nullptr, &canceled) && !canceled)
            benchmark::DoNotOptimize(start);
        buffer.closeCurrentReadStage_isCanceled(&canceled);
    }
}

void writeTriangles(
    UGLDrawingBuffer& buffer, const TriangleBatch& batch, quint64 perCall, quint64 count)
{
    bool canceled = false;
    buffer.openWriteStageWithStageIdentifier(0, &canceled);
    for (quint64 written = 0; written < count; written += perCall)
        buffer.writeDrawVertexArrayWithPolygonMode(triangles, batch.vertices.data(),
            batch.colors.data(), batch.normals.data(), 3 * perCall, &canceled);
    buffer.closeCurrentWriteStage_isCanceled(&canceled);
    buffer.finishWriteBuffer_isCanceled(&canceled);
}

// The same records written into one flat array, without blocks, commands or threads.
double plainTrianglesPerSecond(const TriangleBatch& batch, quint64 perCall)
{
    std::vector<float> flat(3 * perCall * stride);
    const Clock::time_point start = Clock::now();
    for (quint64 written = 0; written < triangleCount; written += perCall) {
        float* out = flat.data();
        for (quint64 vertex = 0; vertex < 3 * perCall; ++vertex, out += stride) {
            const double* p = &batch.vertices[3 * vertex];
            const _UGLColor& c = batch.colors[vertex];
            const double* n = &batch.normals[3 * vertex];
            const float record[stride]
                = { float(p[0]), float(p[1]), float(p[2]), float(c.red), float(c.green),
                      float(c.blue), float(c.alpha), float(n[0]), float(n[1]), float(n[2]) };
            std::copy(record, record + stride, out);
        }
        benchmark::DoNotOptimize(flat.data());
        benchmark::ClobberMemory();
    }
    return double(triangleCount) / std::chrono::duration<double>(Clock::now() - start).count();
}

void reportTriangles(benchmark::State& state, Clock::time_point start, double baseline)
{
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double perSecond = double(triangleCount) * double(state.iterations()) / seconds;
    state.counters["triangles_per_s"] = perSecond;
    state.counters["vs_plain"] = perSecond / baseline;
}

void BM_OneBuffer(benchmark::State& state)
{
    const quint64 perCall = quint64(state.range(0));
    const TriangleBatch batch(perCall);
    UGLDrawingBuffer buffer(UGLOpenGLVersion_1_4);
    const double baseline = plainTrianglesPerSecond(batch, perCall);
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        buffer.resetBuffer();
        std::thread reader([&] { drain(buffer); });
        writeTriangles(buffer, batch, perCall, triangleCount);
        reader.join();
    }
    reportTriangles(state, start, baseline);
}

void BM_EightBuffersOnEightThreads(benchmark::State& state)
{
    constexpr quint64 bufferCount = 8;
    const quint64 perCall = quint64(state.range(0));
    const TriangleBatch batch(perCall);
    std::vector<std::unique_ptr<UGLDrawingBuffer>> buffers;
    for (quint64 index = 0; index < bufferCount; ++index)
        buffers.push_back(std::make_unique<UGLDrawingBuffer>(UGLOpenGLVersion_1_4));
    const double baseline = plainTrianglesPerSecond(batch, perCall);
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        std::vector<std::thread> threads;
        for (auto& buffer : buffers) {
            buffer->resetBuffer();
            threads.emplace_back([&buffer] { drain(*buffer); });
            threads.emplace_back([&buffer, &batch, perCall] {
                writeTriangles(*buffer, batch, perCall, triangleCount / bufferCount);
            });
        }
        for (std::thread& thread : threads)
            thread.join();
    }
    reportTriangles(state, start, baseline);
}

BENCHMARK(BM_OneBuffer)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EightBuffersOnEightThreads)
    ->Arg(1)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
