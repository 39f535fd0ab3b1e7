#include "NodeOrderingMeshes.h"
#include "RunJobsWithDeadline.h"
#include "UFemLDUSolverTestSupport.h"

#include "foundation/errors/UError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <optional>
#include <random>
#include <string>

// The factorisation's schedule over many shapes of page envelope and every thread count, with
// waiting threads polling or sleeping at once: every run must end (a hang fails the test instead
// of holding it) and give the bits one thread gives.

namespace {

using Couplings = std::vector<std::pair<quint64, quint64>>;

constexpr quint64 MaxThreads = 8;
// Far beyond what any of these systems needs, even under a sanitizer on two loaded cores.
constexpr std::chrono::seconds Watchdog { 40 };
// ThreadSanitizer runs the solver many times slower: there the cubes stop at 8.
#if defined(__SANITIZE_THREAD__)
constexpr int LargestCube = 8;
#else
constexpr int LargestCube = 12;
#endif

// A mesh's node couplings with the node in slot k given by slotNodes[k] (UFemNotFound: padding).
SparseLDUTestSystem meshSystem(std::string name, const nodeordering::Mesh& mesh,
    const std::vector<quint64>& slotNodes, quint64 caseCount, quint64 seed)
{
    std::vector<quint64> slotOf(mesh.nodeCount, UFemNotFound);
    std::vector<bool> isPadding(slotNodes.size(), true);
    for (quint64 slot = 0; slot < slotNodes.size(); ++slot) {
        if (slotNodes[slot] != UFemNotFound) {
            slotOf[slotNodes[slot]] = slot;
            isPadding[slot] = false;
        }
    }
    Couplings couplings;
    for (quint64 node = 0; node < mesh.nodeCount; ++node)
        for (quint64 other : mesh.row(node))
            if (slotOf[node] > slotOf[other])
                couplings.push_back({ slotOf[node], slotOf[other] });
    return makeSlotGraphSystem(
        std::move(name), slotNodes.size(), couplings, isPadding, caseCount, seed);
}

// Cubes of n x (n + 1) x (n + 1) nodes (a cube of n^3 elements with one face held), numbered
// row by row or by the node orderer from a shuffled numbering.
SparseLDUTestSystem cubeSystem(int n, bool ordered)
{
    const nodeordering::Mesh mesh = nodeordering::makeGridMesh(n + 1, n + 1, n, 0.1, ordered, n);
    std::vector<quint64> slotNodes(mesh.nodeCount);
    std::iota(slotNodes.begin(), slotNodes.end(), 0);
    if (ordered)
        slotNodes = nodeordering::orderWithNodeOrderer(mesh);
    const std::string name = (ordered ? "ordered cube " : "row-numbered cube ") + std::to_string(n);
    return meshSystem(name, mesh, slotNodes, 1, 300 + quint64(n));
}

// Each slot coupled to earlier slots within its reach, each with the given chance; slots
// `longReachEvery` apart reach back to the first slot as well (0: none); no coupling crosses the
// first slot of a page of `splitPages`, which cuts the system into disconnected parts.
struct BandShape {
    std::string name;
    quint64 pages;
    quint64 minReach, maxReach; // in slots: each page draws its reach, each slot its own below it
    double density;
    quint64 longReachEvery = 0;
    std::vector<quint64> splitPages = {};
    quint64 caseCount = 1;
};

SparseLDUTestSystem bandSystem(const BandShape& shape, quint64 seed)
{
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    std::uniform_int_distribution<quint64> pageReach(shape.minReach, shape.maxReach);
    const quint64 slotCount = shape.pages * UFemWFSlotsPerPage;
    auto partStart = [&](quint64 slot) {
        quint64 start = 0;
        for (quint64 page : shape.splitPages)
            if (page * UFemWFSlotsPerPage <= slot)
                start = std::max(start, page * UFemWFSlotsPerPage);
        return start;
    };
    Couplings couplings;
    quint64 reach = pageReach(random);
    for (quint64 a = 1; a < slotCount; ++a) {
        if (a % UFemWFSlotsPerPage == 0)
            reach = pageReach(random);
        const quint64 back = std::uniform_int_distribution<quint64>(1, reach)(random);
        const quint64 first = std::max(partStart(a), a > back ? a - back : 0);
        for (quint64 b = first; b < a; ++b)
            if (b + 1 == a || chance(random) < shape.density)
                couplings.push_back({ a, b });
        if (shape.longReachEvery && a % shape.longReachEvery == 0 && first > partStart(a))
            couplings.push_back({ a, partStart(a) });
    }
    return makeSlotGraphSystem(shape.name, slotCount, couplings,
        std::vector<bool>(slotCount, false), shape.caseCount, seed);
}

class SolverScheduleStressThreads : public ::testing::Test {
protected:
    // Solves on `threads` threads under the watchdog; a run that does not end stops the program.
    // A poll budget, when given, is used whatever the number of processors.
    LDUSolutionTables solve(const SparseLDUTestSystem& system, quint64 threads,
        std::optional<std::chrono::nanoseconds> pollBudget = std::nullopt)
    {
        SCOPED_TRACE(system.name + ", " + std::to_string(threads) + " threads");
        LDUSolutionTables tables;
        std::vector<double> X;
        bool solved = false;
        runJobsWithDeadline({ [&] {
            auto task = makeLDUTask(system, &delegate);
            if (task && pollBudget)
                task->setPollBudget(*pollBudget);
            UErrorPtr error;
            solved = task && task->runMatrixCalculation(threads, &error);
            if (solved) {
                tables = solutionTablesOf(*task);
                X = solutionOf(*task, system);
            }
        } },
            Watchdog);
        EXPECT_TRUE(solved);
        if (solved && threads == 1) {
            EXPECT_LT(relativeResidual(system, X), 1e-10);
        }
        return tables;
    }

