// The sector analysis's rules: sector codes and names of a share, the holdings and capitalisation
// trees, the items and slices of a level, slice angles and colours, the pie's layout, label placement,
// legend keys and rows, the list-mode rows and the enabling of the dialog's controls.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

// Levels and measures as the dialog numbers them.
enum SectorLevel : int { kLevelCompanies = 0, kLevelSubsectors = 1, kLevelSectors = 2, kLevelMainSectors = 3 };
enum SectorMeasure : int { kMeasureHoldings = 0, kMeasureCapital = 1 };

constexpr int32_t kNoSectorCode = 255;

struct SectorCodes {
    int32_t main = kNoSectorCode, sector = kNoSectorCode, sub = kNoSectorCode;
};

// A share's codes: indices, gilts, unit trusts, exchange rates and commodities (classes 1, 13, 14,
// 16, 17) take minus their class at every level; any other share reads its sector word (main sector
// 0x03C0 and sector 0x003F stored plus one, 0 none; sub-sector 0xFC00, 63 none), a missing one
// coded kNoSectorCode.
SectorCodes ShareSectorCodes(int32_t shareClass, uint16_t sectorWord);
// A code's name at a level (1 subsectors, 2 sectors, 3 main sectors): the fixed names of the
// negative codes, "Not defined" for other negative ones, "No sector" from 250, else the database's.
std::string SectorName(int level, int32_t code);

struct SectorLeaf {
    std::string name;
    std::string epic; // "No EPIC" when the share has none
    double value = 0;
};

struct SectorNode {
    int32_t key = 0;
    double value = 0;
    std::vector<SectorNode> children; // main sectors hold sectors, sectors hold subsectors
    std::vector<SectorLeaf> leaves;   // held by subsectors
};

struct SectorTree {
    std::vector<SectorNode> mains;
    double total = 0;
    // Walks or makes the three nodes (new ones at the end) and appends the leaf.
    void Add(const SectorCodes& codes, SectorLeaf leaf);
};

// One share of the list: its codes, texts, capitalisation (millions) and, when the list's portfolio
// holds it, its latest value.
struct SectorShare {
    SectorCodes codes;
    std::string name, epic;
    double capital = 0;
    double held = 0;     // number held
    double holding = 0;  // latest value
    bool inPortfolio = false;
};

struct SectorTrees {
    SectorTree holdings, capital;
};
// Capitalisations above 0.0001 go to the capitalisation tree; holdings of more than 0.001 shares
// whose absolute value is above 0.001 go to the holdings tree.
SectorTrees BuildSectorTrees(const std::vector<SectorShare>& shares);

struct SectorItem {
    std::string text;
    double value = 0;
};
using SectorNamer = std::function<std::string(int level, int32_t code)>;
// The level's items in tree order; companies show their EPIC when `epic` is set.
std::vector<SectorItem> LevelItems(const SectorTree& tree, int level, bool epic, const SectorNamer& namer);

// The slices: items above 1 per cent of the total each, then "Other" with the rest when above 0.
std::vector<SectorItem> SliceItems(const std::vector<SectorItem>& items, double total);
// The number of items above 1 per cent, the size of a level's default colour array less two.
int CountOwnSlices(const std::vector<SectorItem>& items, double total);

struct SliceAngles {
    double start = 0, end = 0;
};
constexpr double kTurn = 6.28318;
constexpr double kHalfTurn = 3.14159;
// Angles in radians, clockwise on screen from 3 o'clock. On screen with fewer than 10 slices the
// first starts at 6.18318 and a slice ending below 6.21318 ends 0.1 further on; else from 0.
std::vector<SliceAngles> SliceAnglesOf(const std::vector<SectorItem>& slices, double total, bool onScreen);
// The first slice covers the whole turn (within 0.05): the pie is one ellipse.
bool IsFullEllipse(const std::vector<SliceAngles>& angles);
// The angle for QPainter (degrees x 16, counter-clockwise from 3 o'clock).
int PainterAngle(double radians);

// Colours as COLORREF (0x00BBGGRR).
uint32_t HsvToColour(double h, double s, double v);
// n + 2 colours, hues stepping by 1/(n + 2), value and saturation cycling with i modulo 4.
std::vector<uint32_t> DefaultSliceColours(int n);
// Two-thirds of each component, for the 3-D side wall.
uint32_t WallColour(uint32_t colour);

// A slice's key with the legend: A-Z, a-z, then an upper-case letter (n / 26) and a lower-case one.
std::string SliceKey(int n);

struct PieRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};
bool Meets(const PieRect& a, const PieRect& b);

struct PieLayout {
    int radius = 0, cx = 0, cy = 0;
    int legendX = 0, legendY = 0; // relative to the area
};
PieLayout PieLayoutOf(int width, int height, bool legend);
// Legend rows: 5/6 of the label lines that fit below its start, less one, at least one.
int LegendRowCount(int areaHeight, int legendY, int lineHeight);

struct LabelPlacement {
    std::vector<PieRect> boxes;
    std::vector<double> angles;
    bool overlapping = false;
};
// Places each slice's label (width up to 80, one line high) at (R + 10) from the centre on its middle
// angle and moves overlapping neighbours apart; `widths` are the labels' text widths.
LabelPlacement PlaceLabels(const PieLayout& pie, bool threeD, const std::vector<SliceAngles>& slices,
                           const std::vector<int>& widths, int lineHeight, int areaHeight);

// The legend-compaction step after a paint that still overlaps: grows by one while at most 5/12 of
// the line height, then jumps to the full line height, where it stays. A repaint is due only when
// the step changed.
int NextCompactionStep(int step, int lineHeight);

// The dialog's settings and the settings byte (bits 0-1 level, 2 measure, 3 label, 4 legend, 5 3-D,
// 6 list mode), kept for the run.
struct SectorSettings {
    int level = kLevelCompanies;
    int measure = kMeasureHoldings;
    int label = 0; // 0 name, 1 EPIC
    bool legend = false, threeD = false, listMode = false;
};
uint8_t PackSectorSettings(const SectorSettings& s);
SectorSettings UnpackSectorSettings(uint8_t byte);
uint8_t& SectorSettingsByte();
// A combination's bit in the mask of those that may go without the legend (all set at first; a
// chart whose labels still overlap clears its bit).
uint32_t LegendMaskBit(const SectorSettings& s);

struct SectorEnabling {
    bool levels = false, name = false, epic = false, holdings = false, capital = false;
    bool legend = false, threeD = false, toggle = false, more = false, print = false;
    const char* toggleText = "List >>";
};
// Enables the controls and corrects the settings they force (measure, label); `legendPages` when the
// legend's items do not all fit.
SectorEnabling EnableSectorControls(SectorSettings& s, double holdingsTotal, double capitalTotal,
                                    uint32_t legendOptional, bool legendPages);

// The title: "Sector Analysis - Portfolio: name" or "Sector Analysis - list", then the level's words.
std::string SectorTitle(const std::string& name, bool fromPortfolio, int level);

struct SectorListRow {
    std::string text, value, percent;
};
// List mode: one row per item and "Total".
std::vector<SectorListRow> SectorListRows(const std::vector<SectorItem>& items, double total);
// The three headings: the level's prefix then "EPIC" or "Name"; the measure; "Percentage".
std::array<std::string, 3> SectorListHeadings(int level, int measure, bool epic);

} // namespace qv
