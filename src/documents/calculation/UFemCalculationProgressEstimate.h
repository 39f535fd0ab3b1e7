#pragma once

#include <QString>

#include <array>

// A progress sample of a running calculation.
struct UFemCalculationProgressLogRecord {
    quint64 progressCount = 0;
    quint64 computingCount = 0;
    double timeIntervalSinceRefDate = 0.0;
};

// The progress figures of one calculation, as asked on the main thread at one moment.
struct UFemCalculationProgressFigures {
    quint64 currentProgress = 0;
    quint64 progressTotalLength = ~quint64(0);
    quint64 computingCount = 0;
    bool isCalculationPausing = false;
    // The user pressed Pause in the calculation's row.
    bool isCalculationPausingOnView = false;
    // The calculation has ended, but there is no memory yet to hand its results over.
    bool isWaitingToHandOver = false;
};

// What a calculation's row shows, and the seconds its calculation may still need (0 when unknown
// or soon over, a year while paused).
struct UFemCalculationProgressDisplay {
    double fraction = -1.0; // negative: indeterminate
    QString infoString;
    double estimate = 0.0;
};

// The remaining-time estimate of one calculation from two progress samples: one taken at the first
// progress, one 10 seconds or more later; from 10 seconds after the second on, the speed since
// the second counts. A pause clears both.
class UFemCalculationProgressEstimate {
public:
    static constexpr double PausedEstimate = 31536000.0;

    // `now`: seconds on a steady clock.
    UFemCalculationProgressDisplay update(
        const UFemCalculationProgressFigures& figures, double now);
    void clearCalculationProgressLogRecordTable() { table_ = {}; }
    const std::array<UFemCalculationProgressLogRecord, 3>& calculationProgressLogRecordTable() const
    {
        return table_;
    }

private:
    double estimateFrom(const UFemCalculationProgressFigures& figures, double now);

    std::array<UFemCalculationProgressLogRecord, 3> table_ {};
};

// "about 3 minutes" and the like, for the whole seconds nearest `remainingSeconds`.
QString UFemCalculationRemainingTimeString(double remainingSeconds);
// The progress timer's interval for the smallest estimate of all calculations.
double UFemCalculationProgressTimerInterval(double smallestEstimate);
// Whether a timer of `currentInterval` is close enough to `newInterval` to be kept.
bool UFemShouldKeepCalculationProgressTimer(double currentInterval, double newInterval);
