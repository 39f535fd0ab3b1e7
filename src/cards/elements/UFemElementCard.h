#pragma once

#include "cards/UFemConcreteCard.h"
#include "cards/elements/UFemElementStiffnessSource.h"
#include "cards/properties/UFemMaterialPropertySource.h"

// What the element cards share: column 2 names the element property card, columns 3.. the nodes.
// Locations and displacements come from the Node cards, the material from the property card;
// nothing is kept, so values and drawing may be asked from several threads at once.
class UFemElementCard : public UFemConcreteCard, public UFemElementStiffnessSource {
public:
    static constexpr quint64 propertyNameColumnIndex = 2;
    static constexpr quint64 node1NameColumnIndex = 3;

    quint64 numberOfNodeForDrawing() const override { return nodeCount_; }
    bool doesDrawWhenNotAllNodeValid() const override { return false; }
    bool isRotationDisplacementValid() const override { return false; }
    quint64 getNodeCardNamesForDrawingToNodeCardNameTable(UFemCardName** nodeCardNameTable,
        quint64 nodeCardNameTableSize,
        std::vector<UFemCardName*>* overflowNodeCardNameTable) const override;
    // The mean of the node positions (the first three doubles of each six).
    bool getCenterPosition(double* centerPosition, const double* nodePositionTable) const override;
    // "( Property: %@ )" with the property column's text.
    std::optional<QString> toolTipStringAddition() const override;

    // The location of node `nodeNo` (from 0). A node name without a Node card gives error 42014
    // naming it rather than an undefined location.
    [[nodiscard]] bool getNodeLocation(double* location, quint64 nodeNo, UErrorPtr* error) const;
    // The material of the property card; error 42014 naming it when there is none.
    [[nodiscard]] bool getMaterialProperty(
        _UFemMaterialProperty* materialProperty, UErrorPtr* error) const;

    const UFemCardColumn& propertyNameColumn() const { return column(propertyNameColumnIndex); }
    const UFemCardColumn& nodeNameColumn(quint64 nodeNo) const
    {
        return column(node1NameColumnIndex + nodeNo);
    }

protected:
    UFemElementCard(const UFemCardClass& cardClass, const UFemConcreteCardClassShape& shape,
        UFemCardDataController* dataController, quint64 nodeCount);

    // The name of node `nodeNo`, or nullptr past the last node.
    UFemCardName* nodeCardNameOrNull(quint64 nodeNo) const;
    // Locations of all nodes, three doubles each.
    [[nodiscard]] bool getNodeLocationTable(double* locationTable, UErrorPtr* error) const;
    // Translations of all nodes in the case, three doubles each.
    [[nodiscard]] bool getNodeTranslationTable(
        double* displacement, const UFemCard* caseCard, UErrorPtr* error) const;
    // Puts the node blocks of the stiffness (rows of node i, columns of node j, i outer) after
    // refusing a non-finite one: the solver would turn it into NaN results reported as success.
    [[nodiscard]] bool putNodeBlocks(UFemMatrixCalculator& matrixCalculator,
        const double* stiffnessMatrix, UErrorPtr* error) const;
    // The register error `message` when two node columns name the same card.
    UErrorPtr sameNodeErrorToRegister(const char* message) const;

    static void registerResultCardValueTypes(UFemCardClassManager& cardClassManager);
    // "YoungsModulus", "PoissonsRatio" and the minor type "node", which close both lists.
    static void registerMaterialAndNodeCardValueTypes(UFemCardClassManager& cardClassManager);
    // The four per-node result types, asked with no minor type or "node".
    static bool isNodeResultCardValueType(_UFemCardValueType cardValueType);
    // A type without minor type among `majors`.
    static bool isPlainCardValueType(
        _UFemCardValueType cardValueType, std::initializer_list<quint32> majors);

    static inline quint32 vonMisesStressCardValueType_ = 0;
    static inline quint32 elementStressCardValueType_ = 0;
    static inline quint32 elementStrainCardValueType_ = 0;
    static inline quint32 elementNodeForceCardValueType_ = 0;
    static inline quint32 youngsModulusCardValueType_ = 0;
    static inline quint32 poissonsRatioCardValueType_ = 0;
    static inline quint32 nodeMinorCardValueType_ = 0;

private:
    quint64 nodeCount_;
};
