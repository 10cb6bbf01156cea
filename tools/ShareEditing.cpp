// The share editor's rules: reading an item into fundamentals and a price array, the price page's
// operations, and rebuilding the record.
#include "tools/ShareEditing.h"

#include "core/Memory.h"
#include "core/PriceImport.h"
#include "core/PriceStream.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qv {
namespace {

constexpr std::array<const char*, 13> kTypeTexts = {"<<blank>>", "Ord", "Index", "Gilt", "Rate", "Warrant",
                                                    "Convertible", "Zero pref", "Preference", "ADR", "Capital",
                                                    "Income", "Bond"};
constexpr std::array<uint8_t, 13> kTypeCodes = {15, 11, 1, 13, 12, 4, 5, 2, 3, 0, 9, 8, 14};
constexpr std::array<const char*, 4> kListingTexts = {"<<blank>>", "Full", "AIM", "Index"};
constexpr std::array<uint8_t, 4> kListingCodes = {7, 0, 1, 3};
constexpr std::array<const char*, 8> kCurrencyTexts = {"<<blank>>", "Pounds",        "Punts",   "Index",
                                                       "US dollars", "French Francs", "D Marks", "Euros"};
constexpr std::array<uint8_t, 8> kCurrencyCodes = {7, 0, 1, 2, 3, 4, 5, 6};
constexpr std::array<const char*, 4> kEventTexts = {"<<blank>>", "Making offer", "Rights", "Suspended"};
constexpr std::array<uint8_t, 4> kEventCodes = {7, 1, 2, 3};
constexpr size_t kSedolAt = 12;

bool IsPrice(float v) { return v > 0; }

// The full day of `date` with the close `close`: the stored day's prices moved by the close's change.
ImportDay FullDayAt(const std::vector<ImportDay>& days, PackedDate date, float close)
{
    auto found = std::lower_bound(days.begin(), days.end(), date,
                                  [](const ImportDay& day, PackedDate d) { return day.date < d; });
    if (found == days.end() || found->date != date || found->value <= 0)
        return {date, close};
    const double ratio = double(close) / found->value;
    ImportDay day = *found;
    if (std::fabs(ratio - 1) > 1e-6) {
        day.open *= ratio;
        day.high *= ratio;
        day.low *= ratio;
    }
    day.value = close;
    return day;
}

} // namespace

int CodeList::IndexOf(uint8_t code) const
{
    for (size_t i = 1; i < codes.size(); ++i)
        if (codes[i] == code)
            return int(i);
    return 0;
}

CodeList ShareTypeList() { return {kTypeTexts, kTypeCodes}; }
CodeList ListingList() { return {kListingTexts, kListingCodes}; }
CodeList CurrencyList() { return {kCurrencyTexts, kCurrencyCodes}; }
CodeList EventList() { return {kEventTexts, kEventCodes}; }

EditedItem ReadEditedItem(const uint8_t* record, PackedDate today)
{
    EditedItem item;
    ShareFundamentals& f = item.fundamentals;
    f.name = std::string(GetRecordName(record));
    const uint16_t classWord = LoadU16(record + 4);
    f.codes.currency = classWord & 7;
    f.codes.listing = (classWord >> 3) & 7;
    f.codes.event = (classWord >> 9) & 7;
    f.nms = float(LoadU16(record + 8)) / 2;
    const uint8_t* sub = FirstSubRecord(record);
    f.codes.type = sub[SubRecordLayout::Kind];
    f.numShares = LoadF32(sub + SubRecordLayout::IssueFigure);
    f.sedol = LoadU32(sub + kSedolAt);
    item.firstDate = LoadU16(sub + SubRecordLayout::FirstDate);
    DayRecord* days = nullptr;
    const uint8_t* end = SubRecordEnd(record, sub);
    const int32_t count = end ? DecodeSubRecordHistory(sub, end, days, kKeepNonPositivePrices, false, {}) : 0;
    PackedDate last = 0;
    for (int32_t i = 0; i < count && days[i].date && item.prices.size() < kMostEntries; ++i) {
        const DayRecord& day = days[i];
        last = day.date;
        if (IsFullDataDay(day) && (day.modeMarks & kDayMarks) == 0)
            item.fullDays.push_back({day.date, day.close, day.open, day.high, day.low, day.volume});
        if (day.modeMarks & kDayMarkC)
            item.prices.push_back(kEntryMissing);
        else if (day.modeMarks & kDayMarkA)
            item.prices.push_back(kEntryClosed);
        else if (day.modeMarks & kDayMarkF)
            item.prices.push_back(kEntrySuspended);
        else
            item.prices.push_back(day.close);
    }
    ProFree(days);
    if (item.firstDate == 0)
        item.firstDate = today;
    PackedDate next = last ? NextWeekday(last) : item.firstDate;
    for (; next && next <= today && item.prices.size() < kPaddedEntries; next = NextWeekday(next))
        item.prices.push_back(kEntryMissing);
    return item;
}

