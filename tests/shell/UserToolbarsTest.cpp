// User toolbars: the catalogue, the set's operations, the defaults by screen class and the layout.
#include "shell/UserToolbars.h"

#include "tests/support/FakeMessageBox.h"

#include <gtest/gtest.h>

#include <set>

namespace qv {
namespace {

CUserToolbar& AddWith(ToolbarSet& set, const std::vector<uint16_t>& codes, uint8_t dock, uint8_t size,
                      uint32_t mask = kAllViews, const char* name = nullptr)
{
    set.AddToolbar(-1);
    CUserToolbar& t = *set.toolbars.back();
    std::vector<ToolbarEntry> entries;
    for (uint16_t c : codes)
        entries.push_back(ToolbarEntry{c, 0, {}});
    t.SetEntries(entries);
    t.dock = dock;
    t.size = size;
    t.viewMask = mask;
    if (name)
        t.name = name;
    return t;
}

TEST(ToolbarCatalogue, RowsCommandsAndAvailability)
{
    struct Case {
        uint16_t code, command, keyCommand;
        bool available;
    };
    const Case cases[] = {
        {0, 26910, 25053, true},   {2, 26912, 25055, true},   {3, 26914, 25056, true}, {18, 21103, 21103, false},
        {21, 26422, 26422, true},  {29, 26430, 26430, true},  {45, 26928, 26399, true}, {112, 27207, 20618, true},
        {113, 27208, 20619, true}, {175, 26975, 57650, false}, {178, 2727, 2727, false}, {185, 21147, 21147, false},
        {197, 21159, 21159, false}, {204, 27094, 27094, false}, {212, 27117, 27117, false}, {213, 27118, 27118, true},
        {224, 27240, 27240, true}, {227, 27286, 27286, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(ButtonCommand(c.code), c.command);
        EXPECT_EQ(ButtonKeyCommand(c.code), c.keyCommand);
        EXPECT_EQ(ButtonAvailable(c.code), c.available);
    }
    EXPECT_FALSE(ButtonAvailable(228));
    EXPECT_FALSE(ButtonAvailable(kSpacerCode));
    int unavailable = 0;
    for (uint16_t code = 0; code < kButtonCodeCount; ++code)
        unavailable += !ButtonAvailable(code);
    EXPECT_EQ(unavailable, 1 + 23 + 9 + 1 + 1); // 18, 175-197, 204-212, 214, 223
}

TEST(ToolbarCatalogue, ImageIndexOverAllCodes)
{
    // Every code with a picture of its own gets its own cell; key-only codes share cells.
    std::set<int> seen;
    for (uint16_t code = 0; code < kButtonCodeCount; ++code) {
        int image = ButtonImageIndex(code);
        ASSERT_GE(image, 0);
        ASSERT_LT(image, kNewMailImage);
        if (!KeyOnlyCode(code)) {
            EXPECT_TRUE(seen.insert(image).second) << "code " << code << " repeats image " << image;
        }
    }
    EXPECT_EQ(ButtonImageIndex(63), 63);
    EXPECT_EQ(ButtonImageIndex(112), 64);
    EXPECT_EQ(ButtonImageIndex(122), 73);
    EXPECT_EQ(ButtonImageIndex(135), 82);
    EXPECT_EQ(ButtonImageIndex(200), 145);
    EXPECT_EQ(ButtonImageIndex(227), 172);
    EXPECT_EQ(ButtonImageIndex(kEmailCode), kEmailCode);
    EXPECT_EQ(ButtonImageIndex(kEmailCode, true), kNewMailImage);
}

TEST(ToolbarCatalogue, DesignerTabsAndKeyEditorOrder)
{
    EXPECT_EQ(DesignerPositions().size(), 173u);
    std::set<uint16_t> positions(DesignerPositions().begin(), DesignerPositions().end());
    EXPECT_EQ(positions.size(), 173u);
    for (int tab = 1; tab < kDesignerTabCount; ++tab)
        EXPECT_FALSE(DesignerTabHolds(tab, 18)) << tab;
    EXPECT_TRUE(DesignerTabHolds(0, 18));
    EXPECT_TRUE(DesignerTabHolds(3, 60));
    EXPECT_TRUE(DesignerTabHolds(2, 25));
    EXPECT_EQ(KeyEditorOrder().size(), size_t(kButtonCodeCount));
    std::set<uint16_t> keyCodes(KeyEditorOrder().begin(), KeyEditorOrder().end());
    EXPECT_EQ(keyCodes.size(), size_t(kButtonCodeCount));
    EXPECT_EQ(SystemAcceleratorText(52), "F2");
    EXPECT_EQ(SystemAcceleratorText(57), "Shift + F4");
    EXPECT_EQ(SystemAcceleratorText(63), "Shift + Ctrl + F4");
    EXPECT_EQ(SystemAcceleratorText(198), "Ctrl + S");
    EXPECT_EQ(SystemAcceleratorText(8), "None");
    // A command whose menu item (or an item running it, as "All" does) shows a key has that key.
    EXPECT_EQ(SystemAcceleratorText(0), "F5");
    EXPECT_EQ(SystemAcceleratorText(5), "F12");
    EXPECT_EQ(SystemAcceleratorText(6), "Shift+F9");
}

TEST(ToolbarSet, AddDeleteCopyAndEmptyToolbars)
{
    test::FakeMessageBox box;
    ToolbarSet set;
    EXPECT_EQ(set.AddToolbar(-1), 0);
    EXPECT_EQ(set.toolbars[0]->name, "Toolbar 1");
    EXPECT_EQ(set.toolbars[0]->viewMask, kAllViews);
    EXPECT_EQ(set.AddToolbar(8), 1);
    EXPECT_EQ(set.toolbars[1]->viewMask, 0x100u);
    EXPECT_EQ(set.AddToolbar(0), 2);
    EXPECT_EQ(set.toolbars[2]->viewMask, 0u);
    EXPECT_EQ(set.current, 2);

    set.current = 1;
    EXPECT_TRUE(set.DeleteCurrentToolbar());
    ASSERT_EQ(set.Count(), 2u);
    EXPECT_EQ(set.toolbars[1]->name, "Toolbar 3");
    EXPECT_EQ(set.toolbars[1]->index, 1u);
    EXPECT_EQ(set.current, 0);
    set.toolbars[1]->SetEntries({ToolbarEntry{4, 0, {}}});
    set.DeleteEmptyToolbars();
    ASSERT_EQ(set.Count(), 1u);
    EXPECT_FALSE(set.DeleteCurrentToolbar());
    EXPECT_EQ(box.texts(), std::vector<std::string>{"You can not delete all the toolbars"});

    set.portfolioTargets[3] = 7;
    ToolbarSet copy;
    copy.CopyToolbarsFrom(set);
    ASSERT_EQ(copy.Count(), 1u);
    EXPECT_EQ(copy.toolbars[0]->Codes(), std::vector<uint16_t>{4});
    EXPECT_EQ(copy.portfolioTargets[3], 7u);
}

TEST(ToolbarSet, SortsBySideThenSize)
{
    ToolbarSet set;
    AddWith(set, {4}, kSideFloating, kButtonsLarge, kAllViews, "float");
    AddWith(set, {4}, kSideRight, kButtonsWide, kAllViews, "right wide");
    AddWith(set, {4}, kSideRight, kButtonsSmall, kAllViews, "right small");
    AddWith(set, {4}, kSideTop, kButtonsLarge, kAllViews, "top large");
    AddWith(set, {4}, kSideTop, kButtonsWide, kAllViews, "top wide");
    AddWith(set, {4}, kSideLeft, kButtonsLarge, kAllViews, "left");
    AddWith(set, {4}, kSideBottom, kButtonsSmall, kAllViews, "bottom");
    set.SortToolbars();
    std::vector<std::string> names;
    for (auto& t : set.toolbars)
        names.push_back(t->name);
    EXPECT_EQ(names, (std::vector<std::string>{"top wide", "top large", "bottom", "left", "right small",
                                               "right wide", "float"}));
    EXPECT_EQ(set.toolbars[6]->index, 6u);
}

TEST(ToolbarSet, DropsUnavailableButtonsButKeepsTheHiddenPreviousMainBar)
{
    ToolbarSet set;
    AddWith(set, {0, 18, kSpacerCode, 175, 4}, kSideTop, kButtonsLarge);
    AddWith(set, {0, 18, 4}, kSideTop, kButtonsLarge, 0, "PrevMainBar");
    AddWith(set, {0, 18, 4}, kSideTop, kButtonsLarge, 1, "PrevMainBar");
    set.DropUnavailableButtons();
    EXPECT_EQ(set.toolbars[0]->Codes(), (std::vector<uint16_t>{0, kSpacerCode, 4}));
    EXPECT_EQ(set.toolbars[0]->count, 3u);
    EXPECT_EQ(set.toolbars[1]->Codes(), (std::vector<uint16_t>{0, 18, 4}));
    EXPECT_EQ(set.toolbars[2]->Codes(), (std::vector<uint16_t>{0, 4}));
}

TEST(ToolbarSet, DefaultsFollowTheScreenClass)
{
    struct Case {
        int width, height;
        size_t toolbars;
        uint8_t mainSize;
        size_t mainButtons;
    };
    const Case cases[] = {{640, 480, 3, kButtonsSmall, 10}, {800, 600, 4, kButtonsLarge, 15},
                          {1024, 768, 4, kButtonsLarge, 20}, {1600, 1200, 4, kButtonsLarge, 25}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        ToolbarSet set;
        set.screen = {c.width, c.height};
        set.SetDefaultToolbars(-1);
        ASSERT_EQ(set.Count(), c.toolbars);
        EXPECT_EQ(set.toolbars[0]->name, "Main bar");
        EXPECT_EQ(set.toolbars[0]->size, c.mainSize);
        EXPECT_EQ(set.toolbars[0]->Codes().size(), c.mainButtons);
        EXPECT_EQ(set.toolbars[1]->name, "Graph bar");
        EXPECT_EQ(set.toolbars[1]->viewMask, 1u);
        EXPECT_EQ(set.toolbars[2]->dock, kSideBottom);
        for (auto& t : set.toolbars)
            for (uint16_t code : t->Codes()) {
                EXPECT_TRUE(code == kSpacerCode || ButtonAvailable(code)) << code;
                EXPECT_LE(t->Codes().size(), 35u);
            }
        // The settings bar's portfolio buttons name the built-in lists.
        EXPECT_EQ(set.portfolioTargets[0], 0xFF02u);
    }
    ToolbarSet set;
    set.screen = {800, 600};
    set.SetDefaultToolbars(-1);
    EXPECT_EQ(set.toolbars[0]->Codes(), (std::vector<uint16_t>{0, 1, 3, 12, 4, 5, 9, 6, 7, 10, 31, 36, 35, 32, 11}));
    EXPECT_EQ(set.toolbars[2]->entries[6].portfolio, 0xFF02);
    // The alternative set lowers the class by one and trades the main bars.
    set.alternative = true;
    set.current = 0;
    set.SetDefaultToolbars(0);
    EXPECT_EQ(set.toolbars[0]->Codes(), (std::vector<uint16_t>{0, 12, 4, 9, 16, 11}));
    set.alternative = false;
    set.current = 3;
    set.SetDefaultToolbars(4);
    EXPECT_EQ(set.toolbars[3]->name, "Time scale bar");
    EXPECT_EQ(set.toolbars[3]->Codes().front(), 143);
    EXPECT_EQ(set.Count(), 4u);
}

TEST(ToolbarSet, OldFileDefaultsKeepTheReadButtons)
{
    ToolbarSet set;
    set.oldSmallButtons = 1;
    AddWith(set, {4, 5, 6}, kSideLeft, kButtonsWide, 3, "old");
    set.SetDefaultToolbars(-2);
    ASSERT_EQ(set.Count(), 4u);
    EXPECT_EQ(set.toolbars[0]->name, "My Toolbar");
    EXPECT_EQ(set.toolbars[0]->Codes(), (std::vector<uint16_t>{4, 5, 6}));
    EXPECT_EQ(set.toolbars[0]->dock, kSideTop);
    EXPECT_EQ(set.toolbars[0]->size, kButtonsSmall);
    EXPECT_EQ(set.toolbars[0]->viewMask, kAllViews);
    EXPECT_EQ(set.toolbars[3]->name, "News bar");
}

TEST(ToolbarSet, SwapMainBar)
{
    ToolbarSet set;
    AddWith(set, {4, 5}, kSideTop, kButtonsLarge, kAllViews, "Main bar");
    set.SwapMainBar();
    ASSERT_EQ(set.Count(), 2u);
    EXPECT_EQ(set.toolbars[0]->name, "PrevMainBar");
    EXPECT_EQ(set.toolbars[0]->viewMask, 0u);
    EXPECT_EQ(set.toolbars[1]->name, "Main bar");
    EXPECT_EQ(set.toolbars[1]->viewMask, kAllViews);
    // Swapping again brings the user's bar back.
    set.SwapMainBar();
    EXPECT_EQ(set.toolbars[0]->name, "Main bar");
    EXPECT_EQ(set.toolbars[0]->Codes(), (std::vector<uint16_t>{4, 5}));
    EXPECT_EQ(set.toolbars[1]->name, "PrevMainBar");
    ToolbarSet none;
    AddWith(none, {4}, kSideTop, kButtonsLarge);
    none.SwapMainBar();
    EXPECT_EQ(none.Count(), 1u);
}

TEST(ToolbarSet, PortfolioButtonsFollowTheTargets)
{
    ToolbarSet set;
    AddWith(set, {21, 4, 23}, kSideTop, kButtonsLarge);
    set.portfolioTargets[0] = 5;
    set.portfolioTargets[2] = 9;
    set.UpdatePortfolioButtons();
    EXPECT_EQ(set.toolbars[0]->entries[0].portfolio, 5);
    EXPECT_EQ(set.toolbars[0]->entries[1].portfolio, 0);
    EXPECT_EQ(set.toolbars[0]->entries[2].portfolio, 9);
    set.ReplacePortfolioTarget(9, 2);
    EXPECT_EQ(set.toolbars[0]->entries[2].portfolio, 2);
}

TEST(ToolbarLayout, BarGeometry)
{
    BarGeometry large{ButtonPixelSize(kButtonsLarge), true, false};
    std::vector<uint16_t> codes{0, kSpacerCode, 1, 2};
    EXPECT_EQ(CalcFixedLayout(large, codes).w, 7 + 52 + 14 + 52 + 52 + 7);
    EXPECT_EQ(CalcFixedLayout(large, codes).h, 43 + 12);
    EXPECT_EQ(FitCount(large, codes, 1000), -1);
    EXPECT_EQ(FitCount(large, codes, 7 + 52 + 14 + 52 + 7), 3);
    EXPECT_EQ(FitCount(large, codes, 10), 0);
    BarGeometry vertical{ButtonPixelSize(kButtonsSmall), false, false};
    EXPECT_EQ(CalcFixedLayout(vertical, {0, kSpacerCode}).w, 7 + 27 + 10 + 7);
    ButtonPixels wrapped = CalcDynamicLayout(large, {0, 1, 2, 3, 4}, 7 + 52 * 2 + 7);
    EXPECT_EQ(wrapped.w, 7 + 104 + 7);
    EXPECT_EQ(wrapped.h, 3 * 55);
}

TEST(ToolbarLayout, ASideNeedingTwoRows)
{
    ToolbarSet set;
    std::vector<uint16_t> many;
    for (uint16_t c = 0; c < 16; ++c)
        many.push_back(c);
    AddWith(set, many, kSideTop, kButtonsLarge, kAllViews, "long");
    AddWith(set, {4, 5, 6}, kSideTop, kButtonsLarge, kAllViews, "short");
    AddWith(set, {37, 41}, kSideLeft, kButtonsSmall, 1, "chart only");
    AddWith(set, {4}, kSideBottom, kButtonsSmall, 0, "hidden");
    auto plan = set.LayoutToolbars(kAllSides, 1, 640, 480);
    ASSERT_TRUE(plan);
    const auto& top = plan->bars[kSideTop];
    // 640 pixels hold 12 large buttons: the long bar goes on in a second bar on the next row, and
    // the short toolbar continues that row.
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0].first, 0);
    EXPECT_EQ(top[0].count, 12);
    EXPECT_EQ(top[0].row, 0);
    EXPECT_EQ(top[1].first, 12);
    EXPECT_EQ(top[1].count, 4);
    EXPECT_EQ(top[1].row, 1);
    EXPECT_EQ(top[2].row, 1);
    EXPECT_EQ(top[2].offset, top[1].length - 1);
    EXPECT_EQ(plan->extent[kSideTop], 2 * 55);
    EXPECT_TRUE(plan->bars[kSideLeft].empty()); // view kind 1 is a list
    EXPECT_EQ(plan->hidden.size(), 2u);
    auto chart = set.LayoutToolbars(kAllSides, 0, 640, 480);
    ASSERT_EQ(chart->bars[kSideLeft].size(), 1u);
    set.busy = true;
    EXPECT_FALSE(set.LayoutToolbars(kAllSides, 0, 640, 480));
    set.busy = false;
    set.ToggleToolbars();
    EXPECT_FALSE(set.LayoutToolbars(kAllSides, 0, 640, 480));
}

TEST(ToolbarLayout, NeedLayoutWhenShownBarsDisagree)
{
    ToolbarSet set;
    AddWith(set, {4}, kSideTop, kButtonsLarge, 1);
    EXPECT_TRUE(set.ToolbarsNeedLayout(0));
    set.toolbars[0]->barShown = true;
    EXPECT_FALSE(set.ToolbarsNeedLayout(0));
    EXPECT_TRUE(set.ToolbarsNeedLayout(1));
    set.alternative = true;
    EXPECT_FALSE(set.ToolbarsNeedLayout(1));
}

} // namespace
} // namespace qv

