#pragma once

#include <QString>

// An excerpt of `string` around the error range, for the "Error on: ..." texts of parsing errors.
// `rangeLocation`/`rangeLength` is the stretch being parsed (a line, a field, an expression) and
// contains the error range; all positions are UTF-16 indexes. The error part stands in single
// quotes; long stretches before and after it are shortened around "...".
QString UMakeErrorRangeHighlightedString(const QString& string, quint64 rangeLocation,
    quint64 rangeLength, quint64 errorLocation, quint64 errorLength);
