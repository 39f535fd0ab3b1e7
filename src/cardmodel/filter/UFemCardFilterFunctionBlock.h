#pragma once

#include "foundation/containers/URange.h"
#include "foundation/errors/UError.h"

#include <QString>
#include <QStringList>

#include <optional>

class UUnicharString;

// The most function names one block of a card filter may hold.
inline constexpr qsizetype UFemCardFilterMaxFunctionNameCount = 7;

// One function block of a card filter: its names (each with its ':'; a bare name without) and the
// arguments in text order, and where it stands in the text.
struct UFemCardFilterFunctionBlock {
    QStringList functionNames;
    QStringList arguments;
    URange range;

    QString joinedFunctionNames() const { return functionNames.join(QString()); }
};

// Whether the unit may start a function name.
inline bool UFemIsCardFilterLetter(char16_t unit)
{
    return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
}

// Reads the function block that starts at the letter at `index`; `index` moves past it. `level` is
// the expression level being parsed: it ends the block and frames the excerpts of errors.
[[nodiscard]] bool UFemReadCardFilterFunctionBlock(const UUnicharString& source, quint64& index,
    URange level, UFemCardFilterFunctionBlock& block, UErrorPtr* error);

// A card filter syntax error at `errorRange` of the level, with its excerpt.
UErrorPtr UFemCardFilterSyntaxErrorInLevel(const UUnicharString& source, URange level,
    URange errorRange, const QString& description,
    const std::optional<QString>& recoverySuggestion = std::nullopt);
