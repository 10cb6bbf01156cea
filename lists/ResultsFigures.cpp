// Results figures of the results table, the detailed results blocks and their items.
#include "lists/ResultsFigures.h"

#include "core/PackedDate.h"
#include "core/PriceLookups.h"
#include "core/PriceStatistics.h"
#include "core/RecordAccess.h"
#include "core/ShareStatistics.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qv {
namespace {

constexpr int kShortestFullYear = 340;
constexpr int kLongestFullYear = 400;
constexpr double kPerDayOfYear = 0.002739726;
constexpr float kMostGrowth = 999;
constexpr float kMostPriceRatio = 99;
constexpr int kYearsMatched = 5;

struct ResultsTable {
    const uint8_t* entries = nullptr;
    int count = 0;

    const uint8_t* entry(int i) const { return entries + size_t(i) * ResultsEntryLayout::Size; }
    uint8_t kind(int i) const { return entry(i)[ResultsEntryLayout::Class]; }
    uint16_t date(int i) const { return LoadU16(entry(i) + ResultsEntryLayout::Date); }
    float number(int i, int item) const { return LoadF32(entry(i) + ResultsEntryLayout::Floats + 4 * size_t(item - 1)); }
};

// The items after the record's text, bounded by its first sub-record.
ResultsTable ResultsTableOf(const uint8_t* record)
{
    if (!record || RecordLength(record) == 0)
        return {};
    size_t countAt = RecordLayout::Text + record[RecordLayout::TextLength];
    size_t first = countAt + 1;
    size_t end = LoadU16(record + RecordLayout::FirstSubRecord);
    if (first > end)
        return {};
    int count = std::min<int>(record[countAt], int((end - first) / ResultsEntryLayout::Size));
    return {record + first, count};
}

int FirstForecast(const ResultsTable& t)
{
    for (int i = 0; i < t.count; ++i) {
        if (t.kind(i) == kResultsForecast)
            return i;
    }
    return t.count;
}

// The entry a year names, or -1.
int EntryOfYear(const ResultsTable& t, int year, bool interim)
{
    if (year >= kResultsDirectYear)
        return year - kResultsDirectYear < t.count ? year - kResultsDirectYear : -1;
    int forecast = FirstForecast(t);
    if (year >= 1) {
        int seen = 0;
        for (int i = forecast; i < t.count; ++i) {
            if (t.kind(i) == kResultsForecast && ++seen == year)
                return i;
        }
        return -1;
    }
    for (int i = forecast - 1, back = -year; i >= 0; --i) {
        if ((t.kind(i) == kResultsInterim) != interim)
            continue;
        if (back-- == 0)
            return i;
    }
    return -1;
}

// The final dividend of entry i: its dividend, scaled to a year when its year is not about one
// long, less the interims since the previous year end. A first entry counts as a full year.
float FinalDividend(const ResultsTable& t, int i)
{
    double dividend = t.number(i, kResultsDividend);
    double interim = 0;
    int previous = i - 1;
    for (; previous >= 0 && t.kind(previous) == kResultsInterim; --previous) {
        if (interim == 0)
            interim = t.number(previous, kResultsDividend);
    }
    if (previous >= 0) {
        int days = DaysBetween(t.date(previous), t.date(i));
        if (days < kShortestFullYear || days > kLongestFullYear)
            dividend *= days * kPerDayOfYear;
    }
    return float(std::max(0.0, dividend - interim));
}

float ForecastGrowth(const ResultsTable& t, int i)
{
    int last = -1;
    for (int k = 0; k < t.count; ++k) {
        if (t.kind(k) == kResultsForecast)
            last = k;
    }
    if (last < 0)
        return 0;
    float profit = t.number(i, kResultsProfit);
    if (profit == 0)
        return kNoResultsValue;
    return (t.number(last, kResultsProfit) / profit - 1) * 100;
}

float EntryItem(const ResultsTable& t, int i, int item)
{
    switch (item) {
    case kResultsDate: return float(t.date(i));
    case kResultsClass: return float(t.kind(i));
    case kResultsForecastGrowth: return ForecastGrowth(t, i);
    case kResultsFinalDividend: return FinalDividend(t, i);
    default: return t.number(i, item);
    }
}

float PlainFigure(const ResultsTable& t, int year, int item)
{
    int i = EntryOfYear(t, year, (item & kResultsInterimBit) != 0);
    return i < 0 ? kNoResultsValue : EntryItem(t, i, item & 7);
}

bool TakesGrowth(int item)
{
    int low = item & 7;
    return (low >= kResultsProfit && low <= kResultsTurnover) || low == kResultsFinalDividend;
}

float Growth(float now, float then)
{
    if (now == kNoResultsValue || then == kNoResultsValue || now <= 0 || then <= 0)
        return kNoResultsValue;
    return std::clamp((now - then) / then * 100, -kMostGrowth, kMostGrowth);
}

// The powers e^(k - 8), k = 0 to 31, worked out once.
const std::array<double, 32>& FigurePowers()
{
    static const std::array<double, 32> powers = [] {
        std::array<double, 32> p{};
        for (int k = 0; k < 32; ++k)
            p[size_t(k)] = std::exp(double(k - 8));
        return p;
    }();
    return powers;
}

uint8_t* PriceSubRecord(uint8_t* record) { return record ? FirstSubRecord(record) : nullptr; }

float SharePrice(uint8_t* record)
{
    uint8_t* sub = PriceSubRecord(record);
    return sub ? LoadF32(sub + kStatLastClose) : kNoResultsValue;
}

bool Missing(float v) { return v == kNoResultsValue; }

// a / b, no value when either is missing or b is 0.
float Ratio(float a, float b, double scale = 1)
{
    if (Missing(a) || Missing(b) || b == 0)
        return kNoResultsValue;
    return float(a * scale / b);
}

float Product(float a, float b, double scale)
{
    return Missing(a) || Missing(b) ? kNoResultsValue : float(double(a) * b * scale);
}

float Difference(float a, float b)
{
    return Missing(a) || Missing(b) ? kNoResultsValue : a - b;
}

float CappedRatio(float price, float divisor, double scale = 1)
{
    float r = Ratio(price, Missing(divisor) ? divisor : float(divisor * scale));
    return Missing(r) ? r : std::min(r, kMostPriceRatio);
}

class DetailedItems {
public:
    DetailedItems(const uint8_t* block, uint8_t* record, uint32_t extra, int yearsAgo)
        : block_(block), record_(record), extra_(extra), year_(-yearsAgo)
    {
    }

