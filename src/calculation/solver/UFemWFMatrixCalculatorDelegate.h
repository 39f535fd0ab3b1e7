#pragma once

#include "foundation/UFemNotFound.h"

#include "cardmodel/card/UFemCardName.h"

#include <QString>
#include <QtGlobal>

// What a matrix calculator asks of the calculation that owns it: node and case numbers for card
// names, node names for messages, and node locations for the ordering. Called on the calculation
// thread, node names also from the solver's threads, so answers are read-only look-ups.
class UFemWFMatrixCalculatorDelegate {
public:
    virtual ~UFemWFMatrixCalculatorDelegate() = default;
    // UFemNotFound when no node bears the name.
    virtual quint64 nodeNoWithNodeNameString(const QString& nodeNameString) const = 0;
    // The same for a card name object; a delegate that knows the node cards' own name objects
    // answers without composing the text.
    virtual quint64 nodeNoWithNodeCardName(const UFemCardName& nodeName) const
    {
        return nodeNoWithNodeNameString(nodeName.cardNameString());
    }
    virtual QString nodeNameStringWithNodeNo(quint64 nodeNo) const = 0;
    // The place of the case among the cases of the calculator with that index; UFemNotFound when
    // the case is not one of them.
    virtual quint64 caseIndexWithCaseNameString(
        const QString& caseNameString, quint64 calculationIndex) const = 0;
    virtual QString caseNameStringWithCaseIndex(
        quint64 caseIndex, quint64 calculationIndex) const = 0;
    // x, y, z of the node.
    virtual void getNodeLocation(double* location, quint64 nodeNo) const = 0;
};
