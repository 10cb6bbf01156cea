// Composite and portfolio-history price records.
#include "lists/SyntheticRecords.h"

#include "core/CashAccounts.h"
#include "core/Database.h"
#include "core/Memory.h"
#include "core/PackedDate.h"
#include "core/Portfolio.h"
#include "core/PriceCorrections.h"
#include "core/PriceDayWalker.h"
#include "core/PriceStatistics.h"
#include "core/PriceStream.h"
#include "core/PriceSubRecords.h"
#include "core/RecordAccess.h"
#include "core/ShareList.h"
#include "core/TransactionTypes.h"
#include "core/VarInt.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"
#include "portfolio/CashEntry.h"
#include "portfolio/Transaction.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qv {
namespace {

constexpr const char* kNotEnoughData = "Not enough data to construct graph";
constexpr const char* kSomeLeftOut = "Some shares not included\nThey do not have enough data\ne.g. Capitalisation";
constexpr const char* kSomeSharesLeftOut = "Some shares not included";
constexpr size_t kHeadBytes = 36;
constexpr size_t kSubHead = 80;
constexpr double kCompositeFactor = 10000.05;
constexpr double kScaleLimit = 100000;
constexpr PackedDate kEarliestStart = PackDate(6, 1, 1994);

bool HasValue(double v) { return v != double(kSlotNoValue); }

// Number of weekdays in [from, day) for day numbers, `from` being a weekday.
int32_t WeekdayIndex(int32_t from, int32_t day)
{
    int32_t k = day - from;
    int32_t weeks = k / 7, rem = k % 7;
    int wd = WeekdayOf(DayNumberToDate(from));
    int32_t n = weeks * 5;
    for (int32_t i = 0; i < rem; ++i)
        if ((wd + i) % 7 < 5)
            ++n;
    return n;
}

PackedDate NextMonday(PackedDate d)
{
    while (WeekdayOf(d) >= 5)
        d = NextDay(d);
    return d;
}

// The slot of a date: one slot a weekday from the first (a weekday), as the price stream counts days.
class WeekdaySlots {
public:
    explicit WeekdaySlots(PackedDate first) : day0_(DateToDayNumber(first)) {}
    size_t operator()(PackedDate date) const
    {
        return size_t(std::max(0, WeekdayIndex(day0_, DateToDayNumber(date))));
    }

private:
    int32_t day0_;
};

// Which slots some share traded on, and which lie within a share's stream. A weekday that every
// stream covering it leaves without a price is a holiday in the records, and stays one in the
// synthetic stream.
class TradedSlots {
public:
    explicit TradedSlots(size_t slots) : traded_(slots, 0), covered_(slots, 0) {}

    // A day of the stream in hand; its streams's days arrive in date order.
    void Walked(size_t slot)
    {
        if (first_ == kNone)
            first_ = slot;
        last_ = slot;
    }
    void Trade(size_t slot) { traded_[slot] = 1; }
    void EndOfStream()
    {
        if (first_ != kNone)
            std::fill(covered_.begin() + long(first_), covered_.begin() + long(last_) + 1, 1);
        first_ = kNone;
    }
    void MarkHolidays(std::vector<double>& values) const
    {
        for (size_t i = 0; i < values.size() && i < traded_.size(); ++i)
            if (covered_[i] && !traded_[i])
                values[i] = double(kSlotNoValue);
    }

private:
    static constexpr size_t kNone = size_t(-1);
    std::vector<uint8_t> traded_;
    std::vector<uint8_t> covered_;
    size_t first_ = kNone;
    size_t last_ = 0;
};

// The stream bytes of the slots, or false when a difference does not fit.
bool EncodeSlots(const std::vector<double>& values, std::vector<uint8_t>& out)
{
    out.clear();
    out.reserve(values.size() * 4 + 1);
    int64_t total = 0;
    uint8_t buffer[8];
    for (double v : values) {
        if (!HasValue(v)) {
            out.push_back(kStreamDayA);
            continue;
        }
        double d = std::trunc(v - double(total));
        if (std::fabs(d) > kVarIntLimit)
            return false;
        uint8_t* end = EncodeVarInt(int32_t(d), buffer);
        if (!end)
            return false;
        out.insert(out.end(), buffer, end);
        total += int64_t(d);
    }
    out.push_back(kStreamEnd);
    return true;
}

int16_t StepScale(int16_t scale)
{
    if (scale > 1)
        return scale / 10 == 1 ? 0 : int16_t(scale / 10);
    if (scale == 0)
        return -10;
    return int16_t(scale * 10);
}

struct RowSpan {
    uint8_t* sub;
    const uint8_t* end;
};

RowSpan SpanOf(RecordCursor row)
{
    SubRecordSpan s = SubRecordOf(row.record, row.count);
    return {s.sub, s.end};
}

} // namespace

