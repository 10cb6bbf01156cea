// Time-of-day parsing, formatting and the chooser's grid.
#include "shell/TimeFieldRules.h"

#include "core/StringPrintf.h"

#include <algorithm>

namespace qv {
namespace {

// Digits from `pos`, which moves past them.
int ReadDigits(std::string_view text, size_t& pos)
{
    int value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
        value = value * 10 + (text[pos] - '0');
    return value;
}

} // namespace

std::string FormatTimeOfDay(int seconds)
{
    return StringPrintf("%02d:%02d", seconds / 3600, seconds / 60 % 60);
}

int ParseTimeText(std::string_view text)
{
    text = text.substr(0, 6);
    size_t pos = 0;
    int hours = ReadDigits(text, pos);
    ++pos;
    int minutes = pos < text.size() ? ReadDigits(text, pos) : 0;
    if (hours > 24)
        hours = 0;
    if (minutes > 59 || hours == 24)
        minutes = 0;
    return (hours * 60 + minutes) * 60;
}

bool TimeFieldAccepts(char c) { return (c >= '0' && c <= '9') || c == ':' || c == 8; }

int ChooserTime(int column, int row) { return ((kChooserRows - 1) * column + row) * kChooserStep; }

bool ChooserAllows(int time, int limit, bool beforeLimit)
{
    if (limit == kNoTimeLimit)
        return true;
    return beforeLimit ? time < limit : time > limit;
}

int ChooserHitTime(const ChooserMetrics& metrics, int x, int y)
{
    x -= metrics.margin;
    y -= metrics.margin;
    if (x < 0 || y < 0 || metrics.cellWidth <= 0 || metrics.cellHeight <= 0)
        return -1;
    int column = x / metrics.cellWidth;
    int row = y / metrics.cellHeight;
    if (column >= kChooserColumns || row >= kChooserRows)
        return -1;
    return ChooserTime(column, row);
}

TimePair OrderTimePair(bool isStart, int own, int partner)
{
    int low = std::min(own, partner);
    int high = std::max(own, partner);
    return isStart ? TimePair{low, high} : TimePair{high, low};
}

} // namespace qv
