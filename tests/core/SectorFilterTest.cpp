// Sector-filter defaults and the caption of a list's filter.
#include "core/SectorFilter.h"

#include "core/ShareList.h"
#include "support/DatabaseFixture.h"

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
    SaveSectorFilter(SectorFilter{});
}

namespace {

class SectorNamesTest : public test::DatabaseFixture {};

std::vector<uint8_t> Item(std::vector<uint8_t> list, uint8_t header = 0)
{
    ByteWriter item;
    item.u16(uint16_t(8 + header + list.size()));
    item.u16(0);
    item.u8(header);
    item.zeros(3 + header);
    item.bytes(list.data(), list.size());
    return item.take();
}

std::vector<uint8_t> Texts(std::vector<std::string> texts, bool shifted = false)
{
    std::vector<uint8_t> out;
    if (shifted)
        out.assign(256, 0xFF);
    for (const auto& t : texts) {
        out.push_back(uint8_t(t.size()));
        out.insert(out.end(), t.begin(), t.end());
    }
    return out;
}

} // namespace

TEST_F(SectorNamesTest, SectorNamesFromTheCompanyFieldTables)
{
    dev::DbFile db = test::OneEntry({dev::ShareRecord(0x4001, "Share", 'O', "EP")});
    auto& chain = db.entries[0].extra;
    for (int i = 0; i < 23; ++i) {
        auto item = Item({});
        chain.insert(chain.end(), item.begin(), item.end());
    }
    for (auto item : {Item(Texts({"Mining", "Banks"}, true), 3), Item(Texts({"Other A", "Other B"}, true)),
                      Item(Texts({"Tech"}))})
        chain.insert(chain.end(), item.begin(), item.end());
    Load(dev::WriteQuorvaDat(db));

    struct Case {
        int32_t group, index;
        const char* name;
    } cases[] = {
        {2024, 0, "Mining"}, {2024, 1, "Banks"}, {2024, 2, ""}, {2025, 1, "Other B"}, {2026, 0, "Tech"},
        {2026, -1, ""},     {2099, 0, "Other A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompanySectorName(c.group, c.index), c.name) << c.group << "/" << c.index;

    ShareList list{};
    SaveSectorFilter(SectorFilter{1, 2024, 1, 0, 0});
    EXPECT_EQ(FormatSectorFilterText(list), "Banks");
    EXPECT_EQ(SectorFilterOf(list), (SectorFilter{1, 2024, 1, 0, 0}));
    list.sectorIndex = 0;
    SaveSectorFilter(list);
    EXPECT_EQ(SectorFilterDefaults().sectorIndex, 0);
    SaveSectorFilter(SectorFilter{});
}
