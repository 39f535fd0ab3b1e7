#pragma once

#include "cardmodel/card/UFemCard.h"

#include <gtest/gtest.h>

#include <vector>

namespace cardstest {

// Pages through the columns with a table of `tableSize` entries that sits between two guard
// entries, checking every page against the contract.
inline std::vector<UFemCardColumn*> pagedColumns(UFemCard& card, quint64 tableSize)
{
    UFemCardColumn* const guard = reinterpret_cast<UFemCardColumn*>(&card);
    std::vector<UFemCardColumn*> table(tableSize + 2, guard);
    std::vector<UFemCardColumn*> columns;
    quint64 next = 0;
    do {
        const quint64 start = next;
        const quint64 count
            = card.getCardColumnsToCardColumnTable(table.data() + 1, tableSize, &next);
        EXPECT_GE(count, 1u);
        EXPECT_LE(count, tableSize);
        EXPECT_EQ(table.front(), guard);
        EXPECT_EQ(table.back(), guard);
        EXPECT_TRUE(next == 0 || next == start + count);
        columns.insert(columns.end(), table.begin() + 1, table.begin() + 1 + qsizetype(count));
        if (count == 0)
            break;
    } while (next != 0);
    return columns;
}

} // namespace cardstest
