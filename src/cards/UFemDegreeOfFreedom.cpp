#include "cards/UFemDegreeOfFreedom.h"

#include "foundation/errors/UException.h"

#include <array>

QString UFemDirection6String(quint64 direction6)
{
    static const std::array<const char*, UFemNumberOfDirections6> names { "TX", "TY", "TZ", "RX",
        "RY", "RZ" };
    if (direction6 >= names.size())
        UFemRaiseProgramErrorWithValue(QStringLiteral("Unknown direction."), long(direction6));
    return QString::fromLatin1(names[direction6]);
}
