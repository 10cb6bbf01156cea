// Weekly statistics of directors' and major holders' deals: the two weekly tables filled from the
// dealings block, the series a graph draws from them, its scale and the table's rows.
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class CodingTables;
struct DealingsFileInfo;

// Row 0 ends on Saturday 28 December 1996; each row is one week later.
constexpr PackedDate kFirstWeekEnding = 0xC17B;

struct WeeklyRow {
    uint32_t weekEnding = 0; // a PackedDate
    int32_t sales = 0;
    float salesValue = 0;
    int32_t purchases = 0;
    float purchasesValue = 0;
};

struct WeeklyTables {
    std::vector<WeeklyRow> directors, majorHolders; // the same weeks
    int first = -1, last = -1;                      // rows with any count; -1 without data
    bool hasData() const { return first >= 0; }
};

// The row a deal of this date counts in, or -1: deals before the first week and deals dated on a
// week-ending Saturday count nowhere.
int WeekRowOfDate(PackedDate date);
// Fills the tables from the block's dealings (holdings are skipped), sized from the first week to
// the week of the latest deal.
WeeklyTables BuildWeeklyTables(const uint8_t* block, const DealingsFileInfo& info, const CodingTables& tables);

// The tables a run keeps: filled on first use.
const WeeklyTables& ProgramWeeklyTables();
void ResetProgramWeeklyTables();

constexpr int kSeriesLead = 7; // weeks before the shown range that feed the moving average

struct WeeklySeriesRequest {
    bool directors = true, majorHolders = true;
    bool numbers = false;   // counts; else values in millions
    bool smooth = false;    // 8-week moving average
    int first = 0, last = 0; // the week rows shown
};

// Index i stands for row first - 7 + i; -1 marks no value.
struct WeeklySeries {
    std::vector<double> sales, purchases;
};
WeeklySeries BuildWeeklySeries(const WeeklyTables& tables, const WeeklySeriesRequest& request);

// The value axis over the shown weeks: step = 10^floor(log10 m), lines = int(m / step) + 1. Invalid
// (no graph) when the largest value is not above 0.
struct WeeklyScale {
    bool valid = false;
    double step = 0;
    int lines = 0;
    double top() const { return step * lines; }
};
WeeklyScale ScaleWeeklySeries(const WeeklySeries& series);

// The caption of the statistics dialog for the chosen groups.
std::string WeeklyStatsCaption(bool directors, bool majorHolders);
// The table's lines, newest first: "date\tsales\tvalue m\tpurchases\tvalue m".
std::vector<std::string> WeeklyTableLines(const WeeklyTables& tables, bool directors, bool majorHolders);
// The week range a zoom drag between two week rows gives, or false when they are 10 weeks apart or less.
bool ZoomWeekRange(int a, int b, int& first, int& last);

} // namespace qv
