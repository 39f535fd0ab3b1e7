#include "calculation/UFemWFCalculationExceptionError.h"

#include "calculation/UFemWFCalculationMemoryEstimate.h"

#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFormattedString.h"

#include <new>

UErrorPtr UFemWFCalculationErrorWithException(std::exception_ptr exception)
{
    try {
        std::rethrow_exception(exception);
    } catch (const UFemWFMemoryShortage& shortage) {
        return UFemMallocFailedError_withMemoryBytes(
            shortage.requiredBytes, shortage.availableBytes);
    } catch (const std::bad_alloc&) {
        return UFemMallocFailedError();
    } catch (const UException& raised) {
        if (raised.name() == ULocalizedFormattedString("Memory allocation failed."))
            return UFemMallocFailedError();
        return UFemUnexpectedError_withDescription(
            raised.reason().isEmpty() ? raised.name() : raised.reason());
    } catch (const std::exception& raised) {
        return UFemUnexpectedError_withDescription(QString::fromLocal8Bit(raised.what()));
    } catch (...) {
        return UFemUnexpectedError_withDescription(QStringLiteral("Unknown exception."));
    }
}
