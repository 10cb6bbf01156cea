// Weekly dealing statistics.
#include "lists/DealingStats.h"

#include "core/CodedText.h"
#include "core/DateStepping.h"
#include "core/DateText.h"
#include "lists/DealingItem.h"
#include "lists/DirectorsDealings.h"

#include <cmath>
#include <cstdio>

namespace qv {

int WeekRowOfDate(PackedDate date)
{
    const int32_t days = DateToDayNumber(date) - DateToDayNumber(kFirstWeekEnding);
    if (date == 0 || days <= 0 || days % 7 == 0)
        return -1;
    return days / 7 + 1;
}

namespace {

struct Deal {
    int row = -1;
    bool major = false;
    bool sale = false;
    double value = 0;
};

// The deal of a dealings entry; row -1 when it does not count (a holding, an early or Saturday date,
// a kind other than a sale or purchase).
Deal ReadDeal(const uint8_t* entry, const DealingsFileInfo& info, const CodingTables& tables)
{
    Deal deal;
    const uint8_t f = DealingFlags(entry);
    if (f & kDealingHolding)
        return deal;
    const DealingFields fields = DecodeDealing(entry, info, tables);
    if (!fields.complete)
        return deal;
    const int code = fields.dealTypeCode;
    if (code != kDealSaleCodeA && code != kDealSaleCodeB && code != kDealPurchaseCode)
        return deal;
    deal.row = WeekRowOfDate(fields.date);
    deal.major = f & kDealingMajorHolder;
    deal.sale = code != kDealPurchaseCode;
    deal.value = fields.value;
    return deal;
}

bool HasCounts(const WeeklyRow& row) { return row.sales || row.purchases || row.salesValue || row.purchasesValue; }

} // namespace

WeeklyTables BuildWeeklyTables(const uint8_t* block, const DealingsFileInfo& info, const CodingTables& tables)
{
    WeeklyTables out;
    std::vector<Deal> deals;
    int rows = 1;
    for (const uint8_t* entry = block; entry && entry[0] != 0; entry += entry[0]) {
        Deal deal = ReadDeal(entry, info, tables);
        if (deal.row < 0)
            continue;
        rows = std::max(rows, deal.row + 1);
        deals.push_back(deal);
    }
    out.directors.resize(size_t(rows));
    out.majorHolders.resize(size_t(rows));
    PackedDate week = kFirstWeekEnding;
    for (int i = 0; i < rows; ++i, week = AddToDate(week, 1, 1)) {
        out.directors[size_t(i)].weekEnding = week;
        out.majorHolders[size_t(i)].weekEnding = week;
    }
    for (const Deal& deal : deals) {
        WeeklyRow& row = (deal.major ? out.majorHolders : out.directors)[size_t(deal.row)];
        if (deal.sale) {
            ++row.sales;
            row.salesValue += float(deal.value);
        } else {
            ++row.purchases;
            row.purchasesValue += float(deal.value);
        }
    }
    for (int i = 0; i < rows; ++i) {
        if (!HasCounts(out.directors[size_t(i)]) && !HasCounts(out.majorHolders[size_t(i)]))
            continue;
        if (out.first < 0)
            out.first = i;
        out.last = i;
    }
    return out;
}

namespace {
WeeklyTables& KeptTables()
{
    static WeeklyTables tables;
    return tables;
}
bool& KeptFilled()
{
    static bool filled = false;
    return filled;
}
} // namespace

const WeeklyTables& ProgramWeeklyTables()
{
    if (!KeptFilled()) {
        KeptTables() = BuildWeeklyTables(DealingsMainBlock, DealingsInfo(), DealingsCodingTables());
        KeptFilled() = true;
    }
    return KeptTables();
}

void ResetProgramWeeklyTables()
{
    KeptTables() = {};
    KeptFilled() = false;
}

WeeklySeries BuildWeeklySeries(const WeeklyTables& tables, const WeeklySeriesRequest& request)
{
    WeeklySeries series;
    const int from = request.first - kSeriesLead;
    const int count = request.last - from + 1;
    if (count <= 0)
        return series;
    series.sales.assign(size_t(count), -1);
    series.purchases.assign(size_t(count), -1);
    const int rows = int(tables.directors.size());
    for (int i = 0; i < count; ++i) {
        const int row = from + i;
        if (row < tables.first || row >= rows)
            continue;
        double sales = 0, purchases = 0;
        auto add = [&](const WeeklyRow& r) {
            sales += request.numbers ? r.sales : r.salesValue * 1e-6;
            purchases += request.numbers ? r.purchases : r.purchasesValue * 1e-6;
        };
        if (request.directors)
            add(tables.directors[size_t(row)]);
        if (request.majorHolders)
            add(tables.majorHolders[size_t(row)]);
        series.sales[size_t(i)] = sales;
        series.purchases[size_t(i)] = purchases;
    }
    if (!request.smooth)
        return series;
    for (auto* values : {&series.sales, &series.purchases}) {
        std::vector<double>& v = *values;
        for (int i = count - 1; i >= kSeriesLead; --i) {
            if (v[size_t(i - kSeriesLead)] < 0) {
                v[size_t(i)] = -1;
                continue;
            }
            double sum = 0;
            for (int k = 0; k <= kSeriesLead; ++k)
                sum += v[size_t(i - k)];
            v[size_t(i)] = sum * 0.125;
        }
    }
    return series;
}

WeeklyScale ScaleWeeklySeries(const WeeklySeries& series)
{
    double m = 0;
    for (const auto* values : {&series.sales, &series.purchases})
        for (size_t i = kSeriesLead; i < values->size(); ++i)
            m = std::max(m, (*values)[i]);
    WeeklyScale scale;
    if (!(m > 0))
        return scale;
    scale.valid = true;
    scale.step = std::pow(10.0, std::floor(std::log10(m)));
    scale.lines = int(m / scale.step) + 1;
    return scale;
}

std::string WeeklyStatsCaption(bool directors, bool majorHolders)
{
    if (!directors && !majorHolders)
        return "Select Directors or Major Holdings below";
    std::string caption;
    if (directors)
        caption = "Directors' Deals";
    if (directors && majorHolders)
        caption += " & ";
    if (majorHolders)
        caption += "Major Holdings' Deals";
    return caption;
}

namespace {
std::string Millions(double value)
{
    char text[48];
    std::snprintf(text, sizeof text, "\xA3%.1fm", value * 1e-6);
    return text;
}
} // namespace

std::vector<std::string> WeeklyTableLines(const WeeklyTables& tables, bool directors, bool majorHolders)
{
    std::vector<std::string> lines;
    if (!tables.hasData() || (!directors && !majorHolders))
        return lines;
    for (int row = tables.last; row >= tables.first; --row) {
        WeeklyRow sum;
        for (const auto* table : {directors ? &tables.directors : nullptr, majorHolders ? &tables.majorHolders : nullptr}) {
            if (!table)
                continue;
            const WeeklyRow& r = (*table)[size_t(row)];
            sum.sales += r.sales;
            sum.salesValue += r.salesValue;
            sum.purchases += r.purchases;
            sum.purchasesValue += r.purchasesValue;
        }
        const std::string date = FormatDate(PackedDate(tables.directors[size_t(row)].weekEnding));
        lines.push_back(date + "\t" + std::to_string(sum.sales) + "\t" + Millions(sum.salesValue) + "\t" +
                        std::to_string(sum.purchases) + "\t" + Millions(sum.purchasesValue));
    }
    return lines;
}

bool ZoomWeekRange(int a, int b, int& first, int& last)
{
    if (std::abs(a - b) <= 10)
        return false;
    first = std::min(a, b);
    last = std::max(a, b);
    return true;
}

} // namespace qv
