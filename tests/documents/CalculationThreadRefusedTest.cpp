#include "CalculationTestSupport.h"

#include "cardmodel/data/UFemDataController.h"
#include "documents/document/UFemDocumentNotifications.h"
#include "platform/UMainThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <system_error>

// A calculation whose thread cannot be made (no memory for its stack, or no more threads) is
// refused at once with the memory error: the document never locks and no calculation is listed.
TEST(CalculationOutOfMemory, AThreadThatCannotBeMadeIsTheMemoryError)
{
    CalculationHarness harness;
    UFemDocument* document = harness.modelDocument(tripodModelText());
    ASSERT_NE(document, nullptr);
    harness.manager.setThreadLauncher([](std::function<void()>) {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    UErrorPtr error;
    EXPECT_FALSE(document->startCalculationWithArgument(UFemCalculationStartArgument {}, &error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), 81001);
    EXPECT_EQ(error->localizedFailureReason(), "Memory allocation failed.");
    EXPECT_FALSE(document->isCalculating());
    EXPECT_FALSE(document->dataController().isLockedOutside());
    EXPECT_EQ(harness.manager.calculationCount(), 0u);
    EXPECT_TRUE(harness.done.userInfos.empty());
}

// The hand-over of a finished calculation needs memory too: when it cannot be queued, the memory
// error is handed over in its place, and the document unlocks without the results.
TEST(CalculationOutOfMemory, AHandOverBetweenThreadsWithoutMemoryHandsOverTheMemoryError)
{
    CalculationHarness harness;
    UFemDocument* document = harness.modelDocument(tripodModelText());
    ASSERT_NE(document, nullptr);
    std::atomic<int> attempts { 0 };
    harness.manager.setMainThreadPoster([&attempts](std::function<void()>& work) {
        if (attempts++ < 2)
            throw std::bad_alloc();
        UMainThread::postOrKeep(work);
    });
    UErrorPtr error;
    ASSERT_TRUE(document->startCalculationWithArgument(UFemCalculationStartArgument {}, &error));
    EXPECT_TRUE(document->isCalculating());
    ASSERT_TRUE(harness.waitForCalculations());
    EXPECT_EQ(attempts.load(), 3);
    ASSERT_EQ(harness.done.userInfos.size(), 1u);
    const auto reported
        = harness.done.userInfos[0].value(UFemCalculationErrorKey).value<UErrorPtr>();
    ASSERT_NE(reported, nullptr);
    EXPECT_EQ(reported->code(), 81001);
    EXPECT_FALSE(document->isCalculating());
    EXPECT_FALSE(document->dataController().isLockedOutside());
    EXPECT_FALSE(document->hasResultData());
}
