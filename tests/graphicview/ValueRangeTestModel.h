#pragma once

#include "cardmodel/data/UFemDataController.h"
#include "foundation/errors/UError.h"

#include <QString>

#include <memory>
#include <vector>

// A model read from text into a data controller with the value-range tasks, result data and
// calculation services; it can be calculated in place.
class ValueRangeTestModel {
public:
    explicit ValueRangeTestModel(const QString& modelText);

    UFemDataController& controller() { return *controller_; }
    // Calculated with its results attached; false with the error's text reported.
    bool calculate();
    UFemCard& card(const QString& name);

    // The maxima through the get operations on `threadCount` workers.
    struct ForceRange {
        double force = -1;
        double moment = -1;
        std::vector<UErrorPtr> errors;
    };
    ForceRange forceRange(quint64 threadCount = 2);
    double displacementRange(quint64 threadCount = 2, std::vector<UErrorPtr>* errors = nullptr);

private:
    std::unique_ptr<UFemDataController> controller_;
};