void AdjustPrices(std::vector<float>& prices, size_t through, double multiplier)
{
    if (multiplier == 1)
        return;
    for (size_t i = 0; i <= through && i < prices.size(); ++i)
        if (IsPrice(prices[i]))
            prices[i] = float(prices[i] * multiplier);
}

std::optional<size_t> EntryOnOrBefore(PackedDate first, PackedDate date, size_t count)
{
    if (first == 0 || date < first || count == 0)
        return std::nullopt;
    size_t entry = 0;
    for (PackedDate next = NextWeekday(first); next && next <= date && entry + 1 < count; next = NextWeekday(next))
        ++entry;
    return entry;
}

bool InterpolatePrices(std::vector<float>& prices)
{
    if (std::count_if(prices.begin(), prices.end(), IsPrice) < 2)
        return false;
    size_t a = std::find_if(prices.begin(), prices.end(), IsPrice) - prices.begin();
    for (size_t b = a + 1; b < prices.size(); ++b) {
        if (!IsPrice(prices[b]))
            continue;
        int m = 0;
        for (size_t i = a; i < b; ++i)
            m += prices[i] != kEntryClosed;
        int k = 0;
        for (size_t i = a + 1; i < b; ++i) {
            if (prices[i] == kEntryClosed)
                continue;
            ++k;
            prices[i] = prices[a] + float(k) * (prices[b] - prices[a]) / float(m);
        }
        a = b;
    }
    return true;
}

std::optional<size_t> FindNextAnomaly(const std::vector<float>& prices, size_t from, double cutoff)
{
    // p is the previous price, q the one before it.
    auto anomalyAt = [&](size_t i, float p, float q) {
        const double r = 1 - prices[i] / p;
        return std::fabs(r) > cutoff || (q > 0 && std::fabs(r - (1 - p / q)) > cutoff);
    };
    auto search = [&](size_t begin, size_t end) -> std::optional<size_t> {
        float p = 0, q = 0;
        for (size_t i = 0; i < end && i < prices.size(); ++i) {
            if (!IsPrice(prices[i]))
                continue;
            if (i >= begin && p > 0 && anomalyAt(i, p, q))
                return i;
            q = p;
            p = prices[i];
        }
        return std::nullopt;
    };
    if (std::optional<size_t> found = search(from, prices.size()))
        return found;
    return search(0, from);
}

