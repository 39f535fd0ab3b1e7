// Solver benchmark: the paged L-D-U solver against CHOLMOD (supernodal, OpenBLAS) given our
// permutation and given its own ordering, and Eigen's SimplicialLDLT, on the stiffness of a
// hexahedral solid cube and of a thin hexahedral plate (a shell-like, 2-D connected mesh). Every
// solver runs in a forked child so that its peak memory is its own; all run in one process run so
// that the ratios are measured under the same machine load.
//
//   build/release/bench/SolverBenchmark [--quick] [--threads N] [--min-dofs N] [--max-dofs N]
//
// --threads: the thread count of the multi-threaded rows (default: the hardware threads).

#include "calculation/UFemWFMatrixCalculationThreadTaskContext.h"
#include "calculation/solver/UFemWFPageLayout.h"
#include "calculation/solver/USparseMatrix.h"

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>
#include <suitesparse/cholmod.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// ---- the model ----------------------------------------------------------------------------------

constexpr double YoungsModulus = 1.0;
constexpr double PoissonsRatio = 0.3;
constexpr int ElementDOFs = 24;

using ElementMatrix = std::array<double, ElementDOFs * ElementDOFs>;

// Trilinear 8-node hexahedron, a cube of edge 1, 2x2x2 Gauss points.
ElementMatrix hexahedronStiffness()
{
    const double E = YoungsModulus, nu = PoissonsRatio;
    const double c = E / ((1 + nu) * (1 - 2 * nu));
    double D[6][6] = {};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            D[i][j] = c * (i == j ? 1 - nu : nu);
        D[i + 3][i + 3] = c * (1 - 2 * nu) / 2;
    }
    const int sign[8][3] = { { -1, -1, -1 }, { 1, -1, -1 }, { 1, 1, -1 }, { -1, 1, -1 },
        { -1, -1, 1 }, { 1, -1, 1 }, { 1, 1, 1 }, { -1, 1, 1 } };
    const double g = 1.0 / std::sqrt(3.0);
    ElementMatrix K {};
    for (int p = 0; p < 8; ++p) {
        const double xi[3] = { sign[p][0] * g, sign[p][1] * g, sign[p][2] * g };
        double B[6][ElementDOFs] = {};
        for (int a = 0; a < 8; ++a) {
            double dN[3];
            for (int d = 0; d < 3; ++d) {
                dN[d] = 0.125 * sign[a][d];
                for (int e = 0; e < 3; ++e)
                    if (e != d)
                        dN[d] *= 1 + sign[a][e] * xi[e];
                dN[d] *= 2.0; // d(xi)/dx for an edge of 1
            }
            B[0][3 * a] = dN[0];
            B[1][3 * a + 1] = dN[1];
            B[2][3 * a + 2] = dN[2];
            B[3][3 * a + 1] = dN[2];
            B[3][3 * a + 2] = dN[1];
            B[4][3 * a] = dN[2];
            B[4][3 * a + 2] = dN[0];
            B[5][3 * a] = dN[1];
            B[5][3 * a + 1] = dN[0];
        }
        const double weight = 0.125; // det J for an edge of 1
        for (int i = 0; i < ElementDOFs; ++i) {
            double DB[6];
            for (int r = 0; r < 6; ++r) {
                DB[r] = 0;
                for (int s = 0; s < 6; ++s)
                    DB[r] += D[r][s] * B[s][i];
            }
            for (int j = 0; j < ElementDOFs; ++j) {
                double v = 0;
                for (int r = 0; r < 6; ++r)
                    v += B[r][j] * DB[r];
                K[i * ElementDOFs + j] += v * weight;
            }
        }
    }
    return K;
}

// A grid of nx x ny x nz hexahedra, the face x = 0 fixed, a load of -1 in z spread over the face
// x = nx. Free nodes are numbered row by row (z fastest, then y, then x): a geometric order.
struct Mesh {
    std::string name;
    int nx, ny, nz;
    ElementMatrix Ke = hexahedronStiffness();

