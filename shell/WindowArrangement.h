// Window arrangement by rectangle arithmetic: the free rectangles of the window area, where a new
// window goes (free space, beside the window it came from, or half of it), and the four arrange
// commands (fill the space, cascade, tile in rows, tile in columns). Rectangles are in the area's
// coordinates with exclusive right and bottom edges; the window layer only moves its windows to the
// rectangles these functions leave in the chain.
#pragma once

#include "core/RectList.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace qv {

struct ScreenRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    int64_t area() const { return int64_t(width()) * height(); }
    bool contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const ScreenRect&) const = default;
};

// One live child window of the frame's chain (head first).
struct ArrangedWindow {
    ScreenRect rect;
    int32_t kind = 0;
    bool fixedHeight = false; // a ticker whose window keeps a fixed height
    uintptr_t tag = 0;        // the window layer's own handle, carried along by sorting
};
using WindowChain = std::vector<ArrangedWindow>;

// TakeFreeRect modes.
enum FreeRectMode : int32_t { kFirstRect = 0, kLargestRect = 1, kTallestRect = 2, kWidestRect = 3, kRectAtPoint = 4 };
enum EdgeDirection : int32_t { kEdgeUp = 0, kEdgeDown = 1, kEdgeLeft = 2, kEdgeRight = 3 };

constexpr int32_t kMinFreeRectSide = 50;
constexpr int32_t kMinNewWindowSide = 60;
constexpr int32_t kSnapDistance = 11;
constexpr int32_t kCascadeStep = 30;
constexpr int32_t kCascadeColumnStep = 40;

// The free rectangles of the area around the windows, split at the lines of neighbouring windows.
// The caller frees the list (FreeRectList).
RectNode* ComputeFreeRects(const WindowChain& chain, const ScreenRect& area);
// Removes one rectangle of the list (by the mode) and copies it out; its index, or -1 with none.
int32_t TakeFreeRect(RectNode** list, ScreenRect* out, int32_t mode, int32_t x = 0, int32_t y = 0);

// Moves the rectangle inside the area when it sticks out (and cuts what is larger than the area).
void ClampWindowToRect(ScreenRect& rect, const ScreenRect& area);
// Joins the free rectangles that continue the rectangle across an edge of the same extent.
void ExtendRectByFreeRects(ScreenRect& rect, RectNode* list);
// Moves one edge outwards over the free rectangles beyond it: 0 when it moved, -1 when some part of
// the edge has no free space beyond it (nothing moves then).
int32_t GrowRectEdge(ScreenRect& rect, int32_t direction, RectNode** freeList);
// Grows edge by edge (up, down, left, right, or left, right, up, down) until none moves.
bool GrowRect(ScreenRect& rect, RectNode** freeList, bool verticalFirst);

// Fixed-height tickers first, then by top and left (or by left and top).
void SortChildWindows(WindowChain& chain, bool byLeft);
void GrowAllWindows(WindowChain& chain, const ScreenRect& area);
void SnapWindowEdges(WindowChain& chain);
void RemoveWindowOverlaps(WindowChain& chain);
void CascadeWindows(WindowChain& chain, const ScreenRect& area);
void TileWindowsInRows(WindowChain& chain, const ScreenRect& area);
void TileWindowsInColumns(WindowChain& chain, const ScreenRect& area);

// The four arrange commands over the chain: 26974 fill, 26975 cascade, 26977 rows, 26976 columns.
constexpr uint32_t kCommandArrangeFill = 26974;
constexpr uint32_t kCommandArrangeCascade = 26975;
constexpr uint32_t kCommandArrangeColumns = 26976;
constexpr uint32_t kCommandArrangeRows = 26977;
bool IsArrangeCommand(uint32_t command);
void ArrangeWindows(uint32_t command, WindowChain& chain, const ScreenRect& area);

// Halves a window for a new one: the source window (index), else the one of the largest area;
// charts (kinds 0 and 9) in height, other kinds in width. The window keeps the first half; the
// second half is answered. Nothing without windows.
std::optional<ScreenRect> SplitWindowRect(WindowChain& chain, int32_t sourceIndex);
// The rectangle for a new window, or nothing for the default placement. Opened near a source window
// (index) it goes into the free space beyond it, or, with maySplit, takes half of it.
std::optional<ScreenRect> FindNewWindowRect(WindowChain& chain, const ScreenRect& area, int32_t sourceIndex,
                                            bool nearSource, bool maySplit);
// The default placement: the n-th new window steps down and right from the area's corner, with three
// quarters of its size.
ScreenRect DefaultWindowRect(const ScreenRect& area, int32_t windowCount);

} // namespace qv
