#include "calculation/UFemCalculationThreadWork.h"

#include "calculation/UFemDataControllerRunCalculation.h"
#include "calculation/UFemMatrixCalculationContext.h"
#include "calculation/UFemWFCalculationExceptionError.h"
#include "calculation/results/UFemResultDataManagerImpl.h"
#include "calculation/results/UFemResultFileWriter.h"
#include "cardmodel/data/UFemDataController.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"

namespace {

[[nodiscard]] bool runAndWrite(
    const UFemCalculationThreadArgument& argument, UErrorPtr* resultFileError, UErrorPtr* error)
{
    UFemDataController& dataController = *argument.dataController;
    if (!UFemRunCalculation(dataController, error))
        return false;
    const std::shared_ptr<UFemResultDataManagerImpl> manager
        = UFemMatrixCalculationContextOf(dataController)->resultDataManager(error);
    if (!manager)
        return false;
    manager->setProjectTitleString(
        argument.projectTitleString, argument.projectVersionString, argument.projectCommentString);
    if (!argument.resultFilePath)
        return true;
    const std::optional<QByteArray> data = manager->resultFileData(error);
    if (!data)
        return false;
    // A failed write is shown from resultFileError; the results still go to the document.
    static_cast<void>(UFemWriteResultFile(*argument.resultFilePath, *data, resultFileError));

    return true;
}

} // namespace

UFemCalculationThreadOutcome UFemRunCalculationThreadWork(
    const UFemCalculationThreadArgument& argument)
{
    UFemCalculationThreadOutcome outcome;
    try {
        if (runAndWrite(argument, &outcome.resultFileError, &outcome.error))
            return outcome;
        if (outcome.error && outcome.error->isUFemCalculationCanceledError())
            outcome.error
                = UFemCalculationCanceledError_withDocumentNameString(argument.documentNameString);
    } catch (...) {
        // Nothing may leave the thread: the panel shows the error and the document unlocks. The
        // error allocates nothing, so memory running out cannot end the thread here.
        outcome.error = UFemWFCalculationErrorWithException(std::current_exception());
        outcome.resultFileError.reset();
    }
    return outcome;
}
