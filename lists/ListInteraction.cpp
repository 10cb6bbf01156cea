// Hit tests, drags, the wheel and links of the list tables.
#include "lists/ListInteraction.h"

#include <algorithm>
#include <cctype>

namespace qv {
namespace {

constexpr int kInsideLeft = 4;
constexpr int kInsideRight = 5;
constexpr int kEdgeAfterLeft = 5;
constexpr int kEdgeBeforeRight = 6;
constexpr int kWheelStep = 120;
constexpr int kMinWidth = 10;

} // namespace

int ColumnFromPoint(std::span<const ColumnSpan> columns, int x, int tableRight)
{
    for (const ColumnSpan& c : columns)
        if (x > c.left + kInsideLeft && x < c.right - kInsideRight)
            return c.column;
    if (!columns.empty() && x > columns.back().right && x < tableRight - 4)
        return columns.back().column + 1;
    return -1;
}

int HitTestColumnEdge(std::span<const ColumnSpan> columns, int x)
{
    for (const ColumnSpan& c : columns) {
        if (x >= c.left && x <= c.left + kEdgeAfterLeft && c.column > 0)
            return c.column - 1;
        if (x > c.right - kEdgeBeforeRight && x <= c.right)
            return c.column;
    }
    return -1;
}

int ResizedWidth(int lineX, int columnLeft)
{
    return std::max(kMinWidth, lineX - columnLeft);
}

std::optional<int> MoveDragTarget(int from, int target, int columnCount)
{
    if (target < 0)
        return std::nullopt;
    const int to = std::min(target, columnCount - 1);
    if (to == from)
        return std::nullopt;
    return to;
}

int WheelAccumulator::add(int delta)
{
    remainder_ += delta;
    const int steps = remainder_ / kWheelStep;
    remainder_ -= steps * kWheelStep;
    return steps;
}

WheelAccumulator& ListWheel()
{
    static WheelAccumulator wheel;
    return wheel;
}

int ListKeyCommand(ListKey key, bool shift, bool ctrl)
{
    struct Keys { int plain, shift, ctrl; };
    static constexpr Keys kKeys[] = {
        {20610, 26017, 0},     // Down
        {20607, 26016, 0},     // Up
        {20604, 26018, 0},     // Home
        {20605, 26019, 0},     // End
        {20608, 26014, 20617}, // Page Down
        {20609, 26015, 20616}, // Page Up
        {20600, 26172, 0},     // Left
        {20601, 26173, 0},     // Right
        {20618, 20619, 0},     // Space
        {20606, 20615, 0},     // Enter
        {20615, 20606, 0},     // Escape
    };
    const Keys& k = kKeys[size_t(key)];
    if (ctrl)
        return k.ctrl;
    return shift ? k.shift : k.plain;
}

bool LoopBackShowsPreviousKind(int32_t kind, bool loopOption, bool hasCurrentRow)
{
    if (!loopOption || !hasCurrentRow)
        return false;
    return kind != 5 && kind != 7 && kind != 8 && kind != 10;
}

bool LoopForwardShowsNextKind(int32_t kind, bool loopOption, bool hasCurrentRow)
{
    return loopOption && hasCurrentRow && kind != 5;
}

std::string PartnerSearchLink(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string link = std::string(kPartnerServer) + "/system/search/results.jsp?queryText=";
    for (unsigned char ch : text) {
        if (std::isalnum(ch) || ch == '-' || ch == '_' || ch == '.' || ch == '~') {
            link += char(ch);
            continue;
        }
        link += '%';
        link += kHex[ch >> 4];
        link += kHex[ch & 15];
    }
    return link;
}

} // namespace qv
