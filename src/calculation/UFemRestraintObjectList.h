#pragma once

#include "calculation/UFemRestraintObject.h"
#include "foundation/errors/UError.h"

#include <QString>

#include <functional>
#include <vector>

// The restraints of one restraint set as the cards put them, checked and arranged for their
// application: the equations first, each before every equation whose dependent degree of freedom
// it uses, then the fixed displacements, then the forced ones, each kind by degree of freedom.
class UFemRestraintObjectList {
public:
    using NodeNameLookup = std::function<QString(quint64 nodeNo)>;

    void addFixedDisplacement(quint64 nodeNo, quint64 rotation, quint64 direction);
    void addForcedDisplacement(quint64 nodeNo, quint64 rotation, quint64 direction, double value);
    void addRestraintEquation(quint64 nodeNo, quint64 rotation, quint64 direction,
        const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count);

    // Of several fixed displacements on one degree of freedom the first added stays; any other
    // pair on one degree of freedom fails with 21008 naming every such degree of freedom, and
    // equations that depend on each other in a cycle fail with 21009. Nothing changes on failure.
    [[nodiscard]] bool arrangeForApplication(
        const NodeNameLookup& nodeNameStringWithNodeNo, UErrorPtr* error);

    const std::vector<UFemRestraintObject>& restraintObjectArray() const { return objects_; }
    bool isEmpty() const { return objects_.empty(); }
    quint64 nextRestraintObjectIdentifier() const { return nextRestraintObjectIdentifier_; }
    // The forced displacements in list order, one table for the node matrices.
    std::vector<_UFemForceDisplacementRestraintTableComponent_nodeNo>
    forcedDisplacementTable() const;

    // "TX", "TY", "TZ", "RX", "RY", "RZ".
    static QString degreeOfFreedomName(quint64 rotation, quint64 direction);

private:
    [[nodiscard]] bool removeRepeatedFixedDisplacements(std::vector<UFemRestraintObject>& objects,
        const NodeNameLookup& nodeName, UErrorPtr* error);
    [[nodiscard]] static bool orderRestraintEquations(
        std::vector<UFemRestraintObject>& objects, UErrorPtr* error);

    std::vector<UFemRestraintObject> objects_;
    quint64 nextRestraintObjectIdentifier_ = 0;
};
