#pragma once

#include <QtGlobal>

// A card value type: the major word (flags, vector count and identifier, laid out below) and the
// minor number (0 = none). A major word of 0 names no type.
struct _UFemCardValueType {
    quint32 majorCardValueType = 0;
    quint32 minorCardValueType = 0;

    friend bool operator==(const _UFemCardValueType&, const _UFemCardValueType&) = default;
};

inline constexpr quint32 UFemCardValueTypePointRelatedBit = 1u << 5;
inline constexpr quint32 UFemCardValueTypeCaseRelatedBit = 1u << 6;
inline constexpr quint32 UFemCardValueTypeCalcResultRelatedBit = 1u << 7;
inline constexpr int UFemCardValueTypeVectorCountShift = 8;
inline constexpr quint32 UFemCardValueTypeVectorCountMask = 0xFFu;
inline constexpr int UFemCardValueTypeIdentifierShift = 16;
inline constexpr quint32 UFemCardValueTypeIdentifierMask = 0xFFFFu;

inline bool UFemCardValueTypeIsPointRelated(quint32 majorCardValueType)
{
    return (majorCardValueType & UFemCardValueTypePointRelatedBit) != 0;
}

inline bool UFemCardValueTypeIsCaseRelated(quint32 majorCardValueType)
{
    return (majorCardValueType & UFemCardValueTypeCaseRelatedBit) != 0;
}

inline quint32 UFemMajorCardValueTypeIdentifierNumber(quint32 majorCardValueType)
{
    return (majorCardValueType >> UFemCardValueTypeIdentifierShift)
        & UFemCardValueTypeIdentifierMask;
}

inline bool UFemCardValueTypeIsPointRelatedFlag(_UFemCardValueType cardValueType)
{
    return UFemCardValueTypeIsPointRelated(cardValueType.majorCardValueType);
}

inline bool UFemCardValueTypeIsCaseRelatedFlag(_UFemCardValueType cardValueType)
{
    return UFemCardValueTypeIsCaseRelated(cardValueType.majorCardValueType);
}

inline bool UFemCardValueTypeIsCalcResultRelatedFlag(_UFemCardValueType cardValueType)
{
    return (cardValueType.majorCardValueType & UFemCardValueTypeCalcResultRelatedBit) != 0;
}

inline quint32 UFemCardValueTypeNumberOfVectorValues(_UFemCardValueType cardValueType)
{
    return (cardValueType.majorCardValueType >> UFemCardValueTypeVectorCountShift)
        & UFemCardValueTypeVectorCountMask;
}
