#pragma once

#include "cardmodel/data/UFemCardTable.h"
#include "tables/resulttable/UFemResultTableValueArray.h"

#include <optional>

// One card's block of the result table. The value array is built on first need and dropped
// after a copy, a rebuild or a model change.
struct UFemResultTableCardAndValueObj {
    UFemCardPtr card;
    // 1 + the number of values the card has under the expression list.
    quint64 numberOfTableColumnForCard = 1;
    std::optional<UFemResultTableValueArray> cardTableValueArray;
};
