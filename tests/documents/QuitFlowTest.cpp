#include "CalculationTestSupport.h"
#include "ShellTestSupport.h"

#include "documents/application/UFemAppDelegate.h"
#include "documents/calculation/UFemCalculationManager.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

TEST(QuitFlow, oneQuitEndsTheProgramWithItsWindowsOpen)
{
    ShellHarness harness;
    harness.shell->appDelegate().setQuitHandler(&UFemAppDelegate::quitApplication);
    harness.writeHomeFile(QStringLiteral("m.vtmodel"), TwoNodeModel.toUtf8());
    harness.shell->start();
    harness.shell->openFiles({ harness.homePath(QStringLiteral("m.vtmodel")) });
    QTimer::singleShot(
        0, &harness.sheets, [&harness] { harness.item(QStringLiteral("terminate:"))->trigger(); });
    // A quit that leaves the loop running ends here with another code.
    QTimer stuck;
    stuck.setSingleShot(true);
    QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    stuck.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
}

TEST(QuitFlow, quitWhileCalculatingAsksAndStopsTheCalculationKeepingTheOldResultFile)
{
    UFemCalculationManager manager;
    std::vector<std::function<void()>> heldThreads;
    manager.setThreadLauncher(
        [&heldThreads](std::function<void()> work) { heldThreads.push_back(std::move(work)); });
    manager.setCalculationThreadCount(2);
    ShellHarness harness(calculationServices());
    manager.setSheetPresenter(&harness.sheets);
    harness.shell->appDelegate().setCalculationManager(&manager);
    const QString resultPath = harness.homePath(QStringLiteral("t.vtresult"));
    harness.writeHomeFile(QStringLiteral("t.vtmodel"), tripodModelText().toUtf8());
    harness.writeHomeFile(QStringLiteral("t.vtresult"), "results of an earlier run");
    harness.shell->openFiles({ harness.homePath(QStringLiteral("t.vtmodel")) });
    UFemDocument* document = harness.documentAt(harness.homePath(QStringLiteral("t.vtmodel")));
    ASSERT_NE(document, nullptr);
    document->setCalculationManager(&manager);
    UErrorPtr error;
    ASSERT_TRUE(document->startCalculationWithResultFile(resultPath, false, &error));
    ASSERT_EQ(manager.calculationCount(), 1u);

    // Going on with the calculation keeps everything.
    harness.sheets.modalAnswer = 0;
    harness.shell->appDelegate().terminate();
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_TRUE(harness.sheets.alerts.back().messageText.startsWith(
        QStringLiteral("Do you really want to quit (abort) calculating '")));
    EXPECT_EQ(harness.quitCount, 0);
    EXPECT_EQ(manager.calculationCount(), 1u);

    // Quitting stops the calculation first, then the program.
    harness.sheets.modalAnswer = 1;
    harness.shell->appDelegate().terminate();
    EXPECT_EQ(harness.quitCount, 0);
    for (auto& work : heldThreads)
        work();
    EXPECT_TRUE(runEventsUntil([&harness] { return harness.quitCount == 1; }));
    EXPECT_EQ(manager.calculationCount(), 0u);
    EXPECT_EQ(fileBytes(resultPath), QByteArray("results of an earlier run"));
}
