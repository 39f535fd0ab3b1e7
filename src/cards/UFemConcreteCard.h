#pragma once

// How a card class is written (Node.h/.cpp is the model to copy):
//  1. Describe the class once in its .cpp: a static table of UFemCardColumnShape for columns 1..
//     (column 1 is always "Card Name", a name column of the class's own card type) and a
//     UFemConcreteCardClassShape with label, card type and menu order hint.
//  2. Derive from UFemConcreteCard and pass the class object and that description to its
//     constructor; the base makes, owns, pages, resets and releases the column objects. Give each
//     column a role accessor (`xValueColumn()` returning column(3)).
//  3. Add `static const UFemCardClass& cardClassObject()` returning
//     UFemCardClassObject<YourCard>(classDescription, registerCardValueTypes).
//     registerCardValueTypes keeps the value-type words in static members
//     (UFemCardValueTypeRegistration.h).
//  4. Override what the class's own behaviour needs: checkOwnErrorToRegister / checkOwnErrorToRun
//     (they run after the common empty-column and unregistered-name checks), card values,
//     tool tip, drawing hooks, isRelatedToCase*, and the capability and solver interfaces
//     (UFemMaterialPropertySource, UFemSectionAreaSource, UFemThicknessSource,
//     UFemElementStiffnessSource, UFemForceSource, UFemRestraintSource).
//     Cards drawn at the nodes they name derive from UFemNodeDrawnCard and give
//     numberOfNodeForDrawing, nodeCardNameForDrawing and drawAtNodes;
//     cards that name nodes find them with Node::nodeCardOfColumn (error 42014 when missing).
//  5. Add one line to UFemCardClasses.cpp at the class's place in the registry order.
//  A class with growing columns also overrides cardColumnAtIndex, getCardColumnsToCardColumnTable,
//  numberOfCurrentColumns, isRequiredColumnAtIndex, numberOfColumnsToCheckForEmpty and
//  resetColumnsAfterIndex, and calls its own invalidiate from its destructor (the base's
//  destructor can no longer reach the override).

#include "cardmodel/card/UFemCardAbst.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardColumn.h"
#include "cardmodel/card/UFemCardColumnArray.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/strings/UFormattedString.h"

#include <functional>
#include <memory>
#include <span>
#include <vector>

class UFemCardClassManager;

// One column after the label.
struct UFemCardColumnShape {
    const char* label;
    qint32 columnType;
    // The card type a name or reference column names; 0 for value columns.
    qint32 cardNameCardType = 0;
    // Listed by the common empty-column check of the register check.
    bool isRequired = true;
};

struct UFemConcreteCardClassShape {
    const char* label;
    qint32 cardType;
    quint64 cardMenuOrderHintNo;
    // Columns 1.. in order.
    std::span<const UFemCardColumnShape> columns;
};

// The common part of the concrete card classes: typed columns made from the class's description,
// the common register and run checks, and the defaults of a card that has no values, is not
// drawn, has no rotations and is part of every case.
class UFemConcreteCard : public UFemCardAbst {
public:
    ~UFemConcreteCard() override;

    UFemCardColumn* cardColumnAtIndex(quint64 columnIndex) override;
    quint64 getCardColumnsToCardColumnTable(UFemCardColumn** cardColumnTable,
        quint64 cardColumnTableSize, quint64* nextCardColumnIndex) override;
    quint64 numberOfCurrentColumns() const override;
    void invalidiate() override;

    UErrorPtr checkErrorToRegister() const override;
    UErrorPtr checkErrorToRun() const override;
    UErrorPtr checkWarningToRun() const override { return nullptr; }

    // Part of every case.
    bool isRelatedToCaseWithCaseCard(const UFemCard& caseCard) const override;
    bool isRelatedToCaseWithCaseCardArray(
        const std::vector<UFemCard*>& caseCardArray) const override;

