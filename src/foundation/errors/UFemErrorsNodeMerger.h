#pragma once

#include "foundation/errors/UError.h"

#include <QStringList>

// Errors of the node merger tool (91xxx).

UErrorPtr UFemToolNodeMergerSpecifiedKeepNodeCardNameListNodeCardNameError_withNodeCardErrorString(
    const QString& nodeCardErrorString);
// Names up to three of the nodes; `severalNodeNameArray` must not be empty.
UErrorPtr UFemToolNodeMergerNodeCountOnSameLocationOverMaxCountErrorWithMaxCount(
    quint64 maxCount, double nodeMergeDistance, const QStringList& severalNodeNameArray);
