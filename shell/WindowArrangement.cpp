// Window arrangement.
#include "shell/WindowArrangement.h"

#include "views/ViewKinds.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

bool IsChart(int32_t kind) { return kind == kViewDailyChart || kind == kViewIntradayChart; }

bool Overlap(const ScreenRect& a, const ScreenRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

ScreenRect RectOf(const RectNode& n) { return {n.left, n.top, n.right, n.bottom}; }

void Push(RectNode** list, const ScreenRect& r) { AddRect(list, r.left, r.right, r.top, r.bottom); }

void CutFromAll(RectNode** list, const ScreenRect& r)
{
    for (RectNode* node = *list; node;)
        node = SubtractRectFromRegionList(list, node, r.left, r.top, r.right, r.bottom);
}

// Splits the free rectangle at a line strictly inside it: the part before the line becomes a new
// rectangle and the node keeps the rest.
void SplitAtRow(RectNode** list, RectNode* node, int32_t y)
{
    if (y <= node->top || y >= node->bottom)
        return;
    AddRect(list, node->left, node->right, node->top, y);
    node->top = y;
}

void SplitAtColumn(RectNode** list, RectNode* node, int32_t x)
{
    if (x <= node->left || x >= node->right)
        return;
    AddRect(list, node->left, x, node->top, node->bottom);
    node->left = x;
}

// The probe point just beyond the edge, one pixel in from its start; negative coordinates become 0.
void EdgeProbe(const ScreenRect& r, int32_t direction, int32_t* x, int32_t* y)
{
    switch (direction) {
    case kEdgeUp: *x = r.left + 1; *y = r.top - 1; break;
    case kEdgeDown: *x = r.left + 1; *y = r.bottom + 1; break;
    case kEdgeLeft: *x = r.left - 1; *y = r.top + 1; break;
    default: *x = r.right + 1; *y = r.top + 1; break;
    }
    *x = std::max(*x, 0);
    *y = std::max(*y, 0);
}

int32_t Depth(const ScreenRect& r, const ScreenRect& f, int32_t direction)
{
    switch (direction) {
    case kEdgeUp: return r.top - f.top;
    case kEdgeDown: return f.bottom - r.bottom;
    case kEdgeLeft: return r.left - f.left;
    default: return f.right - r.right;
    }
}

void MoveEdge(ScreenRect& r, int32_t direction, int32_t depth)
{
    switch (direction) {
    case kEdgeUp: r.top -= depth; break;
    case kEdgeDown: r.bottom += depth; break;
    case kEdgeLeft: r.left -= depth; break;
    default: r.right += depth; break;
    }
}

// A fixed-height ticker keeps its height, against the area's bottom unless it is at the top.
void KeepTickerHeight(const ArrangedWindow& w, ScreenRect& r)
{
    if (!w.fixedHeight)
        return;
    int32_t height = w.rect.height();
    if (r.top != 0)
        r.top = r.bottom - height;
    else
        r.bottom = height;
}

// Tiles in lines (rows, or columns with the axes exchanged); the lines take one more window each
// once the windows left fill the remaining lines, and a last window or line that would leave less
// than half a tile is stretched to the area's edge less 2 pixels.
void TileLines(WindowChain& chain, const ScreenRect& area, bool rows)
{
    int32_t n = int32_t(chain.size());
    if (n == 0)
        return;
    int32_t along = rows ? area.width() : area.height();
    int32_t across = rows ? area.height() : area.width();
    int32_t lines = int32_t(std::floor(std::sqrt(n - 0.999999) + 0.001)) + 1;
    int32_t depth = across / lines;
    int32_t perLine = n / lines;
    int32_t size = along / perLine;
    int32_t pos = 0, line = 0, lineEnd = depth, inLine = 0, left = n, linesLeft = lines;
    for (ArrangedWindow& w : chain) {
        int32_t end = pos + size;
        if (end + size / 2 > along)
            end = along - 2;
        ScreenRect r = rows ? ScreenRect{pos, line, end, lineEnd} : ScreenRect{line, pos, lineEnd, end};
        w.rect = {area.left + r.left, area.top + r.top, area.left + r.right, area.top + r.bottom};
        pos = end;
        --left;
        if (++inLine < perLine)
            continue;
        inLine = 0;
        --linesLeft;
        if ((perLine + 1) * linesLeft <= left)
            ++perLine;
        size = along / perLine;
        pos = 0;
        line += depth;
        lineEnd = line + depth;
        if (lineEnd + depth / 2 > across)
            lineEnd = across - 2;
    }
}

} // namespace

