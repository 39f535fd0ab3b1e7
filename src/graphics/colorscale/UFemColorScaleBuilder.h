#pragma once

#include "foundation/errors/UError.h"
#include "graphics/colorscale/UFemColorScaleFields.h"

#include <QVariantMap>

// Reads a colour scale's preference dictionary into its derived fields: the base scale's slopes
// and separating lines, mirrored when swapped and mapped onto the value range. The dictionary
// may come from a damaged preferences file, so every entry is checked before it is used.
class UFemColorScaleBuilder {
public:
    // False with the error when the dictionary is malformed or its range is refused; `fields` is
    // then unchanged.
    [[nodiscard]] static bool buildFields(
        const QVariantMap& preferenceColorScale, UFemColorScaleFields* fields, UErrorPtr* error);
};
