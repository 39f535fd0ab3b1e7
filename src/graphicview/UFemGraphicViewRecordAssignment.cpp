#include "graphicview/UFemGraphicViewRecordAssignment.h"

#include "graphicview/caches/UFemDrawingCardTypeInfoRecord.h"

namespace {

constexpr quint64 noTarget = ~quint64(0);
using Record = UFemDrawingCardTypeInfoRecord;

// The target of one record, or noTarget when the composition does not draw it.
quint64 targetOfRecord(
    quint64 record, bool isSelectMode, bool isBaseImageReused, bool doesDrawRubberbandCard)
{
    const bool isRubberbandScreen = doesDrawRubberbandCard && !isSelectMode;
    if (isBaseImageReused && record < Record::SelectedCards)
        return noTarget;
    if (isSelectMode && record >= Record::selectableRecordCount)
        return noTarget;
    switch (record) {
    case Record::Element:
    case Record::NodeRecord:
    case Record::Restraint:
        return isSelectMode ? 1 : 0;
    case Record::Force:
    case Record::OtherCoord:
    case Record::UndeformedElement:
    case Record::UndeformedNode:
        return isRubberbandScreen ? 0 : 1;
    case Record::SelectedCards:
        return doesDrawRubberbandCard ? 0 : 1;
    case Record::RubberbandCards:
        return doesDrawRubberbandCard ? 0 : noTarget;
    default:
        return noTarget;
    }
}

void append(UFemGraphicViewTargetRecordIndexes& indexes, quint64 record)
{
    indexes.table.at(indexes.count) = record;
    ++indexes.count;
}

} // namespace

UFemGraphicViewRecordAssignment UFemGraphicViewRecordAssignment::assign(
    const std::array<bool, UFemGraphicViewCardTypeRecordCount>& doesCardTypeDraw,
    UGLDrawingOutputType outputType, bool isBaseImageReused, bool doesDrawRubberbandCard,
    quint64 pickMask)
{
    const bool isSelectMode = outputType == UGLDrawingOutputTypeSelectMode;
    UFemGraphicViewRecordAssignment assignment;
    for (quint64 record = 0; record < UFemGraphicViewCardTypeRecordCount; ++record) {
        if (!doesCardTypeDraw.at(record))
            continue;
        if (isSelectMode && (pickMask & (quint64(1) << record)) == 0)
            continue;
        const quint64 target = targetOfRecord(record, isSelectMode,
            isBaseImageReused && outputType == UGLDrawingOutputTypeScreen, doesDrawRubberbandCard);
        if (target == noTarget)
            continue;
        append(assignment.targets.at(target), record);
        append(assignment.takenRecords, record);
    }
    for (quint64 target = 0; target < UFemGraphicViewMaximumOpenGLContextCount; ++target)
        if (assignment.targets.at(target).count > 0)
            assignment.contextTargets.at(assignment.contextCount++) = target;
    return assignment;
}