RectNode* ComputeFreeRects(const WindowChain& chain, const ScreenRect& area)
{
    RectNode* list = nullptr;
    Push(&list, area);
    for (const ArrangedWindow& w : chain)
        CutFromAll(&list, w.rect);
    // Free rectangles end at the lines of the windows beside them.
    for (const ArrangedWindow& w : chain) {
        const ScreenRect& r = w.rect;
        for (RectNode* f = list; f; f = f->next) {
            if (f->right == r.left || f->left == r.right) {
                SplitAtRow(&list, f, r.top);
                SplitAtRow(&list, f, r.bottom);
            }
            if (f->bottom == r.top || f->top == r.bottom) {
                SplitAtColumn(&list, f, r.left);
                SplitAtColumn(&list, f, r.right);
            }
        }
    }
    return list;
}

int32_t TakeFreeRect(RectNode** list, ScreenRect* out, int32_t mode, int32_t x, int32_t y)
{
    RectNode* chosen = nullptr;
    int32_t chosenIndex = -1;
    int32_t index = 0;
    for (RectNode* n = *list; n; n = n->next, ++index) {
        ScreenRect r = RectOf(*n);
        bool better = false;
        switch (mode) {
        case kFirstRect: better = !chosen; break;
        case kLargestRect: better = !chosen || r.area() > RectOf(*chosen).area(); break;
        case kTallestRect: better = !chosen || r.height() > chosen->bottom - chosen->top; break;
        case kWidestRect: better = !chosen || r.width() > chosen->right - chosen->left; break;
        case kRectAtPoint: better = r.contains(x, y); break;
        default: return -1;
        }
        if (better) {
            chosen = n;
            chosenIndex = index;
        }
    }
    if (!chosen)
        return -1;
    *out = RectOf(*chosen);
    RemoveRect(list, chosen);
    return chosenIndex;
}

void ClampWindowToRect(ScreenRect& rect, const ScreenRect& area)
{
    auto clampAxis = [](int32_t& lo, int32_t& hi, int32_t areaLo, int32_t areaHi) {
        if (hi > areaHi) {
            lo -= hi - areaHi;
            hi = areaHi;
        }
        if (lo < areaLo) {
            hi = std::min(hi + (areaLo - lo), areaHi);
            lo = areaLo;
        }
    };
    clampAxis(rect.left, rect.right, area.left, area.right);
    clampAxis(rect.top, rect.bottom, area.top, area.bottom);
}

void ExtendRectByFreeRects(ScreenRect& rect, RectNode* list)
{
    for (bool joined = true; joined;) {
        joined = false;
        for (RectNode* n = list; n; n = n->next) {
            bool sameRows = n->top == rect.top && n->bottom == rect.bottom;
            bool sameColumns = n->left == rect.left && n->right == rect.right;
            if (sameRows && n->left == rect.right)
                rect.right = n->right;
            else if (sameRows && n->right == rect.left)
                rect.left = n->left;
            else if (sameColumns && n->top == rect.bottom)
                rect.bottom = n->bottom;
            else if (sameColumns && n->bottom == rect.top)
                rect.top = n->top;
            else
                continue;
            joined = true;
        }
    }
}

int32_t GrowRectEdge(ScreenRect& rect, int32_t direction, RectNode** freeList)
{
    bool horizontalEdge = direction == kEdgeUp || direction == kEdgeDown;
    int32_t x = 0, y = 0;
    EdgeProbe(rect, direction, &x, &y);
    std::vector<ScreenRect> found;
    // The edge may only move as far as the nearest obstacle along it.
    int32_t depth = INT32_MAX;
    bool blocked = false;
    while (horizontalEdge ? x < rect.right : y < rect.bottom) {
        ScreenRect f;
        if (TakeFreeRect(freeList, &f, kRectAtPoint, x, y) < 0) {
            blocked = true;
            break;
        }
        found.push_back(f);
        depth = std::min(depth, Depth(rect, f, direction));
        if (horizontalEdge)
            x = f.right;
        else
            y = f.bottom;
    }
    if (blocked || found.empty() || depth <= 0) {
        for (const ScreenRect& f : found)
            Push(freeList, f);
        return -1;
    }
    MoveEdge(rect, direction, depth);
    return 0;
}

