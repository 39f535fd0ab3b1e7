#pragma once

#include <QString>
#include <QtGlobal>

// What the solver needs of the matrix calculator that built its equations: the name of the node
// and the direction (0..5: TX, TY, TZ, RX, RY, RZ) of a degree of freedom in calculation order, so
// that a failure can name it. Answers false for a DOF that belongs to no node.
class UFemWFMatrixCalculationDelegate {
public:
    virtual ~UFemWFMatrixCalculationDelegate() = default;
    virtual bool getNodeNameStringAndDirection(
        QString* nodeName, quint64* direction6, quint64 calculationDOFIndex) const = 0;
};