    long nodeSlot(int i, int j, int k) const
    {
        return i == 0 ? -1 : (long(i - 1) * (ny + 1) + j) * (nz + 1) + k;
    }
    long freeNodes() const { return long(nx) * (ny + 1) * (nz + 1); }
    long dofs() const { return 3 * freeNodes(); }
    quint64 pages() const { return UFemWFPageLayout::pageCount(quint64(freeNodes())); }

    // Calls add(row DOF, column DOF, value) for the lower triangle, element by element.
    template <class Add> void assemble(Add add) const
    {
        const int corner[8][3] = { { 0, 0, 0 }, { 1, 0, 0 }, { 1, 1, 0 }, { 0, 1, 0 }, { 0, 0, 1 },
            { 1, 0, 1 }, { 1, 1, 1 }, { 0, 1, 1 } };
        for (int i = 0; i < nx; ++i)
            for (int j = 0; j < ny; ++j)
                for (int k = 0; k < nz; ++k) {
                    long slot[8];
                    for (int a = 0; a < 8; ++a)
                        slot[a] = nodeSlot(i + corner[a][0], j + corner[a][1], k + corner[a][2]);
                    for (int a = 0; a < 8; ++a)
                        for (int b = 0; b < 8; ++b) {
                            if (slot[a] < 0 || slot[b] < 0 || slot[a] < slot[b])
                                continue;
                            for (int di = 0; di < 3; ++di)
                                for (int dj = 0; dj < 3; ++dj) {
                                    const long row = 3 * slot[a] + di, column = 3 * slot[b] + dj;
                                    if (row >= column)
                                        add(row, column,
                                            Ke[(3 * a + di) * ElementDOFs + 3 * b + dj]);
                                }
                        }
                }
    }

    std::vector<double> load() const
    {
        std::vector<double> f(dofs(), 0.0);
        const double share = -1.0 / ((ny + 1) * (nz + 1));
        for (int j = 0; j <= ny; ++j)
            for (int k = 0; k <= nz; ++k)
                f[3 * nodeSlot(nx, j, k) + 2] = share;
        return f;
    }
};

// The lower triangle in compressed columns, for CHOLMOD, Eigen and the residual.
struct LowerMatrix {
    long n = 0;
    std::vector<long> columnStart;
    std::vector<long> rowIndex;
    std::vector<double> value;

    explicit LowerMatrix(const Mesh& mesh)
        : n(mesh.dofs())
    {
        std::vector<std::vector<std::pair<long, double>>> columns(n);
        mesh.assemble([&](long r, long c, double v) { columns[c].push_back({ r, v }); });
        columnStart.push_back(0);
        for (auto& column : columns) {
            std::sort(
                column.begin(), column.end(), [](auto& a, auto& b) { return a.first < b.first; });
            for (std::size_t e = 0; e < column.size(); ++e) {
                if (!rowIndex.empty() && long(rowIndex.size()) > columnStart.back()
                    && rowIndex.back() == column[e].first)
                    value.back() += column[e].second;
                else {
                    rowIndex.push_back(column[e].first);
                    value.push_back(column[e].second);
                }
            }
            columnStart.push_back(long(rowIndex.size()));
            std::vector<std::pair<long, double>>().swap(column);
        }
    }

    double relativeResidual(const std::vector<double>& x, const std::vector<double>& f) const
    {
        std::vector<double> y(n, 0.0);
        for (long j = 0; j < n; ++j)
            for (long e = columnStart[j]; e < columnStart[j + 1]; ++e) {
                const long i = rowIndex[e];
                y[i] += value[e] * x[j];
                if (i != j)
                    y[j] += value[e] * x[i];
            }
        double r = 0, b = 0;
        for (long i = 0; i < n; ++i) {
            r += (y[i] - f[i]) * (y[i] - f[i]);
            b += f[i] * f[i];
        }
        return std::sqrt(r / b);
    }
};

// ---- one measurement in a child process ---------------------------------------------------------

struct Result {
    bool ok = false;
    bool timedOut = false;
    double orderSeconds = 0;
    double factorSeconds = 0;
    double solveSeconds = 0;
    double flops = 0;
    double storedDoubles = 0;
    double peakBytes = 0;
    double residual = 0;
    int ordering = -1;
};

long statusKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::strlen(field)));
    return 0;
}

enum class Solver { Ours, CholmodGiven, CholmodOwn, Eigen };

// Multi-threaded BLAS can crawl on a loaded machine; no measurement may hold the run for ever.
constexpr unsigned ChildTimeLimitSeconds = 300;

// Runs one measurement in a fresh process (so that OpenBLAS starts its own threads there and the
// peak memory is the solver's own) and reads its result back through a pipe.
Result inChild(const Mesh& mesh, Solver solver, int threads)
{
    int channel[2];
    if (pipe(channel) != 0)
        return {};
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        close(channel[0]);
        const std::string threadText = std::to_string(threads);
        // BLAS and OpenMP threads of CHOLMOD; passive waiting keeps idle OpenMP threads from
        // spinning against the working ones on a loaded machine.
        setenv("OPENBLAS_NUM_THREADS", threadText.c_str(), 1);
        setenv("OMP_NUM_THREADS", threadText.c_str(), 1);
        setenv("OMP_WAIT_POLICY", "passive", 1);
        alarm(ChildTimeLimitSeconds);
        const std::string arguments[] = { "SolverBenchmark", "--child", std::to_string(channel[1]),
            std::to_string(int(solver)), threadText, std::to_string(mesh.nx),
            std::to_string(mesh.ny), std::to_string(mesh.nz) };
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv("/proc/self/exe", argv.data());
        _exit(127);
    }
    close(channel[1]);
    Result result;
    if (read(channel[0], &result, sizeof result) != ssize_t(sizeof result))
        result = Result();
    close(channel[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.timedOut = WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM;
    return result;
}

// ---- our solver ---------------------------------------------------------------------------------

Result runOurs(
    const Mesh& mesh, const LowerMatrix& lower, const std::vector<double>& f, int threads)
{
    Result result;
    UFemWFMatrixCalculationThreadTaskContext task;
    {
        std::lock_guard<UThreadTaskContext> lock(task);
        task.setArgumentIfNeededWithDelegate(nullptr);
    }
    _UFemWFMatrixCalculationContext* c = task.calculationContextPtr();
    const quint64 pages = mesh.pages();
    c->nodePageCount = pages;
    c->caseCount = 1;
    c->caseBlockCount = 1;
    UFemWFSetupCalculationStiffnessMatrix(&c->stiffnessMatrix, pages);
    mesh.assemble([&](long r, long col, double v) {
        using namespace UFemWFPageLayout;
        double* block = USparseMatrixBlockCreate(&c->stiffnessMatrix, pageOfDOF(r), pageOfDOF(col),
            blockIndex(blockOfDOF(r), blockOfDOF(col)));
        block[valueIndex(rowInBlock(r), rowInBlock(col))] += v;
    });
    UFemWFSetupCalculationForceMatrix(&c->forceMatrix, pages, 1);
    for (long i = 0; i < mesh.dofs(); ++i) {
        using namespace UFemWFPageLayout;
        if (f[i] != 0.0)
            USparseMatrixBlockCreate(&c->forceMatrix, 0, pageOfDOF(i),
                forceBlockIndex(blockOfDOF(i), 0))[forceValueIndex(rowInBlock(i), 0)]
                = f[i];
    }
    UErrorPtr error;
    task.setupToRunCalculation(&error);
    if (error)
        return result;
    // The back substitution's share of the progress: the factorisation (with the forward
    // substitution folded in) is over when the progress reaches the rest.
    std::vector<quint64> firstColumn(pages), lastRow(pages);
    for (quint64 i = 0; i < pages; ++i) {
        firstColumn[i] = USparseMatrixRowColumnIndexSet(&c->stiffnessMatrix, i).front();
        for (quint64 j = firstColumn[i]; j <= i; ++j)
            lastRow[j] = i;
    }
    quint64 backSubstitution = 0;
    for (quint64 p = 0; p < pages; ++p)
        backSubstitution += 64 * (lastRow[p] - p) + 32;

    const auto start = Clock::now();
    std::atomic<bool> done { false };
    std::thread runner([&] {
        UErrorPtr runError;
        result.ok = task.runMatrixCalculation(quint64(threads), &runError);
        done = true;
    });
    double factorSeconds = -1;
    while (!done) {
        const quint64 total = task.progressTotalLength();
        if (factorSeconds < 0 && total != ~quint64(0)
            && task.currentProgress() + backSubstitution >= total)
            factorSeconds = secondsSince(start);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    runner.join();
    const double totalSeconds = secondsSince(start);
    result.factorSeconds = factorSeconds < 0 ? totalSeconds : factorSeconds;
    result.solveSeconds = totalSeconds - result.factorSeconds;
    result.flops = double(task.computingCount())
        * double(UFemWFMatrixCalculationThreadTaskContext::progressUnitFlotingOperations());
    result.storedDoubles
        = double(USparseMatrixCountAllPagesAndBlocks(nullptr, &c->L_Matrix)) * 144.0;
    std::vector<double> x(mesh.dofs());
    for (long i = 0; i < mesh.dofs(); ++i)
        x[i] = *(UFemWFXMatrixEntryAddress(c->X_MatrixTable.data(), quint64(i / 3), 0, 1)
            + UFemWFCasesPerBlock * (i % 3));
    result.residual = lower.relativeResidual(x, f);
    return result;
}

// ---- CHOLMOD ------------------------------------------------------------------------------------

Result runCholmod(
    const LowerMatrix& lower, const std::vector<double>& f, bool givenOrder, int threads)
{
    (void)threads; // OPENBLAS_NUM_THREADS of the child process
    Result result;
    cholmod_common common;
    cholmod_l_start(&common);
    common.supernodal = CHOLMOD_SUPERNODAL;
    cholmod_sparse A {};
    A.nrow = A.ncol = size_t(lower.n);
    A.nzmax = lower.value.size();
    A.p = const_cast<long*>(lower.columnStart.data());
    A.i = const_cast<long*>(lower.rowIndex.data());
    A.x = const_cast<double*>(lower.value.data());
    A.stype = -1;
    A.itype = CHOLMOD_LONG;
    A.xtype = CHOLMOD_REAL;
    A.dtype = CHOLMOD_DOUBLE;
    A.sorted = 1;
    A.packed = 1;
    std::vector<long> identity;
    if (givenOrder) {
        identity.resize(lower.n);
        for (long i = 0; i < lower.n; ++i)
            identity[i] = i;
        common.nmethods = 1;
        common.method[0].ordering = CHOLMOD_GIVEN;
    }
    auto start = Clock::now();
    cholmod_factor* L
        = cholmod_l_analyze_p(&A, givenOrder ? identity.data() : nullptr, nullptr, 0, &common);
    result.orderSeconds = secondsSince(start);
    result.ordering = common.method[common.selected].ordering;
    result.flops = common.fl;
    result.storedDoubles = common.lnz;
    start = Clock::now();
    cholmod_l_factorize(&A, L, &common);
    result.factorSeconds = secondsSince(start);
    cholmod_dense* b = cholmod_l_zeros(A.nrow, 1, CHOLMOD_REAL, &common);
    std::copy(f.begin(), f.end(), static_cast<double*>(b->x));
    start = Clock::now();
    cholmod_dense* x = cholmod_l_solve(CHOLMOD_A, L, b, &common);
    result.solveSeconds = secondsSince(start);
    result.ok = common.status == CHOLMOD_OK && x;
    if (x) {
        const double* xv = static_cast<double*>(x->x);
        result.residual = lower.relativeResidual(std::vector<double>(xv, xv + lower.n), f);
    }
    cholmod_l_free_dense(&x, &common);
    cholmod_l_free_dense(&b, &common);
    cholmod_l_free_factor(&L, &common);
    cholmod_l_finish(&common);
    return result;
}

// ---- Eigen --------------------------------------------------------------------------------------

Result runEigen(const LowerMatrix& lower, const std::vector<double>& f)
{
    Result result;
    Eigen::SparseMatrix<double, Eigen::ColMajor, long> A(lower.n, lower.n);
    std::vector<Eigen::Triplet<double, long>> entries;
    entries.reserve(lower.value.size());
    for (long j = 0; j < lower.n; ++j)
        for (long e = lower.columnStart[j]; e < lower.columnStart[j + 1]; ++e)
            entries.emplace_back(lower.rowIndex[e], j, lower.value[e]);
    A.setFromTriplets(entries.begin(), entries.end());
    std::vector<Eigen::Triplet<double, long>>().swap(entries);
    Eigen::SimplicialLDLT<decltype(A), Eigen::Lower> solver;
    auto start = Clock::now();
    solver.analyzePattern(A);
    result.orderSeconds = secondsSince(start);
    start = Clock::now();
    solver.factorize(A);
    result.factorSeconds = secondsSince(start);
    result.storedDoubles = double(solver.matrixL().nestedExpression().nonZeros());
    const Eigen::Map<const Eigen::VectorXd> b(f.data(), lower.n);
    start = Clock::now();
    const Eigen::VectorXd x = solver.solve(b);
    result.solveSeconds = secondsSince(start);
    result.ok = solver.info() == Eigen::Success;
    result.residual = lower.relativeResidual(std::vector<double>(x.data(), x.data() + lower.n), f);
    return result;
}

// ---- report -------------------------------------------------------------------------------------

const char* orderingName(int ordering)
{
    switch (ordering) {
    case CHOLMOD_GIVEN:
        return "given";
    case CHOLMOD_AMD:
        return "AMD";
    case CHOLMOD_METIS:
        return "METIS";
    case CHOLMOD_NESDIS:
        return "NESDIS";
    case CHOLMOD_COLAMD:
        return "COLAMD";
    case CHOLMOD_NATURAL:
        return "natural";
    default:
        return "-";
    }
}

void printRow(const char* solver, int threads, const Result& r)
{
    if (r.timedOut) {
        std::printf("  %-26s %3d  timed out after %u s\n", solver, threads, ChildTimeLimitSeconds);
        return;
    }
    if (!r.ok) {
        std::printf("  %-26s %3d  failed\n", solver, threads);
        return;
    }
    const double total = r.factorSeconds + r.solveSeconds;
    char flops[32] = "-", rate[32] = "-";
    if (r.flops > 0) {
        std::snprintf(flops, sizeof flops, "%.3e", r.flops);
        std::snprintf(rate, sizeof rate, "%.2f", r.flops / total * 1e-9);
    }
    std::printf("  %-26s %3d %8.3f %8.3f %8.3f %10.3e %10s %7s %9.1f %9.1e\n", solver, threads,
        r.orderSeconds, r.factorSeconds, r.solveSeconds, r.storedDoubles, flops, rate,
        r.peakBytes / 1048576.0, r.residual);
}

int runChild(char** argv)
{
    const int channel = std::atoi(argv[2]);
    const auto solver = Solver(std::atoi(argv[3]));
    const int threads = std::atoi(argv[4]);
    const Mesh mesh { "", std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]) };
    const LowerMatrix lower(mesh);
    const std::vector<double> f = mesh.load();
    const long baseline = statusKiB("VmRSS:");
    Result result;
    switch (solver) {
    case Solver::Ours:
        result = runOurs(mesh, lower, f, threads);
        break;
    case Solver::CholmodGiven:
        result = runCholmod(lower, f, true, threads);
        break;
    case Solver::CholmodOwn:
        result = runCholmod(lower, f, false, threads);
        break;
    case Solver::Eigen:
        result = runEigen(lower, f);
        break;
    }
    result.peakBytes = double(statusKiB("VmHWM:") - baseline) * 1024.0;
    return write(channel, &result, sizeof result) == ssize_t(sizeof result) ? 0 : 1;
}

