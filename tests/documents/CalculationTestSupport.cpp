#include "CalculationTestSupport.h"

#include "calculation/UFemDataControllerRunCalculation.h"
#include "calculation/results/UFemResultDataServices.h"
#include "cardmodel/data/UFemDataController.h"
#include "documents/document/UFemDocumentNotifications.h"
#include "documents/document/UFemProjectFile.h"
#include "foundation/threads/UDetachedThreadManager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

QString tripodModelText(int loadZ)
{
    return QStringLiteral("Material, Steel, 200000, 0.3,\n"
                          "RodProp, RP, Steel, 10,\n"
                          "Node, N1, , 0, 0, 0,\n"
                          "Node, N2, , 4, 0, 0,\n"
                          "Node, N3, , 0, 3, 0,\n"
                          "Node, N4, , 1, 1, 2.5,\n"
                          "Rod, R1, RP, N1, N4,\n"
                          "Rod, R2, RP, N2, N4,\n"
                          "Rod, R3, RP, N3, N4,\n"
                          "FixNode, Feet, N1, YES, YES, YES, NO, NO, NO,\n"
                          "FixNode, Feet, N2, YES, YES, YES, NO, NO, NO,\n"
                          "FixNode, Feet, N3, YES, YES, YES, NO, NO, NO,\n"
                          "Force, Load, N4, , 1000, -500, -%1, 0, 0, 0,\n"
                          "Case, Apex, LINEAR_STATIC, Feet, Load,\n")
        .arg(loadZ);
}

UFemDataControllerServices calculationServices()
{
    UFemDataControllerServices services;
    UFemInstallResultDataServices(services, {});
    UFemInstallCalculationServices(services);
    return services;
}

bool runEventsUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

DoneNotificationRecorder::DoneNotificationRecorder()
    : observation_(UNotificationCenter::defaultCenter().observe(
        UFemCalculationDoneNotification, nullptr, [this](const UNotification& notification) {
            allOnMainThread = allOnMainThread
                && QThread::currentThread() == QCoreApplication::instance()->thread();
            userInfos.push_back(notification.userInfo);
        }))
{
}

CalculationHarness::CalculationHarness()
    : DocumentHarness(calculationServices())
{
    manager.setSheetPresenter(&sheets);
    manager.setCalculationThreadCount(2);
    manager.setThreadLauncher([this](std::function<void()> work) {
        if (holdsThreads)
            heldThreads.push_back(std::move(work));
        else
            UDetachedThreadManager::detachNewThread(std::move(work));
    });
}

CalculationHarness::~CalculationHarness()
{
    releaseThreads();
    EXPECT_TRUE(waitForCalculations());
}

UFemDocument* CalculationHarness::modelDocument(const QString& modelText)
{
    UFemDocument* document = openUntitled(UFemModelDocumentTypeName);
    if (document == nullptr)
        return nullptr;
    UErrorPtr error;
    EXPECT_TRUE(document->loadModelFileData(modelText.toUtf8(), &error));
    document->setCalculationManager(&manager);
    return document;
}

UFemDocument* CalculationHarness::tripodProject()
{
    writeFile("Beam.vtmodel", tripodModelText().toUtf8());
    UFemProjectFileContents contents;
    contents.projectTitleString = QStringLiteral("Beam");
    contents.projectVersionString = QStringLiteral("1.0");
    contents.projectModelFilePathString = QStringLiteral("Beam.vtmodel");
    contents.projectDoesLoadModelDataAuto = true;
    contents.projectResultFilePathString = QStringLiteral("Beam.vtresult");
    contents.projectDoesLoadResultDataAuto = false;
    writeFile("Beam.vtproj", UFemProjectFileData(contents));
    UFemDocument* project = open("Beam.vtproj");
    if (project != nullptr)
        project->setCalculationManager(&manager);
    return project;
}

void CalculationHarness::releaseThreads()
{
    holdsThreads = false;
    for (auto& work : heldThreads)
        UDetachedThreadManager::detachNewThread(std::move(work));
    heldThreads.clear();
}

bool CalculationHarness::waitForCalculations()
{
    return runEventsUntil([this] { return manager.calculationCount() == 0; });
}

#if defined(__SANITIZE_THREAD__)
// Races ThreadSanitizer reports inside libraries it does not see into: glibc's time zone
// initialisation (under a lock of glibc's own) when a calculation thread and the main thread both
// take local time, and the thread pool with which Qt paints the panel (futex-based mutexes).
extern "C" const char* __tsan_default_suppressions()
{
    return "race:tzset_internal\n"
           "called_from_lib:libQt6Gui.so.6\n"
           "called_from_lib:libQt6Core.so.6\n";
}
#endif
