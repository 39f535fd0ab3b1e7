#pragma once

#include <QtGlobal>

class UFemCardName;

// Where the element assembly puts 3x3 node blocks by node number. Both functions may run on
// several threads at once, `addStiffnessBlock` as long as no two threads put blocks in the same
// row (`nodeNo1`).
class UFemNodeStiffnessTarget {
public:
    virtual ~UFemNodeStiffnessTarget() = default;

    // Raises a program error for a name that is no node of the calculation.
    virtual quint64 stiffnessNodeNoOf(const UFemCardName& nodeName) const = 0;
    virtual void addStiffnessBlock(const double* matrix, quint64 nodeNo1, quint64 rotation1,
        quint64 nodeNo2, quint64 rotation2)
        = 0;
};
