// Tests of the 32-bit link kept in place of a pointer inside a record.
#include "core/Link32.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(Link32, HoldsAPointerInFourBytes)
{
    static_assert(sizeof(Link32<int>) == 4);
    int values[3] = {7, 8, 9};
    Link32<int> link;
    EXPECT_EQ(link.get(), nullptr);
    EXPECT_EQ(link.slot(), 0u);
    link = &values[1];
    EXPECT_EQ(link.get(), &values[1]);
    EXPECT_EQ(*link, 8);
    EXPECT_EQ(link[1], 9);
    // One pointer keeps one slot, so links compare as their pointers do.
    Link32<int> again(&values[1]);
    EXPECT_EQ(again.slot(), link.slot());
    Link32<int> other(&values[0]);
    EXPECT_NE(other.slot(), link.slot());
    link = nullptr;
    EXPECT_FALSE(link);
    EXPECT_EQ(SlotPointer(0xFFFFFFF0u), nullptr);
}
