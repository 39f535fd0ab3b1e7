#include "foundation/strings/UCLocaleFormat.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <locale.h>

locale_t UCLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

namespace {

// Makes the C locale current on this thread for one scope.
class ScopedCLocale {
public:
    ScopedCLocale()
        : previous_(uselocale(UCLocale()))
    {
    }
    ~ScopedCLocale() { uselocale(previous_); }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    locale_t previous_;
};

} // namespace

QByteArray UCLocaleFormat(const char* format, ...)
{
    constexpr int stackLength = 128;
    ScopedCLocale scope;
    char stackBuffer[stackLength];
    va_list arguments;
    va_start(arguments, format);
    va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(stackBuffer, stackLength, format, arguments);
    va_end(arguments);
    if (length < 0) {
        va_end(copy);
        return {};
    }
    if (length < stackLength) {
        va_end(copy);
        return QByteArray(stackBuffer, length);
    }
    QByteArray text(length, Qt::Uninitialized);
    std::vsnprintf(text.data(), static_cast<size_t>(length) + 1, format, copy);
    va_end(copy);
    return text;
}
