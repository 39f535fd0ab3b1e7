#include "foundation/errors/UException.h"

#include "foundation/strings/UFormattedString.h"

#include <atomic>
#include <new>
#include <system_error>

UException::UException(QString name, QString reason)
    : name_(std::move(name))
    , reason_(std::move(reason))
    , what_((name_ + QStringLiteral(" ") + reason_).toStdString())
{
}

URangeException::URangeException()
    : std::out_of_range("index out of range")
{
}

URangeException::URangeException(const std::string& what)
    : std::out_of_range(what)
{
}

void UFemRaiseErrorResponderError()
{
    throw UException(UFemProgramErrorExceptionName, QStringLiteral("Error Responder Error"));
}

void UFemRaiseProgramError(const QString& reason)
{
    throw UException(UFemProgramErrorExceptionName, reason);
}

void UFemRaiseProgramErrorWithValue(const QString& reason, long value)
{
    throw UException(
        UFemProgramErrorExceptionName, UFormattedString("%@ ( value: %ld )", reason, value));
}

void UFemRaiseCardClassProgramError(const QString& reason)
{
    throw UException(UFemCardClassProgramErrorExceptionName, reason);
}

void UFemRaiseMemoryAllocationFailed()
{
    const QString text = ULocalizedFormattedString("Memory allocation failed.");
    throw UException(text, text);
}

bool UFemIsMemoryAllocationFailed(const UException& raised)
{
    return raised.name() == ULocalizedFormattedString("Memory allocation failed.");
}

bool UFemIsMemoryExhaustion(const std::exception_ptr& exception) noexcept
{
    try {
        std::rethrow_exception(exception);
    } catch (const std::bad_alloc&) {
        return true;
    } catch (const std::system_error& refused) {
        return refused.code() == std::errc::resource_unavailable_try_again
            || refused.code() == std::errc::not_enough_memory;
    } catch (const UException& raised) {
        return UFemIsMemoryAllocationFailed(raised);
    } catch (...) {
        return false;
    }
}

void URaiseRangeException()
{
    throw URangeException();
}

namespace {
std::atomic<bool> printsDebugLog { false };
}

bool ULibrary::doesPrintDebugLog()
{
    return printsDebugLog.load(std::memory_order_relaxed);
}

void ULibrary::setDoesPrintDebugLog(bool flag)
{
    printsDebugLog.store(flag, std::memory_order_relaxed);
}
