#pragma once

// A model read from model text into a data controller that numbers its cards and reads result
// files, calculated through the data controller's calculation operations.

#include "calculation/UFemDataControllerRunCalculation.h"
#include "calculation/UFemMatrixCalculationContext.h"
#include "calculation/results/UFemResultDataManagerImpl.h"
#include "cardmodel/data/UFemDataController.h"
#include "foundation/errors/UError.h"

#include <QString>

#include <array>
#include <memory>
#include <optional>

class CalculationTestModel {
public:
    explicit CalculationTestModel(const QString& modelText);

    UFemDataController& controller() { return *controller_; }
    // Set-up, run and results attached; false with the error.
    bool calculate(UErrorPtr* error, quint64 threadCount = 2);
    UFemMatrixCalculationContext& setUp(quint64 threadCount = 2);

    // Translations (rotation 0) or rotations (1) of the node in the case, from the Node card.
    std::array<double, 3> displacement(
        const QString& nodeName, const QString& caseName, quint64 rotation = 0);
    // The error text of the case's restraint set, nullopt when it was solved.
    std::optional<QString> caseErrorString(const QString& nodeName, const QString& caseName);

    UFemCard& card(const QString& name);
    // A fresh model of the same text with the results written to a result file at `path` and
    // read back from it.
    std::unique_ptr<CalculationTestModel> reopenedWithResultFile(const QString& path);

private:
    std::unique_ptr<UFemDataController> controller_;
};

// The text of an example model of the repository (examples/NAME).
QString exampleModelText(const QString& fileName);
// The description the unexpected error gives a text.
QString unexpected(const QString& text);
// The description of an error, or "" without one.
QString descriptionOf(const UErrorPtr& error);
