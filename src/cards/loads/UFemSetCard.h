#pragma once

#include "cards/loads/UFemCaseLinkedCard.h"
#include "graphics/drawingbuffer/UFemGraphicDrawingInfo.h"

#include <optional>

// What ForceSet and RestraintSet share: one column names a force or restraint name whose cards,
// sets included, are the members; the set is drawn at its members' nodes, member after member,
// and refuses to register when the named name reaches back to its own.
class UFemSetCard : public UFemCaseLinkedCard {
public:
    // The cards of the named name in model order; empty while the column is empty.
    std::vector<UFemCard*> memberCardArray() const;
    // "( %@ ( %lu cards ) )" with the member name text and the member count.
    std::optional<QString> toolTipStringAddition() const override;

    // The members' drawing nodes, member after member.
    quint64 numberOfNodeForDrawing() const override;
    bool doesDrawWhenNotAllNodeValid() const override { return true; }
    // Each member draws itself, with its share of the colour values.
    [[nodiscard]] bool drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
        const double* nodePositionTable, const _UGLColor* color,
        const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
        const UFemColorScale* colorScale, const UGLDrawingInfo* drawingInfo,
        UErrorPtr* error) const override;

protected:
    UFemSetCard(const UFemCardClass& cardClass, const UFemConcreteCardClassShape& shape,
        UFemCardDataController* dataController, quint64 memberNameColumnIndex,
        const char* loopFormat);

    UErrorPtr checkOwnErrorToRegister() const override;
    UFemCardName* nodeCardNameForDrawing(quint64 nodeNo) const override;
    QString drawingNodeOutOfRangeReason() const override
    {
        return QStringLiteral("aNodeNo: 0 ~ ([self numberOfNodeForDrawing]-1)");
    }
    void putNodeCardNamesForDrawing(UFemCardName** names, quint64 count) const override;
    const UFemCardColumn& memberNameColumn() const { return column(memberNameColumnIndex_); }
    // The member name column's text, as the tool tip shows it.
    virtual QString memberNameText() const;
    // Calls `put` (a source, an error pointer; false on failure) on every member that is a
    // `Source`, in order; the first failure stops it and its error goes to the caller's pointer.
    template <typename Source, typename Put>
    [[nodiscard]] bool putMembers(Put put, UErrorPtr* error) const
    {
        for (const UFemCard* member : memberCardArray()) {
            const auto* source = dynamic_cast<const Source*>(member);
            UErrorPtr memberError;
            if (source != nullptr && !put(*source, &memberError)) {
                UFemSetError(error, memberError);
                return false;
            }
        }
        return true;
    }
    // False when the members are drawn with nothing (a ForceSet with factor 0).
    virtual bool drawsMembers() const { return true; }
    // The drawing info the members draw with: the caller's, or a changed copy made in
    // `changedDrawingInfo`, so that the caller's is never written to.
    virtual const UGLDrawingInfo* drawingInfoForMembers(const UGLDrawingInfo* drawingInfo,
        std::optional<UFemGraphicDrawingInfo>* changedDrawingInfo) const
    {
        (void)changedDrawingInfo;
        return drawingInfo;
    }

private:
    [[nodiscard]] bool checkSetColorCardValueArraySize(
        const _UFemCardValueArraySize* colorCardValueArraySize, UErrorPtr* error) const;

    quint64 memberNameColumnIndex_;
    // Filled with the card's own name and the named name.
    const char* loopFormat_;
};