void benchmark(const Mesh& mesh, int threads, bool withEigen, bool withOneThread)
{
    std::printf("\n%s: %ld DOFs, %llu pages of 48 DOFs\n", mesh.name.c_str(), mesh.dofs(),
        static_cast<unsigned long long>(mesh.pages()));
    std::printf("  %-26s %3s %8s %8s %8s %10s %10s %7s %9s %9s\n", "solver", "thr", "order s",
        "factor s", "subst s", "L doubles", "flops", "GFLOP/s", "peak MiB", "residual");
    // A failed or timed-out measurement gives no ratio (printed as nan).
    auto total
        = [](const Result& r) { return r.ok ? r.factorSeconds + r.solveSeconds : std::nan(""); };
    Result ours1, given1, own1;
    if (withOneThread) {
        ours1 = inChild(mesh, Solver::Ours, 1);
        printRow("ours (paged L-D-U)", 1, ours1);
    }
    const Result ours = inChild(mesh, Solver::Ours, threads);
    printRow("ours (paged L-D-U)", threads, ours);
    given1 = inChild(mesh, Solver::CholmodGiven, 1);
    printRow("CHOLMOD, our order", 1, given1);
    const Result given = inChild(mesh, Solver::CholmodGiven, threads);
    printRow("CHOLMOD, our order", threads, given);
    own1 = inChild(mesh, Solver::CholmodOwn, 1);
    const Result own = inChild(mesh, Solver::CholmodOwn, threads);
    char ownName[64];
    std::snprintf(ownName, sizeof ownName, "CHOLMOD, own order (%s)", orderingName(own.ordering));
    printRow(ownName, 1, own1);
    printRow(ownName, threads, own);
    if (withEigen)
        printRow("Eigen SimplicialLDLT (AMD)", 1, inChild(mesh, Solver::Eigen, 1));
    else
        std::printf("  %-26s   1  skipped (too slow at this size)\n", "Eigen SimplicialLDLT (AMD)");
    if (withOneThread)
        std::printf("  ratio ours/CHOLMOD, factor + substitution, 1 thread:  our order %.2f, own "
                    "order %.2f\n",
            total(ours1) / total(given1), total(ours1) / total(own1));
    std::printf(
        "  ratio ours/CHOLMOD, factor + substitution, %d threads: our order %.2f, own order %.2f\n",
        threads, total(ours) / total(given), total(ours) / total(own));
    const double best = withOneThread ? std::fmin(total(ours), total(ours1)) : total(ours);
    std::printf("  ratio best/best (any thread count): our order %.2f, own order %.2f (own incl. "
                "ordering %.2f)\n",
        best / std::fmin(total(given), total(given1)), best / std::fmin(total(own), total(own1)),
        best / std::fmin(own.orderSeconds + total(own), own1.orderSeconds + total(own1)));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 8 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argv);
    bool quick = false;
    long maxDOFs = 170000;
    long minDOFs = 0;
    int threads = int(std::max(1u, std::thread::hardware_concurrency()));
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0)
            quick = true;
        else if (std::strcmp(argv[i], "--max-dofs") == 0 && i + 1 < argc)
            maxDOFs = std::atol(argv[++i]);
        else if (std::strcmp(argv[i], "--min-dofs") == 0 && i + 1 < argc)
            minDOFs = std::atol(argv[++i]);
        else if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc)
            threads = std::max(1, std::atoi(argv[++i]));
    }
    std::printf(
        "Solver benchmark: %d threads; times in seconds; 'order' is the symbolic "
        "analysis;\n"
        "our 'factor' includes the forward substitution, 'subst' is the rest of the solution.\n",
        threads);
    constexpr long EigenDOFLimit = 60000;
    constexpr long OneThreadDOFLimit = 100000;
    const std::vector<Mesh> meshes = quick
        ? std::vector<Mesh> { { "solid cube 8x8x8", 8, 8, 8 }, { "plate 40x40x1", 40, 40, 1 } }
        : std::vector<Mesh> { { "solid cube 12x12x12", 12, 12, 12 },
              { "solid cube 20x20x20", 20, 20, 20 }, { "solid cube 28x28x28", 28, 28, 28 },
              { "solid cube 37x37x37", 37, 37, 37 }, { "plate 60x60x1", 60, 60, 1 },
              { "plate 160x160x1", 160, 160, 1 } };
    for (const Mesh& mesh : meshes)
        if (mesh.dofs() >= minDOFs && mesh.dofs() <= maxDOFs)
            benchmark(mesh, threads, mesh.dofs() <= EigenDOFLimit,
                threads > 1 && mesh.dofs() <= OneThreadDOFLimit);
    return 0;
}