uint8_t* MakeSyntheticRecord(const std::string& title, int16_t scale, uint16_t firstDate, uint16_t lastDate,
                             const std::vector<double>& values)
{
    std::vector<uint8_t> stream;
    if (!EncodeSlots(values, stream))
        return nullptr;
    size_t titleLength = std::min<size_t>(title.size(), 200);
    size_t subAt = titleLength + 33;
    size_t size = subAt + kSubHead + stream.size();
    auto* record = static_cast<uint8_t*>(ProCalloc(uint32_t(size), 1, "Synthetic record"));
    StoreU16(record + RecordLayout::Length, uint16_t(std::min<size_t>(size, 0xFFFF)));
    record[RecordLayout::TextLength] = uint8_t(titleLength);
    std::memcpy(record + RecordLayout::Text, title.data(), titleLength);
    StoreU16(record + RecordLayout::FirstSubRecord, uint16_t(subAt));
    uint8_t* sub = record + subAt;
    sub[SubRecordLayout::Kind] = kSyntheticClass;
    StoreI16(sub + kSubRecordScale, scale);
    StoreU16(sub + kSubRecordFirstDate, firstDate);
    StoreU16(sub + kSubRecordLastDate, lastDate);
    std::memcpy(sub + kSubHead, stream.data(), stream.size());
    return record;
}

