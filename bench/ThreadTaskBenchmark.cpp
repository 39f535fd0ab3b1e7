// Cost of starting and finishing a multi-threaded task, and of the shared work-index dispenser.
// Baselines in the same run: spawning and joining std::threads directly for the task overhead,
// a bare atomic counter and a mutex-guarded counter for the dispenser.
#include "foundation/UThreadTaskContext.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {

class EmptyTask final : public UThreadTaskContext {
public:
    ~EmptyTask() override { clearAll_shouldNotRunning(); }

    bool doThreadMainTaskWithThreadContext(UThreadContext&) override { return true; }

    void makeReady()
    {
        std::lock_guard<EmptyTask> locked(*this);
        clearAll_shouldNotRunning_whileLocked();
        _setThreadState_whileLocked(UThreadTaskStateReadyToRun);
    }
};

void BM_EmptyTaskOnPool(benchmark::State& state)
{
    const auto threadCount = quint64(state.range(0));
    EmptyTask task;
    for (auto _ : state) {
        task.makeReady();
        bool isCanceled = false;
        task.startThreadIfNeededWithThreadCount(threadCount, &isCanceled);
        benchmark::DoNotOptimize(task.waitAllThreadDone());
    }
}
BENCHMARK(BM_EmptyTaskOnPool)->Arg(1)->Arg(4)->Arg(8)->UseRealTime();

void BM_EmptyTaskWithCallingThread(benchmark::State& state)
{
    const auto threadCount = quint64(state.range(0));
    EmptyTask task;
    for (auto _ : state) {
        task.makeReady();
        bool isCanceled = false;
        benchmark::DoNotOptimize(task.runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(threadCount, true, &isCanceled));
    }
}
BENCHMARK(BM_EmptyTaskWithCallingThread)->Arg(1)->Arg(4)->Arg(8)->UseRealTime();

// Baseline: a new std::thread per thread of the run, joined at its end.
void BM_BaselineSpawnAndJoinThreads(benchmark::State& state)
{
    const auto threadCount = std::size_t(state.range(0));
    std::vector<std::thread> threads;
    threads.reserve(threadCount);
    for (auto _ : state) {
        for (std::size_t i = 0; i < threadCount; ++i)
            threads.emplace_back([] { benchmark::ClobberMemory(); });
        for (std::thread& thread : threads)
            thread.join();
        threads.clear();
    }
}
BENCHMARK(BM_BaselineSpawnAndJoinThreads)->Arg(1)->Arg(4)->Arg(8)->UseRealTime();

constexpr quint64 RangeLength = 16;
constexpr quint64 EndlessMaxIndex = ~quint64(0) - 1;

UThreadTaskNextTargetIndexesManager sharedDispenser;

void BM_DispenserRanges(benchmark::State& state)
{
    if (state.thread_index() == 0)
        sharedDispenser.clear();
    for (auto _ : state)
        benchmark::DoNotOptimize(sharedDispenser.nextTargetIndexRangeWithCount(RangeLength, EndlessMaxIndex));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DispenserRanges)->Threads(1)->Threads(4)->Threads(8)->UseRealTime();

std::atomic<quint64> sharedAtomicIndex { 0 };

// Baseline: the cheapest shared dispenser there is, one atomic add.
void BM_BaselineAtomicFetchAdd(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(sharedAtomicIndex.fetch_add(RangeLength, std::memory_order_relaxed));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BaselineAtomicFetchAdd)->Threads(1)->Threads(4)->Threads(8)->UseRealTime();

std::mutex sharedMutex;
quint64 sharedMutexIndex = 0;

// Baseline: a plain mutex around one index.
void BM_BaselineMutexIndex(benchmark::State& state)
{
    for (auto _ : state) {
        std::lock_guard<std::mutex> locked(sharedMutex);
        benchmark::DoNotOptimize(sharedMutexIndex += RangeLength);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BaselineMutexIndex)->Threads(1)->Threads(4)->Threads(8)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
