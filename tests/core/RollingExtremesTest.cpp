// Tests of the sliding window that keeps the highest and lowest of its last n values.
#include "core/RollingExtremes.h"

#include <algorithm>
#include <deque>
#include <gtest/gtest.h>
#include <random>

using namespace qv;

TEST(RollingExtremes, HoldsTheLastValuesOfTheWindow)
{
    RollingExtremes w(3, 5);
    const std::pair<float, float> expected[] = {{5, 1}, {5, 1}, {4, 1}, {4, 2}};
    const float fed[] = {1, 4, 2, 3};
    for (int i = 0; i < 4; ++i) {
        w.Push(fed[i]);
        EXPECT_EQ(w.Highest(), expected[i].first) << i;
        EXPECT_EQ(w.Lowest(), expected[i].second) << i;
    }
    EXPECT_EQ(w.GetRange(), 2);
    w.Reset(7);
    EXPECT_EQ(w.Highest(), 7);
    EXPECT_EQ(w.Lowest(), 7);
}

TEST(RollingExtremes, AgreesWithAPlainWindowForEveryLength)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(0, 9); // few distinct values: many ties
    for (uint16_t n = 1; n <= 12; ++n) {
        float first = float(pick(rng));
        RollingExtremes w(n, first);
        std::deque<float> plain{first};
        for (int i = 0; i < 400; ++i) {
            float v = float(pick(rng));
            w.Push(v);
            plain.push_back(v);
            if (plain.size() > n)
                plain.pop_front();
            ASSERT_EQ(w.Highest(), *std::max_element(plain.begin(), plain.end())) << n << " " << i;
            ASSERT_EQ(w.Lowest(), *std::min_element(plain.begin(), plain.end())) << n << " " << i;
        }
    }
}