bool BuildListCompositeSeries(uint8_t*& target, const std::string& title, const RecordCursor* rows,
                              bool corrections, bool weighted)
{
    uint16_t earliest = 0xFFFF, latest = 0;
    for (const RecordCursor* r = rows; r && r->record; ++r) {
        RowSpan s = SpanOf(*r);
        if (!s.sub)
            continue;
        uint16_t first = LoadU16(s.sub + kSubRecordFirstDate), last = LoadU16(s.sub + kStatLastDate);
        if (first && first < earliest)
            earliest = first;
        if (last != 0xFFFF && last > latest)
            latest = last;
    }
    if (latest == 0 || earliest > latest) {
        ShowMessage(kNotEnoughData);
        return false;
    }
    earliest = NextMonday(earliest);
    WeekdaySlots slotOf(earliest);
    size_t days = slotOf(latest) + 1;
    std::vector<double> slots(days, 0.0);
    std::vector<uint8_t> hasData(days, 0);
    TradedSlots trading(days);
    bool skipped = false;
    for (const RecordCursor* r = rows; r && r->record; ++r) {
        RowSpan s = SpanOf(*r);
        if (!s.sub)
            continue;
        float close = LoadF32(s.sub + kStatLastClose);
        float weight = weighted ? LoadF32(s.sub + kStatMarketValue) : 1.0f;
        if (close <= 0 || close == kSlotNoValue || !(weight > 0) || weight == kSlotNoValue) {
            skipped = true;
            continue;
        }
        double factor = double(weight) / close;
        PriceDayWalker walker(s.sub, s.end, corrections ? GetCursorCorrections(r) : CorrectionCursor{});
        double value = 0;
        size_t at = 0;
        bool started = false;
        while (walker.next()) {
            const DayRecord& d = walker.day();
            if (d.date == 0 || d.date < earliest)
                continue;
            size_t index = slotOf(d.date);
            if (index >= days)
                break;
            trading.Walked(index);
            if (IsMarkedDay(d) || d.close <= 0)
                continue;
            trading.Trade(index);
            double v = d.close * factor;
            if (!started)
                value = v;
            for (; at < size_t(index); ++at) {
                slots[at] += value;
                hasData[at] = 1;
            }
            value = v;
            started = true;
        }
        trading.EndOfStream();
        if (!started)
            continue;
        for (; at < days; ++at) {
            slots[at] += value;
            hasData[at] = 1;
        }
    }
    if (skipped)
        ShowMessage(kSomeLeftOut);
    auto firstData = std::find(hasData.begin(), hasData.end(), 1);
    if (firstData == hasData.end() || slots[size_t(firstData - hasData.begin())] <= 0) {
        ShowMessage(kNotEnoughData);
        return false;
    }
    double base = slots[size_t(firstData - hasData.begin())];
    std::vector<double> values(days, double(kSlotNoValue));
    for (size_t i = 0; i < days; ++i)
        if (hasData[i])
            values[i] = slots[i] / base * kCompositeFactor;
    trading.MarkHolidays(values);
    uint8_t* record = MakeSyntheticRecord(weighted ? title : title + " (not weighted)", 100, earliest, latest, values);
    if (!record)
        return false;
    ProFree(target);
    target = record;
    return true;
}

