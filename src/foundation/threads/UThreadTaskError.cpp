#include "foundation/threads/UThreadTaskError.h"

#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"

#include <QStringLiteral>

namespace {

UErrorPtr errorOfException(std::exception_ptr exception)
{
    if (UFemIsMemoryExhaustion(exception))
        return UFemMallocFailedError();
    try {
        std::rethrow_exception(exception);
    } catch (const UException& raised) {
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
