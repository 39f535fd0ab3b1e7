#pragma once

#include <QString>

// Degrees of freedom as direction indexes 0..5: TX, TY, TZ, RX, RY, RZ.
inline constexpr quint64 UFemNumberOfDirections6 = 6;

// A direction index split as the matrix calculator takes it.
struct UFemDegreeOfFreedom {
    quint64 rotation = 0; // 0 translation, 1 rotation
    quint64 direction = 0; // 0..2
};

inline UFemDegreeOfFreedom UFemDegreeOfFreedomOfDirection6(quint64 direction6)
{
    return direction6 > 2 ? UFemDegreeOfFreedom { 1, direction6 - 3 }
                          : UFemDegreeOfFreedom { 0, direction6 };
}

// "TX" .. "RZ"; an index past RZ stops the program.
QString UFemDirection6String(quint64 direction6);
