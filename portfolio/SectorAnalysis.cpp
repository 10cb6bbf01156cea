// The sector analysis's rules, free of windows.
#include "portfolio/SectorAnalysis.h"

#include "core/FormatNumber.h"
#include "core/SectorFilter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qv {
namespace {

constexpr double kFront = 3.14159;

template <typename Node> Node& NodeOf(std::vector<Node>& nodes, int32_t key)
{
    for (Node& n : nodes)
        if (n.key == key)
            return n;
    nodes.push_back(Node{key, 0, {}, {}});
    return nodes.back();
}

double Normalised(double a)
{
    while (a < 0)
        a += kTurn;
    while (a >= kTurn)
        a -= kTurn;
    return a;
}

std::string Percent(double value, double total)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.01f%%", total > 0 ? value * 100 / total : 0.0);
    return text;
}

bool OwnSlice(double value, double total) { return total > 0 && value * 100 / total > 1.0; }

} // namespace

SectorCodes ShareSectorCodes(int32_t shareClass, uint16_t sectorWord)
{
    if (shareClass == 1 || shareClass == 13 || shareClass == 14 || shareClass == 16 || shareClass == 17)
        return {-shareClass, -shareClass, -shareClass};
    const int32_t main = (sectorWord & 0x03C0) >> 6;
    const int32_t sector = sectorWord & 0x003F;
    const int32_t sub = sectorWord >> 10;
    return {main ? main - 1 : kNoSectorCode, sector ? sector - 1 : kNoSectorCode, sub == 63 ? kNoSectorCode : sub};
}

std::string SectorName(int level, int32_t code)
{
    switch (code) {
    case -1: return "Indices";
    case -13: return "Gilts";
    case -14: return "Unit Trusts";
    case -16: return "Exchange Rates";
    case -17: return "Commodities";
    default: break;
    }
    if (code < 0)
        return "Not defined";
    if (code >= 250)
        return "No sector";
    const int32_t group = level == kLevelMainSectors ? kSectorLevelMain
                        : level == kLevelSubsectors  ? kSectorLevelSubSectors
                                                     : kSectorLevelSectors;
    return CompanySectorName(group, code);
}

void SectorTree::Add(const SectorCodes& codes, SectorLeaf leaf)
{
    SectorNode& main = NodeOf(mains, codes.main);
    SectorNode& sector = NodeOf(main.children, codes.sector);
    SectorNode& sub = NodeOf(sector.children, codes.sub);
    main.value += leaf.value;
    sector.value += leaf.value;
    sub.value += leaf.value;
    total += leaf.value;
    sub.leaves.push_back(std::move(leaf));
}

SectorTrees BuildSectorTrees(const std::vector<SectorShare>& shares)
{
    SectorTrees trees;
    for (const SectorShare& s : shares) {
        const std::string epic = s.epic.empty() ? "No EPIC" : s.epic;
        if (s.capital > 0.0001)
            trees.capital.Add(s.codes, {s.name, epic, s.capital});
        if (s.inPortfolio && s.held > 0.001 && std::fabs(s.holding) > 0.001)
            trees.holdings.Add(s.codes, {s.name, epic, std::fabs(s.holding)});
    }
    return trees;
}

std::vector<SectorItem> LevelItems(const SectorTree& tree, int level, bool epic, const SectorNamer& namer)
{
    std::vector<SectorItem> items;
    for (const SectorNode& main : tree.mains) {
        if (level == kLevelMainSectors) {
            items.push_back({namer(level, main.key), main.value});
            continue;
        }
        for (const SectorNode& sector : main.children) {
            if (level == kLevelSectors) {
                items.push_back({namer(level, sector.key), sector.value});
                continue;
            }
            for (const SectorNode& sub : sector.children) {
                if (level == kLevelSubsectors) {
                    items.push_back({namer(level, sub.key), sub.value});
                    continue;
                }
                for (const SectorLeaf& leaf : sub.leaves)
                    items.push_back({epic ? leaf.epic : leaf.name, leaf.value});
            }
        }
    }
    return items;
}

std::vector<SectorItem> SliceItems(const std::vector<SectorItem>& items, double total)
{
    std::vector<SectorItem> slices;
    double other = 0;
    for (const SectorItem& item : items) {
        if (OwnSlice(item.value, total))
            slices.push_back(item);
        else
            other += item.value;
    }
    if (other > 0)
        slices.push_back({"Other", other});
    return slices;
}

int CountOwnSlices(const std::vector<SectorItem>& items, double total)
{
    return int(std::count_if(items.begin(), items.end(),
                             [total](const SectorItem& i) { return OwnSlice(i.value, total); }));
}

std::vector<SliceAngles> SliceAnglesOf(const std::vector<SectorItem>& slices, double total, bool onScreen)
{
    std::vector<SliceAngles> angles;
    if (total <= 0)
        return angles;
    const bool shifted = onScreen && slices.size() < 10;
    double running = shifted ? 6.18318 : 0;
    for (const SectorItem& s : slices) {
        SliceAngles a{running, running + s.value * kTurn / total};
        if (shifted && a.end < 6.21318)
            a.end += 0.1;
        angles.push_back(a);
        running = a.end;
    }
    return angles;
}

