#include "documents/calculation/UFemCalculationProgressEstimate.h"

#include <gtest/gtest.h>

namespace {

UFemCalculationProgressFigures running(quint64 progress, quint64 total)
{
    UFemCalculationProgressFigures figures;
    figures.currentProgress = progress;
    figures.progressTotalLength = total;
    return figures;
}

} // namespace

TEST(CalculationManagerTest, RemainingTimeTextsRoundAsThePanelShowsThem)
{
    // A leftover of 20 seconds or more adds a minute once there are two minutes.
    EXPECT_EQ(UFemCalculationRemainingTimeString(145.0), "about 3 minutes");
    EXPECT_EQ(UFemCalculationRemainingTimeString(139.4), "about 2 minutes");
    EXPECT_EQ(UFemCalculationRemainingTimeString(65.0), "about 1 minutes 5 seconds");
    EXPECT_EQ(UFemCalculationRemainingTimeString(59.6), "about 1 minutes 0 seconds");
    EXPECT_EQ(UFemCalculationRemainingTimeString(42.0), "about 42 seconds");
    EXPECT_EQ(
        UFemCalculationRemainingTimeString(3 * 3600 + 7 * 60 + 50), "about 3 hours 7 minutes");
    EXPECT_EQ(
        UFemCalculationRemainingTimeString(2 * 86400 + 5 * 3600 + 10), "about 2 days 5 hours");
}

TEST(CalculationManagerTest, ProgressStatesInTheirOrderOfPrecedence)
{
    UFemCalculationProgressEstimate estimate;
    UFemCalculationProgressDisplay display = estimate.update(running(0, ~quint64(0)), 0.0);
    EXPECT_EQ(display.infoString, "Checking model/Building Stiff equation...");
    EXPECT_LT(display.fraction, 0.0);

    UFemCalculationProgressFigures paused = running(50, 100);
    paused.isCalculationPausingOnView = true;
    display = estimate.update(paused, 1.0);
    EXPECT_EQ(display.infoString, "Calculation will be paused.");
    EXPECT_EQ(display.estimate, 0.0);
    paused.isCalculationPausing = true;
    display = estimate.update(paused, 2.0);
    EXPECT_EQ(display.infoString, "Calculation is paused.");
    EXPECT_EQ(display.estimate, UFemCalculationProgressEstimate::PausedEstimate);
    EXPECT_DOUBLE_EQ(display.fraction, 0.5);

    UFemCalculationProgressFigures pausingByItself = running(50, 100);
    pausingByItself.isCalculationPausing = true;
    EXPECT_EQ(estimate.update(pausingByItself, 3.0).infoString, "Calculation will start soon.");
    EXPECT_EQ(estimate.update(running(100, 100), 4.0).infoString, "Calculation completed...");
}

TEST(CalculationManagerTest, TimeRemainedFollowsTheSamples)
{
    UFemCalculationProgressEstimate estimate;
    // First progress: the first sample is taken, no estimate yet.
    UFemCalculationProgressDisplay display = estimate.update(running(100, 1000), 10.0);
    EXPECT_EQ(display.infoString, "Time remained: Calculating...");
    EXPECT_EQ(display.estimate, 0.0);
    // 100 more units in 10 s: the whole takes 100 s, 80 % of it remain.
    display = estimate.update(running(200, 1000), 20.0);
    EXPECT_DOUBLE_EQ(display.estimate, 100.0);
    EXPECT_EQ(display.infoString, "Time remained: about 1 minutes 20 seconds");
    EXPECT_EQ(estimate.calculationProgressLogRecordTable()[1].progressCount, 200u);
    // Ten seconds after the second sample the recent speed counts: 300 units in 10 s.
    display = estimate.update(running(500, 1000), 30.0);
    EXPECT_NEAR(display.estimate, 1000.0 * 10.0 / 300.0, 1e-9);
    // No progress since the recent sample: unknown.
    display = estimate.update(running(200, 1000), 40.0);
    EXPECT_EQ(display.infoString, "Time remained: Unknown... (No progress ?)");

    // A pause clears the samples, so that the estimate starts again after a restart.
    UFemCalculationProgressFigures paused = running(500, 1000);
    paused.isCalculationPausing = paused.isCalculationPausingOnView = true;
    estimate.update(paused, 50.0);
    EXPECT_EQ(estimate.calculationProgressLogRecordTable()[0].progressCount, 0u);
    EXPECT_EQ(
        estimate.update(running(510, 1000), 60.0).infoString, "Time remained: Calculating...");
}

TEST(CalculationManagerTest, TimerIntervalAndItsHysteresis)
{
    EXPECT_DOUBLE_EQ(UFemCalculationProgressTimerInterval(31536000.0), 2.0);
    EXPECT_DOUBLE_EQ(UFemCalculationProgressTimerInterval(800.0), 1.0);
    EXPECT_DOUBLE_EQ(UFemCalculationProgressTimerInterval(150.0), 0.25);
    EXPECT_DOUBLE_EQ(UFemCalculationProgressTimerInterval(40.0), 0.1);
    EXPECT_DOUBLE_EQ(UFemCalculationProgressTimerInterval(0.0), 0.033);
    EXPECT_TRUE(UFemShouldKeepCalculationProgressTimer(1.0, 1.2));
    EXPECT_TRUE(UFemShouldKeepCalculationProgressTimer(1.0, 0.85));
    EXPECT_FALSE(UFemShouldKeepCalculationProgressTimer(1.0, 0.8));
    EXPECT_FALSE(UFemShouldKeepCalculationProgressTimer(1.0, 1.3));
}