    float item(int code) const
    {
        switch (code) {
        case 0: return figure(8);
        case 1: return results(kResultsProfit);
        case 2: return figure(23);
        case 3: return results(kResultsTurnover);
        case 4: return results(kResultsDividend);
        case 5: return Difference(item(1), figure(23));
        case 6: return figure(2);
        case 7: return figure(3);
        case 8: return figure(19);
        case 9: return Product(figure(4), figure(1), 0.01);
        case 10: return Product(figure(5), figure(1), 0.01);
        case 11: return figure(6);
        case 12: return figure(7);
        case 13: return results(kResultsDate);
        case 14: return figure(11);
        case 15: return figure(12);
        case 16: return figure(20);
        case 17: return figure(21);
        case 18: return figure(10);
        case 19: return figure(22);
        case 20: return figure(13);
        case 21: return figure(14);
        case 22: return figure(15);
        case 23: case 55: return Ratio(Difference(figure(16), figure(19)), gearingBase(code), 100);
        case 24: case 56: return Ratio(figure(19), gearingBase(code), 100);
        case 25: case 57: return Ratio(figure(16), gearingBase(code), 100);
        case 26: case 58: return Ratio(figure(17), gearingBase(code), 100);
        case 27: case 59: return Ratio(figure(18), gearingBase(code), 100);
        case 32: return results(kResultsEps);
        case 33: return figure(9);
        case 34: return Ratio(figure(23), figure(1), 100);
        case 35: return Ratio(item(3), figure(1));
        case 36: return results(kResultsDividend | kResultsInterimBit);
        case 37: return Ratio(item(5), item(1), 100);
        case 38: return Ratio(Difference(figure(2), figure(24)), figure(0), 100);
        case 39: return Ratio(Difference(figure(3), figure(24)), figure(0), 100);
        case 40: return Ratio(figure(19), figure(0), 100);
        case 41: return figure(4);
        case 42: return figure(5);
        case 43: return Ratio(figure(6), figure(1), 100);
        case 45: return results(kResultsDate | kResultsInterimBit);
        case 67: return CappedRatio(SharePrice(record_), item(35), 100);
        case 68: return results(kResultsFinalDividend);
        case 70: case 71: case 72: case 73: case 74: case 75:
            return CappedRatio(SharePrice(record_), item(38 + code - 70));
        case 100: return dividendYield();
        case 132: return dividendCover();
        default: return kNoResultsValue;
        }
    }

private:
    float figure(int n) const { return block_ ? ReadResultsBlockFigure(block_, n) : kNoResultsValue; }
    float results(int item) const { return GetResultsFigure(year_, item, record_, extra_); }
    // Book value for the gearing items inclusive of intangibles, tangible book value for the others.
    float gearingBase(int code) const { return figure(code >= 55 ? 3 : 2); }

