#include "foundation/threads/UThreadTaskError.h"

#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"

#include <QStringLiteral>

#include <new>

namespace {

QString describeException(std::exception_ptr exception)
{
    try {
        std::rethrow_exception(exception);
    } catch (const UException& raised) {
        return raised.reason().isEmpty() ? raised.name()
                                         : raised.name() + QLatin1Char(' ') + raised.reason();
    } catch (const std::exception& raised) {
        return QString::fromLocal8Bit(raised.what());
    } catch (...) {
        return QStringLiteral("Unknown exception.");
    }
}

} // namespace

UErrorPtr UThreadTaskErrorWithException(std::exception_ptr exception)
{
    // Memory running out in a task is the memory error, as anywhere else in a calculation; so is
    // a description that finds no memory.
    try {
        try {
            std::rethrow_exception(exception);
        } catch (const std::bad_alloc&) {
            return UFemMallocFailedError();
        } catch (...) {
        }
        return UFemCalculationFailedWhileCalculationError_withCalculationErrorString(
            describeException(exception));
    } catch (const std::bad_alloc&) {
        return UFemMallocFailedError();
    }
}