bool IsFullEllipse(const std::vector<SliceAngles>& angles)
{
    return !angles.empty() && angles[0].end - angles[0].start >= kTurn - 0.05;
}

int PainterAngle(double radians)
{
    // Screen angles grow clockwise; QPainter's grow counter-clockwise in sixteenths of a degree.
    return int(std::lround(-radians * 180.0 / M_PI * 16.0));
}

uint32_t HsvToColour(double h, double s, double v)
{
    double r = v, g = v, b = v;
    if (s > 0) {
        const double sector = h * 6 >= 6 ? 0 : h * 6;
        const int i = int(sector);
        const double f = sector - i;
        const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
        switch (i) {
        case 0: r = v, g = t, b = p; break;
        case 1: r = q, g = v, b = p; break;
        case 2: r = p, g = v, b = t; break;
        case 3: r = p, g = q, b = v; break;
        case 4: r = t, g = p, b = v; break;
        default: r = v, g = p, b = q; break;
        }
    }
    return uint32_t(r * 255) | uint32_t(g * 255) << 8 | uint32_t(b * 255) << 16;
}

std::vector<uint32_t> DefaultSliceColours(int n)
{
    static constexpr double kValue[4] = {1.0, 0.8, 1.0, 0.8};
    static constexpr double kSaturation[4] = {1.0, 1.0, 0.6, 0.6};
    const int count = std::max(n, 0) + 2;
    const double step = 1.0 / count;
    std::vector<uint32_t> colours;
    double hue = 0;
    for (int i = 0; i < count; ++i) {
        colours.push_back(HsvToColour(hue, kSaturation[i % 4], kValue[i % 4]));
        hue += step;
        if (hue >= 1 - step - 1e-9) // a sum of steps may fall a hair short of the mark it reaches
            hue = 0;
    }
    return colours;
}

uint32_t WallColour(uint32_t colour)
{
    const auto part = [colour](int shift) { return ((colour >> shift & 0xFF) * 2 / 3) << shift; };
    return part(0) | part(8) | part(16);
}

std::string SliceKey(int n)
{
    if (n < 26)
        return std::string(1, char('A' + n));
    if (n < 52)
        return std::string(1, char('a' + n - 26));
    return {char('A' + (n / 26) % 26), char('a' + n % 26)};
}

