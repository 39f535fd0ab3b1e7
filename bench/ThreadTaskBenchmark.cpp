// Cost of starting and finishing a multi-threaded task, and of the shared work-index dispenser.
// Baselines in the same run: spawning and joining std::threads directly for the task overhead
// (also given as the ratio "vs_spawn_join" of each task benchmark), a bare atomic counter and a
// mutex-guarded counter for the dispenser (compare the rows of equal thread count).
#include "foundation/threads/UThreadTaskContext.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Spawns `threadCount` std::threads running nothing and joins them.
void spawnAndJoinThreads(std::size_t threadCount, std::vector<std::thread>& threads)
{
    for (std::size_t i = 0; i < threadCount; ++i)
        threads.emplace_back([] { benchmark::ClobberMemory(); });
    for (std::thread& thread : threads)
        thread.join();
    threads.clear();
}

// Mean seconds of one spawn-and-join of `threadCount` threads, measured just before a benchmark
// so that its ratio compares against the same machine load.
double spawnAndJoinSeconds(std::size_t threadCount)
{
    constexpr int Rounds = 50;
    std::vector<std::thread> threads;
    threads.reserve(threadCount);
    const Clock::time_point start = Clock::now();
    for (int round = 0; round < Rounds; ++round)
        spawnAndJoinThreads(threadCount, threads);
    return std::chrono::duration<double>(Clock::now() - start).count() / Rounds;
}

// Reports the mean time of one iteration of the loop timed from `start` as a ratio to the
// baseline ("vs_spawn_join" < 1 means cheaper than spawning threads).
void reportRatio(benchmark::State& state, Clock::time_point start, double baselineSeconds)
{
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.counters["vs_spawn_join"] = seconds / double(state.iterations()) / baselineSeconds;
}

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
    const double baseline = spawnAndJoinSeconds(threadCount);
    EmptyTask task;
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        task.makeReady();
        bool isCanceled = false;
        task.startThreadIfNeededWithThreadCount(threadCount, &isCanceled);
        benchmark::DoNotOptimize(task.waitAllThreadDone());
    }
    reportRatio(state, start, baseline);
}
BENCHMARK(BM_EmptyTaskOnPool)->Arg(1)->Arg(4)->Arg(8)->UseRealTime();

void BM_EmptyTaskWithCallingThread(benchmark::State& state)
{
    const auto threadCount = quint64(state.range(0));
    const double baseline = spawnAndJoinSeconds(threadCount);
    EmptyTask task;
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        task.makeReady();
        bool isCanceled = false;
        benchmark::DoNotOptimize(task.runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(
            threadCount, true, &isCanceled));
    }
    reportRatio(state, start, baseline);
}
BENCHMARK(BM_EmptyTaskWithCallingThread)->Arg(1)->Arg(4)->Arg(8)->UseRealTime();

// Baseline: a new std::thread per thread of the run, joined at its end.
void BM_BaselineSpawnAndJoinThreads(benchmark::State& state)
{
    const auto threadCount = std::size_t(state.range(0));
    std::vector<std::thread> threads;
    threads.reserve(threadCount);
    for (auto _ : state)
        spawnAndJoinThreads(threadCount, threads);
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
        benchmark::DoNotOptimize(
            sharedDispenser.nextTargetIndexRangeWithCount(RangeLength, EndlessMaxIndex));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DispenserRanges)->Threads(1)->Threads(4)->Threads(8)->UseRealTime();

std::atomic<quint64> sharedAtomicIndex { 0 };

// Baseline: the cheapest shared dispenser there is, one atomic add.
void BM_BaselineAtomicFetchAdd(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(
            sharedAtomicIndex.fetch_add(RangeLength, std::memory_order_relaxed));
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
