#pragma once

#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/data/UFemCardTable.h"
#include "cardmodel/text/UFemModelTextTypes.h"

#include <QString>

#include <vector>

// The model text of cards: each card's line followed by one LF, in order; empty for no cards.
QString UFemModelText(const UFemCardArray& cardArray,
    UFemColumnSeparatingCharacterType type = UFemColumnSeparatingCharacterTypeComma);
QString UFemModelText(const std::vector<UFemCardPtr>& cardArray,
    UFemColumnSeparatingCharacterType type = UFemColumnSeparatingCharacterTypeComma);

// Every card's text columns record, in order.
std::vector<UFemCardTextColumnsPtr> UFemCardTextColumnsArray(const UFemCardArray& cardArray);
std::vector<UFemCardTextColumnsPtr> UFemCardTextColumnsArray(
    const std::vector<UFemCardPtr>& cardArray);
