// The swing chart's elements and shading.
#include "chartmodel/SwingOverlay.h"

#include "chartmodel/EodChart.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/SeriesLayout.h"
#include "platform/ByteOrder.h"

#include <algorithm>

namespace qv {
namespace gs = graphsetting;
namespace {

constexpr uint32_t kShow = 1, kSwingLine = 2, kManhattan = 4;
constexpr uint32_t kShadeUp = 1u << 16, kShadeDown = 1u << 17;
constexpr uint32_t kLineStepped = 24; // the Manhattan line steps across, then up or down

struct Mark {
    int bit;         // of the flag word
    uint16_t kinds;  // events drawn
    uint32_t style;  // 9 dots, 11 shaped marks
    uint32_t shape;
    int word;        // of the swing block: the mark's style
};
// Up swing, down swing, up trend, down trend as dots; the orders as shaped marks.
constexpr Mark kMarks[] = {
    {18, kSwingUp, 9, 0, 7},
    {19, kSwingDown, 9, 0, 8},
    {20, kTrendUp, 9, 0, 9},
    {21, kTrendDown, 9, 0, 10},
    {24, kSignalHigh, 11, 2, 11},
    {25, kSignalNextLow, 11, 4, 12},
    {26, kSignalLow, 11, 3, 13},
    {27, kSignalNextHigh, 11, 4, 14},
    {28, kOrderUp, 11, 2, 15},
    {28, kOrderDown, 11, 3, 15},
    {29, kStopBelowPassed | kStopAbovePassed, 11, 6, 16},
};

// The events as three-field items (flags, x, price), the element drawing those of its kinds. A line
// takes only its own events, so that it runs from one to the next without gaps.
void FillEvents(PlotElement* e, const std::vector<SwingEvent>& events, uint16_t kinds, bool onlyKinds)
{
    std::vector<SwingEvent> own;
    for (const SwingEvent& event : events)
        if (!onlyKinds || (event.flags & kinds))
            own.push_back(event);
    auto* out = static_cast<uint8_t*>(InitDataArray(e->values, kArrayTriples, int32_t(own.size()), 0, 0));
    e->values.flags = kSelectKindMask;
    e->values.kindMask = kinds;
    for (size_t i = 0; i < own.size(); ++i) {
        StoreU16(out + 12 * i, own[i].flags);
        StoreU32(out + 12 * i + 4, uint32_t(own[i].day));
        StoreF32(out + 12 * i + 8, own[i].price);
    }
}

} // namespace

int32_t BarOfDay(const std::vector<FoldedBar>& bars, int32_t day)
{
    if (bars.empty() || day < bars.front().first || day > bars.back().last)
        return -1;
    auto it = std::lower_bound(bars.begin(), bars.end(), day, [](const FoldedBar& b, int32_t d) { return b.last < d; });
    return int32_t(it - bars.begin());
}

void AddSwingOverlay(GraphSeries* series, const GraphSetting& s, const SwingChart& chart,
                     const std::vector<FoldedBar>& bars, const std::function<int32_t(int32_t bar)>& barX)
{
    const uint32_t flags = gs::SwingWord(s, 0);
    if (!series || !(flags & kShow) || chart.events.empty())
        return;
    // The events again with their bar's x in place of the day; those outside the bars are left out.
    std::vector<SwingEvent> shown;
    for (const SwingEvent& e : chart.events) {
        const int32_t bar = BarOfDay(bars, e.day);
        if (bar >= 0)
            shown.push_back({e.flags, barX(bar), e.price});
    }
    if (shown.empty())
        return;
    auto add = [&](uint32_t style, uint32_t elementFlags, uint32_t word, uint16_t kinds) {
        PlotElement* e = AddPlotElement(series, style, elementFlags, word, 0, 1, 0, 0, 0, 0);
        FillEvents(e, shown, kinds, style == 1);
        return e;
    };
    if (flags & kSwingLine)
        add(1, 0, gs::SwingWord(s, 2), kSwingTop | kSwingBottom);
    if (flags & kManhattan)
        add(1, kLineStepped, gs::SwingWord(s, 4), kSwingTop | kSwingBottom);
    for (const Mark& m : kMarks)
        if (flags & (1u << m.bit))
            add(m.style, 0, gs::SwingWord(s, m.word), m.kinds)->shape = m.shape;
}

std::vector<SwingShade> SwingShading(const GraphSetting& s, const SwingChart& chart, const std::vector<FoldedBar>& bars)
{
    const uint32_t flags = gs::SwingWord(s, 0);
    std::vector<SwingShade> shades;
    if (!(flags & kShow) || !(flags & (kShadeUp | kShadeDown)) || bars.empty())
        return shades;
    const int32_t lastBar = int32_t(bars.size()) - 1;
    int direction = 0;
    int32_t from = 0;
    auto close = [&](int32_t to) {
        const uint32_t bit = direction > 0 ? kShadeUp : kShadeDown;
        if (direction == 0 || !(flags & bit) || to < 0)
            return;
        shades.push_back({std::max(from, 0), to, gs::SwingWord(s, direction > 0 ? 5 : 6) & 0xFFFFFF});
    };
    for (const SwingEvent& e : chart.events) {
        const int next = (e.flags & kTrendUp) ? 1 : (e.flags & kTrendDown) ? -1 : 0;
        if (next == 0 || next == direction || e.day > bars.back().last)
            continue;
        const int32_t bar = e.day < bars.front().first ? 0 : BarOfDay(bars, e.day);
        close(bar - 1);
        direction = next;
        from = bar;
    }
    close(lastBar);
    return shades;
}

} // namespace qv
