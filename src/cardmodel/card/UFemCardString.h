#pragma once

#include "cardmodel/text/UAttributedString.h"
#include "cardmodel/text/UFemModelTextTypes.h"

#include <QString>

class UFemCard;

// The model-text line of a card. Type 1 writes " , " between columns and " ," after the last,
// other types a TAB between columns; an error card writes the line it was read from and, unless
// omitted, its error tail after U+00A1.
QString UFemComposeCardString(UFemCard& card, UFemColumnSeparatingCharacterType type,
    bool doesOmitComment, bool doesOmitCardErrorDescription);
// How much of a line a table row shows: far wider than any table, and a vast token is neither
// composed nor laid out whole.
inline constexpr qsizetype UFemShownCardStringLength = 1024;
// At most `maxLength` characters of that line, cut with "…", for reports and table rows: a line
// holding a vast token is never composed whole. The card is unchanged.
QString UFemComposeCardStringExcerpt(UFemCard& card, UFemColumnSeparatingCharacterType type,
    bool doesOmitComment, bool doesOmitCardErrorDescription, qsizetype maxLength);
QString UFemCardString(UFemCard& card);
QString UFemCardStringWithSeparator(UFemCard& card, UFemColumnSeparatingCharacterType type);
QString UFemCardStringWithoutComment(UFemCard& card);
QString UFemCardStringWithoutCommentWithSeparator(
    UFemCard& card, UFemColumnSeparatingCharacterType type);

// The styled line of a card table cell: the line without its comment under the card kind's style
// key, the comment under UFemCardStringAttributesKeyForComment. The views map the keys to their
// text formats (the attributes dictionary of the cell).
UAttributedString UFemComposeAttributedCardString(UFemCard& card,
    UFemColumnSeparatingCharacterType type, bool doesOmitComment,
    bool doesOmitCardErrorDescription);
// The same, at most `maxLength` characters of it.
UAttributedString UFemComposeAttributedCardStringExcerpt(UFemCard& card,
    UFemColumnSeparatingCharacterType type, bool doesOmitComment, bool doesOmitCardErrorDescription,
    qsizetype maxLength);
UAttributedString UFemAttributedCardString(UFemCard& card);
UAttributedString UFemAttributedCardStringOmittingErrorDescription(UFemCard& card);
