#pragma once

#include <QtGlobal>

// What the data controller holds of the calculation running on its model: progress, pause and
// quit, read by the user interface while the calculation subsystem, which implements it, runs.
class UFemCalculationControl {
public:
    virtual ~UFemCalculationControl() = default;

    virtual void pauseCalculationWithFlag(bool flag) = 0;
    virtual void quitCalculation() = 0;
    virtual bool isCalculationPausing() const = 0;
    virtual quint64 calculatingThreadCount() const = 0;
    virtual quint64 progressTotalLength() const = 0;
    virtual quint64 currentProgress() const = 0;
    virtual quint64 computingCount() const = 0;
};
