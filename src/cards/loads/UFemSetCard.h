#pragma once

#include "cards/loads/UFemCaseLinkedCard.h"
#include "graphics/drawingbuffer/UFemGraphicDrawingInfo.h"

#include <optional>
#include <vector>

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
    // Calls `put` (a source, the factor, an error pointer; false on failure) on every member
    // that is a `Source`, in model order, going depth first into the members that are `Set`s:
    // their factor (`setFactor` of the set) multiplies the factor, and a set whose factor makes
    // it 0 adds nothing. The first failure stops it and its error goes to the caller's pointer.
    // Without recursion, so that a chain of sets of any depth cannot exhaust the stack.
    template <typename Set, typename Source, typename SetFactor, typename Put>
    [[nodiscard]] bool putMembers(
        double factor, SetFactor setFactor, Put put, UErrorPtr* error) const
    {
        struct Frame {
            std::vector<UFemCard*> members;
            size_t next;
            double factor;
        };
        std::vector<Frame> frames;
        frames.push_back({ memberCardArray(), 0, factor });
        while (!frames.empty()) {
            Frame& frame = frames.back();
            if (frame.next == frame.members.size()) {
                frames.pop_back();
                continue;
            }
            const UFemCard* member = frame.members[frame.next++];
            const double memberFactor = frame.factor;
            if (const auto* set = dynamic_cast<const Set*>(member)) {
                const double total = setFactor(*set) * memberFactor;
                if (total != 0.0)
                    frames.push_back({ set->memberCardArray(), 0, total });
                continue;
            }
            const auto* source = dynamic_cast<const Source*>(member);
            UErrorPtr memberError;
            if (source != nullptr && !put(*source, memberFactor, &memberError)) {
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
