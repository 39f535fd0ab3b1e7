// vantrel-solve MODEL RESULT [--threads N] [--node NAME] [--pages POLICY]: reads a model file,
// checks and calculates it, writes the result file, and prints the calculation log, the time of
// each phase, the peak memory and, with --node, the node's displacements in every case. --pages
// chooses how the solver's large storages take their pages (resident: huge pages made resident
// before use; faulted: huge pages faulted in by first writes; small: 4 KiB pages; adaptive, the
// default: the factor's huge pages made resident while that goes fast, 4 KiB pages otherwise).
// Exit status 0 only when every restraint set was solved.

#include "calculation/UFemDataControllerRunCalculation.h"
#include "calculation/UFemMatrixCalculationContext.h"
#include "calculation/UFemWFCalculationExceptionError.h"
#include "calculation/results/UFemResultDataManagerImpl.h"
#include "calculation/results/UFemResultDataServices.h"
#include "calculation/results/UFemResultFileWriter.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "cards/Node.h"
#include "cards/UFemCardClasses.h"
#include "documents/document/UFemModelFileText.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UFemErrorsFile.h"
#include "foundation/files/UFemFileIdentity.h"
#include "foundation/files/UFemFileReading.h"
#include "foundation/threads/UThreadCountPreference.h"
#include "platform/UStackReserve.h"

#include <QCoreApplication>
#include <QFile>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto progressInterval = std::chrono::milliseconds(500);
constexpr int exitFailed = 1;
constexpr int exitUsage = 2;
constexpr double mebibyte = 1024.0 * 1024.0;
constexpr quint64 equationsPerPage = 48;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Whole texts, NUL characters of a model line included (a C string would end there).
void printText(FILE* stream, const QString& text)
{
    QString shown = text;
    shown.replace(QChar(u'\0'), QStringLiteral("\\0"));
    const QByteArray bytes = shown.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

void printError(const char* what, const UErrorPtr& error)
{
    printText(stderr,
        QStringLiteral("vantrel-solve: %1: %2\n")
            .arg(QString::fromUtf8(what),
                error ? error->localizedDescription() : QStringLiteral("unknown error")));
    if (error && !error->localizedRecoverySuggestion().isEmpty())
        printText(stderr, QStringLiteral("  %1\n").arg(error->localizedRecoverySuggestion()));
}

// As a model document reads its file: only a regular file, UTF-8, else UTF-16 behind its mark.
std::optional<QString> readModelText(const QString& path, UErrorPtr* error)
{
    const std::optional<QByteArray> bytes = UFemReadFileData(path, error);
    if (!bytes)
        return std::nullopt;
    std::optional<QString> text = UFemModelTextFromModelFileData(*bytes);
    if (!text)
        UFemSetError(error, UFemReadingModelFileToStringError());
    return text;
}

// Runs the set-up and the run on a calculation thread; the calling thread shows progress on a
// terminal.
struct CalculationTimes {
    double setUp = 0.0;
    double run = 0.0;
};

bool calculate(UFemMatrixCalculationContext& context, CalculationTimes* times, UErrorPtr* error)
{
    std::mutex doneLock;
    std::condition_variable doneChanged;
    bool done = false;
    bool succeeded = false;
    std::thread calculation([&] {
        bool solved = false;
        // Nothing may leave the thread: memory running out is the calculation's error.
        try {
            const auto start = Clock::now();
            solved = context.setupToRunCalculation(error);
            times->setUp = secondsSince(start);
            const auto runStart = Clock::now();
            solved = solved && context.runCalculation(error);
            times->run = secondsSince(runStart);
        } catch (...) {
            solved = false;
            UFemSetError(error, UFemWFCalculationErrorWithException(std::current_exception()));
        }
        const std::lock_guard lock(doneLock);
        succeeded = solved;
        done = true;
        doneChanged.notify_one();
    });
    const bool isTerminal = isatty(STDERR_FILENO) != 0;
    std::unique_lock lock(doneLock);
    // Wakes at once when the calculation ends, else every interval to show progress.
    while (!doneChanged.wait_for(lock, progressInterval, [&] { return done; })) {
        const quint64 total = context.progressTotalLength();
        if (!isTerminal)
            continue;
        if (total == UFemNotFound || total == 0)
            std::fprintf(stderr, "\rsetting up ...   ");
        else
            std::fprintf(stderr, "\rsolving %5.1f %%  ",
                100.0 * double(context.currentProgress()) / double(total));
    }
    lock.unlock();
    calculation.join();
    if (isTerminal)
        std::fprintf(stderr, "\r                 \r");
    return succeeded;
}

void printLog(const UFemResultDataManagerImpl& manager)
{
    printText(stdout, manager.calculationInfoString().value_or(QString()));
    printText(stdout, manager.calculationLogString().value_or(QString()));
    if (const auto errors = manager.calculationErrorString(); errors && !errors->isEmpty())
        printText(stdout, QStringLiteral("Errors:\n") + *errors);
}

// The resident set now, from /proc (0 where there is none).
quint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toULongLong() * quint64(sysconf(_SC_PAGESIZE)) : 0;
}

