#pragma once

#include <QtGlobal>

// Restraints as the node matrices take them, with node numbers in place of card names.

// One term of a restraint equation: u(dependent) = sum of factor x u(nodeNo, rotation, direction).
struct _UFemRestraintEquationTableComponent_nodeNo {
    quint64 nodeNo = 0;
    quint64 rotation = 0;
    quint64 direction = 0;
    double factor = 0.0;
};

// One forced displacement, the same in every case.
struct _UFemForceDisplacementRestraintTableComponent_nodeNo {
    quint64 nodeNo = 0;
    quint64 rotation = 0;
    quint64 direction = 0;
    double value = 0.0;
};
