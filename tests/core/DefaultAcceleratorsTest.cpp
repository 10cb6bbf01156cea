// The default accelerator keys.
#include "core/DefaultAccelerators.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(DefaultAcceleratorsTest, BasicKeysThenTheNumberKeys)
{
    std::vector<AcceleratorKey> table = {AcceleratorKey{'Q', kAccelCtrl, 0, 1, 0}};
    AddDefaultAccelerators(table, true);
    ASSERT_EQ(table.size(), 1u + 8 + 12);
    EXPECT_EQ(table[1], (AcceleratorKey{'P', kAccelCtrl, 0, 26119, 0}));
    EXPECT_EQ(table[5], (AcceleratorKey{']', 0, 0, 20618, 0}));
    EXPECT_EQ(table[6], (AcceleratorKey{'[', 0, 0, 20619, 0}));
    EXPECT_EQ(table[8], (AcceleratorKey{'Y', kAccelCtrl, 0, 26539, 0}));
    EXPECT_EQ(table[9], (AcceleratorKey{'1', kAccelCtrl, 0, 26731, 0}));
    EXPECT_EQ(table[20], (AcceleratorKey{'6', kAccelShift, 0, 26748, 0}));

    std::vector<AcceleratorKey> numbers;
    AddDefaultAccelerators(numbers, false);
    ASSERT_EQ(numbers.size(), 12u);
    EXPECT_EQ(numbers[0].command, 26731);
    EXPECT_EQ(numbers[6], (AcceleratorKey{'1', kAccelShift, 0, 26743, 0}));
}
