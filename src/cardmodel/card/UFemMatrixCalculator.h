#pragma once

#include <QtGlobal>

// The card-facing side of a calculation. Element, force and restraint cards put their stiffness
// blocks, loads and restraints into an object of this interface, naming nodes and cases by their
// card names; the calculation (and the 3-D view's force measurer) implement it. It lives in the
// card model because the cards, built before the calculation, call it.
//
// No call fails at the time it is made (a restraint that conflicts with another is reported when
// the restraint set is applied), every call copies what its pointers lead to before it returns, and
// the order of calls of one kind does not matter.

class UFemCardName;

// One term of a restraint equation: u(dependent) = sum of factor x u(node, rotation, direction).
struct _UFemRestraintEquationTableComponent {
    const UFemCardName* nodeName = nullptr; // not retained by the calculator
    qint8 rotation = 0; // 0 translations, 1 rotations
    quint64 direction = 0; // 0..2
    double factor = 0.0;
};

class UFemMatrixCalculator {
public:
    virtual ~UFemMatrixCalculator() = default;

    // Adds a 3x3 block, row-major: entry 3r + c couples direction r of the (nodeName1, rotation1)
    // triple with direction c of the (nodeName2, rotation2) triple. Blocks put on one place add up.
    virtual void addStiffnessMatrix(const double* matrix, const UFemCardName& nodeName1,
        quint64 rotation1, const UFemCardName& nodeName2, quint64 rotation2)
        = 0;
    // Adds 3 doubles to the load (rotation 0 forces, 1 moments) of the node in the case.
    virtual void addForceMatrix(const double* matrix, const UFemCardName& nodeName,
        quint64 rotation, const UFemCardName& caseName)
        = 0;
    // The degree of freedom is held at zero.
    virtual void addFixDisplacementRestraintWithNodeName(
        const UFemCardName& nodeName, quint64 rotation, quint64 direction)
        = 0;
    // The degree of freedom is held at the value in every case.
    virtual void addForceDisplacementRestraintWithDisplacementValue(
        double displacementValue, const UFemCardName& nodeName, quint64 rotation, quint64 direction)
        = 0;
    // The degree of freedom equals the sum over the components of factor x the component's DOF.
    virtual void addRestraintEquationRestraintWithNumberOfRestraintEquationComponent(
        quint64 numberOfRestraintEquationComponent,
        const _UFemRestraintEquationTableComponent* restraintEquationTablePtr,
        const UFemCardName& nodeName, quint64 rotation, quint64 direction)
        = 0;
};
