#pragma once

#include <QtGlobal>

// The card types, as cards and text columns report them (a signed 32-bit number).
inline constexpr qint32 UFemCardTypeNotSet = 0;
inline constexpr qint32 UFemCardTypeNull = 1;
inline constexpr qint32 UFemCardTypeNormal = 2;
inline constexpr qint32 UFemCardTypeNode = 3;
inline constexpr qint32 UFemCardTypeElement = 4;
inline constexpr qint32 UFemCardTypeElementProp = 5;
inline constexpr qint32 UFemCardTypeMaterial = 6;
inline constexpr qint32 UFemCardTypeCase = 7;
inline constexpr qint32 UFemCardTypeRestraint = 8;
inline constexpr qint32 UFemCardTypeForce = 9;
inline constexpr qint32 UFemCardTypeCoord = 10;
inline constexpr qint32 UFemCardTypeValue = 11;
inline constexpr qint32 UFemCardTypeSpecial = 12;
inline constexpr qint32 UFemCardTypeError = 13;

// Normal cards are the types from generic normal to value.
inline bool UFemCardTypeIsNormal(qint32 cardType)
{
    return cardType >= UFemCardTypeNormal && cardType <= UFemCardTypeValue;
}