    float dividendYield() const
    {
        float dividend = item(4);
        float date = item(13);
        if (Missing(dividend) || dividend == 0 || Missing(date))
            return kNoResultsValue;
        float close = GetPriceOnDate(record_, 0, uint16_t(date), true);
        return Ratio(dividend, close, 100);
    }

    float dividendCover() const
    {
        float dividend = item(4);
        if (Missing(dividend) || dividend == 0)
            return kNoResultsValue;
        return Ratio(figure(23), Product(figure(0), dividend, 0.01));
    }

    const uint8_t* block_;
    uint8_t* record_;
    uint32_t extra_;
    int year_;
};

bool IsDateItem(int code) { return code == 13 || code == 45; }

} // namespace

float GetResultsFigure(int year, int item, uint8_t* record, uint32_t)
{
    ResultsTable t = ResultsTableOf(record);
    int n = (item >> 4) & 15;
    float now = PlainFigure(t, year, item & 15);
    if (n == 0 || !TakesGrowth(item))
        return now;
    int earlier = year - n;
    if (year >= kResultsDirectYear && earlier < kResultsDirectYear)
        return kNoResultsValue;
    return Growth(now, PlainFigure(t, earlier, item & 15));
}

float GetResultsFigureConverted(int year, int item, uint8_t* record, uint32_t extra)
{
    float value = GetResultsFigure(year, item, record, extra);
    int low = item & 7;
    if (Missing(value) || low < kResultsProfit || low > kResultsTurnover)
        return value;
    RecordCursor cursor{record, 0};
    uint32_t currency = GetFieldByte115(&cursor, 0);
    const ExchangeRates& rates = GetExchangeRates();
    double rate = currency == kCurrencyEuro ? rates.euro : currency == kCurrencyUsDollar ? rates.usDollar : 1.0;
    return rate > 0 ? float(value / rate) : value;
}

float DecodeResultsFigure(uint32_t code)
{
    code &= 0x3FFFF;
    if (code == 0)
        return 0;
    if (code == kFigureNoValue)
        return kNoResultsValue;
    int k = int(code >> 12) & 31;
    int m = int(code & 0xFFF);
    double value = (1 + (std::exp(1.0) - 1) * m / 4096.0) * FigurePowers()[size_t(k)];
    return float((code & 0x20000) ? -value : value);
}

float ReadResultsBlockFigure(const uint8_t* block, int figure)
{
    if (!block || figure < 0 || figure >= kResultsBlockFigures)
        return kNoResultsValue;
    size_t bit = size_t(figure) * 18;
    const uint8_t* p = block + ResultsBlockLayout::Figures + bit / 8;
    size_t shift = bit % 8;
    size_t bytes = (shift + 18 + 7) / 8;
    uint32_t window = 0;
    for (size_t i = 0; i < bytes; ++i)
        window = (window << 8) | p[i];
    uint32_t code = (window >> (bytes * 8 - shift - 18)) & 0x3FFFF;
    return DecodeResultsFigure(code);
}

bool ResultsItemNeedsNoBlock(int code)
{
    switch (code) {
    case 1: case 3: case 4: case 13: case 32: case 36: case 45: case 68: case 100: return true;
    default: return false;
    }
}

float GetDetailedResultsItem(const uint8_t* block, int code, uint8_t* record, uint32_t extra, int yearsAgo)
{
    return DetailedItems(block, record, extra, yearsAgo).item(code);
}

