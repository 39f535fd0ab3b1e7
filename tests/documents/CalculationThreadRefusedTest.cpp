#include "CalculationTestSupport.h"

#include "cardmodel/data/UFemDataController.h"
#include "documents/document/UFemDocumentNotifications.h"

#include <gtest/gtest.h>

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
