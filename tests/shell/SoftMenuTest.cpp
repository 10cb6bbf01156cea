// The menu tables and the soft-menu builder: table shape, conditions, masks, includes, key texts,
// entry editing and the golden listing of every menu.
#include "shell/MainMenu.h"
#include "shell/MenuTables.h"
#include "shell/SoftMenu.h"
#include "shell/SoftMenuEdit.h"
#include "SoftMenuListing.h"

#include "core/ConfigState.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

using namespace qv;

namespace {

const std::vector<AcceleratorKey> kNoKeys;

SoftMenuContext Context(bool realTime, bool multipleWindows, const std::vector<AcceleratorKey>* keys = nullptr)
{
    return SoftMenuContext{realTime, multipleWindows, keys};
}

// Every command id in a built menu, at any level.
void Commands(const std::vector<SoftMenuEntry>& entries, std::multiset<uint32_t>& out)
{
    for (const SoftMenuEntry& entry : entries) {
        if (entry.isPopup())
            Commands(entry.items, out);
        else if (!entry.isSeparator())
            out.insert(entry.command);
    }
}

std::multiset<uint32_t> Commands(const SoftMenu& menu)
{
    std::multiset<uint32_t> out;
    Commands(menu.entries, out);
    return out;
}

const SoftMenuEntry* FindPopup(const std::vector<SoftMenuEntry>& entries, const std::string& text)
{
    for (const SoftMenuEntry& entry : entries)
        if (entry.isPopup() && entry.text == text)
            return &entry;
    return nullptr;
}

SoftMenuEntry Cmd(uint32_t id) { return SoftMenuEntry{0, id, "c" + std::to_string(id), {}}; }
SoftMenuEntry Sep() { return SoftMenuEntry{kMenuSeparator, 0, "", {}}; }
SoftMenuEntry Pop(std::string text, std::vector<SoftMenuEntry> items)
{
    return SoftMenuEntry{kMenuPopup, 0, std::move(text), std::move(items)};
}

std::string Shape(const std::vector<SoftMenuEntry>& entries)
{
    std::string out;
    for (const SoftMenuEntry& entry : entries)
        out += entry.isSeparator() ? "|" : entry.isPopup() ? "(" + Shape(entry.items) + ")" : std::to_string(entry.command) + " ";
    return out;
}

} // namespace

TEST(MenuTables, EveryMenuIsRegisteredOnceAndEveryPopupEnds)
{
    std::set<uint32_t> ids;
    for (const SoftMenuRegistryEntry& entry : SoftMenuRegistry()) {
        EXPECT_TRUE(ids.insert(entry.menuId).second) << entry.menuId;
        int depth = 1;
        size_t i = 0;
        for (; depth > 0 && i < 2000; ++i) {
            const SoftMenuItem& item = entry.items[i];
            if (item.flags & kMenuPopup)
                ++depth;
            if (item.control & kMenuEndBit)
                --depth;
            if (item.control & kMenuIncludeBit) {
                EXPECT_NE(FindSoftMenuTable(item.include), nullptr) << entry.menuId << " includes " << item.include;
            }
        }
        EXPECT_EQ(depth, 0) << "menu " << entry.menuId << " is not closed";
    }
    EXPECT_EQ(ids.size(), 56u);
    EXPECT_EQ(SoftMenuRegistry().front().menuId, 300u);
    EXPECT_EQ(SoftMenuRegistry().back().menuId, 778u);
    EXPECT_EQ(FindSoftMenuTable(999), nullptr);
}

