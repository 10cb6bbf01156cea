// Sector-filter defaults and the caption of a list's filter.
#include "core/SectorFilter.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(SectorFilterTest, DefaultsAndCaptions)
{
    auto names = [](int32_t group, int32_t index) { return "Sector " + std::to_string(group) + "/" + std::to_string(index); };
    struct Case {
        SectorFilter filter;
        const char* caption;
    } cases[] = {
        {{-1, 0, 0, 0, 0}, "All sectors"},
        {{0, 2023, 1, 0, 0}, "Financials"},
        {{1, 2023, 1, 0, 0}, "Non-Financials"},
        {{7, 2024, 1, 0, 0}, "Sector 2024/7"},
        {{7, 2024, 0, 0, 0}, "All sectors"},
        {{7, 2024, 1, 1, 0}, "New Highs"},
        {{7, 2024, 1, 1, 1}, "New Lows"},
    };
    for (const auto& c : cases) {
        SaveSectorFilter(c.filter);
        SectorFilter list;
        EXPECT_EQ(FormatSectorFilterText(list, names), c.caption);
        EXPECT_EQ(list, c.filter) << "the list takes the defaults";
    }
    SetFixedSectorFilter(true);
    SectorFilter own{0, 2023, 1, 0, 0};
    EXPECT_EQ(FormatSectorFilterText(own, names), "Financials");
    SetFixedSectorFilter(false);

    SectorFilter layout;
    SaveSectorFilter({3, 2025, 1, 0, 0});
    CopyGlobalListSettings(layout);
    EXPECT_EQ(layout, (SectorFilter{3, 2025, 1, 0, 0}));
    SaveSectorFilter({});
}
