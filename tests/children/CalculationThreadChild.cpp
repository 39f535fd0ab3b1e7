// calculation-thread-child MODEL [THREADS]: reads a model file and calculates it as the application
// does (on THREADS threads, else as the preference says), on a thread of the application's
// launcher running the application's calculation thread work (no result file), then attaches the
// results as a document does and prints the last node's displacements ("result: NODE in CASE: …").
// Prints the error the calculation ends with; exit 0 after a calculation without error, 1 after an
// error (memory running out anywhere included), 2 for a model that cannot be read or checked.

#include "calculation/UFemCalculationThreadWork.h"
#include "calculation/UFemDataControllerRunCalculation.h"
#include "calculation/UFemMatrixCalculationContext.h"
#include "calculation/UFemWFCalculationExceptionError.h"
#include "calculation/results/UFemResultDataManagerImpl.h"
#include "calculation/results/UFemResultDataServices.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "cards/Node.h"
#include "cards/UFemCardClasses.h"
#include "documents/document/UFemModelFileText.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"
#include "foundation/files/UFemFileReading.h"
#include "foundation/threads/UDetachedThreadManager.h"
#include "platform/UStackReserve.h"

#include <QCoreApplication>

#include <condition_variable>
#include <cstdio>
#include <mutex>

namespace {

constexpr int exitFailed = 1;
constexpr int exitUnusable = 2;
constexpr qint64 memoryErrorCode = 81001;

// Made before the thread starts: handing the outcome over allocates nothing.
struct Handover {
    std::mutex lock;
    std::condition_variable changed;
    bool isDone = false;
    UFemCalculationThreadOutcome outcome;
};

std::shared_ptr<UFemDataController> readModel(const QString& path,
    const UFemDataControllerServices& services, quint64 threadCount, UErrorPtr* error)
{
    const std::optional<QByteArray> bytes = UFemReadFileData(path, error);
    const std::optional<QString> text
        = bytes ? UFemModelTextFromModelFileData(*bytes) : std::nullopt;
    auto controller = std::make_shared<UFemDataController>(services);
    if (!text || !controller->resetWithModelText(*text, true, error)
        || !UFemCheckToRunCalculation(*controller, {}, threadCount, error))
        return nullptr;
    return controller;
}

int reportError(const UErrorPtr& error)
{
    std::fprintf(stderr, "calculation-thread-child: %d: %s\n", error ? int(error->code()) : 0,
        error ? qPrintable(error->localizedOneLineDescription()) : "unknown error");
    return exitFailed;
}

// Memory running out while the model is read is the memory error, not an unusable model.
int reportReadingError(const UErrorPtr& error)
{
    const int code = reportError(error);
    return error && error->code() == memoryErrorCode ? code : exitUnusable;
}

int printLastNodeDisplacements(UFemDataController& controller)
{
    UErrorPtr error;
    const std::shared_ptr<UFemResultDataManagerImpl> manager
        = UFemMatrixCalculationContextOf(controller)->resultDataManager(&error);
    if (!manager || !controller.setResultDataManager(manager, true, &error))
        return reportError(error);
    const UFemCardArray& nodes = controller.nodeCardArray();
    const auto* node
        = nodes.count() ? dynamic_cast<const Node*>(nodes.lastObject().get()) : nullptr;
    if (node == nullptr)
        return exitUnusable;
    for (const auto& caseCard : controller.caseCardArray()) {
        double values[6] = {};
        quint8 states[6] = {};
        if (!node->getNodeDisplacement(values, states, 3, caseCard.get(), &error))
            return reportError(error);
        std::printf("result: %s in %s: T %.15g %.15g %.15g, R %.15g %.15g %.15g\n",
            qPrintable(node->cardNameString().value_or(QString())),
            qPrintable(caseCard->cardNameString().value_or(QString())), values[0], values[1],
            values[2], values[3], values[4], values[5]);
    }
    return 0;
}

int calculate(const char* modelPath, quint64 threadCount)
{
    UFemInstallCardClasses();
    UFemDataControllerServices services;
    UFemInstallResultDataServices(services, {});
    UFemInstallCalculationServices(services);
    UFemCalculationThreadArgument argument;
    argument.documentNameString = QStringLiteral("model");
    UErrorPtr error;
    argument.dataController
        = readModel(QString::fromLocal8Bit(modelPath), services, threadCount, &error);
    if (!argument.dataController)
        return reportReadingError(error);
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
    if (handover.outcome.error)
        return reportError(handover.outcome.error);
    // As a document takes them: errors of some restraint sets fail the calculation.
    const UFemResultDataManager* results = argument.dataController->resultDataManager();
    if (const auto text = results ? results->calculationErrorString() : std::nullopt)
        return reportError(
            UFemCalculationFailedWhileCalculationError_withCalculationErrorString(*text));
    return printLastNodeDisplacements(*argument.dataController);
}

} // namespace

int main(int argc, char** argv)
{
    UReserveStack(UMainThreadStackReserve);
    try {
        QCoreApplication application(argc, argv);
        const quint64 threadCount = argc == 3 ? QByteArray(argv[2]).toULongLong() : 0;
        return argc == 2 || (argc == 3 && threadCount > 0) ? calculate(argv[1], threadCount)
                                                           : exitUnusable;
    } catch (...) {
        // Memory may run out in the child's own work too: reading the model, attaching results.
        try {
            return reportError(UFemWFCalculationErrorWithException(std::current_exception()));
        } catch (...) {
            std::fputs("calculation-thread-child: 81001: Memory allocation failed.\n", stderr);
            return exitFailed;
        }
    }
}
