#pragma once

#include <QByteArray>

#include <locale.h>

// printf-style formatting under the C locale whatever the process's locale is, so that numbers
// shown or written always use a decimal point (only the calling thread's locale is switched).
QByteArray UCLocaleFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The C locale object, made once and kept for the life of the process (for strtod_l and the like).
locale_t UCLocale();
