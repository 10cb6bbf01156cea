// The user's toolbars: each a named list of button codes docked at one side of the frame or
// floating, in one of three button sizes and shown by view kind; the program-wide set with its
// defaults, order and layout along the frame's sides. The bar windows carry out the layout.
#pragma once

#include "shell/ToolbarCatalogue.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qv {

constexpr int kToolbarEntries = 64;
constexpr int kMaxToolbarButtons = kToolbarEntries - 1;
constexpr int kMaxToolbars = 64;
constexpr size_t kToolbarNameSize = 64;
constexpr uint32_t kAllViews = 0x80000000u;

enum ToolbarSide : uint8_t { kSideLeft = 0, kSideTop = 1, kSideRight = 2, kSideBottom = 3, kSideFloating = 4 };
constexpr int kAllSides = 15;
enum ButtonSize : uint8_t { kButtonsLarge = 0, kButtonsSmall = 1, kButtonsWide = 2 };

struct ButtonPixels {
    int w = 0;
    int h = 0;
};
// 45 x 36, 25 x 20 or 94 x 18; a size past the table is large.
ButtonPixels ButtonPixelSize(uint8_t size);

struct ToolbarEntry {
    uint16_t code = kEndOfButtons;
    uint16_t portfolio = 0; // meaningful for Portfolio 1-9 only
    std::array<uint8_t, 8> reserved{};
    bool operator==(const ToolbarEntry&) const = default;
};

class CUserToolbar {
public:
    uint32_t count = 0;
    std::string name;
    uint8_t dock = kSideTop;
    uint8_t size = kButtonsLarge;
    std::array<uint8_t, 2> reserved{};
    uint32_t viewMask = 0;
    std::array<ToolbarEntry, kToolbarEntries> entries{};
    uint32_t index = 0;
    std::array<uint32_t, kToolbarEntries> images{};

    // What the bar windows report back: whether its first bar is showing, and whether a second
    // bar follows it.
    bool barShown = false;
    bool barChained = false;

    // Counts the entries before the terminator (a list without one is cut to 63 buttons).
    uint32_t Recount();
    // The codes before the terminator.
    std::vector<uint16_t> Codes() const;
    // Replaces the entries (at most 63; portfolio numbers given or 0) and recounts.
    void SetEntries(const std::vector<ToolbarEntry>& list);
    bool ShownIn(int32_t viewKind) const;
    // Copies the definition, the entries and image indexes, and the index.
    void CopyFrom(const CUserToolbar& other);
    // Refreshes the image index of each entry.
    void UpdateImages(bool newMail);
};

// The width and height of the desktop; the screen classes of the defaults come from them.
struct ScreenSize {
    int width = 1024;
    int height = 768;
};
int WidthClass(int width);
int HeightClass(int height);

// One bar of a toolbar's chain along a side: which toolbar, which of its entries, and where.
struct BarPlacement {
    size_t toolbar = 0;
    int first = 0;
    int count = 0;
    int row = 0;      // rows (columns on the left and right) from the frame's edge
    int offset = 0;   // position along the row
    int length = 0;
    int thickness = 0;
};
struct ToolbarLayoutPlan {
    std::array<bool, 5> sides{};               // sides laid out
    std::array<std::vector<BarPlacement>, 5> bars;
    std::vector<size_t> hidden;                // toolbars whose bars are hidden
    std::array<int, 4> extent{};               // thickness taken on sides 0-3
};

// Geometry of a bar of buttons (a spacer takes 14 along a horizontal bar, 10 along a vertical one).
struct BarGeometry {
    ButtonPixels button;
    bool horizontal = true;
    bool floating = false;
    int PitchAlong() const { return horizontal ? button.w + 7 : button.h + 7; }
    int PitchAcross() const { return horizontal ? button.h + 7 : button.w + 7; }
    int SpacerLength() const { return horizontal ? 14 : 10; }
    static constexpr int kMargin = 7;
};
// Length and thickness of the buttons laid in one line.
ButtonPixels CalcFixedLayout(const BarGeometry& geometry, const std::vector<uint16_t>& codes);
// The index of the first button that does not fit in length; -1 when all fit.
int FitCount(const BarGeometry& geometry, const std::vector<uint16_t>& codes, int length);
// Buttons wrapped into rows no longer than length: the widest row and the height of the rows.
ButtonPixels CalcDynamicLayout(const BarGeometry& geometry, const std::vector<uint16_t>& codes, int length);
BarGeometry GeometryOf(const CUserToolbar& toolbar);

class ToolbarSet {
public:
    std::vector<std::unique_ptr<CUserToolbar>> toolbars;
    uint16_t current = 0;
    bool busy = false;
    std::array<uint16_t, 4> sideExtent{};
    bool shown = true;
    std::array<uint32_t, 9> portfolioTargets{};

    // Settings the set reads: the alternative-toolbar byte, the old small-buttons byte, the desktop.
    bool alternative = false;
    uint8_t oldSmallButtons = 0;
    ScreenSize screen;
    uint32_t background = 0xC0C0C0; // 0x00BBGGRR, the colour button pictures are drawn on

    size_t Count() const { return toolbars.size(); }
    CUserToolbar* Current() { return current < toolbars.size() ? toolbars[current].get() : nullptr; }

    void ClearToolbars();
    void AllocateToolbars(size_t count);
    // Appends "Toolbar %d", makes it current: all views for -1, 1 << kind for a kind, none for 0.
    int AddToolbar(int32_t viewArg);
    // Refused with a message while fewer than 2 toolbars exist.
    bool DeleteCurrentToolbar();
    void DeleteEmptyToolbars();
    void CopyToolbarsFrom(const ToolbarSet& other);
    void SortToolbars();
    bool ToolbarsNeedLayout(int32_t viewKind) const;
    void DropUnavailableButtons(uint32_t mask = kVariantMask);
    void UpdatePortfolioButtons();
    // The shortcuts naming `removed` name `replacement`, and the buttons follow.
    void ReplacePortfolioTarget(uint32_t removed, uint32_t replacement);
    void SetDefaultToolbars(int mode);
    void SwapMainBar();
    void ToggleToolbars() { shown = !shown; }
    // Whether the toolbar should show in the view kind (the alternative byte shows any non-empty mask).
    bool ShownIn(const CUserToolbar& toolbar, int32_t viewKind) const;

    // Sorts and places the bars of the toolbars shown in viewKind on the side (15: all), in a
    // client area of the given size; nothing while a layout runs, without toolbars or while hidden.
    std::optional<ToolbarLayoutPlan> LayoutToolbars(int side, int32_t viewKind, int clientWidth, int clientHeight);

    // The default list of definition n (0-7) for the toolbar's side.
    std::vector<uint16_t> DefaultList(int n) const;
    void FillFromDefault(CUserToolbar& toolbar, int n);

private:
    void PlaceSide(int side, int32_t viewKind, int along, ToolbarLayoutPlan& plan);
};

constexpr int kDefaultToolbarCount = 8;
const char* DefaultToolbarName(int n); // "Main", "Graph", ...

// The one set of the program.
ToolbarSet& ProgramToolbars();

} // namespace qv
