#pragma once

#include "foundation/errors/UError.h"

#include <QString>

#include <memory>
#include <optional>

class UFemDataController;

// What the calculation manager gives one calculation thread: the calculation's private data
// controller (already set up for a run), the name the panel shows, the result file to write and
// the project texts the result file records.
struct UFemCalculationThreadArgument {
    QString documentNameString;
    std::shared_ptr<UFemDataController> dataController;
    std::optional<QString> resultFilePath;
    std::optional<QString> projectTitleString;
    std::optional<QString> projectVersionString;
    std::optional<QString> projectCommentString;
};

// How a calculation thread ended. `error`: the calculation failed or was quit, and has no
// results. `resultFileError`: the results are complete but the result file could not be written;
// the results still go to the document, and the file that was there before is kept.
struct UFemCalculationThreadOutcome {
    UErrorPtr error;
    UErrorPtr resultFileError;
};

// The whole work of one calculation thread: run the calculation on the private data controller,
// give its results the project texts and write them to the result file, whole or not at all.
// Never throws: exhausted memory becomes the allocation error (81001), any other exception the
// unexpected error (81004).
UFemCalculationThreadOutcome UFemRunCalculationThreadWork(
    const UFemCalculationThreadArgument& argument);
