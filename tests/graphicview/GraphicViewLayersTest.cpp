#include "graphicview/UFemGraphicViewRecordAssignment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<quint64> recordsOf(const UFemGraphicViewTargetRecordIndexes& indexes)
{
    return { indexes.table.begin(), indexes.table.begin() + qsizetype(indexes.count) };
}

constexpr std::array<bool, 9> allDrawn { true, true, true, true, true, true, true, true, true };
constexpr quint64 allPicked = 31;

} // namespace

TEST(GraphicViewLayers, RecordsGoToTheirContexts)
{
    struct Case {
        const char* name;
        UGLDrawingOutputType outputType;
        bool isBaseImageReused;
        bool doesDrawRubberbandCard;
        quint64 pickMask;
        std::vector<quint64> target0;
        std::vector<quint64> target1;
    };
    const Case cases[] = {
        { "screen", UGLDrawingOutputTypeScreen, false, false, 0, { 0, 1, 2 }, { 3, 4, 5, 6, 7 } },
        // The rubber-band redraw keeps context 1 free for the picking pass.
        { "rubber band", UGLDrawingOutputTypeScreen, false, true, 0, { 0, 1, 2, 3, 4, 5, 6, 7, 8 },
            {} },
        { "selection over the base", UGLDrawingOutputTypeScreen, true, false, 0, {}, { 7 } },
        { "rubber band over the base", UGLDrawingOutputTypeScreen, true, true, 0, { 7, 8 }, {} },
        // Only a screen frame has a base image to reuse.
        { "print", UGLDrawingOutputTypePrint, true, false, 0, { 0, 1, 2 }, { 3, 4, 5, 6, 7 } },
        { "select", UGLDrawingOutputTypeSelectMode, false, false, allPicked, {},
            { 0, 1, 2, 3, 4 } },
        { "select with a rubber band", UGLDrawingOutputTypeSelectMode, false, true, allPicked, {},
            { 0, 1, 2, 3, 4 } },
        { "select nodes and forces", UGLDrawingOutputTypeSelectMode, false, false, 2 | 8, {},
            { 1, 3 } },
    };
    for (const Case& entry : cases) {
        const auto assignment = UFemGraphicViewRecordAssignment::assign(allDrawn, entry.outputType,
            entry.isBaseImageReused, entry.doesDrawRubberbandCard, entry.pickMask);
        EXPECT_EQ(recordsOf(assignment.targets[0]), entry.target0) << entry.name;
        EXPECT_EQ(recordsOf(assignment.targets[1]), entry.target1) << entry.name;
        std::vector<quint64> taken = entry.target0;
        taken.insert(taken.end(), entry.target1.begin(), entry.target1.end());
        std::sort(taken.begin(), taken.end());
        EXPECT_EQ(recordsOf(assignment.takenRecords), taken) << entry.name;
    }
}

TEST(GraphicViewLayers, ContextRecordsAreCompacted)
{
    std::array<bool, 9> drawn {};
    drawn[3] = true; // forces only
    auto assignment = UFemGraphicViewRecordAssignment::assign(
        drawn, UGLDrawingOutputTypeScreen, false, false, 0);
    ASSERT_EQ(assignment.contextCount, 1U);
    EXPECT_EQ(assignment.contextTargets[0], 1U);
    drawn[0] = true;
    assignment = UFemGraphicViewRecordAssignment::assign(
        drawn, UGLDrawingOutputTypeScreen, false, false, 0);
    ASSERT_EQ(assignment.contextCount, 2U);
    EXPECT_EQ(assignment.contextTargets[0], 0U);
    EXPECT_EQ(assignment.contextTargets[1], 1U);
    assignment
        = UFemGraphicViewRecordAssignment::assign({}, UGLDrawingOutputTypeScreen, false, false, 0);
    EXPECT_EQ(assignment.contextCount, 0U);
    EXPECT_EQ(assignment.takenRecords.count, 0U);
}
