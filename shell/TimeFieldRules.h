// Times of day in seconds for the time field, its chooser grid, from/to pairs and the trading-times
// list rows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

inline constexpr int kSecondsPerDay = 86400;

// "%02d:%02d" of the hours and minutes.
std::string FormatTimeOfDay(int seconds);

// Reads at most 6 characters: leading digits are the hours (outside 0-24 read as 0), one character
// is passed over, the digits after it are the minutes (outside 0-59, or any with 24 hours, read as 0).
int ParseTimeText(std::string_view text);

// Characters the time field's edit box lets through.
bool TimeFieldAccepts(char c);

// The chooser: 4 columns of 13 half hours, each column's last time repeated at the top of the next.
inline constexpr int kChooserColumns = 4;
inline constexpr int kChooserRows = 13;
inline constexpr int kChooserStep = 1800;
// No limit: every time may be chosen.
inline constexpr int kNoTimeLimit = -1;

int ChooserTime(int column, int row);
// With beforeLimit clear only times after the limit may be chosen, with it set only times before.
bool ChooserAllows(int time, int limit, bool beforeLimit);

struct ChooserMetrics {
    int margin;
    int cellWidth;
    int cellHeight;
};
// The time under a client point, or -1 outside the cells.
int ChooserHitTime(const ChooserMetrics& metrics, int x, int y);

// A from/to pair read from both fields: the start keeps the smaller time, the end the larger.
struct TimePair {
    int own;
    int partner;
};
TimePair OrderTimePair(bool isStart, int own, int partner);

} // namespace qv
