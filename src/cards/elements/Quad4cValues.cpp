// The card values of Quad4c: strains, stresses, shell forces and node forces at its corners.

#include "cards/elements/Quad4c.h"

#include "cardmodel/data/UFemResultDataManager.h"
#include "cards/Node.h"
#include "cards/UFemCardValueTypeRegistration.h"
#include "cards/elements/UFemQuad4cValues.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <new>

namespace {

constexpr int strains = UFemQuad4cStrainCount;
constexpr int nodal = UFemQuad4cNodalDOFCount;
constexpr int nodeDOFs = 6;
constexpr int outputPoints = UFemQuad4cOutputPointCount;

} // namespace

void Quad4c::registerCardValueTypes(UFemCardClassManager& manager)
{
    vonMisesStressCardValueType_
        = UFemRegisterMajorCardValueType(manager, "VonMisesStress", 1, UFemCardValueResultRelated);
    elementStressCardValueType_
        = UFemRegisterMajorCardValueType(manager, "ElementStress", 6, UFemCardValueResultRelated);
    elementStrainCardValueType_
        = UFemRegisterMajorCardValueType(manager, "ElementStrain", 6, UFemCardValueResultRelated);
    elementNodeForceCardValueType_ = UFemRegisterMajorCardValueType(
        manager, "ElementNodeForce", 6, UFemCardValueResultRelated);
    shellForceCardValueType_
        = UFemRegisterMajorCardValueType(manager, "ShellForce", 9, UFemCardValueResultRelated);
    thicknessCardValueType_
        = UFemRegisterMajorCardValueType(manager, "Thickness", 1, UFemCardValueNotRelated);
    youngsModulusCardValueType_
        = UFemRegisterMajorCardValueType(manager, "YoungsModulus", 1, UFemCardValueNotRelated);
    poissonsRatioCardValueType_
        = UFemRegisterMajorCardValueType(manager, "PoissonsRatio", 1, UFemCardValueNotRelated);
    nodeMinorCardValueType_ = UFemRegisterMinorCardValueType(manager, "node");
    shellFaceMinorCardValueType_ = UFemRegisterMinorCardValueType(manager, "shellFace");
}

bool Quad4c::getNodeDisplacementTable(
    double* displacement, const UFemCard* caseCard, UErrorPtr* error) const
{
    for (quint64 nodeNo = 0; nodeNo < UFemQuad4cNodeCount; ++nodeNo) {
        const Node* node = Node::nodeCardOfColumn(nodeNameColumn(nodeNo), error);
        quint8 state[nodeDOFs];
        if (node == nullptr
            || !node->getNodeDisplacement(
                displacement + nodeDOFs * nodeNo, state, UFemRotationIndexSetBoth, caseCard, error))
            return false;
    }
    return true;
}

bool Quad4c::getStrainMatrixTable(double* strainTable, const double (*naturalPoints)[3],
    quint64 numberOfPoint, const UFemCard* caseCard, UErrorPtr* error) const
{
    UFemQuad4cElementMatrixWholeElementInfo elementInfo;
    if (!getQuadElementMatrixWholeElementInfo(&elementInfo, error))
        return false;
    double displacement[nodal];
    if (!getNodeDisplacementTable(displacement, caseCard, error))
        return false;
    if (numberOfPoint > 0)
        UFemQuad4cGetStrainTable(
            strainTable, naturalPoints, numberOfPoint, elementInfo, displacement);
    return true;
}

bool Quad4c::getStressMatrixTable(double* stressTable, const double (*naturalPoints)[3],
    quint64 numberOfPoint, const UFemCard* caseCard, UErrorPtr* error) const
{
    _UFemMaterialProperty materialProperty;
    if (!getMaterialProperty(&materialProperty, error))
        return false;
    double D[strains * strains];
    UFemShellMakeElasticityMatrix(D, materialProperty);
    constexpr quint64 largestPointCount
        = std::numeric_limits<std::ptrdiff_t>::max() / (strains * sizeof(double));
    std::unique_ptr<double[]> strainTable;
    if (numberOfPoint <= largestPointCount)
        strainTable.reset(new (std::nothrow) double[numberOfPoint * strains]);
    if (!strainTable) {
        UFemSetError(error, UFemMallocFailedError());
        return false;
    }
    if (!getStrainMatrixTable(strainTable.get(), naturalPoints, numberOfPoint, caseCard, error))
        return false;
    for (quint64 point = 0; point < numberOfPoint; ++point)
        UFemQuad4cStressFromStrain(
            stressTable + strains * point, strainTable.get() + strains * point, D);
    return true;
}

bool Quad4c::getOutputPointStresses(
    double* stressTable, const UFemCard* caseCard, UErrorPtr* error) const
{
    return getStressMatrixTable(
        stressTable, UFemQuad4cOutputPointTable, outputPoints, caseCard, error);
}

