// Heading menus fitted to the column under the cursor, built from the program's menu tables.
#include "lists/ColumnMenu.h"

#include "lists/ColumnCatalogues.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

bool Holds(const std::vector<SoftMenuEntry>& entries, uint32_t command)
{
    for (const SoftMenuEntry& e : entries)
        if ((!e.isPopup() && e.command == command) || (e.isPopup() && Holds(e.items, command)))
            return true;
    return false;
}

std::vector<SoftMenuEntry> MenuFor(int n, bool arrow = false)
{
    return BuildColumnMenu(1, CatalogueTemplate(Catalogue::Shares, n).data(), arrow);
}

} // namespace

TEST(ColumnMenu, ItemsFollowTheColumn)
{
    struct Case { int templ; bool arrow; std::vector<uint32_t> present, absent; };
    const Case cases[] = {
        {17, false, {20177, 27033, 20155, 27025, 20159}, {27218, 20166, 27028, 26241}},
        {23, false, {20166, 20170, 20159}, {27025}},
        {15, false, {20177, 27033}, {20170, 20159, 27218}},
        {86, false, {20175, 20176}, {20177, 27033, 20155, 20170}},
        {52, false, {27218}, {}},
        {92, false, {27086}, {538}},
        {8, false, {538}, {27086}},
        {18, true, {27028}, {}},
    };
    for (const Case& c : cases) {
        const std::vector<SoftMenuEntry> menu = MenuFor(c.templ, c.arrow);
        ASSERT_FALSE(menu.empty());
        for (uint32_t command : c.present)
            EXPECT_TRUE(Holds(menu, command)) << "template " << c.templ << " lacks " << command;
        for (uint32_t command : c.absent)
            EXPECT_FALSE(Holds(menu, command)) << "template " << c.templ << " holds " << command;
    }
}

TEST(ColumnMenu, MenusOfEachKind)
{
    EXPECT_EQ(ListBodyMenuId(1), 302u);
    EXPECT_EQ(ListBodyMenuId(2, 3), 626u);
    EXPECT_EQ(ListBodyMenuId(2, 1), 567u);
    EXPECT_EQ(ListBodyMenuId(2), 303u);
    EXPECT_EQ(ListBodyMenuId(9), 0u);
    EXPECT_EQ(ListHeadingMenuId(6), 415u);
    EXPECT_EQ(ListHeadingMenuId(10), 222u);
    EXPECT_EQ(ListHeadingMenuId(3), 0u);
}