#include "shell/ToolbarDesignRules.h"

namespace qv {
namespace {

TEST(ToolbarDesignRules, AvailableListsAndTheCap)
{
    std::vector<uint16_t> settings = DesignerAvailable(3, {53});
    EXPECT_EQ(settings.size(), 11u);
    EXPECT_EQ(settings.front(), 52);
    // Unavailable codes are never offered; code 18 is on no tab but "All", and even there it is out.
    for (uint16_t code : DesignerAvailable(0, {}))
        EXPECT_TRUE(ButtonAvailable(code)) << code;
    std::vector<uint16_t> others = DesignerAvailable(6, {});
    EXPECT_EQ(std::find(others.begin(), others.end(), 185), others.end());
    // "Swing Chart Design" has no menu entry: its button on the Graph tab is the way to it.
    std::vector<uint16_t> graph = DesignerAvailable(5, {});
    EXPECT_NE(std::find(graph.begin(), graph.end(), 224), graph.end());

    // ">>" skips Portfolio 1-9 and Setting 4-12 and stops at 63.
    std::vector<uint16_t> portfolios = DesignerAppendAll(2, {});
    EXPECT_EQ(portfolios, (std::vector<uint16_t>{4, 5, 13, 14, 9, 174, 125, 126, 225, 226}));
    EXPECT_EQ(DesignerAppendAll(3, {}), (std::vector<uint16_t>{52, 53, 54}));
    std::vector<uint16_t> all = DesignerAppendAll(0, {kSpacerCode});
    EXPECT_EQ(all.size(), 63u);
    EXPECT_EQ(DesignerAppendAll(0, all), all);
    EXPECT_TRUE(DesignerCanAdd(62, true));
    EXPECT_FALSE(DesignerCanAdd(63, true));
    EXPECT_FALSE(DesignerCanAdd(10, false));

    EXPECT_EQ(ToolbarPaletteColour(0, 0), 0xFFFFF8u);
    EXPECT_EQ(ToolbarPaletteColour(6, 5), 0xFFFFFFu - 0x40404u * 16);
}

} // namespace
} // namespace qv
