// Linked into a child program beside HeapLimit.cpp. With VANTREL_ALLOCATION_SWEEP=JOBS set, the
// program turns into the driver of a sweep before its main runs: it forks one run of itself per
// k = 1, 2, … in which the k-th allocation fails, JOBS runs at a time, each in a folder of its own
// (sweep-SLOT under the working folder), until k passes the most allocations any run made. Each
// run must end with exit 0 and the result lines of a first run without a failure (its output lines
// starting with VANTREL_ALLOCATION_SWEEP_RESULT), or with exit 1 and "Memory allocation failed.";
// never by a signal, a sanitizer report, or a hang (VANTREL_ALLOCATION_SWEEP_TIMEOUT seconds).
// Exit 0 when every run did.
//
// Forking once the libraries are loaded and initialised spares each run the start of a process,
// most of a small run under AddressSanitizer. The allocations of those static initialisers are not
// swept: nothing could report their failure. The process is still single-threaded there.

#include "HeapLimit.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int largestJobCount = 64;
constexpr int defaultTimeoutSeconds = 120;
constexpr auto pollInterval = std::chrono::milliseconds(2);
constexpr std::size_t shownOutputBytes = 4000;
constexpr int shownFailureCount = 5;
const char* const memoryError = "Memory allocation failed.";

struct Settings {
    int jobCount = 1;
    std::string resultPrefix;
    std::chrono::seconds timeout { defaultTimeoutSeconds };
};

// Each slot's allocation count, written by its run and read by the driver after the run.
struct SharedCounts {
    std::atomic<std::uint64_t> count[largestJobCount];
};

struct Run {
    pid_t pid = 0;
    std::uint64_t k = 0;
    int slot = 0;
    int output = -1;
    Clock::time_point start;
    bool timedOut = false;
};

struct Ending {
    int status = 0;
    bool timedOut = false;
    std::string output;
    std::uint64_t allocations = 0;
};

std::string slotFolder(int slot)
{
    return "sweep-" + std::to_string(slot);
}

