#include "calculation/UFemWFCalculationExceptionError.h"

#include "calculation/UFemWFCalculationMemoryEstimate.h"

#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"

namespace {

UErrorPtr errorOfException(std::exception_ptr exception)
{
    if (UFemIsMemoryExhaustion(exception)) {
        try {
            std::rethrow_exception(exception);
        } catch (const UFemWFMemoryShortage& shortage) {
            return UFemMallocFailedError_withMemoryBytes(
                shortage.requiredBytes, shortage.availableBytes);
        } catch (...) {
            return UFemMallocFailedError();
        }
    }
    try {
        std::rethrow_exception(exception);
    } catch (const UException& raised) {
        return UFemUnexpectedError_withDescription(
            raised.reason().isEmpty() ? raised.name() : raised.reason());
    } catch (const std::exception& raised) {
        return UFemUnexpectedError_withDescription(QString::fromLocal8Bit(raised.what()));
    } catch (...) {
        return UFemUnexpectedError_withDescription(QStringLiteral("Unknown exception."));
    }
}

} // namespace

UErrorPtr UFemWFCalculationErrorWithException(std::exception_ptr exception) noexcept
{
    try {
        return errorOfException(std::move(exception));
    } catch (...) {
        // Composing the error's text took memory that was not there.
        return UFemMallocFailedError();
    }
}