bool GrowRect(ScreenRect& rect, RectNode** freeList, bool verticalFirst)
{
    static constexpr int32_t kVertical[] = {kEdgeUp, kEdgeDown, kEdgeLeft, kEdgeRight};
    static constexpr int32_t kHorizontal[] = {kEdgeLeft, kEdgeRight, kEdgeUp, kEdgeDown};
    const int32_t* order = verticalFirst ? kVertical : kHorizontal;
    bool any = false;
    for (int i = 0; i < 4;) {
        if (GrowRectEdge(rect, order[i], freeList) == 0) {
            any = true;
            i = 0;
        } else {
            ++i;
        }
    }
    return any;
}

void SortChildWindows(WindowChain& chain, bool byLeft)
{
    std::stable_sort(chain.begin(), chain.end(), [byLeft](const ArrangedWindow& a, const ArrangedWindow& b) {
        if (a.fixedHeight != b.fixedHeight)
            return a.fixedHeight;
        if (byLeft)
            return a.rect.left != b.rect.left ? a.rect.left < b.rect.left : a.rect.top < b.rect.top;
        return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
    });
}

void GrowAllWindows(WindowChain& chain, const ScreenRect& area)
{
    for (ArrangedWindow& w : chain) {
        if (w.fixedHeight && w.rect.bottom > area.bottom) {
            int32_t height = w.rect.height();
            w.rect.top = area.bottom - height;
            w.rect.bottom = area.bottom;
        }
    }
    // Each move can open space for the windows already passed, so the walk starts again.
    for (int32_t i = int32_t(chain.size()) - 1; i >= 0;) {
        ArrangedWindow& w = chain[size_t(i)];
        ScreenRect before = w.rect;
        ClampWindowToRect(w.rect, area);
        RectNode* freeList = ComputeFreeRects(chain, area);
        ScreenRect grown = w.rect;
        GrowRect(grown, &freeList, true);
        FreeRectList(&freeList);
        KeepTickerHeight(w, grown);
        w.rect = grown;
        if (w.rect == before) {
            --i;
            continue;
        }
        i = int32_t(chain.size()) - 1;
    }
}

void SnapWindowEdges(WindowChain& chain)
{
    auto snap = [](int32_t& edge, int32_t other) {
        int32_t d = edge - other;
        if (d != 0 && d >= -kSnapDistance && d <= kSnapDistance)
            edge = other;
    };
    for (size_t j = 1; j < chain.size(); ++j) {
        ScreenRect& w = chain[j].rect;
        for (size_t i = 0; i < j; ++i) {
            const ScreenRect& v = chain[i].rect;
            snap(w.top, v.top);
            snap(w.left, v.left);
            snap(w.bottom, v.bottom);
            snap(w.right, v.right);
        }
    }
}

void RemoveWindowOverlaps(WindowChain& chain)
{
    for (size_t a = 0; a < chain.size(); ++a) {
        for (size_t b = 0; b < chain.size(); ++b) {
            const ScreenRect& cut = chain[a].rect;
            ScreenRect& target = chain[b].rect;
            if (a == b || !Overlap(cut, target))
                continue;
            RectNode* pieces = nullptr;
            Push(&pieces, target);
            CutFromAll(&pieces, cut);
            ScreenRect largest;
            // A window wholly covered by another has no piece left; it stays as it is.
            if (TakeFreeRect(&pieces, &largest, kLargestRect) >= 0) {
                ExtendRectByFreeRects(largest, pieces);
                target = largest;
            }
            FreeRectList(&pieces);
        }
    }
}

void CascadeWindows(WindowChain& chain, const ScreenRect& area)
{
    int32_t w = area.width() * 2 / 3;
    int32_t h = area.height() * 2 / 3;
    int32_t columnStart = 0, x = 0, y = 0;
    for (ArrangedWindow& win : chain) {
        win.rect = {area.left + x, area.top + y, area.left + x + w, area.top + y + h};
        x += kCascadeStep;
        y += kCascadeStep;
        if (x + w > area.width() || y + h > area.height()) {
            columnStart += kCascadeColumnStep;
            if (columnStart + w > area.width())
                columnStart = 0;
            x = columnStart;
            y = 0;
        }
    }
}

void TileWindowsInRows(WindowChain& chain, const ScreenRect& area) { TileLines(chain, area, true); }