PortfolioHistory ComputePortfolioHistory(const PortfolioHistoryInput& input, bool profit)
{
    PortfolioHistory out;
    if (input.chain.empty())
        return out;
    uint16_t start = 0xFFFF, end = 0;
    for (const HistoryTransaction& t : input.chain) {
        start = std::min(start, t.date);
        RecordCursor found = FindRecordById(t.shareId, t.line);
        if (found.record && RecordLength(found.record) != 0)
            if (SubRecordSpan s = SubRecordOf(found.record, t.line))
                end = std::max<uint16_t>(end, LoadU16(s.sub + kStatLastDate));
    }
    if (!profit && input.chartCash)
        for (const HistoryCashEntry& e : input.cash) {
            start = std::min(start, e.date);
            end = std::max(end, e.date);
        }
    end = std::max<uint16_t>(end, LatestDatabaseDate);
    start = NextMonday(std::max<uint16_t>(start, kEarliestStart));
    int32_t startDay = DateToDayNumber(start);
    int32_t n = end >= start ? WeekdayIndex(startDay, DateToDayNumber(end) + 1) : 0;
    const WeekdaySlots slotOf(start);
    if (n < 1)
        return out;
    out.start = start;
    out.end = end;
    std::vector<double>& slots = out.days;
    slots.assign(size_t(n) + 1, double(kSlotNoValue));
    auto add = [&](size_t i, double v) {
        if (i < slots.size())
            slots[i] = (HasValue(slots[i]) ? slots[i] : 0.0) + v;
    };
    TradedSlots trading(slots.size());
    bool hasData = false;
    const std::vector<HistoryTransaction>& chain = input.chain;
    size_t i = 0;
    while (i < chain.size()) {
        const HistoryTransaction& first = chain[i];
        RecordCursor found = FindRecordById(first.shareId, first.line);
        SubRecordSpan span = found.record && RecordLength(found.record) ? SubRecordOf(found.record, first.line)
                                                                        : SubRecordSpan{};
        if (!span) {
            out.incomplete = true;
            ++i;
            continue;
        }
        double holding = first.holdingAfter, paid = 0, cost = 0;
        auto apply = [&](const HistoryTransaction& t) {
            holding = t.holdingAfter;
            double amount = double(t.amount) * 100;
            if (profit)
                paid += TranIsDebit(t.type) ? amount : TranIsCredit(t.type) ? -amount : 0;
            cost += TranAddsShares(t.type) ? amount : TranRemovesShares(t.type) ? -amount : 0;
        };
        apply(first);
        size_t next = i + 1;
        auto applyDue = [&](uint16_t date) {
            while (next < chain.size() && chain[next].shareId == first.shareId && chain[next].type != kLatestRowType &&
                   chain[next].date <= date)
                apply(chain[next++]);
        };
        PriceDayWalker walker(span.sub, span.end, GetPriceCorrections(first.shareId, first.line));
        uint16_t streamFirst = LoadU16(span.sub + kSubRecordFirstDate);
        size_t slot = 0;
        PackedDate day = start;
        for (; slot < slots.size() && streamFirst > day; ++slot, day = NextWeekday(day)) {
            applyDue(day);
            if (day >= first.date)
                add(slot, cost);
        }
        double close = 0;
        // Each weekday up to `until` (a slot) takes the holding at the last close.
        auto carryTo = [&](size_t until) {
            for (; slot < until && slot < slots.size(); ++slot, day = NextWeekday(day)) {
                applyDue(day);
                if (day >= first.date)
                    add(slot, close * holding - paid);
            }
        };
        uint16_t streamLast = LoadU16(span.sub + kStatLastDate);
        while (slot < slots.size() && walker.next()) {
            const DayRecord& d = walker.day();
            if (d.date == 0 || d.date > streamLast)
                break;
            bool keep = IsMarkedDay(d) || d.close <= 0;
            if (d.date < start) {
                close = keep ? close : d.close;
                continue;
            }
            // Days the stream leaves out (its holidays) keep the close before them.
            const size_t at = slotOf(d.date);
            carryTo(at);
            if (slot >= slots.size())
                break;
            trading.Walked(slot);
            if (!keep)
                trading.Trade(slot);
            applyDue(d.date);
            close = keep ? close : d.close;
            if (d.date >= first.date)
                add(slot, close * holding - paid);
            if (close > 0)
                hasData = true;
            ++slot;
            day = NextWeekday(d.date);
        }
        trading.EndOfStream();
        carryTo(slots.size());
        while (next < chain.size() && chain[next].shareId == first.shareId && chain[next].type != kLatestRowType)
            ++next;
        i = next < chain.size() && chain[next].type == kLatestRowType ? next + 1 : chain.size();
    }
    if (!profit && input.chartCash) {
        std::vector<HistoryCashEntry> entries = input.cash;
        std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.date < b.date; });
        double balance = 0;
        size_t slot = 0;
        for (const HistoryCashEntry& e : entries) {
            for (size_t until = std::min(slotOf(e.date), slots.size()); slot < until; ++slot) {
                add(slot, balance);
                hasData = hasData || balance > 0;
            }
            double amount = double(e.amount) * 100;
            balance += e.type == 1 || e.type == 3 ? -amount : amount;
        }
        for (; slot < slots.size(); ++slot) {
            add(slot, balance);
            hasData = hasData || balance > 0;
        }
        double sum = 0;
        slot = 0;
        for (const HistoryTransaction& t : chain) {
            if (t.type == kLatestRowType) {
                for (; slot < slots.size(); ++slot)
                    add(slot, sum);
                sum = 0;
                slot = 0;
                continue;
            }
            if (!t.cashAccount)
                continue;
            for (size_t until = std::min(slotOf(t.date), slots.size()); slot < until; ++slot)
                add(slot, sum);
            double amount = double(t.amount) * 100;
            sum += TranIsCredit(t.type) ? amount : TranIsDebit(t.type) ? -amount : 0;
        }
    }
    trading.MarkHolidays(slots);
    if (!hasData)
        slots.clear();
    return out;
}

