#pragma once

#include "calculation/UFemRestraintTableComponentsNodeNo.h"

#include <QtGlobal>

#include <vector>

inline constexpr quint64 UFemRestraintObjectTypeRestraintEquation = 1;
inline constexpr quint64 UFemRestraintObjectTypeFixedDisplacement = 2;
inline constexpr quint64 UFemRestraintObjectTypeForcedDisplacement = 3;

// One restraint as a restraint card put it, with node numbers in place of names. The identifier
// is the order of the calls, so that among equal degrees of freedom the first call wins.
struct UFemRestraintObject {
    quint64 restraintObjectIdentifier = 0;
    quint64 restraintObjectType = 0;
    quint64 nodeNo = 0;
    qint8 rotation = 0;
    quint64 direction = 0;
    double value = 0.0; // forced displacements only
    std::vector<_UFemRestraintEquationTableComponent_nodeNo>
        restraintEquationTable; // equations only

    static UFemRestraintObject fixedDisplacementRestraintObject(
        quint64 identifier, quint64 nodeNo, quint64 rotation, quint64 direction);
    static UFemRestraintObject forcedDisplacementRestraintObject(
        quint64 identifier, quint64 nodeNo, quint64 rotation, quint64 direction, double value);
    static UFemRestraintObject restraintEquationRestraintObject(quint64 identifier, quint64 nodeNo,
        quint64 rotation, quint64 direction,
        const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count);

    quint64 numberOfRestraintEquationComponent() const { return restraintEquationTable.size(); }
    // One number per degree of freedom: 6 x nodeNo + 3 x rotation + direction.
    quint64 degreeOfFreedomIndex() const { return 6 * nodeNo + 3 * quint64(rotation) + direction; }
    bool isOnSameDegreeOfFreedom(const UFemRestraintObject& other) const
    {
        return nodeNo == other.nodeNo && rotation == other.rotation && direction == other.direction;
    }
};

// Ascending node, rotation, direction, then type, then identifier.
bool UFemCompareRestraintObjectsByDegreeOfFreedom(
    const UFemRestraintObject& a, const UFemRestraintObject& b);
// Ascending type, then node, rotation, direction, identifier.
bool UFemCompareRestraintObjectsByType(const UFemRestraintObject& a, const UFemRestraintObject& b);
