#include "calculation/results/UFemVersionString.h"

namespace {

constexpr quint64 largestVersionNumber = 999999;

} // namespace

QString UFemVersionStringWithVersionNumber(quint64 versionNumber)
{
    if (versionNumber > largestVersionNumber)
        return QString();
    // Digit groups after "0.": hundred thousands, thousands, tens and units, stopping at the
    // first remainder of 0.
    constexpr quint64 divisors[] = { 100000, 1000, 10, 1 };
    QString text = QStringLiteral("0");
    quint64 remainder = versionNumber;
    for (const quint64 divisor : divisors) {
        text += u'.' + QString::number(remainder / divisor);
        remainder %= divisor;
        if (remainder == 0)
            break;
    }
    return text;
}
