#include "foundation/threads/UThreadTaskError.h"

#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"
#include "foundation/strings/UFormattedString.h"

#include <QStringLiteral>

#include <new>
#include <system_error>

namespace {

bool isThreadRefusedForWantOfResources(const std::system_error& refused)
{
    return refused.code() == std::errc::resource_unavailable_try_again
        || refused.code() == std::errc::not_enough_memory;
}

UErrorPtr errorOfException(std::exception_ptr exception)
{
    try {
        std::rethrow_exception(exception);
    } catch (const std::bad_alloc&) {
        return UFemMallocFailedError();
    } catch (const std::system_error& refused) {
        if (isThreadRefusedForWantOfResources(refused))
            return UFemMallocFailedError();
        return UFemCalculationFailedWhileCalculationError_withCalculationErrorString(
            QString::fromLocal8Bit(refused.what()));
    } catch (const UException& raised) {
        if (raised.name() == ULocalizedFormattedString("Memory allocation failed."))
            return UFemMallocFailedError();
        return UFemCalculationFailedWhileCalculationError_withCalculationErrorString(
            raised.reason().isEmpty() ? raised.name()
                                      : raised.name() + QLatin1Char(' ') + raised.reason());
    } catch (const std::exception& raised) {
        return UFemCalculationFailedWhileCalculationError_withCalculationErrorString(
            QString::fromLocal8Bit(raised.what()));
    } catch (...) {
        return UFemCalculationFailedWhileCalculationError_withCalculationErrorString(
            QStringLiteral("Unknown exception."));
    }
}

} // namespace

UErrorPtr UThreadTaskErrorWithException(std::exception_ptr exception) noexcept
{
    try {
        return errorOfException(std::move(exception));
    } catch (...) {
        return UFemMallocFailedError();
    }
}