int16_t ScalePortfolioHistory(std::vector<double>& slots, bool profit)
{
    double m = 0;
    for (double v : slots)
        if (HasValue(v))
            m = std::max(m, v);
    int16_t scale = 100;
    double divisor = 1;
    double first = slots.empty() ? 0 : slots.front();
    while (m > kScaleLimit) {
        if (!profit && first / (divisor * 10) <= 1)
            break;
        divisor *= 10;
        m *= 0.1;
        scale = StepScale(scale);
    }
    // Every difference must fit the stream's value token.
    auto fits = [&] {
        double total = 0;
        for (double v : slots)
            if (HasValue(v)) {
                double d = std::trunc(v / divisor - total);
                if (std::fabs(d) > kVarIntLimit)
                    return false;
                total += d;
            }
        return true;
    };
    while (!fits() && divisor < 1e30) {
        divisor *= 10;
        scale = StepScale(scale);
    }
    if (divisor != 1)
        for (double& v : slots)
            if (HasValue(v))
                v /= divisor;
    return divisor != 1 && scale == 0 ? 1 : scale;
}

int BuildPortfolioHistoryRecord(uint8_t*& target, const PortfolioHistoryInput& input, bool profit)
{
    PortfolioHistory history = ComputePortfolioHistory(input, profit);
    if (history.days.empty()) {
        ShowMessage(kNotEnoughData);
        return -1;
    }
    if (history.incomplete)
        ShowMessage(kSomeSharesLeftOut);
    int16_t scale = ScalePortfolioHistory(history.days, profit);
    uint8_t* record = MakeSyntheticRecord(input.title, scale, history.start, history.end, history.days);
    if (!record) {
        ShowMessage(kNotEnoughData);
        return -1;
    }
    ProFree(target);
    target = record;
    return 0;
}

bool PortfolioHistoryInputOf(const ShareList& list, bool chartCash, PortfolioHistoryInput& out)
{
    return list.source && PortfolioHistoryInputOf(*list.source, chartCash, out);
}

bool PortfolioHistoryInputOf(const Portfolio& portfolio, bool chartCash, PortfolioHistoryInput& out)
{
    const Portfolio* p = &portfolio;
    out = {};
    out.chartCash = chartCash;
    out.title = std::string(p->name.str());
    // A transaction moves the charted cash only when it names an account attached to this portfolio
    // (0xFFFF is "no account"), as the header strip's balance counts it.
    std::vector<uint16_t> attached;
    for (const CashAccount* a = CashAccounts().head; a; a = a->next)
        if (a->kind == int32_t(p->number))
            attached.push_back(uint16_t(a->number));
    for (const Transaction* t = p->transactions.get(); t; t = t->next) {
        const uint8_t* b = t->bytes.data();
        if (t->bytes.size() < TransactionLayout::FixedSize)
            continue;
        HistoryTransaction h;
        h.date = t->date();
        h.type = t->type();
        h.shareId = t->shareId();
        h.line = t->line();
        h.amount = LoadF32(b + TransactionLayout::Amount);
        h.holdingAfter = LoadF32(b + TransactionLayout::Holding);
        const uint16_t account = LoadU16(b + TransactionLayout::CashAccount);
        h.cashAccount = std::find(attached.begin(), attached.end(), account) != attached.end();
        out.chain.push_back(h);
    }
    // The cash of the accounts attached to this portfolio.
    for (const CashAccount* a = CashAccounts().head; a; a = a->next) {
        if (a->kind != int32_t(p->number) || !a->data)
            continue;
        for (uint32_t pos = 0; pos < a->dataSize && a->data[pos] != 0; pos += a->data[pos]) {
            auto entry = DecodeCashEntry({a->data + pos, a->dataSize - pos});
            if (!entry)
                break;
            out.cash.push_back({entry->date, entry->type, entry->amount});
        }
    }
    return true;
}

} // namespace qv