void TileWindowsInColumns(WindowChain& chain, const ScreenRect& area) { TileLines(chain, area, false); }

bool IsArrangeCommand(uint32_t command)
{
    return command >= kCommandArrangeFill && command <= kCommandArrangeRows;
}

void ArrangeWindows(uint32_t command, WindowChain& chain, const ScreenRect& area)
{
    switch (command) {
    case kCommandArrangeFill:
        SortChildWindows(chain, false);
        GrowAllWindows(chain, area);
        SnapWindowEdges(chain);
        RemoveWindowOverlaps(chain);
        GrowAllWindows(chain, area);
        break;
    case kCommandArrangeCascade:
        SortChildWindows(chain, false);
        CascadeWindows(chain, area);
        break;
    case kCommandArrangeRows:
        SortChildWindows(chain, false);
        TileWindowsInRows(chain, area);
        break;
    case kCommandArrangeColumns:
        SortChildWindows(chain, true);
        TileWindowsInColumns(chain, area);
        break;
    default: break;
    }
}

std::optional<ScreenRect> SplitWindowRect(WindowChain& chain, int32_t sourceIndex)
{
    if (chain.empty())
        return std::nullopt;
    size_t index = 0;
    if (sourceIndex >= 0 && size_t(sourceIndex) < chain.size()) {
        index = size_t(sourceIndex);
    } else {
        for (size_t i = 1; i < chain.size(); ++i)
            if (chain[i].rect.area() > chain[index].rect.area())
                index = i;
    }
    ScreenRect& r = chain[index].rect;
    ScreenRect second = r;
    if (IsChart(chain[index].kind)) {
        r.bottom = r.top + r.height() / 2;
        second.top = r.bottom;
    } else {
        r.right = r.left + r.width() / 2;
        second.left = r.right;
    }
    return second;
}

std::optional<ScreenRect> FindNewWindowRect(WindowChain& chain, const ScreenRect& area, int32_t sourceIndex,
                                            bool nearSource, bool maySplit)
{
    if (chain.empty())
        return std::nullopt;
    bool hasSource = sourceIndex >= 0 && size_t(sourceIndex) < chain.size();
    if (nearSource && !(maySplit && hasSource))
        return std::nullopt;
    RectNode* freeList = ComputeFreeRects(chain, area);
    std::optional<ScreenRect> result;
    ScreenRect found;
    if (!nearSource) {
        // Slivers are never used, wherever they lie in the list.
        for (RectNode* n = freeList; n;) {
            RectNode* next = n->next;
            if (n->right - n->left < kMinFreeRectSide || n->bottom - n->top < kMinFreeRectSide)
                RemoveRect(&freeList, n);
            n = next;
        }
        if (TakeFreeRect(&freeList, &found, kLargestRect) >= 0)
            result = found;
    } else {
        const ArrangedWindow& source = chain[size_t(sourceIndex)];
        const ScreenRect& s = source.rect;
        bool below = IsChart(source.kind);
        int32_t x = below ? s.left + s.width() / 2 : s.right + 1;
        int32_t y = below ? s.bottom + 1 : s.top + s.height() / 2;
        if (TakeFreeRect(&freeList, &found, kRectAtPoint, x, y) >= 0)
            result = found;
    }
    FreeRectList(&freeList);
    ScreenRect sourceBefore = hasSource ? chain[size_t(sourceIndex)].rect : ScreenRect{};
    if (nearSource && !result)
        result = SplitWindowRect(chain, sourceIndex);
    if (result && (result->width() < kMinNewWindowSide || result->height() < kMinNewWindowSide)) {
        // Too small to be used: the source keeps its whole rectangle and the default placement goes.
        if (hasSource)
            chain[size_t(sourceIndex)].rect = sourceBefore;
        return std::nullopt;
    }
    return result;
}

ScreenRect DefaultWindowRect(const ScreenRect& area, int32_t windowCount)
{
    constexpr int32_t kStep = 26;
    int32_t w = area.width() * 3 / 4;
    int32_t h = area.height() * 3 / 4;
    int32_t steps = std::max(1, std::min((area.width() - w) / kStep, (area.height() - h) / kStep) + 1);
    int32_t offset = (windowCount % steps) * kStep;
    return {area.left + offset, area.top + offset, area.left + offset + w, area.top + offset + h};
}

} // namespace qv