    // No values of its own; a value request goes to the base (clipboard card values).
    bool respondsToCardValueType(_UFemCardValueType cardValueType) const override;
    bool getCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize,
        _UFemCardValueType cardValueType) const override;

    // Rotations have no meaning for the card.
    bool isRotationDisplacementValid() const override { return false; }
    // Nothing drawn.
    [[nodiscard]] bool drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
        const double* nodePositionTable, const _UGLColor* color,
        const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
        const UFemColorScale* colorScale, const UGLDrawingInfo* drawingInfo,
        UErrorPtr* error) const override;

    // "Column %@ is empty." / "Columns %@ are empty." over the required columns; nullptr if none.
    UErrorPtr emptyColumnErrorToRegister() const;
    // "Card %@ is not registered yet." / "Cards %@ are not registered yet." over the name,
    // reference and degree-of-freedom columns from index 2; nullptr if none.
    UErrorPtr unregisteredCardErrorToRun() const;

protected:
    UFemConcreteCard(const UFemCardClass& cardClass, const UFemConcreteCardClassShape& shape,
        UFemCardDataController* dataController);

    // Further checks that run only when the common one passed.
    virtual UErrorPtr checkOwnErrorToRegister() const { return nullptr; }
    virtual UErrorPtr checkOwnErrorToRun() const { return nullptr; }
    virtual bool isRequiredColumnAtIndex(quint64 columnIndex) const;
    // The columns the empty-column check lists from; those past the current ones count as empty.
    virtual quint64 numberOfColumnsToCheckForEmpty() const { return numberOfCurrentColumns(); }

    const UFemCardColumn& column(quint64 columnIndex) const;
    const UFemConcreteCardClassShape& shape() const { return shape_; }

    // For cards drawn at one node: true when the colour values fit one node (none, or one point,
    // section point and vector value); otherwise sets the drawing error (program stop without an
    // error pointer) and the card draws nothing.
    [[nodiscard]] bool checkOneNodeColorCardValueArraySize(
        const _UFemCardValueArraySize* colorCardValueArraySize, UErrorPtr* error) const;

private:
    const UFemConcreteCardClassShape& shape_;
    UFemCardColumnArray columns_; // columns 1..
};

// A card error of a register check (code 12015) with the formatted text.
template <typename... Arguments>
UErrorPtr UFemCardRegisterError(const char* format, const Arguments&... arguments)
{
    return UFemCardErrorToRegisterWithErrorDescriptionString(
        ULocalizedFormattedString(format, arguments...));
}

// A card error of a run check (code 12016) with the formatted text.
template <typename... Arguments>
UErrorPtr UFemCardRunError(const char* format, const Arguments&... arguments)
{
    return UFemCardErrorToRunWithErrorDescriptionString(
        ULocalizedFormattedString(format, arguments...));
}

UFemCardClassDescription UFemMakeConcreteCardClassDescription(
    const UFemConcreteCardClassShape& shape,
    std::function<std::shared_ptr<UFemCard>(UFemCardDataController*)> makeCard,
    std::function<void(UFemCardClassManager&)> registerCardValueTypes);

// The class description of a concrete card class `Card`, whose constructor takes the data
// controller.
template <typename Card>
UFemCardClassDescription UFemMakeCardClassDescription(const UFemConcreteCardClassShape& shape,
    void (*registerCardValueTypes)(UFemCardClassManager&) = nullptr)
{
    return UFemMakeConcreteCardClassDescription(
        shape,
        [](UFemCardDataController* dataController) -> std::shared_ptr<UFemCard> {
            return std::make_shared<Card>(dataController);
        },
        registerCardValueTypes);
}

// The one class object of `Card`, made from its shape on first use.
template <typename Card>
const UFemCardClass& UFemCardClassObject(const UFemConcreteCardClassShape& shape,
    void (*registerCardValueTypes)(UFemCardClassManager&) = nullptr)
{
    static const UFemCardClass cardClass(
        UFemMakeCardClassDescription<Card>(shape, registerCardValueTypes));
    return cardClass;
}
