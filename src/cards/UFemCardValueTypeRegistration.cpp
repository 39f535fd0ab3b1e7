#include "cards/UFemCardValueTypeRegistration.h"

#include "cardmodel/card/UFemCardClassManager.h"

quint32 UFemRegisterMajorCardValueType(UFemCardClassManager& cardClassManager,
    const char* majorCardValueTypeString, quint32 numberOfVectorValues, unsigned relation)
{
    return cardClassManager.majorCardValueTypeWithMajorCardValueTypeString(
        QString::fromUtf8(majorCardValueTypeString), numberOfVectorValues,
        (relation & UFemCardValuePointRelated) != 0, (relation & UFemCardValueCaseRelated) != 0,
        (relation & UFemCardValueCalcResultRelated) != 0, std::nullopt);
}

quint32 UFemRegisterMinorCardValueType(
    UFemCardClassManager& cardClassManager, const char* minorCardValueTypeString)
{
    return cardClassManager.minorCardValueTypeWithMinorCardValueTypeString(
        QString::fromUtf8(minorCardValueTypeString));
}

void UFemSetCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize, quint16 numberOfPoints,
    quint16 numberOfSectionPoints, quint16 numberOfVectorValues)
{
    cardValueArraySize->numberOfPoints = numberOfPoints;
    cardValueArraySize->numberOfSectionPoints = numberOfSectionPoints;
    cardValueArraySize->numberOfVectorValues = numberOfVectorValues;
}

bool UFemClearCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize)
{
    *cardValueArraySize = _UFemCardValueArraySize {};
    return false;
}
