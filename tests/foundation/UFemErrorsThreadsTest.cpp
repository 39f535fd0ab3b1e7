#include "foundation/errors/UFemErrorsColorScale.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"
#include "foundation/strings/UFemNumberFormatter.h"

#include "ErrorExpectation.h"

#include <atomic>
#include <thread>
#include <vector>

// Worker threads build errors, numbers included, at once.
TEST(ErrorCatalogueThreads, ConstructorsRunOnWorkerThreads)
{
    constexpr int threadCount = 4;
    constexpr int errorsPerThread = 200;
    std::atomic<int> wrongTexts { 0 };
    std::vector<std::thread> threads;
    for (int thread = 0; thread < threadCount; ++thread) {
        threads.emplace_back([&wrongTexts, thread] {
            for (int index = 0; index < errorsPerThread; ++index) {
                const UErrorPtr error = UFemCalculationFailedWhileSetupError_withDescription(
                    QStringLiteral("D%1").arg(thread), QStringLiteral("S"),
                    QStringLiteral("n%1").arg(index), 5);
                if (error->localizedOneLineDescription()
                    != QStringLiteral("Calculation failed. D%1 ( DOF: n%2@RZ ) S")
                           .arg(thread)
                           .arg(index))
                    ++wrongTexts;
                const QString range
                    = UFemColorScaleValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(
                        0.5, 0.5)
                          ->localizedDescription();
                if (!range.contains(UFemNumberFormatter::quickStringWithValue(0.5)))
                    ++wrongTexts;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrongTexts.load(), 0);
}