std::string readAll(int descriptor)
{
    std::string text;
    char buffer[1 << 14];
    ::lseek(descriptor, 0, SEEK_SET);
    for (ssize_t n; (n = ::read(descriptor, buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(n));
    return text;
}

std::string resultLines(const std::string& output, const std::string& prefix)
{
    std::string lines;
    for (std::size_t start = 0; start < output.size();) {
        std::size_t end = output.find('\n', start);
        end = end == std::string::npos ? output.size() : end + 1;
        if (output.compare(start, prefix.size(), prefix) == 0)
            lines.append(output, start, end - start);
        start = end;
    }
    return lines;
}

// The reason a run failed, or an empty text.
std::string faultOf(
    const Ending& ending, const std::string& expectedResult, const std::string& prefix)
{
    if (ending.timedOut)
        return "hang (killed by the watchdog)";
    if (WIFSIGNALED(ending.status))
        return "signal " + std::to_string(WTERMSIG(ending.status));
    if (ending.output.find("Sanitizer") != std::string::npos
        || ending.output.find("runtime error:") != std::string::npos)
        return "sanitizer report";
    const int code = WEXITSTATUS(ending.status);
    if (code == 0)
        return resultLines(ending.output, prefix) == expectedResult ? "" : "a different result";
    if (code == 1)
        return ending.output.find(memoryError) != std::string::npos
            ? ""
            : "exit 1 without the memory error";
    return "exit " + std::to_string(code);
}

class Sweep {
public:
    explicit Sweep(const Settings& settings)
        : settings_(settings)
    {
        void* shared = ::mmap(nullptr, sizeof(SharedCounts), PROT_READ | PROT_WRITE,
            MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (shared == MAP_FAILED)
            std::_Exit(3);
        counts_ = new (shared) SharedCounts;
        for (int slot = 0; slot < settings_.jobCount; ++slot)
            ::mkdir(slotFolder(slot).c_str(), 0700);
    }

    int run()
    {
        const auto start = Clock::now();
        const Ending reference = runAlone(0);
        if (!WIFEXITED(reference.status) || WEXITSTATUS(reference.status) != 0) {
            std::printf("the run without a failure did not end with exit 0:\n%s\n",
                tail(reference.output).c_str());
            return 1;
        }
        expectedResult_ = resultLines(reference.output, settings_.resultPrefix);
        lastK_ = reference.allocations;
        std::printf("a run without a failure: %llu allocations; result:\n%s",
            (unsigned long long)lastK_, expectedResult_.c_str());
        sweepAll();
        std::printf("swept k = 1..%llu in %.0f s: %llu ended with the result, %llu with the memory "
                    "error, %llu otherwise\n",
            (unsigned long long)lastK_, std::chrono::duration<double>(Clock::now() - start).count(),
            (unsigned long long)sameCount_, (unsigned long long)memoryErrorCount_,
            (unsigned long long)faultCount_);
        return faultCount_ == 0 && !expectedResult_.empty() ? 0 : 1;
    }

private:
    // Returns in the forked run, which goes on to main; the driver gets the run's record.
    Run start(std::uint64_t k, int slot)
    {
        std::fflush(stdout);
        std::fflush(stderr);
        const int output = ::memfd_create("sweep-output", 0);
        counts_->count[slot].store(0);
        const pid_t pid = ::fork();
        if (pid < 0)
            std::_Exit(3);
        if (pid == 0) {
            if (::chdir(slotFolder(slot).c_str()) != 0)
                std::_Exit(3);
            ::dup2(output, STDOUT_FILENO);
            ::dup2(output, STDERR_FILENO);
            ::close(output);
            HeapLimit::failAllocation(k, &counts_->count[slot]);
            return {};
        }
        return { pid, k, slot, output, Clock::now(), false };
    }

    Ending runAlone(std::uint64_t k)
    {
        Run run = start(k, 0);
        if (run.pid == 0)
            throw ForkedRun();
        for (;;) {
            if (std::optional<Ending> ending = reap(run))
                return *ending;
            std::this_thread::sleep_for(pollInterval);
        }
    }

    void sweepAll()
    {
        std::vector<Run> running;
        std::vector<int> freeSlots;
        for (int slot = settings_.jobCount - 1; slot >= 0; --slot)
            freeSlots.push_back(slot);
        std::uint64_t k = 1;
        while (k <= lastK_ || !running.empty()) {
            while (k <= lastK_ && !freeSlots.empty()) {
                Run run = start(k++, freeSlots.back());
                if (run.pid == 0)
                    throw ForkedRun();
                freeSlots.pop_back();
                running.push_back(run);
            }
            bool reaped = false;
            for (std::size_t i = 0; i < running.size(); ++i) {
                const std::optional<Ending> ending = reap(running[i]);
                if (!ending)
                    continue;
                judge(running[i].k, *ending);
                freeSlots.push_back(running[i].slot);
                running.erase(running.begin() + std::ptrdiff_t(i--));
                reaped = true;
            }
            if (!reaped)
                std::this_thread::sleep_for(pollInterval);
        }
    }

    std::optional<Ending> reap(Run& run)
    {
        int status = 0;
        if (::waitpid(run.pid, &status, WNOHANG) != run.pid) {
            if (!run.timedOut && Clock::now() - run.start > settings_.timeout) {
                ::kill(run.pid, SIGKILL);
                run.timedOut = true;
            }
            return std::nullopt;
        }
        Ending ending { status, run.timedOut, readAll(run.output),
            counts_->count[run.slot].load() };
        ::close(run.output);
        return ending;
    }

    void judge(std::uint64_t k, const Ending& ending)
    {
        // Every allocation of every run is swept, those of the runs that allocate most too.
        if (ending.allocations > lastK_)
            lastK_ = ending.allocations;
        const std::string fault = faultOf(ending, expectedResult_, settings_.resultPrefix);
        if (fault.empty()) {
            ++(WEXITSTATUS(ending.status) == 0 ? sameCount_ : memoryErrorCount_);
            return;
        }
        if (faultCount_++ < shownFailureCount)
            std::printf("k = %llu: %s; its output ends:\n%s\n", (unsigned long long)k,
                fault.c_str(), tail(ending.output).c_str());
        else
            std::printf("k = %llu: %s\n", (unsigned long long)k, fault.c_str());
    }

    static std::string tail(const std::string& output)
    {
        return output.size() > shownOutputBytes ? output.substr(output.size() - shownOutputBytes)
                                                : output;
    }

    struct ForkedRun { };

public:
    // The forked run leaves the driver through this and goes on to main.
    static bool isForkedRun(const auto& action)
    {
        try {
            action();
            return false;
        } catch (const ForkedRun&) {
            return true;
        }
    }

private:
    Settings settings_;
    SharedCounts* counts_ = nullptr;
    std::string expectedResult_;
    std::uint64_t lastK_ = 0;
    std::uint64_t sameCount_ = 0;
    std::uint64_t memoryErrorCount_ = 0;
    std::uint64_t faultCount_ = 0;
};

std::optional<Settings> requestedSweep()
{
    const char* jobs = std::getenv("VANTREL_ALLOCATION_SWEEP");
    if (jobs == nullptr)
        return std::nullopt;
    Settings settings;
    settings.jobCount = std::atoi(jobs);
    if (settings.jobCount < 1 || settings.jobCount > largestJobCount)
        settings.jobCount = 1;
    if (const char* prefix = std::getenv("VANTREL_ALLOCATION_SWEEP_RESULT"))
        settings.resultPrefix = prefix;
    if (const char* seconds = std::getenv("VANTREL_ALLOCATION_SWEEP_TIMEOUT"))
        settings.timeout = std::chrono::seconds(std::atoi(seconds));
    return settings;
}

// Last of the program's own initialisers, so that everything a run needs is in place.
__attribute__((constructor(65535))) void sweepIfRequested()
{
    const std::optional<Settings> settings = requestedSweep();
    if (!settings)
        return;
    // A forked run must not sweep again in a program it starts.
    ::unsetenv("VANTREL_ALLOCATION_SWEEP");
    int exitCode = 0;
    Sweep sweep(*settings);
    if (Sweep::isForkedRun([&] { exitCode = sweep.run(); }))
        return;
    std::fflush(stdout);
    std::_Exit(exitCode);
}

} // namespace
