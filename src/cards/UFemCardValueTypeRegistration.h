#pragma once

#include "cardmodel/card/UFemCardValueType.h"
#include "foundation/UFemCardValueArraySize.h"

#include <QtGlobal>

class UFemCardClassManager;

// What a registered major card value type is related to.
enum UFemCardValueTypeRelation : unsigned {
    UFemCardValueNotRelated = 0,
    UFemCardValuePointRelated = 1u << 0,
    UFemCardValueCaseRelated = 1u << 1,
    UFemCardValueCalcResultRelated = 1u << 2,
    // Per point, per case and a calculation result.
    UFemCardValueResultRelated
    = UFemCardValuePointRelated | UFemCardValueCaseRelated | UFemCardValueCalcResultRelated,
};

// Registers (or confirms) a major type without vector value labels and returns its word, which the
// class keeps in a static member for its cards to compare with.
quint32 UFemRegisterMajorCardValueType(UFemCardClassManager& cardClassManager,
    const char* majorCardValueTypeString, quint32 numberOfVectorValues, unsigned relation);
quint32 UFemRegisterMinorCardValueType(
    UFemCardClassManager& cardClassManager, const char* minorCardValueTypeString);

// Writes the three counts a card answers; the leading count stays as the caller set it.
void UFemSetCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize, quint16 numberOfPoints,
    quint16 numberOfSectionPoints, quint16 numberOfVectorValues);
// The answer of a card for a type it does not answer: all four counts zero.
bool UFemClearCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize);

// Whether the type is the major word with no minor type.
inline bool UFemIsCardValueType(_UFemCardValueType cardValueType, quint32 majorCardValueType)
{
    return majorCardValueType != 0 && cardValueType == _UFemCardValueType { majorCardValueType, 0 };
}