const uint8_t* FindResultsBlock(uint8_t* record, uint32_t extra, int yearsAgo)
{
    if (yearsAgo < 0 || yearsAgo >= kYearsMatched)
        return nullptr;
    float date = GetResultsFigure(-yearsAgo, kResultsDate, record, extra);
    if (Missing(date))
        return nullptr;
    RecordCursor cursor{record, 0};
    for (int field = kFirstResultsBlockField; field < kFirstResultsBlockField + kResultsBlockFields; ++field) {
        const uint8_t* block = GetFieldDescriptor(uint32_t(field), nullptr, &cursor, 0);
        if (block && block[ResultsBlockLayout::Length] >= kResultsBlockMinLength &&
            LoadU16(block + ResultsBlockLayout::Date) == uint16_t(date))
            return block;
    }
    return nullptr;
}

float GetResultsColumnValue(int yearByte, int code, uint8_t* record, uint32_t extra)
{
    int yearsAgo = yearByte & 15;
    int span = (yearByte >> 4) & 15;
    auto valueOf = [&](int years) {
        if (years >= kYearsMatched)
            return kNoResultsValue;
        const uint8_t* block = FindResultsBlock(record, extra, years);
        if (!block && !ResultsItemNeedsNoBlock(code))
            return kNoResultsValue;
        return GetDetailedResultsItem(block, code, record, extra, years);
    };
    float now = valueOf(yearsAgo);
    if (span == 0)
        return IsDateItem(code) && !Missing(now) ? std::trunc(now) : now;
    float then = valueOf(yearsAgo + span);
    if (Missing(now) || Missing(then) || now < 0 || then <= 0)
        return kNoResultsValue;
    return (now - then) * 100 / then;
}

const char* ResultsItemName(int code)
{
    static constexpr std::array<const char*, 28> kFirst = {
        "Norm pretax (m)", "FRS3 pretax (m)", "FRS3 posttax (m)", "Turnover (m)", "Dividend", "Tax paid (m)",
        "Book value (m)", "Tang. book value (m)", "Net cash (m)", "Cash flow (m)", "Capex (m)", "R&D (m)",
        "Dep'n (m)", "Year end", "ROCE (%)", "ROE (%)", "Quick ratio", "Current ratio", "Op. margin (%)",
        "Interest cover", "Int paid (m)", "Net borrow (m)", "Net curr assets (m)", "Net gearing inc. (%)",
        "Cash % inc.", "Gross gearing inc. (%)", "Gross gearing <5yrs inc. (%)", "Gross gearing <1yrs inc. (%)"};
    static constexpr std::array<const char*, 12> kPerShare = {
        "Norm EPS (p)", "FRS3 EPS (p)", "FRS3 posttax ps (p)", "Turnover ps (\xA3)", "Interim dividend",
        "Tax rate (%)", "NAV ps (p)", "NTAV ps (p)", "Net cash ps (p)", "Cash flow ps (p)", "Capex ps", "R&D ps"};
    static constexpr std::array<const char*, 5> kExclusive = {
        "Net gearing ex. (%)", "Cash % ex.", "Gross gearing ex. (%)", "Gross gearing <5yrs ex. (%)",
        "Gross gearing <1yrs ex. (%)"};
    static constexpr std::array<const char*, 6> kPriceRatios = {
        "Price to book value", "Price to tang. book value", "Price to net cash", "Price to cash flow",
        "Price to capex", "Price to R&D"};
    if (code >= 0 && code < 28)
        return kFirst[size_t(code)];
    if (code >= 32 && code < 44)
        return kPerShare[size_t(code - 32)];
    if (code >= 55 && code < 60)
        return kExclusive[size_t(code - 55)];
    if (code >= 70 && code < 76)
        return kPriceRatios[size_t(code - 70)];
    switch (code) {
    case 45: return "Interim date";
    case 67: return "Price to turnover";
    case 68: return "Final dividend";
    case 100: return "Dividend yield (yr end)";
    case 132: return "Dividend cover";
    default: return "";
    }
}

const char* ResultsFigureItemName(int item)
{
    static constexpr std::array<const char*, 8> kNames = {
        "Date", "Profit (millions)", "EPS", "Dividend", "Turnover (millions)", "NAV (millions)", "Final Div.", "All"};
    return kNames[size_t(item & 7)];
}

} // namespace qv
