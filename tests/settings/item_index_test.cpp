#include "framework/item_index.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

TEST(RadioIndex, KeepsIndicesInRange)
{
    EXPECT_EQ(fw::clampRadioIndex(0, 4), 0);
    EXPECT_EQ(fw::clampRadioIndex(3, 4), 3);
    EXPECT_EQ(fw::clampRadioIndex(-1, 4), -1);
}

TEST(RadioIndex, AboveTheLastSelectsTheLast)
{
    EXPECT_EQ(fw::clampRadioIndex(4, 4), 3);
    EXPECT_EQ(fw::clampRadioIndex(7, 4), 3);
    EXPECT_EQ(fw::clampRadioIndex(INT_MAX, 3), 2);
}

TEST(RadioIndex, BelowMinusOneSelectsNothing)
{
    EXPECT_EQ(fw::clampRadioIndex(-5, 4), -1);
    EXPECT_EQ(fw::clampRadioIndex(INT_MIN, 4), -1);
}

TEST(RadioIndex, EmptyGroupNeverSelects)
{
    EXPECT_EQ(fw::clampRadioIndex(0, 0), -1);
    EXPECT_EQ(fw::clampRadioIndex(5, 0), -1);
}

TEST(ListIndex, OutOfRangeLeavesNoSelection)
{
    EXPECT_EQ(fw::listIndexOrNone(0, 24), 0);
    EXPECT_EQ(fw::listIndexOrNone(23, 24), 23);
    EXPECT_EQ(fw::listIndexOrNone(24, 24), -1);
    EXPECT_EQ(fw::listIndexOrNone(-1, 24), -1);
    EXPECT_EQ(fw::listIndexOrNone(-2, 24), -1);
    EXPECT_EQ(fw::listIndexOrNone(0, 0), -1);
}

}  // namespace
