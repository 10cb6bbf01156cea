// The button catalogue and the designer's and key editor's lists.
#include "shell/ToolbarCatalogue.h"

#include "shell/CommandPrompts.h"
#include "shell/MenuTables.h"
#include "shell/SoftMenu.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <vector>

namespace qv {
namespace {

// A run of codes paired one to one with a run of commands; keys and bits as in the row.
struct CatalogueRun {
    uint16_t firstCode;
    uint16_t lastCode;
    uint16_t firstCommand;
    uint16_t firstKeyCommand = 0; // 0: the button's own commands
    uint8_t bits = 0x33;
};

constexpr CatalogueRun kRuns[] = {
    {0, 2, 26910, 25053}, {3, 3, 26914, 25056}, {4, 4, 20313}, {5, 5, 20805}, {6, 7, 20315}, {8, 8, 20223},
    {9, 9, 20320}, {10, 10, 25000}, {11, 11, 57669}, {12, 12, 26231}, {13, 14, 26420}, {15, 15, 25002},
    {16, 16, 26119}, {17, 17, 26117}, {18, 18, 21103, 0, 0x00}, {19, 19, 26204}, {20, 20, 21140},
    {21, 29, 26422}, {30, 30, 21106}, {31, 31, 20317}, {32, 33, 21108}, {34, 34, 26396}, {35, 35, 26400},
    {36, 36, 26402}, {37, 37, 21112}, {38, 38, 26116}, {39, 39, 26182}, {40, 40, 26181}, {41, 42, 21116},
    {43, 43, 26915, 25042}, {44, 44, 26916, 25045}, {45, 45, 26928, 26399}, {46, 46, 26917, 25048},
    {47, 47, 26918, 25051}, {48, 48, 26920, 25044}, {49, 49, 26921, 25047}, {50, 50, 26922, 25050},
    {51, 51, 26923, 25043}, {52, 63, 20500}, {64, 69, 21141}, {70, 70, 26057}, {71, 71, 26201},
    {72, 72, 26055}, {73, 73, 26058}, {74, 74, 26198}, {75, 75, 26210}, {76, 76, 26214}, {77, 77, 26216},
    {78, 79, 59392}, {80, 80, 20803}, {81, 83, 20800}, {84, 85, 25062}, {86, 86, 25076}, {87, 87, 26105},
    {88, 88, 25060}, {89, 89, 26229}, {90, 90, 26228}, {91, 91, 26103}, {92, 92, 26270}, {93, 93, 26409},
    {94, 94, 509}, {95, 95, 25011}, {96, 96, 20807}, {97, 97, 26095}, {98, 98, 20929}, {99, 99, 26121},
    {100, 100, 20930}, {101, 101, 26398}, {102, 103, 25095}, {104, 104, 25005}, {105, 107, 25164},
    {108, 108, 26264}, {109, 109, 26263}, {110, 110, 26130}, {111, 111, 26132}, {112, 113, 27207, 20618},
    {114, 114, 20606}, {115, 115, 20615}, {116, 116, 20217}, {117, 117, 26212}, {118, 118, 26061},
    {119, 119, 26059}, {120, 120, 26514}, {121, 121, 26452}, {122, 122, 26567}, {123, 123, 21111},
    {124, 124, 26561}, {125, 126, 26538}, {127, 127, 26562}, {128, 128, 26913, 26605}, {129, 129, 26621},
    {130, 130, 26640}, {131, 134, 26529}, {135, 143, 26731}, {144, 149, 26743}, {150, 151, 26750},
    {152, 152, 26767}, {153, 153, 26766}, {154, 155, 26764}, {156, 156, 26606}, {157, 157, 26775},
    {158, 161, 26760}, {162, 162, 20205}, {163, 163, 26540}, {164, 164, 20206}, {165, 165, 26135},
    {166, 166, 26367}, {167, 167, 26451}, {168, 171, 20234}, {172, 172, 26643}, {173, 173, 26642},
    {174, 174, 20803}, {175, 175, 26975, 57650, 0x32}, {176, 176, 26974, 57649, 0x32},
    {177, 177, 26938, 0, 0x23}, {178, 178, 2727, 0, 0x23}, {179, 179, 26850, 0, 0x23},
    {180, 180, 26849, 0, 0x23}, {181, 181, 26851, 0, 0x23}, {182, 182, 26895, 0, 0x32},
    {183, 183, 26826, 0, 0x23}, {184, 184, 26806, 0, 0x23}, {185, 197, 21147, 0, 0x32}, {198, 198, 26265},
    {199, 199, 26932}, {200, 200, 27042}, {201, 201, 27045}, {202, 202, 27048}, {203, 203, 26504},
    {204, 204, 27094, 0, 0x23}, {205, 205, 27096, 0, 0x23}, {206, 206, 27098, 0, 0x23},
    {207, 207, 27100, 0, 0x23}, {208, 208, 27102, 0, 0x23}, {209, 209, 27104, 0, 0x23},
    {210, 210, 27111, 0, 0x23}, {211, 211, 27114, 0, 0x23}, {212, 212, 27117, 0, 0x23}, {213, 213, 27118},
    {214, 214, 27119, 0, 0x23}, {215, 217, 27120}, {218, 218, 27217}, {219, 222, 27250},
    {223, 223, 27054, 0, 0x23}, {224, 224, 27240}, {225, 225, 27282}, {226, 226, 27287},
    {227, 227, 27286},
};

std::array<ButtonCatalogueRow, kButtonCodeCount> BuildCatalogue()
{
    std::array<ButtonCatalogueRow, kButtonCodeCount> rows{};
    for (const CatalogueRun& run : kRuns)
        for (uint16_t code = run.firstCode; code <= run.lastCode; ++code) {
            uint16_t offset = uint16_t(code - run.firstCode);
            uint16_t command = uint16_t(run.firstCommand + offset);
            uint16_t keys = run.firstKeyCommand ? uint16_t(run.firstKeyCommand + offset) : command;
            rows[code] = ButtonCatalogueRow{command, keys, run.bits};
        }
    return rows;
}

const std::array<ButtonCatalogueRow, kButtonCodeCount>& Catalogue()
{
    static const auto rows = BuildCatalogue();
    return rows;
}

// Codes written as single codes and inclusive ranges {first, last}.
struct CodeSpan {
    uint16_t first;
    uint16_t last;
};

std::vector<uint16_t> Expand(std::initializer_list<CodeSpan> spans)
{
    std::vector<uint16_t> codes;
    for (const CodeSpan& s : spans)
        for (uint16_t c = s.first; c <= s.last; ++c)
            codes.push_back(c);
    return codes;
}

CodeSpan C(uint16_t c) { return {c, c}; }
CodeSpan R(uint16_t first, uint16_t last) { return {first, last}; }

const std::vector<uint16_t>& Positions()
{
    static const std::vector<uint16_t> codes = Expand({
        C(0), C(1), C(2), C(128), C(3), C(19), R(43, 51), C(156), C(157), C(200), C(201), C(202), R(204, 212),
        C(12), C(129), C(130), C(173), C(172), C(4), C(5), C(13), C(14), C(9), C(6), C(7), C(183), C(10),
        C(184), C(16), C(17), C(11), C(15), C(18), C(20), C(124), C(127), C(174), C(125), C(126), R(21, 29),
        C(30), C(31), C(32), C(33), C(203), C(34), C(35), C(36), C(123), C(37), C(41), C(122), C(38), C(39),
        C(40), C(42), R(52, 63), C(112), C(113), C(114), C(115), C(213), C(214), C(215), C(216), C(222),
        C(217), C(218), C(219), C(220), C(221), C(116), C(117), C(8), C(118), C(119), C(120), R(135, 155),
        R(158, 162), C(223), C(224), R(163, 171), C(175), C(176), C(225), C(226), C(227), R(177, 182), C(197),
        R(185, 196),
    });
    return codes;
}

const std::array<std::vector<uint16_t>, kDesignerTabCount>& DesignerTabs()
{
    static const std::array<std::vector<uint16_t>, kDesignerTabCount> tabs{
        std::vector<uint16_t>{},
        Expand({C(12), C(129), C(130), C(4), C(9), C(6), C(7), C(183), C(124), C(127), R(30, 33), C(203),
                R(34, 36), C(123), C(42), C(225), C(226), R(179, 181)}),
        Expand({C(4), C(5), C(13), C(14), C(9), C(174), C(125), C(126), R(21, 29), C(225), C(226)}),
        Expand({R(52, 63)}),
        Expand({C(0), C(1), C(2), C(128), C(3), C(19), R(43, 51), C(156), C(157), R(200, 202), R(204, 212)}),
        Expand({C(37), C(41), C(122), R(213, 216), C(222), R(217, 221), C(116), C(117), C(8), R(118, 120),
                R(135, 155), R(158, 162), C(223), C(224), R(163, 171), C(227)}),
        Expand({C(173), C(172), C(10), C(184), C(16), C(17), C(11), C(15), C(20), R(38, 40), R(112, 115),
                R(175, 178), C(182), C(197), R(185, 196)}),
    };
    return tabs;
}

const std::vector<uint16_t>& KeyOrder()
{
    static const std::vector<uint16_t> codes = Expand({
        C(0), C(1), C(2), C(128), C(3), C(19), C(12), C(4), C(5), C(129), C(130), C(13), C(14), C(9), C(6),
        C(7), C(8), C(10), C(16), C(17), C(11), C(15), C(18), C(20), R(64, 69), C(37), C(41), C(122), C(38),
        C(39), C(40), C(42), C(35), C(36), C(123), R(43, 51), C(124), C(127), C(125), C(126), R(21, 29),
        R(52, 63), R(70, 77), R(116, 121), R(78, 85), C(87), C(86), R(88, 115), R(131, 197), R(30, 34),
        R(198, 227),
    });
    return codes;
}

const std::array<std::vector<uint16_t>, kKeyEditorTabCount>& KeyTabs()
{
    static const std::array<std::vector<uint16_t>, kKeyEditorTabCount> tabs{
        std::vector<uint16_t>{},
        Expand({R(0, 2), C(128), C(3), C(19), C(12), C(4), C(129), C(130), C(9), R(6, 8), C(65), C(37), C(41),
                C(122), C(42), C(35), C(36), C(123), C(124), C(127), R(116, 120), C(78), C(79), C(156), C(157),
                C(172), C(173), R(199, 212), C(225), C(226)}),
        Expand({C(4), C(5), C(13), C(14), C(64), C(124), C(127), C(125), C(126), R(21, 29), R(80, 83),
                R(95, 97), R(101, 107)}),
        Expand({C(16), C(17)}),
        Expand({C(20), R(64, 69)}),
        Expand({R(43, 51)}),
        Expand({C(11), R(98, 100)}),
        Expand({R(52, 63)}),
        Expand({R(70, 77), C(90)}),
        Expand({C(10), C(15), C(18), R(38, 40), C(121), R(80, 85), C(87), C(86), R(88, 94), R(108, 115),
                R(131, 155), R(158, 171), R(174, 197), R(30, 34), C(198), R(213, 224), C(227)}),
    };
    return tabs;
}

constexpr const char* kDesignerTabNames[kDesignerTabCount] = {"All", "View", "Portfolios", "Settings",
                                                              "Lists", "Graph", "Others"};
constexpr const char* kKeyTabNames[kKeyEditorTabCount] = {"All",  "View",     "Portfolios", "Print",   "Options",
                                                          "Lists", "Help",    "Settings",   "Exp/Imp", "Other"};

bool Holds(const std::vector<uint16_t>& codes, uint16_t code)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

constexpr uint8_t kNoKey = 255;
constexpr uint8_t kFunctionKey = 128;
constexpr uint8_t kShiftBit = 0x10;
constexpr uint8_t kCtrlBit = 0x20;

std::array<uint8_t, kButtonCodeCount> BuildSystemKeys()
{
    std::array<uint8_t, kButtonCodeCount> keys;
    keys.fill(kNoKey);
    // Setting 1-12 sit on F2-F4, then with Shift, Ctrl and both.
    for (int i = 0; i < 12; ++i) {
        uint8_t modifiers = uint8_t((i / 3 & 1 ? kShiftBit : 0) | (i / 3 & 2 ? kCtrlBit : 0));
        keys[kFirstSettingCode + i] = uint8_t(kFunctionKey + 1 + i % 3 + modifiers);
    }
    keys[199] = 224; // Ctrl+C
    keys[198] = 225; // Ctrl+S
    keys[16] = 226;  // Ctrl+P
    keys[125] = 227; // Ctrl+Z
    keys[126] = 228; // Ctrl+Y
    keys[11] = kFunctionKey + 0 + kShiftBit; // context help: Shift+F1
    keys[37] = 13;                           // the minus key
    keys[112] = ']';
    keys[113] = '[';
    keys[114] = 240;
    keys[115] = 241;
    keys[4] = 242;
    return keys;
}

std::string CleanLabel(const char* text)
{
    std::string label;
    for (const char* p = text; *p && *p != '\t'; ++p)
        if (*p != '&')
            label += *p;
    while (label.size() > 3 && label.compare(label.size() - 3, 3, "...") == 0)
        label.resize(label.size() - 3);
    return label;
}

// The first menu item of the command in the program's menu tables.
// The menu tables' first item that `matches`, or null.
const SoftMenuItem* FirstMenuItem(const std::function<bool(const SoftMenuItem&)>& matches)
{
    for (const SoftMenuRegistryEntry& entry : SoftMenuRegistry()) {
        int depth = 0;
        for (const SoftMenuItem* item = entry.items;; ++item) {
            if (item->flags & kMenuPopup) {
                ++depth;
                continue;
            }
            if (item->control & kMenuEndBit) {
                if (depth-- == 0)
                    break;
                continue;
            }
            if (!(item->flags & kMenuSeparator) && *item->text && matches(*item))
                return item;
        }
    }
    return nullptr;
}

std::string MenuLabel(uint16_t command)
{
    const SoftMenuItem* item = FirstMenuItem([command](const SoftMenuItem& i) { return i.command == command; });
    return item ? CleanLabel(item->text) : std::string();
}

// The key the menu tables show beside an item of the command, or of one that runs it ("F5"); empty
// when none shows one.
std::string MenuShortcut(uint16_t command)
{
    const SoftMenuItem* item = FirstMenuItem([command](const SoftMenuItem& i) {
        return (i.command == command || SoftMenuAcceleratorAlias(i.command) == command) && std::strchr(i.text, '\t');
    });
    return item ? std::string(std::strchr(item->text, '\t') + 1) : std::string();
}

std::string_view PromptOf(uint16_t code)
{
    std::string_view prompt = CommandPrompt(ButtonCommand(code));
    return prompt.empty() ? CommandPrompt(ButtonKeyCommand(code)) : prompt;
}

} // namespace

ButtonCatalogueRow CatalogueRow(uint16_t code) { return code < kButtonCodeCount ? Catalogue()[code] : ButtonCatalogueRow{0, 0, 0}; }
uint16_t ButtonCommand(uint16_t code) { return CatalogueRow(code).command; }
uint16_t ButtonKeyCommand(uint16_t code) { return CatalogueRow(code).keyCommand; }

bool ButtonAvailable(uint16_t code, uint32_t mask)
{
    return code < kButtonCodeCount && (CatalogueRow(code).bits & mask) == mask;
}

int ButtonImageIndex(uint16_t code, bool newMail)
{
    if (code == kEmailCode && newMail)
        return kNewMailImage;
    int i = code;
    if (i > 197)
        i -= 2;
    if (i >= 122)
        i -= 1;
    if (i > 63)
        i -= 48;
    if (i > 81)
        i -= 4;
    return i;
}

bool KeyOnlyCode(uint16_t code)
{
    return (code >= 64 && code <= 111) || code == 121 || (code >= 131 && code <= 134) || code == 198 || code == 199;
}

uint16_t CodeForKeyCommand(uint16_t command)
{
    for (uint16_t code = 0; code < kButtonCodeCount; ++code)
        if (Catalogue()[code].keyCommand == command)
            return code;
    return kEndOfButtons;
}

std::span<const uint16_t> DesignerPositions() { return Positions(); }
const char* DesignerTabName(int tab) { return tab >= 0 && tab < kDesignerTabCount ? kDesignerTabNames[tab] : ""; }

bool DesignerTabHolds(int tab, uint16_t code)
{
    if (tab == 0)
        return true;
    return tab > 0 && tab < kDesignerTabCount && Holds(DesignerTabs()[size_t(tab)], code);
}

std::span<const uint16_t> KeyEditorOrder() { return KeyOrder(); }
const char* KeyEditorTabName(int tab) { return tab >= 0 && tab < kKeyEditorTabCount ? kKeyTabNames[tab] : ""; }

bool KeyEditorTabHolds(int tab, uint16_t code)
{
    if (tab == 0)
        return true;
    return tab > 0 && tab < kKeyEditorTabCount && Holds(KeyTabs()[size_t(tab)], code);
}

uint8_t SystemAccelerator(uint16_t code)
{
    static const auto keys = BuildSystemKeys();
    return code < kButtonCodeCount ? keys[code] : kNoKey;
}

std::string SystemAcceleratorText(uint16_t code)
{
    static constexpr char kFixed[] = "CSPZY";
    static constexpr const char* kNamed[] = {"Space", "Shift space", "Enter", "Escape"};
    uint8_t key = SystemAccelerator(code);
    char text[40];
    if (key == kNoKey) {
        // The keys the menus show for their items (F5 for "All", say) are the program's too.
        std::string shown = MenuShortcut(ButtonKeyCommand(code));
        if (shown.empty())
            shown = MenuShortcut(ButtonCommand(code));
        return shown.empty() ? "None" : shown;
    }
    if (key == 13)
        return "- (minus) or Shift F10";
    if (key < kFunctionKey)
        return std::string(1, char(key));
    if (key >= 240 && key <= 243)
        return kNamed[key - 240];
    if (key >= 224 && key <= 228) {
        std::snprintf(text, sizeof text, "Ctrl + %c", kFixed[key - 224]);
        return text;
    }
    std::string prefix = std::string(key & kShiftBit ? "Shift + " : "") + (key & kCtrlBit ? "Ctrl + " : "");
    std::snprintf(text, sizeof text, "F%i", (key - kFunctionKey) % 16 + 1);
    return prefix + text;
}

std::string ButtonLabel(uint16_t code)
{
    char text[32];
    if (code == kSpacerCode)
        return "- Spacer -";
    if (IsPortfolioCode(code)) {
        std::snprintf(text, sizeof text, "Portfolio %i", code - kFirstPortfolioCode + 1);
        return text;
    }
    if (IsSettingCode(code)) {
        std::snprintf(text, sizeof text, "Setting %i", code - kFirstSettingCode + 1);
        return text;
    }
    if (IsLayoutCode(code)) {
        std::snprintf(text, sizeof text, "Layout %i", code - kFirstLayoutCode + 1);
        return text;
    }
    std::string_view prompt = PromptOf(code);
    std::string label(prompt.substr(0, prompt.find('\n')));
    if (label.empty())
        label = MenuLabel(ButtonCommand(code));
    if (label.empty())
        label = MenuLabel(ButtonKeyCommand(code));
    if (label.empty() && code < kButtonCodeCount) {
        std::snprintf(text, sizeof text, "Command %u", unsigned(ButtonCommand(code)));
        label = text;
    }
    return label;
}

std::string ButtonTooltip(uint16_t code)
{
    std::string_view prompt = PromptOf(code);
    size_t newline = prompt.find('\n');
    if (!prompt.empty())
        return std::string(newline == std::string_view::npos ? prompt : prompt.substr(newline + 1));
    std::string label = MenuLabel(ButtonCommand(code));
    if (label.empty())
        label = MenuLabel(ButtonKeyCommand(code));
    return label.empty() ? "Missing\tTooltip text" : label;
}

} // namespace qv

namespace qv {

bool ToolbarMenuKeeps(uint32_t command, uint16_t code)
{
    if (command == kRenameButtonCommand)
        return IsPortfolioCode(code) || IsSettingCode(code) || IsLayoutCode(code);
    if (command == kTargetPortfolioCommand)
        return IsPortfolioCode(code);
    return true;
}

} // namespace qv
