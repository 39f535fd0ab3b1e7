#include "foundation/threads/UThreadTaskError.h"

#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"

#include <QStringLiteral>

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
    return UFemCalculationFailedWhileCalculationError_withCalculationErrorString(
        describeException(exception));
}
