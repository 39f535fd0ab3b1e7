#include "CalculationTestSupport.h"

#include "cardmodel/data/UFemDataController.h"
#include "documents/calculation/UFemCalculationManagerCalculationViewController.h"
#include "documents/document/UFemDocumentNotifications.h"
#include "foundation/threads/UDetachedThreadManager.h"
#include "platform/UMainThread.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <memory>
#include <new>

namespace {

const QString WaitingText
    = QStringLiteral("Calculation ended; waiting for memory to hand over results...");

// A poster without memory for its first `failures` calls; the calls are counted.
UFemCalculationManager::MainThreadPoster failingPoster(
    int failures, const std::shared_ptr<std::atomic<int>>& attempts)
{
    return [failures, attempts](std::function<void()>& work) {
        if (attempts->fetch_add(1) < failures)
            throw std::bad_alloc();
        UMainThread::postOrKeep(work);
    };
}

} // namespace

// Only the queueing of the completion failed: what is handed over at last is the calculation's
// own outcome, its results included.
TEST(HandOverRetryThreads, AHandOverThatFailsOnceDeliversTheCalculationsOwnOutcome)
{
    CalculationHarness harness;
    UFemDocument* document = harness.modelDocument(tripodModelText());
    ASSERT_NE(document, nullptr);
    const auto attempts = std::make_shared<std::atomic<int>>(0);
    harness.manager.setMainThreadPoster(failingPoster(1, attempts));
    UErrorPtr error;
    ASSERT_TRUE(document->startCalculationWithArgument(UFemCalculationStartArgument {}, &error));
    ASSERT_TRUE(harness.waitForCalculations());

    EXPECT_EQ(attempts->load(), 2);
    ASSERT_EQ(harness.done.userInfos.size(), 1u);
    EXPECT_FALSE(harness.done.userInfos[0].contains(UFemCalculationErrorKey));
    EXPECT_TRUE(document->hasResultData());
    EXPECT_FALSE(document->isCalculating());
    EXPECT_EQ(harness.beeps.sounds, QStringList({ "Hero" }));
}

// A hand-over that never gets memory: the row says that the calculation ended and waits, and
// Quit, from the row or for the whole application, ends the wait, drops the results and unlocks
// the document.
TEST(HandOverRetryThreads, QuitEndsAHandOverThatNeverGetsMemory)
{
    for (const bool quitsFromRow : { true, false }) {
        SCOPED_TRACE(quitsFromRow ? "the row's Quit" : "quitting every calculation");
        CalculationHarness harness;
        UFemDocument* document = harness.modelDocument(tripodModelText());
        ASSERT_NE(document, nullptr);
        const auto attempts = std::make_shared<std::atomic<int>>(0);
        harness.manager.setMainThreadPoster(failingPoster(INT_MAX, attempts));
        const auto threadEnded = std::make_shared<std::atomic<bool>>(false);
        harness.manager.setThreadLauncher([threadEnded](std::function<void()> work) {
            UDetachedThreadManager::detachNewThread([threadEnded, work = std::move(work)] {
                work();
                threadEnded->store(true);
            });
        });
        UErrorPtr error;
        ASSERT_TRUE(
            document->startCalculationWithArgument(UFemCalculationStartArgument {}, &error));
        UFemCalculationManagerCalculationViewController& row
            = harness.manager.calculationViewController(0);
        ASSERT_TRUE(runEventsUntil([&] { return row.calculationInfoString() == WaitingText; }));
        EXPECT_EQ(row.calculationProgressValue(), 1.0);
        EXPECT_TRUE(document->isCalculating());
        EXPECT_TRUE(document->dataController().isLockedOutside());

        bool stopped = false;
        if (quitsFromRow) {
            harness.sheets.modalAnswer = 1;
            row.quitButton().click();
        }
        harness.manager.quitAllCalculations([&stopped] { stopped = true; });

        EXPECT_TRUE(stopped);
        EXPECT_EQ(harness.manager.calculationCount(), 0u);
        EXPECT_FALSE(document->isCalculating());
        EXPECT_FALSE(document->dataController().isLockedOutside());
        EXPECT_FALSE(document->hasResultData());
        ASSERT_EQ(harness.done.userInfos.size(), 1u);
        const auto reported
            = harness.done.userInfos[0].value(UFemCalculationErrorKey).value<UErrorPtr>();
        ASSERT_NE(reported, nullptr);
        EXPECT_TRUE(reported->isUFemCalculationCanceledError());
        EXPECT_TRUE(runEventsUntil([&] { return threadEnded->load(); }));
        EXPECT_GE(attempts->load(), 1);
    }
}