StartDateResult SetStartDate(EditedItem& item, PackedDate date, bool deleteAgreed)
{
    if (date == item.firstDate || date == 0)
        return StartDateResult::Unchanged;
    if (date < item.firstDate) {
        size_t added = 0;
        for (PackedDate d = date; d && d < item.firstDate; d = NextWeekday(d))
            added += WeekdayOf(d) < 5;
        if (item.prices.size() + added >= kStartDateEntries)
            return StartDateResult::TooMany;
        item.prices.insert(item.prices.begin(), added, kEntryMissing);
        item.firstDate = WeekdayOf(date) < 5 ? date : NextWeekday(date);
        return StartDateResult::Moved;
    }
    size_t dropped = 0;
    for (PackedDate d = item.firstDate; d && d < date; d = NextWeekday(d))
        ++dropped;
    dropped = std::min(dropped, item.prices.size());
    const bool anyData = std::any_of(item.prices.begin(), item.prices.begin() + ptrdiff_t(dropped),
                                     [](float v) { return v != kEntryMissing; });
    if (anyData && !deleteAgreed)
        return StartDateResult::AskToDelete;
    item.prices.erase(item.prices.begin(), item.prices.begin() + ptrdiff_t(dropped));
    item.firstDate = WeekdayOf(date) < 5 ? date : NextWeekday(date);
    return StartDateResult::Moved;
}

RebuildResult RebuildEditedRecord(const EditedItem& item, std::vector<uint8_t>& record)
{
    size_t first = 0, last = item.prices.size();
    while (first < last && item.prices[first] == kEntryMissing)
        ++first;
    // Days after the last price are not kept: a stream ends at its last priced day.
    while (last > first && !IsPrice(item.prices[last - 1]))
        --last;
    PackedDate firstDate = item.firstDate;
    for (size_t i = 0; i < first; ++i)
        firstDate = NextWeekday(firstDate);
    // The priced days as they will be written: with their bars when the item keeps full days.
    const bool full = !item.fullDays.empty();
    std::vector<ImportDay> priced;
    PackedDate date = firstDate;
    for (size_t i = first; i < last; ++i, date = NextWeekday(date))
        if (IsPrice(item.prices[i]))
            priced.push_back(full ? FullDayAt(item.fullDays, date, item.prices[i]) : ImportDay{date, item.prices[i]});
    if (priced.empty())
        return RebuildResult::NoPrices;
    std::vector<double> values;
    for (const ImportDay& day : priced)
        for (const double price : {day.open, day.high, day.low, day.value})
            if (price > 0)
                values.push_back(price);
    const std::optional<int16_t> scale = ChoosePriceScale(values, ScaleThresholds{0.01, 0.01, 0.01});
    if (!scale)
        return RebuildResult::TooLarge;
    // Days before the first kept bar stay closes; the stream switches to full days there.
    const PackedDate fullFrom = full ? item.fullDays.front().date : 0;
    PriceChangeCoder coder(*scale);
    std::optional<FullDayCoder> fullCoder;
    std::vector<uint8_t> stream;
    auto next = priced.begin();
    for (size_t i = first; i < last; ++i) {
        const float v = item.prices[i];
        if (v == kEntryClosed) {
            stream.push_back(kStreamDayA);
        } else if (v == kEntrySuspended) {
            stream.push_back(kStreamDayF);
        } else if (!IsPrice(v)) {
            stream.push_back(kStreamDayC);
        } else {
            if (full && !fullCoder && next->date >= fullFrom) {
                stream.push_back(kStreamMode);
                stream.push_back(1);
                fullCoder.emplace(*scale, coder.running());
            }
            if (fullCoder)
                fullCoder->Put(*next++, stream);
            else
                coder.Put((next++)->value, stream);
        }
    }
    if (coder.lostValues() || (fullCoder && fullCoder->lostValues()))
        return RebuildResult::TooLarge;
    stream.push_back(kStreamEnd);
    ImportKeywords keywords = item.fundamentals.codes;
    keywords.nms = uint16_t(std::clamp(double(item.fundamentals.nms) * 2, 0.0, 65535.0));
    keywords.sedol = item.fundamentals.sedol;
    keywords.numShares = item.fundamentals.numShares;
    record = BuildImportedRecord(item.fundamentals.name, keywords, *scale, firstDate, priced.back().value, stream);
    return record.size() > ImportRecordLimit(full) ? RebuildResult::TooMuchData : RebuildResult::Built;
}

int& AnomalyCutoff()
{
    static int cutoff = 10;
    return cutoff;
}

} // namespace qv
