#include "calculation/UFemWFCalculationExceptionError.h"

#include "calculation/UFemWFCalculationMemoryEstimate.h"

#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFormattedString.h"

#include <new>
#include <system_error>

namespace {

UErrorPtr errorOfException(std::exception_ptr exception)
{
    try {
        std::rethrow_exception(exception);
    } catch (const UFemWFMemoryShortage& shortage) {
        return UFemMallocFailedError_withMemoryBytes(
            shortage.requiredBytes, shortage.availableBytes);
    } catch (const std::bad_alloc&) {
        return UFemMallocFailedError();
    } catch (const std::system_error& refused) {
        // A thread that could not be made: its stack or the process's threads ran out.
        if (refused.code() == std::errc::resource_unavailable_try_again
            || refused.code() == std::errc::not_enough_memory)
            return UFemMallocFailedError();
        return UFemUnexpectedError_withDescription(QString::fromLocal8Bit(refused.what()));
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