TEST(SoftMenu, ConditionGroupsMatchTheOptions)
{
    struct Case {
        uint8_t control;
        bool realTime, multipleWindows, kept;
    } cases[] = {
        {0, false, false, true},
        {kNoRealTime, false, true, true},
        {kNoRealTime, true, true, false},
        {kRealTimeOnly, true, false, true},
        {kRealTimeOnly, false, false, false},
        {kMultiWindowOnly, false, true, true},
        {kMultiWindowOnly, false, false, false},
        {kSingleWindowOnly, true, false, true},
        {kSingleWindowOnly, true, true, false},
        {kRealTimeOnly | kMultiWindowOnly, true, true, true},
        {kRealTimeOnly | kMultiWindowOnly, true, false, false},
        {kRealTimeOnly | kMultiWindowOnly, false, true, false},
        {0x10, false, false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SoftMenuConditionsMatch(c.control, SoftMenuConditionState(c.realTime, c.multipleWindows)), c.kept)
            << int(c.control) << " rt " << c.realTime << " mw " << c.multipleWindows;
}

TEST(SoftMenu, UnmatchedPopupGoesWithItsWholeSubTree)
{
    // 305's "Market orders" popup is real-time only; its commands appear nowhere else.
    SoftMenu off = BuildSoftMenu(305, true, 0, Context(false, false));
    SoftMenu on = BuildSoftMenu(305, true, 0, Context(true, false));
    EXPECT_EQ(Commands(off).count(26882), 0u);
    EXPECT_EQ(Commands(on).count(26882), 1u);
    ASSERT_EQ(off.entries.size(), 1u);
    EXPECT_EQ(FindPopup(off.entries[0].items, "Market orders"), nullptr);
    // What follows the skipped popup is still there, in order.
    EXPECT_EQ(Commands(off).count(26903), 1u);
    // The main bar's Window popup (multiple windows only) holds nested popups and includes.
    SoftMenu single = BuildSoftMenu(300, false, 0, Context(false, false));
    SoftMenu multi = BuildSoftMenu(300, false, 0, Context(false, true));
    EXPECT_EQ(FindPopup(single.entries, "&Window"), nullptr);
    ASSERT_NE(FindPopup(multi.entries, "&Window"), nullptr);
    EXPECT_EQ(Commands(single).count(26950), 0u);
    EXPECT_EQ(Commands(single).count(57664), 1u); // the Help popup after it
}

TEST(SoftMenu, ModeMasksKeepItemsSharingABit)
{
    auto has = [](uint8_t mask, uint32_t command) { return Commands(BuildSoftMenu(301, true, mask, Context(false, false))).count(command) > 0; };
    EXPECT_TRUE(has(1, 20205));   // m1
    EXPECT_FALSE(has(2, 20205));
    EXPECT_TRUE(has(8, 20206));   // m9
    EXPECT_TRUE(has(4, 20223));   // m5
    EXPECT_FALSE(has(2, 20223));
    EXPECT_TRUE(has(16, 27285));  // m16
    EXPECT_FALSE(has(0, 27285));
    for (uint8_t mask : {0, 1, 2, 4, 8, 16})
        EXPECT_TRUE(has(mask, 26212)) << int(mask); // no mask: always
}

TEST(SoftMenu, IncludesPutTheMenuInPlace)
{
    SoftMenu window = BuildSoftMenu(722, true, 0, Context(false, false));
    ASSERT_EQ(window.entries.size(), 1u);
    const std::vector<SoftMenuEntry>& items = window.entries[0].items;
    ASSERT_GE(items.size(), 4u);
    EXPECT_EQ(items[0].text, "Change List");
    EXPECT_EQ(items[1].text, "Change Window");
    EXPECT_EQ(items[2].text, "New Window");
    EXPECT_TRUE(items[3].isSeparator());
    EXPECT_EQ(items[4].command, 26979u);
    // Conditions of the included menu's records apply inside it.
    EXPECT_EQ(Commands(window).count(26836), 0u);
    EXPECT_EQ(Commands(BuildSoftMenu(722, true, 0, Context(true, false))).count(26836), 1u);
}

TEST(SoftMenu, ItemsShowTheAssignedKey)
{
    std::vector<AcceleratorKey> keys{{'P', kAccelCtrl, 0, 26119, 0}, {'X', kAccelCtrl | kAccelShift, 0, 20313, 0},
                                     {223, 0, 0, 25053, 0}, {'Q', kAccelShift, 0, 27000, 0}};
    struct Case {
        const char* table;
        uint32_t command;
        const std::vector<AcceleratorKey>* keys;
        const char* shown;
    } cases[] = {
        {"&Print...\tCtrl+P", 26119, &keys, "&Print...\tCtrl+P"},
        {"&Print...\tAlt+F9", 26119, &keys, "&Print...\tAlt+F9 or Ctrl+P"}, // the item's own key stays
        {"&Current Portfolio\t- or F11", 20313, &keys, "&Current Portfolio\t- or F11 or Ctrl+Shift+X"},
        {"&All\tF5", 26991, &keys, "&All\tF5 or `"},                       // through the alias, grave accent
        {"FTSE &350", 27000, &keys, "FTSE &350"},                           // aliased to 26399: no key
        {"Calendar", 27287, &keys, "Calendar"},
        {"&Save\tCtrl+S", 26265, &keys, "&Save\tCtrl+S"},                  // no key: its own text
        {"&Print...\tCtrl+P", 26119, &kNoKeys, "&Print...\tCtrl+P"},
        {"&Print...\tCtrl+P", 26119, nullptr, "&Print...\tCtrl+P"},
        {"Label\t", 1, nullptr, "Label"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SoftMenuItemText(c.table, c.command, c.keys), c.shown) << c.table;
    SoftMenu file = BuildSoftMenu(300, false, 0, Context(false, false, &keys));
    EXPECT_EQ(file.entries[0].items[6].text, "&Print...\tCtrl+P");
}

TEST(SoftMenu, LoadSoftMenuFollowsTheStoredOptions)
{
    OptionBlockA saved = Config().optionsA;
    Config().optionsA.bytes[OptionBlockA::kRealTimeOption] = 1;
    Config().optionsA.bytes[OptionBlockA::kMultipleWindows] = 0;
    EXPECT_EQ(LoadSoftMenu(300, false, 0), BuildSoftMenu(300, false, 0, Context(true, false)));
    Config().optionsA = saved;
    EXPECT_TRUE(LoadSoftMenu(4242, true, 0).entries.empty());
}

TEST(SoftMenuEdit, DeletingAnEntryTidiesTheSeparators)
{
    struct Case {
        std::vector<SoftMenuEntry> menu;
        size_t position;
        std::string after;
    } cases[] = {
        {{Cmd(1), Sep(), Cmd(2)}, 0, "2 "},
        {{Cmd(1), Sep(), Cmd(2)}, 2, "1 "},
        {{Cmd(1), Sep(), Cmd(2), Sep(), Cmd(3)}, 2, "1 |3 "},
        {{Cmd(1), Cmd(2), Sep(), Cmd(3)}, 1, "1 |3 "},
        {{Cmd(1)}, 0, ""},
        {{Cmd(1), Cmd(2)}, 5, "1 2 "},
    };
    for (Case& c : cases) {
        DeleteMenuItemAndSeparator(c.menu, c.position);
        EXPECT_EQ(Shape(c.menu), c.after);
    }
}

TEST(SoftMenuEdit, CommandsAreFoundAtEveryLevel)
{
    std::vector<SoftMenuEntry> menu{Cmd(7), Sep(), Pop("a", {Cmd(1), Pop("b", {Cmd(7), Sep(), Cmd(2)})}), Cmd(3)};
    std::vector<std::string> popups;
    int items = 0;
    EXPECT_TRUE(FindMenuItem(
        menu, 7, [&](std::vector<SoftMenuEntry>& m, size_t p) { popups.push_back(m[p].text); },
        [&](std::vector<SoftMenuEntry>&, size_t) { ++items; }));
    EXPECT_EQ(items, 2);
    EXPECT_EQ(popups, (std::vector<std::string>{"b", "a"}));
    EXPECT_FALSE(FindMenuItem(menu, 99, [](auto&, size_t) {}, [](auto&, size_t) {}));

    std::vector<SoftMenuEntry> checked = menu;
    CheckMenuItemById(checked, 2, kMenuChecked);
    EnableMenuItemById(checked, 2, kMenuGrayed);
    EXPECT_EQ(checked[2].flags, kMenuPopup | kMenuChecked | kMenuGrayed);
    EXPECT_EQ(checked[2].items[1].items[2].flags, 0u); // the command's own entry is left alone
    EnableMenuItemById(checked, 2, 0);
    EXPECT_EQ(checked[2].flags, kMenuPopup | kMenuChecked);

    std::vector<SoftMenuEntry> deleted = menu;
    DeleteMenuItemById(deleted, 7);
    EXPECT_EQ(Shape(deleted), "(1 (2 ))3 ");
    std::vector<SoftMenuEntry> withoutPopup = menu;
    DeleteSubMenuContaining(withoutPopup, 2);
    EXPECT_EQ(Shape(withoutPopup), "7 |3 ");
    // The last command of a popup takes the separator that would end it.
    std::vector<SoftMenuEntry> tail{Cmd(1), Sep(), Cmd(2)};
    DeleteMenuItemById(tail, 2);
    EXPECT_EQ(Shape(tail), "1 ");
}

TEST(MainMenu, BarPopupsLoseTheEntriesTheWindowMenuHolds)
{
    SoftMenuContext multi = Context(false, true);
    SoftMenuEntry graph = BuildBarPopup(301, multi);
    EXPECT_EQ(graph.text, "&Graph");
    EXPECT_EQ(graph.items.front().command, 20205u);      // list, window, new window and separator gone
    EXPECT_EQ(BuildBarPopup(305, multi).items.front().command, 25033u);
    SoftMenuEntry ticker = BuildBarPopup(312, multi);
    EXPECT_EQ(ticker.items.front().command, 25002u);
    // One window: nothing to remove; the separator behind the left-out includes stays (the menu
    // collapses it on screen).
    SoftMenuEntry single = BuildBarPopup(301, Context(false, false));
    EXPECT_TRUE(single.items.front().isSeparator());
    EXPECT_EQ(single.items[1].command, 20205u);
    EXPECT_EQ(BuildBarPopup(312, Context(false, false)).items.front().text, "New Window");
    // Menus that start with their own commands keep them.
    EXPECT_EQ(BuildBarPopup(345, multi).items.front().command, 26538u);
    EXPECT_EQ(BuildBarPopup(307, multi).items.front().command, 20803u);
}

TEST(MainMenu, LayoutCommandsReplaceTheirEarlierCopies)
{
    SoftMenu bar = BuildSoftMenu(300, false, 0, Context(false, true));
    size_t before = bar.entries[kBarViewPopup].items.size();
    std::array<std::string, kLayoutCommands> names;
    for (int n = 0; n < kLayoutCommands; ++n)
        names[size_t(n)] = "Layout " + std::to_string(n + 1);
    InsertWindowLayoutCommands(bar, names, nullptr);
    names[0] = "Renamed";
    InsertWindowLayoutCommands(bar, names, nullptr);
    const std::vector<SoftMenuEntry>& view = bar.entries[kBarViewPopup].items;
    EXPECT_EQ(view.size(), before + kLayoutCommands);
    EXPECT_EQ(view[0].text, "Renamed");
    EXPECT_EQ(view[0].command, kFirstLayoutCommand);
    EXPECT_EQ(view[11].command, kFirstLayoutCommand + 11);
    EXPECT_EQ(view[12].text, "Change List");
}

TEST(MainMenu, InfoCentreCommandGoesAndComesBackBeforeEmail)
{
    SoftMenu bar = BuildSoftMenu(300, false, 0, Context(false, true));
    auto position = [&](uint32_t command) {
        const std::vector<SoftMenuEntry>& view = bar.entries[kBarViewPopup].items;
        for (size_t i = 0; i < view.size(); ++i)
            if (view[i].command == command && !view[i].isPopup())
                return int(i);
        return -1;
    };
    ShowInfoCentreCommand(bar, false, nullptr);
    EXPECT_EQ(position(kInfoCentreCommand), -1);
    ShowInfoCentreCommand(bar, true, nullptr);
    EXPECT_EQ(position(kInfoCentreCommand) + 1, position(kEmailCommand));
    ShowInfoCentreCommand(bar, true, nullptr);
    EXPECT_EQ(Commands(bar).count(kInfoCentreCommand), 1u);
}

// The listing was read once against the menu tables; from then on it guards them. Run with
// QV_UPDATE_GOLDEN=1 to write it again after a deliberate change.
TEST(SoftMenu, GoldenListingOfEveryMenu)
{
    const std::string path = QV_SOURCE_DIR "/tests/shell/data/SoftMenuListing.txt";
    std::string listing = test::SoftMenuListing();
    if (std::getenv("QV_UPDATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << listing;
        GTEST_SKIP() << "listing written";
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::stringstream expected;
    expected << in.rdbuf();
    if (expected.str() == listing)
        return;
    std::istringstream want(expected.str()), got(listing);
    std::string a, b;
    for (int line = 1;; ++line) {
        bool moreA = bool(std::getline(want, a)), moreB = bool(std::getline(got, b));
        if (!moreA && !moreB)
            break;
        ASSERT_EQ(moreA ? a : "<end>", moreB ? b : "<end>") << "line " << line;
    }
}
