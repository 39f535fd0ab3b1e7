#include "calculation/UFemRestraintObject.h"

#include <tuple>

UFemRestraintObject UFemRestraintObject::fixedDisplacementRestraintObject(
    quint64 identifier, quint64 nodeNo, quint64 rotation, quint64 direction)
{
    UFemRestraintObject object;
    object.restraintObjectIdentifier = identifier;
    object.restraintObjectType = UFemRestraintObjectTypeFixedDisplacement;
    object.nodeNo = nodeNo;
    object.rotation = qint8(rotation);
    object.direction = direction;
    return object;
}

UFemRestraintObject UFemRestraintObject::forcedDisplacementRestraintObject(
    quint64 identifier, quint64 nodeNo, quint64 rotation, quint64 direction, double value)
{
    UFemRestraintObject object
        = fixedDisplacementRestraintObject(identifier, nodeNo, rotation, direction);
    object.restraintObjectType = UFemRestraintObjectTypeForcedDisplacement;
    object.value = value;
    return object;
}

UFemRestraintObject UFemRestraintObject::restraintEquationRestraintObject(quint64 identifier,
    quint64 nodeNo, quint64 rotation, quint64 direction,
    const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count)
{
    UFemRestraintObject object
        = fixedDisplacementRestraintObject(identifier, nodeNo, rotation, direction);
    object.restraintObjectType = UFemRestraintObjectTypeRestraintEquation;
    object.restraintEquationTable.assign(table, table + count);
    return object;
}

bool UFemCompareRestraintObjectsByDegreeOfFreedom(
    const UFemRestraintObject& a, const UFemRestraintObject& b)
{
    return std::tie(a.nodeNo, a.rotation, a.direction, a.restraintObjectType,
               a.restraintObjectIdentifier)
        < std::tie(
            b.nodeNo, b.rotation, b.direction, b.restraintObjectType, b.restraintObjectIdentifier);
}

bool UFemCompareRestraintObjectsByType(const UFemRestraintObject& a, const UFemRestraintObject& b)
{
    return std::tie(a.restraintObjectType, a.nodeNo, a.rotation, a.direction,
               a.restraintObjectIdentifier)
        < std::tie(
            b.restraintObjectType, b.nodeNo, b.rotation, b.direction, b.restraintObjectIdentifier);
}
