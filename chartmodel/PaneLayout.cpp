// The pane layout arithmetic of the chart view.
#include "chartmodel/PaneLayout.h"

#include <algorithm>

namespace qv {
namespace {

int32_t WindowWeight(const PaneLayoutInput& in, int w)
{
    return in.windowInUse[size_t(w)] ? std::max(in.windowMille[size_t(w)], 1) : 0;
}

PaneRect Span(const PaneLayoutInput& in, int32_t top, int32_t bottom)
{
    return {true, in.left, top, in.right, bottom};
}

} // namespace

int32_t SumAddOnHeights(const PaneLayoutInput& in)
{
    int32_t total = 0;
    for (int w = 0; w < kLayoutAddOnWindows; ++w)
        total += WindowWeight(in, w);
    return total;
}

PaneLayoutResult ComputePaneLayout(const PaneLayoutInput& in)
{
    PaneLayoutResult out;
    int32_t labelRow = in.labelHeight + in.textHeight - 3;
    int32_t top = in.top;
    int32_t bottom = in.bottom;
    if (in.topStrip) {
        out.panes[kPaneCaption] = Span(in, top, top + labelRow);
        top += labelRow;
    }
    if (in.bottomStrip)
        bottom -= labelRow;
    int32_t share = std::max(bottom - top, 0);
    out.shareHeight = share;

    int32_t y = bottom;
    if (in.stripShown && in.stripAtBottom) {
        out.panes[kPaneStrip] = Span(in, y - in.textHeight, y);
        y -= in.textHeight;
    }
    if (in.addOnsShown) {
        bool mainShown = in.priceShown || in.volumeShown;
        int32_t budget = mainShown ? kAddOnBudget : kAddOnBudgetAlone;
        int32_t total = SumAddOnHeights(in);
        int32_t divisor = mainShown ? 1000 : std::min(total, budget);
        for (int w = kLayoutAddOnWindows - 1; w >= 0 && divisor > 0; --w) {
            int32_t h = WindowWeight(in, w);
            if (h == 0)
                continue;
            if (h > budget)
                h = std::min(h - std::max(total - budget, 0), in.zoomPercent * 10);
            int32_t px = int32_t(int64_t(share) * h / divisor);
            out.panes[kPaneFirstAddOn + size_t(w)] = Span(in, std::max(y - px, top), y);
            y -= px + in.margin + 1;
        }
    }
    if (in.stripShown && !in.stripAtBottom) {
        out.panes[kPaneStrip] = Span(in, y - in.textHeight, y);
        y -= in.textHeight;
    }
    if (in.volumeShown) {
        int32_t px = in.priceShown ? int32_t(int64_t(share) * std::max(in.volumeMille, kMinVolumeMille) / 1000)
                                   : y - top;
        out.panes[kPaneVolume] = Span(in, y - px, y);
        y -= px;
    }
    if (in.priceShown)
        out.panes[kPanePrice] = Span(in, top, std::max(y, top));
    return out;
}

int32_t ResizeVolumeMille(int32_t paneBottom, int32_t priceTop, int32_t y)
{
    int32_t divisor = paneBottom - priceTop;
    if (divisor == 0)
        divisor = 1;
    int32_t mille = int32_t(int64_t(paneBottom - y) * 1000 / divisor);
    return std::clamp(mille, kMinPaneMille, kMaxPaneMille);
}

int UnzoomForResize(std::array<int32_t, kLayoutAddOnWindows>& mille,
                    const std::array<bool, kLayoutAddOnWindows>& inUse)
{
    int32_t total = 0;
    int last = -1;
    for (int w = 0; w < kLayoutAddOnWindows; ++w) {
        if (!inUse[size_t(w)])
            continue;
        total += mille[size_t(w)];
        if (mille[size_t(w)] > kAddOnBudget)
            last = w;
    }
    if (total <= kAddOnBudget || last < 0)
        return -1;
    mille[size_t(last)] -= total - kAddOnBudget;
    return last;
}

int32_t ResizeAddOnMille(int32_t paneBottom, int32_t shareHeight, int32_t y, int32_t present,
                         int32_t totalOfWindows)
{
    int32_t mille = int32_t(int64_t(paneBottom - y) * 1000 / std::max(shareHeight, 1));
    mille = std::clamp(mille, kMinPaneMille, kMaxPaneMille);
    return std::min(mille, present + std::max(kAddOnBudget - totalOfWindows, 0));
}

} // namespace qv
