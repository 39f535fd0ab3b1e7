// calculation-thread-child MODEL: reads a model file and calculates it as the application does, on
// a thread of the application's launcher running the application's calculation thread work (no
// result file). Prints the error the thread ends with; exit 0 after a calculation without error,
// 1 after an error, 2 for a model that cannot be read or checked.

#include "calculation/UFemCalculationThreadWork.h"
#include "calculation/UFemDataControllerRunCalculation.h"
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
    const QString& path, const UFemDataControllerServices& services)
{
    UErrorPtr error;
    const std::optional<QByteArray> bytes = UFemReadFileData(path, &error);
    const std::optional<QString> text
        = bytes ? UFemModelTextFromModelFileData(*bytes) : std::nullopt;
    auto controller = std::make_shared<UFemDataController>(services);
    if (!text || !controller->resetWithModelText(*text, true, &error)
        || !UFemCheckToRunCalculation(*controller, {}, 0, &error))
        return nullptr;
    return controller;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2)
        return exitUnusable;
    UFemInstallCardClasses();
    UFemDataControllerServices services;
    UFemInstallResultDataServices(services, {});
    UFemInstallCalculationServices(services);
    UFemCalculationThreadArgument argument;
    argument.documentNameString = QStringLiteral("model");
    argument.dataController = readModel(QString::fromLocal8Bit(argv[1]), services);
    if (!argument.dataController)
        return exitUnusable;
    UFemSetupForRunCalculation(*argument.dataController, 0);

    Handover handover;
    UDetachedThreadManager::detachNewThread([&handover, &argument] {
        const UFemCalculationThreadOutcome outcome = UFemRunCalculationThreadWork(argument);
        const std::lock_guard lock(handover.lock);
        handover.outcome = outcome;
        handover.isDone = true;
        handover.changed.notify_one();
    });
    std::unique_lock lock(handover.lock);
    handover.changed.wait(lock, [&] { return handover.isDone; });
    const UErrorPtr& error = handover.outcome.error;
    if (!error)
        return 0;
    std::fprintf(stderr, "calculation-thread-child: %d: %s\n", int(error->code()),
        qPrintable(error->localizedOneLineDescription()));
    return exitFailed;
}
