// The sector commands' filter changes and the chooser's levels.
#include "lists/SectorChoice.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(SectorChoice, LevelsAndFilterChanges)
{
    for (const auto& [given, opened] : {std::pair{2023, 2023}, {2026, 2026}, {0, 2025}, {2027, 2025}, {-1, 2025}})
        EXPECT_EQ(SectorChooserLevel(given), opened) << given;
    EXPECT_EQ(SectorLevelNames(kSectorLevelFinancials), (std::vector<std::string>{"Financials", "Non-Financials"}));

    const SectorFilter highs{4, 2025, 0, 1, 0};
    EXPECT_TRUE(HasToggleableSector(highs));
    EXPECT_FALSE(HasToggleableSector({-1, 2025, 0, 0, 0}));
    EXPECT_FALSE(HasToggleableSector({4, 0, 0, 0, 0}));
    const SectorFilter on = ToggleOneSector(highs);
    EXPECT_EQ(on, (SectorFilter{4, 2025, 1, 0, 0})) << "switching on clears the new highs";
    EXPECT_EQ(ToggleOneSector(on), (SectorFilter{4, 2025, 0, 0, 0}));

    LastSectorChoice() = {};
    EXPECT_EQ(ApplySectorChoice(highs, {true, 2024, 7}), (SectorFilter{7, 2024, 1, 0, 0}));
    EXPECT_EQ(LastSectorChoice().index, 7);
    EXPECT_EQ(ApplySectorChoice(on, {false, 2024, 7}), (SectorFilter{4, 2025, 0, 0, 0})) << "none switches it off";
    EXPECT_EQ(ApplySectorChoice(on, {true, 2024, -1}).sectorFilterOn, 0) << "an empty level chooses none";
    LastSectorChoice() = {};
}
