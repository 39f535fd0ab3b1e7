#include "graphics/opengl/UGLOpenGLVersion.h"

#include "foundation/errors/UException.h"
#include "foundation/strings/UFormattedString.h"

namespace {

constexpr quint64 majorFactor = 1000;
constexpr quint64 minorFactor = 10;
constexpr quint64 largestPart = 10;
// Digits beyond this are not accumulated, so a long run cannot overflow; it is too big anyway.
constexpr quint64 digitRunCap = 1000000;

[[noreturn]] void raiseTooBig()
{
    UFemRaiseProgramError(QStringLiteral("OpenGL Version Number seems too big."));
}

quint64 readDigits(const QString& text, qsizetype* position)
{
    quint64 value = 0;
    while (*position < text.size() && text[*position] >= u'0' && text[*position] <= u'9') {
        if (value < digitRunCap)
            value = value * 10 + quint64(text[*position].unicode() - u'0');
        ++*position;
    }
    return value;
}

} // namespace

bool UGLIsValidRenderingOpenGLVersion(UGLOpenGLVersion version)
{
    return version == UGLOpenGLVersion_1_1 || version == UGLOpenGLVersion_1_4;
}

UGLOpenGLVersion UGLStandardizedRenderingOpenGLVersion(UGLOpenGLVersion version)
{
    return version < UGLOpenGLVersion_1_4 ? UGLOpenGLVersion_1_1 : UGLOpenGLVersion_1_4;
}

UGLOpenGLVersion UGLMakeOpenGLVersion(quint64 major, quint64 minor)
{
    if (major > largestPart || minor > largestPart)
        raiseTooBig();
    return major * majorFactor + minor * minorFactor;
}

void UGLSplitOpenGLVersion(UGLOpenGLVersion version, quint64* major, quint64* minor)
{
    const quint64 majorPart = version / majorFactor;
    const quint64 rest = version % majorFactor;
    if (majorPart > largestPart || rest / minorFactor > largestPart)
        raiseTooBig();
    if (rest % minorFactor != 0)
        UFemRaiseProgramError(QStringLiteral("OpenGL Version Number seems incorrect."));
    *major = majorPart;
    *minor = rest / minorFactor;
}

QString UGLOpenGLVersionString(UGLOpenGLVersion version)
{
    quint64 major = 0;
    quint64 minor = 0;
    UGLSplitOpenGLVersion(version, &major, &minor);
    return ULocalizedFormattedString("OpenGL %lu.%lu", major, minor);
}

UGLOpenGLVersion UGLOpenGLVersionWithVersionString(const QString& versionString)
{
    qsizetype position = 0;
    const quint64 major = readDigits(versionString, &position);
    quint64 minor = 0;
    if (position < versionString.size() && versionString[position] == u'.') {
        ++position;
        minor = readDigits(versionString, &position);
    }
    return UGLMakeOpenGLVersion(major, minor);
}

UGLOpenGLVersion UGLOpenGLVersionWithDriverVersionString(const QString& versionString)
{
    try {
        return UGLOpenGLVersionWithVersionString(versionString);
    } catch (const UException&) {
        return 0;
    }
}
