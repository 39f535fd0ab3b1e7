// Card values are asked from the 3-D view's worker threads while the model stands still; the cards
// take no locks, so several readers at once must see the same answers.
#include "CardsTestModel.h"

#include "cards/Node.h"

#include <atomic>
#include <thread>
#include <vector>

using namespace cardstest;

TEST(NodeCardThreads, ValuesOfTheSixKindsReadFromSeveralThreadsAtOnce)
{
    constexpr int threadCount = 4;
    constexpr int rounds = 200;
    CardsTestModel model;
    model.read(u"Material , Steel , 2.0 , 0.25 ,\n"
               "ShellProp , SH , Steel , 0.125 ,\n"
               "Node , N1 ,  , 1.5 , 0 , -2 ,\n"
               "Case , C , LINEAR_STATIC , R , F ,\n"_qs);
    const _UFemCardValueType youngs = valueType("YoungsModulus");
    const _UFemCardValueType thickness = valueType("Thickness");
    const _UFemCardValueType location = valueType("Location");
    const _UFemCardValueType displacement = valueType("Displacement");
    const UFemCard& shell = model.card(1);
    const UFemCard& node = model.card(2);
    const UFemCard* caseCard = &model.card(3);

    std::atomic<int> mismatches { 0 };
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&] {
            for (int r = 0; r < rounds; ++r) {
                double values[6] { -1, -1, -1, -1, -1, -1 };
                UErrorPtr error;
                const bool ok = shell.getCardValue(values, youngs, nullptr, &error)
                    && values[0] == 2.0 && shell.getCardValue(values, thickness, nullptr, &error)
                    && values[0] == 0.125 && node.getCardValue(values, location, nullptr, &error)
                    && values[2] == -2.0
                    && node.getCardValue(values, displacement, caseCard, &error) && values[5] == 0.0
                    && shell.checkErrorToRun() == nullptr && !node.toolTipString().isEmpty();
                if (!ok)
                    ++mismatches;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}
