#include "calculation/ordering/UFemNodeBlockDivider.h"
#include "foundation/UFemNotFound.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

// A grid of 4 x 2 quad nodes, numbered row by row and divided in column order:
//
//     4 5 6 7        reference order 0 4 1 5 2 6 3 7 (positions 0 .. 7)
//     0 1 2 3        node 1 has degree 2, the others 1; blocks of degree 4
//
// Block 0, seed 0: its neighbours in reference order 4, 1 (degree 2), 5; 4 and 1 fill it while the
// seed is expanded (mark 0) and 5 stays out. Block 1, seed 5 (the first free node): of its
// neighbours only those at or after its position 3 count, 2 and 6, which join; expanding 2 adds 3
// (7 comes after it) and fills the block (mark 1). Block 2, seed 7: every neighbour lies before
// it, so growth runs out and the cursor passes the end. Take-over: 2 sits at place 1, not after
// block 1's mark; 6 and 3 lie after it, but no free node remains at or after the cursor to
// replace them, so block 2 stays {7}.
TEST(NodeBlockDivider, HandWorkedGridInColumnOrder)
{
    constexpr quint64 kNodeCount = 8;
    std::vector<double> locations;
    for (quint64 node = 0; node < kNodeCount; ++node)
        locations.insert(locations.end(), { double(node % 4), double(node / 4), 0.0 });
    std::vector<quint64> degrees { 1, 2, 1, 1, 1, 1, 1, 1 };
    UFemNodeOrderingGraph graph(locations, degrees);
    for (quint64 node = 0; node < kNodeCount; ++node) {
        std::vector<quint64> row;
        for (quint64 other = 0; other < kNodeCount; ++other) {
            const int dx = int(other % 4) - int(node % 4);
            const int dy = int(other / 4) - int(node / 4);
            if (other != node && std::abs(dx) <= 1 && std::abs(dy) <= 1)
                row.push_back(other);
        }
        graph.addConnections(UFemOrderingIndex(node), std::span<const quint64>(row));
    }
    graph.finishConnections();
    const std::vector<quint64> reference { 0, 4, 1, 5, 2, 6, 3, 7 };
    UFemNodeBlockDivider divider(graph, reference, degrees, 4);
    ASSERT_EQ(divider.divide(), 3u);
    constexpr quint64 none = UFemNotFound;
    EXPECT_EQ(divider.blockNodeNoTable(),
        (std::vector<quint64> { 0, 4, 1, none, 5, 2, 6, 3, 7, none, none, none }));
    EXPECT_EQ(divider.nodeIndexPositionTable(), (std::vector<quint64> { 0, 2, 5, 7, 1, 4, 6, 8 }));
}
