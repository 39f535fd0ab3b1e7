#pragma once

#include <QByteArray>

// printf-style formatting under the C locale whatever the process's locale is, so that numbers
// shown or written always use a decimal point (only the calling thread's locale is switched).
QByteArray UCLocaleFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
