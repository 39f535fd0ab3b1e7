#include "documents/calculation/UFemCalculationProgressEstimate.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double SampleRenewalSeconds = 10.0;
constexpr quint64 SecondsPerDay = 86400;
constexpr quint64 SecondsPerHour = 3600;
constexpr quint64 SecondsPerMinute = 60;
constexpr quint64 LeftoverSecondsRoundingUp = 20;
constexpr double LongEstimate = 200.0;
constexpr double MediumEstimate = 100.0;
constexpr double LongEstimateDivisor = 800.0;
constexpr double ShortEstimateDivisor = 400.0;
constexpr double LongestInterval = 2.0;
constexpr double MediumInterval = 0.25;
constexpr double ShortestInterval = 0.033;
constexpr double KeepTimerLow = 0.8;
constexpr double KeepTimerHigh = 1.2;

const QString TimeRemainedPrefix = QStringLiteral("Time remained: ");

} // namespace

UFemCalculationProgressDisplay UFemCalculationProgressEstimate::update(
    const UFemCalculationProgressFigures& figures, double now)
{
    const quint64 p = figures.currentProgress;
    const quint64 total = figures.progressTotalLength;
    UFemCalculationProgressDisplay display;
    display.fraction = p != 0 ? double(p) / double(total) : -1.0;
    if (figures.isWaitingToHandOver) {
        // Memory may take long to come back: nothing here needs a quick timer.
        display.fraction = 1.0;
        display.infoString
            = QStringLiteral("Calculation ended; waiting for memory to hand over results...");
        display.estimate = PausedEstimate;
    } else if (figures.isCalculationPausingOnView && figures.isCalculationPausing) {
        clearCalculationProgressLogRecordTable();
        display.infoString = QStringLiteral("Calculation is paused.");
        display.estimate = PausedEstimate;
    } else if (figures.isCalculationPausingOnView) {
        display.infoString = QStringLiteral("Calculation will be paused.");
    } else if (p == 0) {
        display.infoString = QStringLiteral("Checking model/Building Stiff equation...");
    } else if (p == total) {
        display.infoString = QStringLiteral("Calculation completed...");
    } else if (figures.isCalculationPausing) {
        display.infoString = QStringLiteral("Calculation will start soon.");
    } else if (table_[0].progressCount == 0) {
        table_[0] = { p, figures.computingCount, now };
        display.infoString = TimeRemainedPrefix + QStringLiteral("Calculating...");
    } else {
        display.estimate = estimateFrom(figures, now);
        display.infoString = TimeRemainedPrefix
            + (display.estimate == 0.0 ? QStringLiteral("Unknown... (No progress ?)")
                                       : UFemCalculationRemainingTimeString(
                                           (1.0 - display.fraction) * display.estimate));
    }
    return display;
}

double UFemCalculationProgressEstimate::estimateFrom(
    const UFemCalculationProgressFigures& figures, double now)
{
    const quint64 p = figures.currentProgress;
    const double total = double(figures.progressTotalLength);
    UFemCalculationProgressLogRecord& first = table_[0];
    UFemCalculationProgressLogRecord& recent = table_[1];
    const double firstEstimate = p == first.progressCount ? 0.0
                                                          : (now - first.timeIntervalSinceRefDate)
            * total / (double(p) - double(first.progressCount));
    const bool isRecentOld = now - recent.timeIntervalSinceRefDate >= SampleRenewalSeconds;
    if (recent.progressCount == 0) {
        if (isRecentOld)
            recent = { p, figures.computingCount, now };
        return firstEstimate;
    }
    if (!isRecentOld)
        return firstEstimate;
    if (p <= recent.progressCount)
        return 0.0;
    return total * (now - recent.timeIntervalSinceRefDate) / double(p - recent.progressCount);
}

QString UFemCalculationRemainingTimeString(double remainingSeconds)
{
    const auto seconds = quint64(std::max(0.0, std::round(remainingSeconds)));
    const quint64 days = seconds / SecondsPerDay;
    const quint64 hours = seconds % SecondsPerDay / SecondsPerHour;
    const quint64 minutes = seconds % SecondsPerHour / SecondsPerMinute;
    const quint64 leftover = seconds % SecondsPerMinute;
    if (days != 0)
        return QStringLiteral("about %1 days %2 hours").arg(days).arg(hours);
    if (hours != 0)
        return QStringLiteral("about %1 hours %2 minutes").arg(hours).arg(minutes);
    if (minutes >= 2)
        return QStringLiteral("about %1 minutes")
            .arg(minutes + (leftover >= LeftoverSecondsRoundingUp ? 1 : 0));
    if (minutes == 1)
        return QStringLiteral("about %1 minutes %2 seconds").arg(minutes).arg(leftover);
    return QStringLiteral("about %1 seconds").arg(leftover);
}

double UFemCalculationProgressTimerInterval(double smallestEstimate)
{
    if (smallestEstimate > LongEstimate)
        return std::min(smallestEstimate / LongEstimateDivisor, LongestInterval);
    if (smallestEstimate > MediumEstimate)
        return MediumInterval;
    return std::max(smallestEstimate / ShortEstimateDivisor, ShortestInterval);
}

bool UFemShouldKeepCalculationProgressTimer(double currentInterval, double newInterval)
{
    const double ratio = currentInterval / newInterval;
    return ratio >= KeepTimerLow && ratio <= KeepTimerHigh;
}
