#pragma once

#include "graphics/drawingbuffer/UGLDrawingTypes.h"
#include "graphicview/tasks/UFemGraphicViewThreadTaskRecords.h"

#include <array>

// Which card type records a composition draws, and with which of the two OpenGL contexts
// (targets). The picking pass (select mode) draws in context 1 and the rubber-band redraw in
// context 0, so that the two never share a context.
struct UFemGraphicViewRecordAssignment {
    // The records of each target, in index order.
    std::array<UFemGraphicViewTargetRecordIndexes, UFemGraphicViewMaximumOpenGLContextCount>
        targets;
    // Every taken record, in index order.
    UFemGraphicViewTargetRecordIndexes takenRecords;
    // The targets that have records, in order: context record k draws with target
    // contextTargets[k].
    std::array<quint64, UFemGraphicViewMaximumOpenGLContextCount> contextTargets {};
    quint64 contextCount = 0;

    // `doesCardTypeDraw` holds the records' draw flags; the pick mask (bit r for record r) only
    // counts in select mode. A screen frame over a reused base image draws only the selection.
    static UFemGraphicViewRecordAssignment assign(
        const std::array<bool, UFemGraphicViewCardTypeRecordCount>& doesCardTypeDraw,
        UGLDrawingOutputType outputType, bool isBaseImageReused, bool doesDrawRubberbandCard,
        quint64 pickMask);
};
