// Column specs and the catalogue lookup by column id.
#include "core/ColumnSpec.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace qv;

TEST(ColumnSpecTest, MakesFieldAndWideSpecs)
{
    std::array<uint8_t, kColumnSpecBytes> spec;
    spec.fill(0xEE);
    InitColumnSpec(spec, 15);
    EXPECT_EQ(spec[2], 1);
    EXPECT_EQ(spec[3], 0xEE);
    EXPECT_EQ(spec[4] | spec[5] | spec[6], 0);
    EXPECT_EQ(spec[26], 15);
    InitColumnSpecWide(spec, 128);
    EXPECT_EQ(spec[2], 133);
    EXPECT_EQ(spec[5], 16);
    EXPECT_EQ(spec[26], 128);
}

TEST(ColumnSpecTest, CatalogueEntriesByIdAndIndex)
{
    std::vector<uint8_t> main = {2, 'a', 3, 'b', 'b', 2, 'c', 0};
    std::vector<uint8_t> indexed = {2, 'x', 2, 'y', 0};
    std::vector<uint8_t> second = {2, 'p', 0};
    std::vector<uint8_t> third = {2, 'q', 9, 'r'}; // the second entry runs past the table
    ColumnCatalogueTables() = ColumnCatalogue{main, indexed, second, third};
    auto text = [](std::span<const uint8_t> e) { return std::string(e.begin(), e.end()); };
    struct Case {
        int id, index;
        std::string entry;
    } cases[] = {
        {0, 0, "\x02" "a"}, {1, 0, "\x03" "bb"}, {2, 0, "\x02" "c"}, {3, 0, ""}, {94, 1, "\x02" "y"},
        {94, 2, ""}, {96, 0, "\x02" "p"}, {127, 0, ""}, {128, 0, "\x02" "q"}, {129, 0, ""}, {-1, 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(GetColumnSpec(c.id, c.index)), c.entry) << c.id << "/" << c.index;
    ColumnCatalogueTables() = {};
}
