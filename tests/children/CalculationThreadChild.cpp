// calculation-thread-child MODEL [THREADS]: reads a model file and calculates it as the application
// does (on THREADS threads, else as the preference says), on a thread of the application's launcher
// running the application's calculation thread work (no result file). Prints the error the thread
// ends with; exit 0 after a calculation without error, 1 after an error (the calculation thread
// refused included), 2 for a model that cannot be read or checked.

#include "calculation/UFemCalculationThreadWork.h"
#include "calculation/UFemDataControllerRunCalculation.h"
#include "calculation/UFemWFCalculationExceptionError.h"
#include "calculation/results/UFemResultDataServices.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "cards/UFemCardClasses.h"
#include "documents/document/UFemModelFileText.h"
#include "foundation/files/UFemFileReading.h"
#include "foundation/threads/UDetachedThreadManager.h"

#include <QCoreApplication>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

constexpr int exitFailed = 1;
constexpr int exitUnusable = 2;

// Made before the thread starts: handing the outcome over allocates nothing.
struct Handover {
    std::mutex lock;
    std::condition_variable changed;
    bool isDone = false;
    UFemCalculationThreadOutcome outcome;
};

std::shared_ptr<UFemDataController> readModel(
    const QString& path, const UFemDataControllerServices& services, quint64 threadCount)
{
    UErrorPtr error;
    const std::optional<QByteArray> bytes = UFemReadFileData(path, &error);
    const std::optional<QString> text
        = bytes ? UFemModelTextFromModelFileData(*bytes) : std::nullopt;
    auto controller = std::make_shared<UFemDataController>(services);
    if (!text || !controller->resetWithModelText(*text, true, &error)
        || !UFemCheckToRunCalculation(*controller, {}, threadCount, &error))
        return nullptr;
    return controller;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2 && argc != 3)
        return exitUnusable;
    const quint64 threadCount = argc == 3 ? std::strtoull(argv[2], nullptr, 10) : 0;
    UFemInstallCardClasses();
    UFemDataControllerServices services;
    UFemInstallResultDataServices(services, {});
    UFemInstallCalculationServices(services);
    UFemCalculationThreadArgument argument;
    argument.documentNameString = QStringLiteral("model");
    argument.dataController = readModel(QString::fromLocal8Bit(argv[1]), services, threadCount);
    if (!argument.dataController)
        return exitUnusable;
    UFemSetupForRunCalculation(*argument.dataController, threadCount);

    Handover handover;
    try {
        UDetachedThreadManager::detachNewThread([&handover, &argument] {
            const UFemCalculationThreadOutcome outcome = UFemRunCalculationThreadWork(argument);
            const std::lock_guard lock(handover.lock);
            handover.outcome = outcome;
            handover.isDone = true;
            handover.changed.notify_one();
        });
    } catch (...) {
        // As the calculation manager reports a calculation thread it could not start.
        handover.outcome.error = UFemWFCalculationErrorWithException(std::current_exception());
        handover.isDone = true;
    }
    std::unique_lock lock(handover.lock);
    handover.changed.wait(lock, [&] { return handover.isDone; });
    const UErrorPtr& error = handover.outcome.error;
    if (!error)
        return 0;
    std::fprintf(stderr, "calculation-thread-child: %d: %s\n", int(error->code()),
        qPrintable(error->localizedOneLineDescription()));
    return exitFailed;
}