    // Waiting threads sleep at once (0) or poll first; by default they poll only while the
    // threads do not outnumber the processors.
    void expectSameBitsOnEveryThreadCount(const SparseLDUTestSystem& system,
        std::vector<std::optional<std::chrono::nanoseconds>> pollBudgets = { std::nullopt })
    {
        const LDUSolutionTables reference = solve(system, 1, std::chrono::nanoseconds(0));
        for (const auto& budget : pollBudgets)
            for (quint64 threads = 2; threads <= MaxThreads; ++threads)
                EXPECT_TRUE(reference == solve(system, threads, budget))
                    << system.name << ", " << threads << " threads, poll budget "
                    << (budget ? std::to_string(budget->count()) + " ns" : "by default");
    }
    const std::vector<std::optional<std::chrono::nanoseconds>> SleepAndPoll {
        std::chrono::nanoseconds(0), UFemWFMatrixCalculationThreadTaskContext::DefaultPollBudget
    };

    LDUTestDelegate delegate;
};

TEST_F(SolverScheduleStressThreads, RowNumberedAndOrderedCubes)
{
    for (int n = 4; n <= LargestCube; ++n)
        for (bool ordered : { false, true })
            expectSameBitsOnEveryThreadCount(cubeSystem(n, ordered));
}

TEST_F(SolverScheduleStressThreads, BandsAndSplitSystems)
{
    const std::vector<BandShape> shapes {
        { "narrow band", 48, 1, 20, 0.6 },
        { "narrow band, 13 cases", 24, 4, 24, 0.5, 0, {}, 13 },
        { "wide band", 24, 150, 200, 0.04 },
        { "wide band with reaches to the start", 32, 60, 180, 0.03, 37 },
        { "split into parts of 1 to 9 pages", 36, 2, 40, 0.4, 0, { 1, 2, 3, 7, 8, 17, 26, 27 } },
        { "split wide band", 30, 60, 160, 0.05, 0, { 10, 11, 20 }, 3 },
    };
    for (quint64 s = 0; s < shapes.size(); ++s)
        expectSameBitsOnEveryThreadCount(bandSystem(shapes[s], 400 + s), SleepAndPoll);
}

TEST_F(SolverScheduleStressThreads, RandomSparsePatterns)
{
    // Reaches that change from page to page leave some pivots ready long before the column being
    // handed out reaches them.
    std::mt19937_64 random(7);
    for (quint64 pattern = 0; pattern < 8; ++pattern) {
        const quint64 maxReach = 16 + random() % 160;
        const BandShape shape { "random sparse pattern " + std::to_string(pattern),
            12 + random() % 24, 1, maxReach, 0.02 + 0.2 * double(random() % 100) / 100.0,
            random() % 2 ? 11 + random() % 60 : 0 };
        expectSameBitsOnEveryThreadCount(bandSystem(shape, 500 + pattern), SleepAndPoll);
    }
}

} // namespace