void printFigures(const UFemMatrixCalculationContext& context, const CalculationTimes& times,
    double readSeconds, double checkSeconds, double writeSeconds)
{
    double ordering = 0.0;
    double build = 0.0;
    double solve = 0.0;
    for (const UFemWFSolutionFigures& f : context.solutionFiguresArray()) {
        ordering += f.nodeOrderingSeconds;
        build += f.buildCalculationMatrixSeconds;
        solve += f.runCalculationSeconds;
        std::printf("restraint set: %llu equations (%llu pages); envelope mean %.2f pages "
                    "(%.0f equations), widest %llu pages; estimated memory %.1f MiB; "
                    "factor %.1f MiB%s; stiffness %.1f MiB; %.3g floating-point operations\n",
            (unsigned long long)(f.pageCount * equationsPerPage), (unsigned long long)f.pageCount,
            f.avePageBandWidth, f.avePageBandWidth * double(equationsPerPage),
            (unsigned long long)f.maxPageBandWidth, double(f.estimatedMemoryCapacity) / mebibyte,
            double(f.factorValueMemoryCapacity) / mebibyte,
            f.factorPagesFellBack ? " (huge pages came slowly: 4 KiB pages)" : "",
            double(f.stiffnessValueMemoryCapacity) / mebibyte, double(f.floatingOperations));
    }
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("phase times (s): read %.3f, check %.3f, assemble %.3f, order %.3f, "
                "factorise and solve %.3f (build %.3f, solve %.3f), write %.3f\n",
        readSeconds, checkSeconds, times.setUp - ordering, ordering, times.run, build, solve,
        writeSeconds);
    // What follows the back substitution: the displacement tables, the solver's memory handed
    // back, the result tables and the file.
    std::printf("from the end of the solution to the written result (s): %.3f\n",
        times.run - build - solve + writeSeconds);
    std::printf("peak memory: %.1f MiB; held after the calculation: %.1f MiB\n",
        double(usage.ru_maxrss) / 1024.0, double(residentBytes()) / mebibyte);
}

bool printNodeDisplacements(UFemDataController& controller, const QString& nodeName)
{
    const std::vector<UFemCard*> cards = controller.cardArrayWithCardNameString(nodeName, nullptr);
    const auto* node = cards.empty() ? nullptr : dynamic_cast<const Node*>(cards.front());
    if (node == nullptr) {
        std::fprintf(stderr, "vantrel-solve: no node named %s\n", qPrintable(nodeName));
        return false;
    }
    for (const auto& caseCard : controller.caseCardArray()) {
        double values[6] = {};
        quint8 states[6] = {};
        UErrorPtr error;
        if (!node->getNodeDisplacement(values, states, 3, caseCard.get(), &error)) {
            printError("reading the displacement", error);
            return false;
        }
        std::printf("%s in %s: T %.15g %.15g %.15g, R %.15g %.15g %.15g\n", qPrintable(nodeName),
            qPrintable(caseCard->cardNameString().value_or(QString())), values[0], values[1],
            values[2], values[3], values[4], values[5]);
    }
    return true;
}

int usage()
{
    std::fprintf(stderr,
        "usage: vantrel-solve MODEL RESULT [--threads N] [--node NAME]"
        " [--pages resident|faulted|small|adaptive]\n");
    return exitUsage;
}

struct Options {
    QString modelPath;
    QString resultPath;
    quint64 threadCount = 0;
    QString nodeName;
    std::optional<UMemoryPagePolicy> pagePolicy;
};

std::optional<UMemoryPagePolicy> pagePolicyNamed(const QString& name)
{
    if (name == QStringLiteral("resident"))
        return UMemoryPagePolicy::residentHugePages;
    if (name == QStringLiteral("faulted"))
        return UMemoryPagePolicy::faultedHugePages;
    if (name == QStringLiteral("small"))
        return UMemoryPagePolicy::smallPages;
    if (name == QStringLiteral("adaptive"))
        return UMemoryPagePolicy::adaptivePages;
    return std::nullopt;
}

