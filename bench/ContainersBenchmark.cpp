// The large array against std::vector at a million objects, and the arenas against malloc for
// ten million small blocks. Each pair runs in the same process; the program ends with the ratios
// (ours / baseline, lower is better).

#include "BenchmarkRatioReporter.h"

#include "foundation/containers/UChildMemoryAllocator.h"
#include "foundation/containers/ULargeArray.h"
#include "foundation/containers/UMemoryAllocator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace {

struct Card {
    uint64_t number;
};

using CardPtr = std::shared_ptr<Card>;

constexpr uint64_t objectCount = 1000000;
constexpr int editIterations = 2000;
constexpr uint64_t smallAllocationCount = 10000000;
constexpr uint64_t arenaStorageSize = 1 << 20;
constexpr uint64_t childChunkSize = 64 * 1024;

const std::vector<CardPtr>& cards()
{
    static const std::vector<CardPtr> all = [] {
        std::vector<CardPtr> made;
        for (uint64_t i = 0; i < objectCount + editIterations; ++i)
            made.push_back(std::make_shared<Card>(Card { i }));
        return made;
    }();
    return all;
}

std::span<const CardPtr> filling()
{
    return std::span(cards()).first(objectCount);
}

std::span<const CardPtr> extras()
{
    return std::span(cards()).subspan(objectCount, editIterations);
}

void Append_LargeArray(benchmark::State& state)
{
    for (auto _ : state) {
        ULargeArray<Card> array;
        for (const CardPtr& card : filling())
            array.addObject(card);
        benchmark::DoNotOptimize(array.count());
    }
}

void Append_Vector(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<CardPtr> vector;
        for (const CardPtr& card : filling())
            vector.push_back(card);
        benchmark::DoNotOptimize(vector.size());
    }
}

void InsertMiddle_LargeArray(benchmark::State& state)
{
    ULargeArray<Card> array(filling().data(), objectCount);
    size_t next = 0;
    for (auto _ : state)
        array.insertObject(extras()[next++], array.count() / 2);
}

void InsertMiddle_Vector(benchmark::State& state)
{
    std::vector<CardPtr> vector(filling().begin(), filling().end());
    size_t next = 0;
    for (auto _ : state)
        vector.insert(vector.begin() + vector.size() / 2, extras()[next++]);
}

void RemoveMiddle_LargeArray(benchmark::State& state)
{
    ULargeArray<Card> array(filling().data(), objectCount);
    for (auto _ : state)
        array.removeObjectAtIndex(array.count() / 2);
}

void RemoveMiddle_Vector(benchmark::State& state)
{
    std::vector<CardPtr> vector(filling().begin(), filling().end());
    for (auto _ : state)
        vector.erase(vector.begin() + vector.size() / 2);
}

void IdentityLookup_LargeArray(benchmark::State& state)
{
    ULargeArray<Card> array(filling().data(), objectCount);
    std::mt19937_64 random(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(array.indexOfObjectIdenticalTo(filling()[random() % objectCount]));
}

void IdentityLookup_Vector(benchmark::State& state)
{
    std::vector<CardPtr> vector(filling().begin(), filling().end());
    std::mt19937_64 random(1);
    for (auto _ : state) {
        const CardPtr& wanted = filling()[random() % objectCount];
        benchmark::DoNotOptimize(std::find(vector.begin(), vector.end(), wanted) - vector.begin());
    }
}

uint64_t smallSize(uint64_t i)
{
    return 8 + (i * 7) % 57; // 8 .. 64 bytes
}

void SmallAllocations_Arena(benchmark::State& state)
{
    for (auto _ : state) {
        UMemoryAllocator arena(arenaStorageSize, false);
        for (uint64_t i = 0; i < smallAllocationCount; ++i)
            benchmark::DoNotOptimize(arena.allocMemoryWithSize(smallSize(i)));
    }
}

void SmallAllocations_LockedArena(benchmark::State& state)
{
    for (auto _ : state) {
        UMemoryAllocator arena(arenaStorageSize, true);
        for (uint64_t i = 0; i < smallAllocationCount; ++i)
            benchmark::DoNotOptimize(arena.allocMemoryWithSize(smallSize(i)));
    }
}

void SmallAllocations_ChildArena(benchmark::State& state)
{
    for (auto _ : state) {
        UMemoryAllocator root(arenaStorageSize, true);
        UChildMemoryAllocator child(root.memoryAllocatorStructPtr(), childChunkSize);
        for (uint64_t i = 0; i < smallAllocationCount; ++i)
            benchmark::DoNotOptimize(child.allocMemoryWithSize(smallSize(i)));
    }
}

void SmallAllocations_Malloc(benchmark::State& state)
{
    std::vector<void*> blocks(smallAllocationCount);
    for (auto _ : state) {
        for (uint64_t i = 0; i < smallAllocationCount; ++i)
            blocks[i] = std::malloc(smallSize(i));
        benchmark::DoNotOptimize(blocks.data());
        for (void* block : blocks)
            std::free(block);
    }
}

BENCHMARK(Append_LargeArray)->Unit(benchmark::kMillisecond);
BENCHMARK(Append_Vector)->Unit(benchmark::kMillisecond);
BENCHMARK(InsertMiddle_LargeArray)->Iterations(editIterations)->Unit(benchmark::kMicrosecond);
BENCHMARK(InsertMiddle_Vector)->Iterations(editIterations)->Unit(benchmark::kMicrosecond);
BENCHMARK(RemoveMiddle_LargeArray)->Iterations(editIterations)->Unit(benchmark::kMicrosecond);
BENCHMARK(RemoveMiddle_Vector)->Iterations(editIterations)->Unit(benchmark::kMicrosecond);
BENCHMARK(IdentityLookup_LargeArray)->Iterations(editIterations)->Unit(benchmark::kMicrosecond);
BENCHMARK(IdentityLookup_Vector)->Iterations(editIterations)->Unit(benchmark::kMicrosecond);
BENCHMARK(SmallAllocations_Arena)->Unit(benchmark::kMillisecond);
BENCHMARK(SmallAllocations_LockedArena)->Unit(benchmark::kMillisecond);
BENCHMARK(SmallAllocations_ChildArena)->Unit(benchmark::kMillisecond);
BENCHMARK(SmallAllocations_Malloc)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    cards();
    BenchmarkRatioReporter reporter({
        { "Append_LargeArray", "Append_Vector" },
        { "InsertMiddle_LargeArray", "InsertMiddle_Vector" },
        { "RemoveMiddle_LargeArray", "RemoveMiddle_Vector" },
        { "IdentityLookup_LargeArray", "IdentityLookup_Vector" },
        { "SmallAllocations_Arena", "SmallAllocations_Malloc" },
        { "SmallAllocations_LockedArena", "SmallAllocations_Malloc" },
        { "SmallAllocations_ChildArena", "SmallAllocations_Malloc" },
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
