#pragma once

// A matrix calculator that writes down every call as one line of text, so that tests compare
// whole call lists.

#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemMatrixCalculator.h"

#include <QString>
#include <QStringList>

namespace cardstest {

class RecordingMatrixCalculator : public UFemMatrixCalculator {
public:
    void addStiffnessMatrix(const double* matrix, const UFemCardName& nodeName1, quint64 rotation1,
        const UFemCardName& nodeName2, quint64 rotation2) override
    {
        calls.append(QStringLiteral("stiffness %1 r%2 %3 r%4 (%5)")
                         .arg(nodeName1.cardNameString())
                         .arg(rotation1)
                         .arg(nodeName2.cardNameString())
                         .arg(rotation2)
                         .arg(numbers(matrix, 9)));
    }

    void addForceMatrix(const double* matrix, const UFemCardName& nodeName, quint64 rotation,
        const UFemCardName& caseName) override
    {
        calls.append(QStringLiteral("%1 %2 (%3) case %4")
                         .arg(rotation == 0 ? u"force" : u"moment")
                         .arg(nodeName.cardNameString())
                         .arg(numbers(matrix, 3))
                         .arg(caseName.cardNameString()));
    }

    void addFixDisplacementRestraintWithNodeName(
        const UFemCardName& nodeName, quint64 rotation, quint64 direction) override
    {
        calls.append(
            QStringLiteral("fix %1 %2").arg(nodeName.cardNameString(), dof(rotation, direction)));
    }

    void addForceDisplacementRestraintWithDisplacementValue(double displacementValue,
        const UFemCardName& nodeName, quint64 rotation, quint64 direction) override
    {
        calls.append(QStringLiteral("disp %1 %2 = %3")
                         .arg(nodeName.cardNameString(), dof(rotation, direction))
                         .arg(displacementValue));
    }

    void addRestraintEquationRestraintWithNumberOfRestraintEquationComponent(
        quint64 numberOfRestraintEquationComponent,
        const _UFemRestraintEquationTableComponent* restraintEquationTablePtr,
        const UFemCardName& nodeName, quint64 rotation, quint64 direction) override
    {
        QString line = QStringLiteral("equation %1 %2 =")
                           .arg(nodeName.cardNameString(), dof(rotation, direction));
        for (quint64 i = 0; i < numberOfRestraintEquationComponent; ++i) {
            const _UFemRestraintEquationTableComponent& c = restraintEquationTablePtr[i];
            line += QStringLiteral("%1%2*%3 %4")
                        .arg(i == 0 ? u" " : u" + ")
                        .arg(c.factor)
                        .arg(c.nodeName->cardNameString(), dof(quint64(c.rotation), c.direction));
        }
        calls.append(line);
    }

    QStringList calls;

private:
    // "T0".."R2": translation or rotation and direction, as the calculator receives them.
    static QString dof(quint64 rotation, quint64 direction)
    {
        return (rotation == 0 ? QStringLiteral("T") : QStringLiteral("R"))
            + QString::number(direction);
    }

    static QString numbers(const double* values, int count)
    {
        QStringList texts;
        for (int i = 0; i < count; ++i)
            texts.append(QString::number(values[i]));
        return texts.join(u", ");
    }
};

} // namespace cardstest