std::optional<Options> parsedOptions(QStringList arguments)
{
    Options options;
    if (const qsizetype t = arguments.indexOf(QStringLiteral("--threads")); t >= 0) {
        bool ok = false;
        const quint64 count = t + 1 < arguments.size() ? arguments[t + 1].toULongLong(&ok) : 0;
        if (!ok || count == 0)
            return std::nullopt;
        // As the preference: outside 1..16 means the processors.
        options.threadCount = UThreadCountPreference::threadCountWithReferenceThreadCount(
            QVariant(count), UThreadCountPreference::activeProcessorCount());
        arguments.remove(t, 2);
    }
    if (const qsizetype n = arguments.indexOf(QStringLiteral("--node")); n >= 0) {
        if (n + 1 >= arguments.size())
            return std::nullopt;
        options.nodeName = arguments[n + 1];
        arguments.remove(n, 2);
    }
    if (const qsizetype p = arguments.indexOf(QStringLiteral("--pages")); p >= 0) {
        options.pagePolicy
            = p + 1 < arguments.size() ? pagePolicyNamed(arguments[p + 1]) : std::nullopt;
        if (!options.pagePolicy)
            return std::nullopt;
        arguments.remove(p, 2);
    }
    if (arguments.size() != 2)
        return std::nullopt;
    options.modelPath = arguments[0];
    options.resultPath = arguments[1];
    return options;
}

int solve(const Options& options)
{
    UFemInstallCardClasses();
    UFemDataControllerServices services;
    UFemInstallResultDataServices(services, {});
    UFemInstallCalculationServices(services);
    UFemDataController controller(services);

    UErrorPtr error;
    if (!UFemCheckResultFileIsNotModelFile(options.resultPath, options.modelPath, &error)
        || !UFemCheckResultFileCanBeWritten(options.resultPath, &error)) {
        printError("the result file", error);
        return exitFailed;
    }
    auto start = Clock::now();
    const std::optional<QString> modelText = readModelText(options.modelPath, &error);
    if (!modelText || !controller.resetWithModelText(*modelText, true, &error)) {
        printError("reading the model", error);
        return exitFailed;
    }
    const double readSeconds = secondsSince(start);

    start = Clock::now();
    if (!UFemCheckToRunCalculation(controller, {}, options.threadCount, &error)) {
        printError("the model cannot be calculated", error);
        printText(stderr, UFemReportOfCardsWithError(controller));
        return exitFailed;
    }
    const double checkSeconds = secondsSince(start);

    UFemMatrixCalculationContext& context
        = UFemSetupForRunCalculation(controller, options.threadCount);
    if (options.pagePolicy)
        context.setCalculationPagePolicy(*options.pagePolicy);
    CalculationTimes times;
    std::shared_ptr<UFemResultDataManagerImpl> manager;
    if (!calculate(context, &times, &error) || !(manager = context.resultDataManager(&error))) {
        printError("calculation", error);
        return exitFailed;
    }

    start = Clock::now();
    const std::optional<QByteArray> data = manager->resultFileData(&error);
    if (!data || !UFemWriteResultFile(options.resultPath, *data, &error)) {
        printError("writing the result file", error);
        return exitFailed;
    }
    const double writeSeconds = secondsSince(start);

    printLog(*manager);
    printFigures(context, times, readSeconds, checkSeconds, writeSeconds);
    if (!options.nodeName.isEmpty()
        && (!controller.setResultDataManager(manager, true, &error)
            || !printNodeDisplacements(controller, options.nodeName)))
        return exitFailed;
    const auto errors = manager->calculationErrorString();
    return errors && !errors->isEmpty() ? exitFailed : 0;
}

} // namespace

int main(int argc, char** argv)
{
    UReserveStack(UMainThreadStackReserve);
    // Memory may run out anywhere: in the text of a model, in the report of its cards, in a thread
    // that could not be made. What the calculation held is freed by the time it is reported.
    try {
        QCoreApplication application(argc, argv);
        const std::optional<Options> options = parsedOptions(application.arguments().mid(1));
        return options ? solve(*options) : usage();
    } catch (...) {
        const UErrorPtr error = UFemWFCalculationErrorWithException(std::current_exception());
        try {
            printError("stopped", error);
        } catch (...) {
            std::fputs("vantrel-solve: stopped: Memory allocation failed.\n", stderr);
        }
        return exitFailed;
    }
}
