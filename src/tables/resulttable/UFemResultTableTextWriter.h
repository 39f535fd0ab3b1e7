#pragma once

#include "cardmodel/text/UFemModelTextTypes.h"
#include "foundation/strings/UFemNumberFormatter.h"
#include "tables/resulttable/UFemResultTableValueArray.h"

#include <QString>

#include <optional>
#include <vector>

class UFemCard;
class UFemCardValueExprList;

// The text the result table copies: a card's name line, a bare newline for a spacer, and value
// rows either padded and separated by " , " (comma type) or joined by tabs.
class UFemResultTableTextWriter {
public:
    // Column 0 of a comma-separated row is padded to this many characters.
    static constexpr qsizetype firstCellWidth = 32;

    // "<name> (Row:<model row + 1>)"
    static QString cardNameRowString(const UFemCard& card);
    static void writeCardNameRow(QString& text, const UFemCard& card);
    // Row `rowIndex` (1..) of the value array. Without a formatter, the first number picks one:
    // the default writing-file formatter in column 0, else its column's; nothing is padded then.
    static void writeValueRow(QString& text, const UFemResultTableValueArray& valueArray,
        quint64 rowIndex, UFemColumnSeparatingCharacterType type,
        const std::optional<UFemNumberFormatter>& numberFormatter);
    // A whole block in the comma form: the name line, then every row from the labels on. false
    // when the card has no value under the list.
    static bool writeResultTableValueToResultTextString(QString& text,
        const UFemCardValueExprList& list, UFemCard& card,
        const std::vector<UFemCard*>& caseCardArray, const UFemNumberFormatter& numberFormatter);
};
