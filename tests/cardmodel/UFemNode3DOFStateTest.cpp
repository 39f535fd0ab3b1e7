#include "cardmodel/card/UFemNode3DOFState.h"

#include <gtest/gtest.h>

TEST(NodeMatrixDOFState, NamesAndWholeTripleTests)
{
    EXPECT_EQ(UFemNodeDOFStateName(1), "Valid");
    EXPECT_EQ(UFemNodeDOFStateName(2), "Restrained");
    EXPECT_EQ(UFemNodeDOFStateName(4), "ZeroStiffness");
    EXPECT_EQ(UFemNodeDOFStateName(0), "UnknownState");
    EXPECT_EQ(UFemNodeDOFStateName(3), "UnknownState");
    EXPECT_EQ(UFemNodeDOFStateName(0x0402), "Restrained"); // the low byte only

    _UFemNode3DOFState triple;
    triple.state
        = { UFemNodeDOFStateRestrained, UFemNodeDOFStateValid, UFemNodeDOFStateZeroStiffness, 0 };
    EXPECT_EQ(triple.integer(), 0x040102u);
    EXPECT_TRUE(triple.hasValidDOF());
    EXPECT_TRUE(triple.hasValidOrRestrainedDOF());
    EXPECT_TRUE(triple.hasNotValidDOF());
    triple.setInteger(0x020202);
    EXPECT_TRUE(triple.isAllRestrained());
    EXPECT_FALSE(triple.hasValidDOF());
    EXPECT_TRUE(triple.hasValidOrRestrainedDOF());
    triple.setInteger(0x040404);
    EXPECT_TRUE(triple.isAllZeroStiffness());
    EXPECT_FALSE(triple.hasValidOrRestrainedDOF());
    triple.setInteger(UFemNode3DOFStateAllValid);
    EXPECT_FALSE(triple.hasNotValidDOF());
    EXPECT_EQ(triple.state[3], 0);
}
