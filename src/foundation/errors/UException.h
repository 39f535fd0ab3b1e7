#pragma once

#include <QString>

#include <exception>
#include <stdexcept>
#include <string>

// A program error: raised on paths that correct callers never reach. The application catches it
// at its event loop and worker threads at their task boundary.
class UException : public std::exception {
public:
    UException(QString name, QString reason);

    const QString& name() const { return name_; }
    const QString& reason() const { return reason_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    QString name_;
    QString reason_;
    std::string what_;
};

// An index outside a container's range.
class URangeException : public std::out_of_range {
public:
    URangeException();
    explicit URangeException(const std::string& what);
};

inline const QString UFemProgramErrorExceptionName = QStringLiteral("Program Error.");
inline const QString UFemCardClassProgramErrorExceptionName
    = QStringLiteral("Card Class Program Error.");

[[noreturn]] void UFemRaiseErrorResponderError();
[[noreturn]] void UFemRaiseProgramError(const QString& reason);
[[noreturn]] void UFemRaiseProgramErrorWithValue(const QString& reason, long value);
[[noreturn]] void UFemRaiseCardClassProgramError(const QString& reason);
[[noreturn]] void UFemRaiseMemoryAllocationFailed();
// Whether `raised` is what UFemRaiseMemoryAllocationFailed raises.
bool UFemIsMemoryAllocationFailed(const UException& raised);
// Whether `exception` tells of exhausted memory: std::bad_alloc, what
// UFemRaiseMemoryAllocationFailed raises, or a thread refused for want of its stack or of threads.
bool UFemIsMemoryExhaustion(const std::exception_ptr& exception) noexcept;
[[noreturn]] void URaiseRangeException();

// The process-wide debug-log flag; nothing reads or sets it yet.
class ULibrary {
public:
    static bool doesPrintDebugLog();
    static void setDoesPrintDebugLog(bool flag);
};
