// The chart's pane layout as arithmetic: how the plot height is shared out between the caption
// strip, the strip pane, the add-on windows, the volume pane and the price pane by their per-mille
// heights, and the per-mille heights a pane resize drag gives. The chart view applies the result to
// its panes.
#pragma once

#include <array>
#include <cstdint>

namespace qv {

constexpr int kLayoutAddOnWindows = 4;
// Add-on windows together take at most this many per mille while the price or volume pane is shown.
constexpr int32_t kAddOnBudget = 750;
constexpr int32_t kAddOnBudgetAlone = 1000;
// A zoomed add-on window holds its height plus this.
constexpr int32_t kZoomAddition = 750;
constexpr int32_t kMinPaneMille = 50;
constexpr int32_t kMaxPaneMille = 750;
constexpr int32_t kMinVolumeMille = 100;

struct PaneLayoutInput {
    int32_t left = 0, top = 0, right = 0, bottom = 0; // the plot rectangle
    int32_t textHeight = 1;
    int32_t labelHeight = 1;
    int32_t margin = 0;
    bool priceShown = true;
    bool volumeShown = true;
    bool addOnsShown = true;   // add-on windows shown, the source a share and no box chart
    bool stripShown = false;
    bool stripAtBottom = false;
    bool topStrip = false;
    bool bottomStrip = false;
    int32_t volumeMille = 200;
    // Per-mille height of each add-on window; 0 for a window not in use. A weight below 1 of a window
    // in use counts as 1 (the stored bytes are not touched).
    std::array<int32_t, kLayoutAddOnWindows> windowMille{};
    std::array<bool, kLayoutAddOnWindows> windowInUse{};
    int32_t zoomPercent = 70;
};

struct PaneRect {
    bool shown = false;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t height() const { return bottom - top; }
};

// Pane numbers: 0 caption strip, 1 price, 2 volume, 3 strip, 4-7 add-on windows 0-3.
constexpr int kLayoutPanes = 8;
constexpr uint32_t kPaneCaption = 0;
constexpr uint32_t kPanePrice = 1;
constexpr uint32_t kPaneVolume = 2;
constexpr uint32_t kPaneStrip = 3;
constexpr uint32_t kPaneFirstAddOn = 4;

struct PaneLayoutResult {
    std::array<PaneRect, kLayoutPanes> panes{};
    int32_t shareHeight = 0;   // the height shared out by per mille
};

PaneLayoutResult ComputePaneLayout(const PaneLayoutInput& in);

// The sum of the per-mille heights of the windows in use, each counted as at least 1.
int32_t SumAddOnHeights(const PaneLayoutInput& in);

// The volume pane's per mille after dragging its top edge to y: (bottom - y) x 1000 / (bottom -
// price top), within 50..750; a zero divisor counts as 1.
int32_t ResizeVolumeMille(int32_t paneBottom, int32_t priceTop, int32_t y);

// Un-zooms before an add-on window's top edge is dragged: when the heights add up to more than
// 750, the last zoomed window (above 750) loses the excess. Returns the window changed, or -1.
int UnzoomForResize(std::array<int32_t, kLayoutAddOnWindows>& mille,
                    const std::array<bool, kLayoutAddOnWindows>& inUse);
// The window's per mille after dragging its top edge to y: (bottom - y) x 1000 / shareHeight, within
// 50..750 and at most its present height plus what the 750 budget leaves.
int32_t ResizeAddOnMille(int32_t paneBottom, int32_t shareHeight, int32_t y, int32_t present,
                         int32_t totalOfWindows);

} // namespace qv