bool Quad4c::getNodeForces(double* nodeForces, const UFemCard* caseCard, UErrorPtr* error) const
{
    double stiffnessMatrix[nodal * nodal];
    if (!getElementStiffnessMatrix(stiffnessMatrix, error))
        return false;
    double displacement[nodal];
    if (!getNodeDisplacementTable(displacement, caseCard, error))
        return false;
    for (int i = 0; i < nodal; ++i) {
        double sum = 0.0;
        for (int j = 0; j < nodal; ++j)
            sum += stiffnessMatrix[i * nodal + j] * displacement[j];
        nodeForces[i] = sum;
    }
    return true;
}

bool Quad4c::respondsToCardValueType(_UFemCardValueType cardValueType) const
{
    _UFemCardValueArraySize size;
    return getCardValueArraySize(&size, cardValueType);
}

bool Quad4c::getCardValueArraySize(
    _UFemCardValueArraySize* cardValueArraySize, _UFemCardValueType cardValueType) const
{
    const quint32 major = cardValueType.majorCardValueType;
    const quint32 minor = cardValueType.minorCardValueType;
    const bool isNode = minor == 0 || minor == nodeMinorCardValueType_;
    const bool isShellFace = minor != 0 && minor == shellFaceMinorCardValueType_;
    const quint16 corners = UFemQuad4cNodeCount;
    if (major == 0)
        return UFemClearCardValueArraySize(cardValueArraySize);
    if (major == vonMisesStressCardValueType_ && (isNode || isShellFace))
        UFemSetCardValueArraySize(cardValueArraySize, corners, isShellFace ? 2 : 1, 1);
    else if ((major == elementStressCardValueType_ || major == elementStrainCardValueType_)
        && isShellFace)
        UFemSetCardValueArraySize(cardValueArraySize, corners, 2, strains);
    else if (major == elementNodeForceCardValueType_ && isNode)
        UFemSetCardValueArraySize(cardValueArraySize, corners, 1, nodeDOFs);
    else if (major == shellForceCardValueType_ && isNode)
        UFemSetCardValueArraySize(cardValueArraySize, corners, 1, UFemQuad4cShellForceCount);
    else if ((major == thicknessCardValueType_ || major == youngsModulusCardValueType_
                 || major == poissonsRatioCardValueType_)
        && minor == 0)
        UFemSetCardValueArraySize(cardValueArraySize, 1, 1, 1);
    else
        return UFemClearCardValueArraySize(cardValueArraySize);
    return true;
}

bool Quad4c::getCardValue(double* cardValue, _UFemCardValueType cardValueType,
    const UFemCard* caseCard, UErrorPtr* error) const
{
    if (!respondsToCardValueType(cardValueType))
        return UFemConcreteCard::getCardValue(cardValue, cardValueType, caseCard, error);
    const quint32 major = cardValueType.majorCardValueType;
    if (major == thicknessCardValueType_) {
        UErrorPtr thicknessError;
        *cardValue = thickness(&thicknessError);
        if (thicknessError)
            UFemSetError(error, thicknessError);
        return !thicknessError;
    }
    if (major == youngsModulusCardValueType_ || major == poissonsRatioCardValueType_) {
        _UFemMaterialProperty property;
        if (!getMaterialProperty(&property, error))
            return false;
        *cardValue = major == youngsModulusCardValueType_ ? property.youngsModulus
                                                          : property.poissonsRatio;
        return true;
    }
    return getResultCardValue(cardValue, cardValueType, caseCard, error);
}

bool Quad4c::getResultCardValue(double* cardValue, _UFemCardValueType cardValueType,
    const UFemCard* caseCard, UErrorPtr* error) const
{
    const quint32 major = cardValueType.majorCardValueType;
    if (major == elementNodeForceCardValueType_)
        return getNodeForces(cardValue, caseCard, error);
    if (major == elementStrainCardValueType_)
        return getStrainMatrixTable(
            cardValue, UFemQuad4cOutputPointTable, outputPoints, caseCard, error);
    double stress[outputPoints][strains];
    if (!getOutputPointStresses(&stress[0][0], caseCard, error))
        return false;
    if (major == elementStressCardValueType_) {
        std::copy(&stress[0][0], &stress[0][0] + outputPoints * strains, cardValue);
        return true;
    }
    if (major == shellForceCardValueType_) {
        UErrorPtr thicknessError;
        const double t = thickness(&thicknessError);
        if (thicknessError) {
            UFemSetError(error, thicknessError);
            return false;
        }
        for (int corner = 0; corner < UFemQuad4cNodeCount; ++corner)
            UFemQuad4cShellForce(cardValue + UFemQuad4cShellForceCount * corner, stress[2 * corner],
                stress[2 * corner + 1], t);
        return true;
    }
    const bool isShellFace = cardValueType.minorCardValueType == shellFaceMinorCardValueType_;
    for (int corner = 0; corner < UFemQuad4cNodeCount; ++corner) {
        const double face1 = UFemQuad4cVonMisesStress(stress[2 * corner]);
        const double face2 = UFemQuad4cVonMisesStress(stress[2 * corner + 1]);
        if (isShellFace) {
            cardValue[2 * corner] = face1;
            cardValue[2 * corner + 1] = face2;
        } else {
            cardValue[corner] = std::max(face1, face2);
        }
    }
    return true;
}
