// User toolbars, their defaults, order and layout.
#include "shell/UserToolbars.h"

#include "platform/MessageBox.h"

#include <algorithm>
#include <cstdio>

namespace qv {
namespace {

constexpr uint16_t S = kSpacerCode;
using CodeList = std::vector<uint16_t>;

struct DefaultToolbar {
    const char* name;
    uint8_t side;
    uint8_t size;
    uint32_t mask;
};

constexpr DefaultToolbar kDefaults[kDefaultToolbarCount] = {
    {"Main", kSideTop, kButtonsLarge, kAllViews},
    {"Graph", kSideRight, kButtonsSmall, 0x1},
    {"Settings", kSideBottom, kButtonsWide, kAllViews},
    {"News", kSideRight, kButtonsSmall, 0x100},
    {"Time scale", kSideBottom, kButtonsSmall, 0x1},
    {"Limit date range", kSideBottom, kButtonsSmall, 0x1},
    {"Main - alternative", kSideTop, kButtonsLarge, kAllViews},
    {"Main - wide", kSideBottom, kButtonsWide, kAllViews},
};

// Button lists by definition and screen class (0-3): wider screens hold more buttons.
const std::array<std::array<CodeList, 4>, kDefaultToolbarCount>& DefaultLists()
{
    static const std::array<std::array<CodeList, 4>, kDefaultToolbarCount> lists{{
        {{{0, 1, 12, 4, 9, 6, 7, 10, 32, 11},
          {0, 1, 3, 12, 4, 5, 9, 6, 7, 10, 31, 36, 35, 32, 11},
          {0, 1, 2, 3, S, 12, 4, 5, 9, S, 6, 7, 10, S, 31, 36, 35, 33, 32, 11},
          {0, 1, 2, 3, 200, 43, S, 12, 4, 5, 9, S, 6, 7, 10, S, 129, 31, S, 36, 35, S, 33, 32, 11}}},
        {{{37, 41, 122, 8, 118, 119, 120},
          {37, 41, 122, 8, 118, 119, 120, S, 116, 117, 213, 215},
          {37, 41, 122, 8, 118, 119, 120, S, 116, 117, 213, 215, S, 216, 217, 218, 219, 220},
          {37, 41, 122, 8, 118, 119, 120, S, 116, 117, 213, 215, S, 216, 217, 218, 219, 220, S, 221, 222, 163,
           164, 165, 166}}},
        {{{52, 53, 54, 21},
          {52, 53, 54, S, 15, S, 21, 22},
          {52, 53, 54, 55, S, 15, S, 21, 22, 23},
          {52, 53, 54, 55, 56, 57, S, 15, S, 21, 22, 23, 24}}},
        {{{173, 172}, {173, 172}, {173, 172, S, 34, 35}, {173, 172, S, 34, 35, 36}}},
        {{{135, 136, 137, 138, 139},
          {143, 135, 136, 137, 138, 139, 140, 141, 142},
          {143, 135, 136, 137, 138, 139, 140, 141, 142, S, 162},
          {143, 135, 136, 137, 138, 139, 140, 141, 142, S, 162}}},
        {{{116, 144, 145, 146, 147},
          {116, 144, 145, 146, 147, 148, 149, 150, 151},
          {116, 144, 145, 146, 147, 148, 149, 150, 151, S, 117},
          {116, 144, 145, 146, 147, 148, 149, 150, 151, S, 117}}},
        {{{0, 12, 4, 9, 16, 11},
          {0, 1, 12, 4, 5, 9, 16, 17, 10, 11},
          {0, 1, 2, 12, 4, 5, 9, S, 16, 17, 10, S, 36, 35, 11},
          {0, 1, 2, 12, 4, 5, 9, S, 16, 17, 10, S, 129, 130, S, 36, 35, 31, 32, 11}}},
        {{{21, 22, 23},
          {21, 22, 23, 24, 52, 53},
          {21, 22, 23, 24, 25, 26, S, 52, 53, 54},
          {21, 22, 23, 24, 25, 26, 27, 28, 29, S, 52, 53, 54, 55}}},
    }};
    return lists;
}

// With the alternative byte the main bars trade places; the rest keep their lists.
int AlternativeDefinition(int n) { return n == 0 ? 6 : n == 6 ? 0 : n; }

bool IsHorizontalSide(uint8_t side) { return side == kSideTop || side == kSideBottom || side >= kSideFloating; }

int SideRank(uint8_t side)
{
    switch (side) {
    case kSideTop: return 0;
    case kSideBottom: return 1;
    case kSideLeft: return 2;
    case kSideRight: return 3;
    default: return 4;
    }
}

int SizeRank(uint8_t side, uint8_t size)
{
    static constexpr int kAcross[3] = {1, 0, 2};     // left and right: small, large, wide
    static constexpr int kAlong[3] = {2, 1, 0};      // top, bottom, floating: wide, small, large
    size = size > kButtonsWide ? uint8_t(kButtonsLarge) : size;
    return side == kSideLeft || side == kSideRight ? kAcross[size] : kAlong[size];
}

uint16_t DefaultPortfolio(uint16_t code)
{
    switch (code) {
    case 21: return 0xFF02;
    case 22: return 0xFF01;
    case 23: return 0xFF04;
    default: return 0;
    }
}

std::vector<uint16_t> Slice(const std::vector<uint16_t>& codes, int first, int count)
{
    return {codes.begin() + first, codes.begin() + first + count};
}

} // namespace

ButtonPixels ButtonPixelSize(uint8_t size)
{
    switch (size) {
    case kButtonsSmall: return {25, 20};
    case kButtonsWide: return {94, 18};
    default: return {45, 36};
    }
}

uint32_t CUserToolbar::Recount()
{
    uint32_t n = 0;
    while (n < uint32_t(kMaxToolbarButtons) && entries[n].code != kEndOfButtons)
        ++n;
    entries[n].code = kEndOfButtons;
    count = n;
    return n;
}

std::vector<uint16_t> CUserToolbar::Codes() const
{
    std::vector<uint16_t> codes;
    for (int i = 0; i < kMaxToolbarButtons && entries[size_t(i)].code != kEndOfButtons; ++i)
        codes.push_back(entries[size_t(i)].code);
    return codes;
}

void CUserToolbar::SetEntries(const std::vector<ToolbarEntry>& list)
{
    entries.fill(ToolbarEntry{});
    size_t n = std::min(list.size(), size_t(kMaxToolbarButtons));
    std::copy_n(list.begin(), n, entries.begin());
    Recount();
}

bool CUserToolbar::ShownIn(int32_t viewKind) const
{
    if (viewMask & kAllViews)
        return true;
    return viewKind >= 0 && viewKind < 31 && (viewMask >> viewKind & 1);
}

void CUserToolbar::CopyFrom(const CUserToolbar& other)
{
    count = other.count;
    name = other.name;
    dock = other.dock;
    size = other.size;
    reserved = other.reserved;
    viewMask = other.viewMask;
    entries = other.entries;
    images = other.images;
    index = other.index;
}

void CUserToolbar::UpdateImages(bool newMail)
{
    for (size_t i = 0; i < entries.size(); ++i)
        images[i] = entries[i].code < kButtonCodeCount ? uint32_t(ButtonImageIndex(entries[i].code, newMail)) : 0;
}

int WidthClass(int width)
{
    return width >= 1600 ? 4 : width >= 1280 ? 3 : width >= 1024 ? 2 : width >= 800 ? 1 : 0;
}

int HeightClass(int height)
{
    return height >= 1200 ? 4 : height >= 1024 ? 3 : height >= 768 ? 2 : height >= 600 ? 1 : 0;
}

ButtonPixels CalcFixedLayout(const BarGeometry& g, const std::vector<uint16_t>& codes)
{
    int length = 2 * BarGeometry::kMargin;
    for (uint16_t code : codes)
        length += code == kSpacerCode ? g.SpacerLength() : g.PitchAlong();
    return {length, g.PitchAcross() + 12};
}

int FitCount(const BarGeometry& g, const std::vector<uint16_t>& codes, int length)
{
    int pos = BarGeometry::kMargin;
    for (size_t i = 0; i < codes.size(); ++i) {
        pos += codes[i] == kSpacerCode ? g.SpacerLength() : g.PitchAlong();
        if (pos + BarGeometry::kMargin > length)
            return int(i);
    }
    return -1;
}

ButtonPixels CalcDynamicLayout(const BarGeometry& g, const std::vector<uint16_t>& codes, int length)
{
    int rowPitch = g.PitchAcross() + (g.floating ? 0 : 12);
    int widest = 0;
    int rows = 1;
    int pos = BarGeometry::kMargin;
    for (uint16_t code : codes) {
        int step = code == kSpacerCode ? g.SpacerLength() : g.PitchAlong();
        if (pos + step + BarGeometry::kMargin > length && pos > BarGeometry::kMargin) {
            widest = std::max(widest, pos + BarGeometry::kMargin);
            pos = BarGeometry::kMargin;
            ++rows;
        }
        pos += step;
    }
    widest = std::max(widest, pos + BarGeometry::kMargin);
    return {widest, rows * rowPitch};
}

BarGeometry GeometryOf(const CUserToolbar& toolbar)
{
    return BarGeometry{ButtonPixelSize(toolbar.size), IsHorizontalSide(toolbar.dock), toolbar.dock >= kSideFloating};
}

const char* DefaultToolbarName(int n) { return n >= 0 && n < kDefaultToolbarCount ? kDefaults[n].name : ""; }

ToolbarSet& ProgramToolbars()
{
    static ToolbarSet set;
    return set;
}

void ToolbarSet::ClearToolbars()
{
    toolbars.clear();
    current = 0;
}

void ToolbarSet::AllocateToolbars(size_t n)
{
    toolbars.clear();
    for (size_t i = 0; i < n; ++i) {
        toolbars.push_back(std::make_unique<CUserToolbar>());
        toolbars.back()->index = uint32_t(i);
        toolbars.back()->Recount();
    }
}

int ToolbarSet::AddToolbar(int32_t viewArg)
{
    auto toolbar = std::make_unique<CUserToolbar>();
    char name[32];
    std::snprintf(name, sizeof name, "Toolbar %d", int(toolbars.size() + 1));
    toolbar->name = name;
    toolbar->viewMask = viewArg == -1 ? kAllViews : viewArg > 0 && viewArg < 31 ? 1u << viewArg : 0;
    toolbar->index = uint32_t(toolbars.size());
    toolbar->Recount();
    toolbars.push_back(std::move(toolbar));
    current = uint16_t(toolbars.size() - 1);
    return current;
}

bool ToolbarSet::DeleteCurrentToolbar()
{
    if (toolbars.size() < 2) {
        ShowMessage("You can not delete all the toolbars", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    if (current < toolbars.size())
        toolbars.erase(toolbars.begin() + current);
    for (size_t i = 0; i < toolbars.size(); ++i)
        toolbars[i]->index = uint32_t(i);
    current = 0;
    return true;
}

void ToolbarSet::DeleteEmptyToolbars()
{
    std::erase_if(toolbars, [](const std::unique_ptr<CUserToolbar>& t) { return t->Recount() == 0; });
    if (current >= toolbars.size())
        current = 0;
}

void ToolbarSet::CopyToolbarsFrom(const ToolbarSet& other)
{
    ClearToolbars();
    for (const auto& source : other.toolbars) {
        AddToolbar(0);
        toolbars.back()->CopyFrom(*source);
    }
    portfolioTargets = other.portfolioTargets;
    current = other.current < toolbars.size() ? other.current : 0;
    alternative = other.alternative;
    oldSmallButtons = other.oldSmallButtons;
    screen = other.screen;
    background = other.background;
}

void ToolbarSet::SortToolbars()
{
    std::stable_sort(toolbars.begin(), toolbars.end(), [](const auto& a, const auto& b) {
        int sa = SideRank(a->dock), sb = SideRank(b->dock);
        if (sa != sb)
            return sa < sb;
        return SizeRank(a->dock, a->size) < SizeRank(b->dock, b->size);
    });
    for (size_t i = 0; i < toolbars.size(); ++i)
        toolbars[i]->index = uint32_t(i);
}

bool ToolbarSet::ShownIn(const CUserToolbar& toolbar, int32_t viewKind) const
{
    return alternative ? toolbar.viewMask != 0 : toolbar.ShownIn(viewKind);
}

bool ToolbarSet::ToolbarsNeedLayout(int32_t viewKind) const
{
    for (const auto& t : toolbars)
        if (t->barShown != (shown && ShownIn(*t, viewKind) && t->count > 0))
            return true;
    return false;
}

void ToolbarSet::DropUnavailableButtons(uint32_t mask)
{
    for (auto& t : toolbars) {
        if (t->name == "PrevMainBar" && t->viewMask == 0)
            continue;
        std::vector<ToolbarEntry> kept;
        for (uint16_t i = 0; i < kMaxToolbarButtons && t->entries[i].code != kEndOfButtons; ++i)
            if (t->entries[i].code == kSpacerCode || ButtonAvailable(t->entries[i].code, mask))
                kept.push_back(t->entries[i]);
        t->SetEntries(kept);
    }
}

void ToolbarSet::UpdatePortfolioButtons()
{
    for (auto& t : toolbars)
        for (ToolbarEntry& e : t->entries)
            if (IsPortfolioCode(e.code))
                e.portfolio = uint16_t(portfolioTargets[e.code - kFirstPortfolioCode]);
}

void ToolbarSet::ReplacePortfolioTarget(uint32_t removed, uint32_t replacement)
{
    for (uint32_t& target : portfolioTargets)
        if (target == removed)
            target = replacement;
    UpdatePortfolioButtons();
}

std::vector<uint16_t> ToolbarSet::DefaultList(int n) const
{
    if (n < 0 || n >= kDefaultToolbarCount)
        return {};
    const DefaultToolbar& d = kDefaults[n];
    bool horizontal = IsHorizontalSide(d.side);
    int cls = horizontal ? WidthClass(screen.width) : HeightClass(screen.height);
    if (alternative) {
        cls = cls > 0 ? cls - 1 : 0;
        n = AlternativeDefinition(n);
    }
    cls = std::min(cls, 3);
    return DefaultLists()[size_t(n)][size_t(cls)];
}

void ToolbarSet::FillFromDefault(CUserToolbar& toolbar, int n)
{
    if (n < 0 || n >= kDefaultToolbarCount)
        return;
    const DefaultToolbar& d = kDefaults[n];
    toolbar.name = std::string(d.name) + " bar";
    toolbar.dock = d.side;
    toolbar.size = d.size;
    toolbar.viewMask = d.mask;
    std::vector<ToolbarEntry> list;
    for (uint16_t code : DefaultList(n)) {
        ToolbarEntry e;
        e.code = code;
        e.portfolio = DefaultPortfolio(code);
        if (e.portfolio)
            portfolioTargets[code - kFirstPortfolioCode] = e.portfolio;
        list.push_back(e);
    }
    toolbar.SetEntries(list);
}

void ToolbarSet::SetDefaultToolbars(int mode)
{
    if (mode >= 0) {
        if (CUserToolbar* t = Current())
            FillFromDefault(*t, mode);
        return;
    }
    bool narrow = WidthClass(screen.width) == 0;
    if (mode == -1) {
        AllocateToolbars(4);
        FillFromDefault(*toolbars[0], 0);
        if (narrow)
            toolbars[0]->size = kButtonsSmall;
    } else {
        std::unique_ptr<CUserToolbar> mine = toolbars.empty() ? std::make_unique<CUserToolbar>() : std::move(toolbars[0]);
        AllocateToolbars(4);
        toolbars[0] = std::move(mine);
        CUserToolbar& t = *toolbars[0];
        t.name = "My Toolbar";
        t.dock = kSideTop;
        t.viewMask = kAllViews;
        t.size = oldSmallButtons == 1 ? kButtonsSmall : kButtonsLarge;
        t.index = 0;
        t.Recount();
    }
    for (int n = 1; n < 4; ++n)
        FillFromDefault(*toolbars[size_t(n)], n);
    if (mode == -1 && narrow)
        toolbars.erase(toolbars.begin() + 3);
    current = 0;
}

void ToolbarSet::SwapMainBar()
{
    auto find = [&](const char* name) -> CUserToolbar* {
        for (auto& t : toolbars)
            if (t->name == name)
                return t.get();
        return nullptr;
    };
    CUserToolbar* main = find("Main bar");
    if (!main)
        return;
    if (CUserToolbar* previous = find("PrevMainBar")) {
        previous->name = "Main bar";
        previous->viewMask = kAllViews;
    } else {
        AddToolbar(0);
        FillFromDefault(*toolbars.back(), 0);
    }
    main->name = "PrevMainBar";
    main->viewMask = 0;
}

std::optional<ToolbarLayoutPlan> ToolbarSet::LayoutToolbars(int side, int32_t viewKind, int clientWidth,
                                                            int clientHeight)
{
    if (busy || toolbars.empty() || !shown)
        return std::nullopt;
    busy = true;
    SortToolbars();
    ToolbarLayoutPlan plan;
    for (int s = 0; s < 5; ++s)
        plan.sides[size_t(s)] = side == kAllSides || side == s;
    if (side == kAllSides)
        sideExtent.fill(0);
    else if (side < 4)
        sideExtent[size_t(side)] = 0;
    for (size_t i = 0; i < toolbars.size(); ++i) {
        const CUserToolbar& t = *toolbars[i];
        if (t.dock <= kSideFloating && plan.sides[t.dock] && (!ShownIn(t, viewKind) || t.viewMask == 0 || t.count == 0))
            plan.hidden.push_back(i);
    }
    for (int s : {int(kSideTop), int(kSideBottom), int(kSideLeft), int(kSideRight), int(kSideFloating)}) {
        if (!plan.sides[size_t(s)])
            continue;
        bool across = s == kSideTop || s == kSideBottom;
        int along = across ? clientWidth : clientHeight - sideExtent[kSideTop] - sideExtent[kSideBottom];
        PlaceSide(s, viewKind, along, plan);
    }
    for (int s = 0; s < 4; ++s)
        plan.extent[size_t(s)] = sideExtent[size_t(s)];
    busy = false;
    return plan;
}

void ToolbarSet::PlaceSide(int side, int32_t viewKind, int along, ToolbarLayoutPlan& plan)
{
    int row = -1;
    int rowPos = 0;
    bool rowHasBar = false;
    int extent = 0;
    auto newRow = [&](int thickness) {
        ++row;
        rowPos = 0;
        rowHasBar = false;
        extent += thickness;
    };
    for (size_t i = 0; i < toolbars.size(); ++i) {
        const CUserToolbar& t = *toolbars[i];
        if (t.dock != side || !ShownIn(t, viewKind) || t.viewMask == 0 || t.count == 0)
            continue;
        BarGeometry g = GeometryOf(t);
        std::vector<uint16_t> codes = t.Codes();
        if (side == kSideFloating) {
            ButtonPixels fixed = CalcFixedLayout(g, codes);
            plan.bars[size_t(side)].push_back({i, 0, int(codes.size()), 0, 0, fixed.w, fixed.h});
            continue;
        }
        int first = 0;
        bool firstBar = true;
        while (first < int(codes.size())) {
            std::vector<uint16_t> rest = Slice(codes, first, int(codes.size()) - first);
            int thickness = CalcFixedLayout(g, rest).h;
            if (row < 0)
                newRow(thickness);
            int fit = FitCount(g, rest, along - rowPos);
            if (fit == 0 && firstBar && rowHasBar) {
                newRow(thickness);
                fit = FitCount(g, rest, along);
            }
            int take = fit < 0 ? int(rest.size()) : std::max(fit, 1);
            int length = CalcFixedLayout(g, Slice(rest, 0, take)).w;
            plan.bars[size_t(side)].push_back({i, first, take, row, rowPos, length, thickness});
            rowHasBar = true;
            first += take;
            if (first < int(codes.size()))
                newRow(thickness);
            else
                rowPos += length - 1;
            firstBar = false;
        }
    }
    if (side < 4)
        sideExtent[size_t(side)] = uint16_t(extent);
}

} // namespace qv