bool Meets(const PieRect& a, const PieRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

PieLayout PieLayoutOf(int width, int height, bool legend)
{
    PieLayout p;
    p.radius = std::min(width, height) / 2 * 2 / 3;
    p.cx = width / 2;
    p.cy = height / 2;
    if (!legend)
        return p;
    if (width > height) {
        p.cx = 4 * p.radius / 3;
        p.legendX = 8 * p.radius / 3;
        p.legendY = 10;
    } else {
        p.cy = 4 * p.radius / 3;
        p.legendY = 7 * p.radius / 3;
        p.legendX = 20;
    }
    p.radius = 5 * p.radius / 6;
    return p;
}

int LegendRowCount(int areaHeight, int legendY, int lineHeight)
{
    if (lineHeight <= 0)
        return 1;
    const int lines = (areaHeight - legendY) / lineHeight;
    return std::max(1, lines * 5 / 6 - 1);
}

namespace {

struct LabelState {
    const PieLayout& pie;
    bool threeD;
    int lineHeight;
    int areaHeight;
    std::vector<int> widths;
    std::vector<int> shifts; // lines moved up (negative) or down
    LabelPlacement out;

    PieRect Box(size_t i) const
    {
        const double m = Normalised(out.angles[i]);
        const double r = pie.radius + 10;
        const int x = pie.cx + int(r * std::cos(m));
        int y = pie.cy + int((threeD ? 0.6 * pie.radius + 10 : r) * std::sin(m));
        if (threeD && m < kFront)
            y += int(0.3 * pie.radius);
        y += shifts[i] * lineHeight;
        const int w = std::min(widths[i], 80);
        const bool right = m < 1.5708 || m >= 4.71239;
        const bool down = m < kFront;
        PieRect box;
        box.left = right ? x : x - w;
        box.right = box.left + w;
        box.top = down ? y : y - lineHeight;
        box.bottom = box.top + lineHeight;
        return box;
    }
    void Place(size_t i) { out.boxes[i] = Box(i); }
};

int OverlapHeight(const PieRect& a, const PieRect& b)
{
    return std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
}

} // namespace

LabelPlacement PlaceLabels(const PieLayout& pie, bool threeD, const std::vector<SliceAngles>& slices,
                           const std::vector<int>& widths, int lineHeight, int areaHeight)
{
    const size_t n = slices.size();
    LabelState st{pie, threeD, lineHeight, areaHeight, widths, std::vector<int>(n, 0), {}};
    st.widths.resize(n, 0);
    st.out.boxes.resize(n);
    for (const SliceAngles& s : slices)
        st.out.angles.push_back((s.start + s.end) / 2);
    for (size_t i = 0; i < n; ++i)
        st.Place(i);
    int visited = 0;
    for (size_t i = 0; n > 1 && i < n && visited < 1000; ++i, ++visited) {
        const size_t next = (i + 1) % n, prev = (i + n - 1) % n;
        for (int moves = 0; moves < 100 && Meets(st.out.boxes[i], st.out.boxes[next]); ++moves) {
            double& a = st.out.angles[i];
            double& b = st.out.angles[next];
            a = Normalised(a);
            b = Normalised(b);
            bool moved = false;
            if (a > Normalised(st.out.angles[prev]) && OverlapHeight(st.out.boxes[i], st.out.boxes[prev]) < 2) {
                a -= 0.04;
                moved = true;
            }
            if (b < Normalised(slices[next].end) + 0.05) {
                b += 0.04;
                moved = true;
            }
            if (!moved) {
                // Each neighbour moves away from the label, which steps a line outwards.
                st.out.angles[prev] -= 0.01;
                b += 0.01;
                const PieRect& box = st.out.boxes[i];
                if (a < kFront && box.bottom + lineHeight <= areaHeight)
                    ++st.shifts[i];
                else if (a >= kFront && box.top - lineHeight >= 0)
                    --st.shifts[i];
            }
            st.Place(prev);
            st.Place(i);
            st.Place(next);
        }
    }
    for (size_t i = 0; i < n && !st.out.overlapping; ++i)
        for (size_t j = i + 1; j < n; ++j)
            if (Meets(st.out.boxes[i], st.out.boxes[j])) {
                st.out.overlapping = true;
                break;
            }
    return st.out;
}

int NextCompactionStep(int step, int lineHeight)
{
    if (step >= lineHeight)
        return step;
    return step + 1 <= lineHeight * 5 / 12 ? step + 1 : lineHeight;
}

uint8_t PackSectorSettings(const SectorSettings& s)
{
    return uint8_t((s.level & 3) | (s.measure & 1) << 2 | (s.label & 1) << 3 | int(s.legend) << 4 |
                   int(s.threeD) << 5 | int(s.listMode) << 6);
}

SectorSettings UnpackSectorSettings(uint8_t byte)
{
    SectorSettings s;
    s.level = byte & 3;
    s.measure = byte >> 2 & 1;
    s.label = s.level == kLevelCompanies ? byte >> 3 & 1 : 0;
    s.legend = byte >> 4 & 1;
    s.threeD = byte >> 5 & 1;
    s.listMode = byte >> 6 & 1;
    return s;
}

uint8_t& SectorSettingsByte()
{
    static uint8_t byte = 0;
    return byte;
}

uint32_t LegendMaskBit(const SectorSettings& s)
{
    return uint32_t(1) << (s.level + 4 * int(s.threeD) + 8 * s.measure + 16 * s.label);
}

SectorEnabling EnableSectorControls(SectorSettings& s, double holdingsTotal, double capitalTotal,
                                    uint32_t legendOptional, bool legendPages)
{
    SectorEnabling e;
    if (holdingsTotal <= 0 && capitalTotal <= 0)
        return e;
    e.levels = e.name = e.toggle = e.print = true;
    e.holdings = holdingsTotal != 0;
    e.capital = capitalTotal != 0;
    if (!e.holdings)
        s.measure = kMeasureCapital;
    if (!e.capital)
        s.measure = kMeasureHoldings;
    if (s.listMode) {
        e.epic = true;
        e.print = false;
        e.toggleText = "Chart >>";
        return e;
    }
    e.epic = s.level == kLevelCompanies;
    if (!e.epic)
        s.label = 0;
    e.threeD = true;
    e.legend = (legendOptional & LegendMaskBit(s)) != 0;
    e.more = s.legend && legendPages;
    return e;
}

std::string SectorTitle(const std::string& name, bool fromPortfolio, int level)
{
    static constexpr const char* kLevels[4] = {" - Individual Companies", " - Grouped by Subsector",
                                               " - Grouped by Sector", " - Grouped by Main sector"};
    return std::string("Sector Analysis") + (fromPortfolio ? " - Portfolio: " : " - ") + name +
           kLevels[std::clamp(level, 0, 3)];
}

std::vector<SectorListRow> SectorListRows(const std::vector<SectorItem>& items, double total)
{
    std::vector<SectorListRow> rows;
    for (const SectorItem& item : items)
        rows.push_back({item.text, FormatMoney(item.value, true, false), Percent(item.value, total)});
    rows.push_back({"Total", FormatMoney(total, true, false), Percent(total, total)});
    return rows;
}

std::array<std::string, 3> SectorListHeadings(int level, int measure, bool epic)
{
    static constexpr const char* kPrefix[4] = {"", "Subsector / ", "Sector / ", "Main sector / "};
    return {std::string(kPrefix[std::clamp(level, 0, 3)]) + (epic && level == kLevelCompanies ? "EPIC" : "Name"),
            measure == kMeasureCapital ? "Capitalization (m)" : "Holdings", "Percentage"};
}

} // namespace qv
