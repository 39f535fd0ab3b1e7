#pragma once

#include "foundation/errors/UError.h"

#include <span>

// Errors of the element divider tool (92xxx).

// The locations are x, y, z of the node made now and of the one made before under the same name.
UErrorPtr UFemToolElementDividerSameNameSurfaceNodeCreatedError_withNodeNameStringToBeCreated(
    const QString& nodeNameStringToBeCreated, std::span<const double, 3> nodeLocation_createdNow,
    std::span<const double, 3> nodeLocation_createdBefore);
UErrorPtr UFemToolElementDividerNodeForElementNotExistError_withNodeNameString(
    const QString& nodeNameString);
