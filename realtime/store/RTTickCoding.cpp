// Stored tick coding: integer registers (unchanged bit, optional new width, sign, magnitude) and
// price registers (optional new scale in front); records open with a prefix-coded marker.
#include "realtime/store/RTTickCoding.h"

#include "realtime/store/RTDaySummary.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qv {
namespace {

constexpr int kWidths[8] = {2, 4, 8, 10, 13, 16, 20, 32};
constexpr double kScales[8] = {0.01, 0.1, 1, 10, 100, 1000, 10000, 100000};
// Class byte of each register in the entry's class array (the seventh's class is third).
constexpr int kClassOf[6] = {0, 1, 3, 4, 5, 6};
constexpr int kSeventhClass = 2;

// Markers as (bits in reading order, count).
constexpr uint32_t kMarkTimeLive = 0b01, kMarkTimeCatchUp = 0b00111, kMarkPrice = 0b0010, kMarkBackfill = 0b10;

uint64_t WidthMax(int index) { return kWidths[index] == 32 ? 0xFFFFFFFFull : (1ull << kWidths[index]) - 1; }

int WidthFor(uint64_t magnitude)
{
    for (int i = 0; i < 8; ++i)
        if (magnitude <= WidthMax(i))
            return i;
    return 7;
}

double PriceFactor(int scale, bool pounds) { return kScales[scale & 7] * (pounds ? 100.0 : 1.0); }

// The price in units of the finest scale, the coding's precision; a price that is not zero stays
// at least one unit away from zero, since a zero price reads back as no price at all.
int64_t FinestUnits(float value, bool pounds)
{
    double units = std::nearbyint(double(value) / PriceFactor(0, pounds));
    if (units == 0 && value != 0)
        units = value > 0 ? 1 : -1;
    return int64_t(units);
}

// The scale a price is stored in: the register's own when it holds the price as well as the
// finest scale does, else the finest that holds it at all. A coarser scale is never taken for a
// price it would round: every price of the day reads back to the coding's precision.
int PickScale(float value, bool pounds, int current)
{
    if (std::fabs(double(value)) >= 2e9 * PriceFactor(7, pounds))
        return 7;
    int64_t finest = FinestUnits(value, pounds);
    auto fits = [&](int s) { return std::fabs(std::nearbyint(double(value) / PriceFactor(s, pounds))) < 2147483647.0; };
    auto exact = [&](int s) {
        int64_t step = int64_t(std::llround(kScales[s] / kScales[0]));
        return fits(s) && finest % step == 0;
    };
    if (exact(current))
        return current;
    for (int s = 0; s < 8; ++s)
        if (fits(s))
            return s;
    return 7;
}

// The register value of a price on a scale PickScale gave.
double ScaledUnits(float value, bool pounds, int scale)
{
    if (scale == 0 || std::fabs(double(value)) < 2e9 * PriceFactor(0, pounds)) {
        int64_t step = int64_t(std::llround(kScales[scale] / kScales[0]));
        int64_t finest = FinestUnits(value, pounds);
        if (finest % step == 0)
            return double(finest / step);
    }
    return std::nearbyint(double(value) / PriceFactor(scale, pounds));
}

class BitReader {
public:
    explicit BitReader(std::span<const uint32_t> words) : words_(words) {}
    bool ok() const { return ok_; }
    uint32_t Bit() { return Read(1); }
    uint32_t Read(int n)
    {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) {
            if (word_ >= words_.size()) {
                ok_ = false;
                return 0;
            }
            v |= ((words_[word_] >> bit_) & 1u) << i;
            if (++bit_ == 32) {
                bit_ = 0;
                ++word_;
            }
        }
        return v;
    }

private:
    std::span<const uint32_t> words_;
    size_t word_ = 0;
    int bit_ = 0;
    bool ok_ = true;
};

struct Registers {
    uint32_t time = 0;
    uint8_t timeClass = 0;
    uint32_t regs[6] = {};
    uint16_t seventh = 0;
    uint8_t classes[7] = {};
};

uint32_t ReadInteger(BitReader& r, uint32_t& reg, uint8_t& cls)
{
    if (r.Bit())
        return reg;
    if (r.Bit())
        cls = uint8_t(0xF8 + r.Read(3));
    bool negative = r.Bit();
    int width = kWidths[cls & 7];
    uint32_t magnitude = width == 32 ? r.Read(32) : r.Read(width);
    reg = negative ? reg - magnitude : reg + magnitude;
    return reg;
}

float ReadPrice(BitReader& r, Registers& s, int reg, bool pounds)
{
    uint8_t& cls = s.classes[kClassOf[reg]];
    if (r.Bit())
        cls = uint8_t((cls & 7) | (r.Read(3) << 3));
    uint8_t widthClass = cls & 7;
    ReadInteger(r, s.regs[reg], widthClass);
    cls = uint8_t((cls & 0x38) | (widthClass & 7));
    return float(double(int32_t(s.regs[reg])) * PriceFactor(cls >> 3, pounds));
}

// A trade's price, volume and second volume (the 16-bit seventh register).
void ReadTrade(BitReader& r, Registers& s, bool pounds, RTStoredItem& trade)
{
    trade.value1 = ReadPrice(r, s, kRTRegTradePrice, pounds);
    trade.value2 = float(ReadInteger(r, s.regs[kRTRegTradeVolume], s.classes[kClassOf[kRTRegTradeVolume]]));
    uint32_t second = s.seventh;
    ReadInteger(r, second, s.classes[kSeventhClass]);
    s.seventh = uint16_t(second);
}

// The marker in reading order: 01 live time, 00111 catch-up time, 0010 price, 10 backfill trade,
// 000 end, 11 and 00110 kinds this reader does not know (-1).
int ReadMarker(BitReader& r)
{
    if (r.Bit() == 0) {
        if (r.Bit())
            return 1;
        if (r.Bit() == 0)
            return 0;
        if (r.Bit() == 0)
            return 3;
        return r.Bit() ? 2 : -1;
    }
    return r.Bit() ? -1 : 4;
}

} // namespace

RTTickWriter::RTTickWriter(RTDayShareEntry& entry) : e_(entry), pounds_(entry.loadFlags & kRTLoadPounds)
{
    if (e_.ticks.size() < kRTSummaryWords) {
        auto empty = EmptyRTSummaryWords();
        e_.ticks.assign(empty.begin(), empty.end());
        e_.tickCount = kRTSummaryWords;
        e_.bitsInLastWord = 0;
        e_.streamOffset = kRTSummaryWords;
    }
}

void RTTickWriter::Bits(uint32_t value, int n)
{
    for (int i = 0; i < n; ++i) {
        if (e_.bitsInLastWord == 0) {
            e_.ticks.resize(e_.tickCount + 1);
            e_.ticks[e_.tickCount++] = 0;
        }
        e_.ticks[e_.tickCount - 1] |= ((value >> i) & 1u) << e_.bitsInLastWord;
        e_.bitsInLastWord = uint8_t((e_.bitsInLastWord + 1) % 32);
    }
    e_.tickCapacity = std::max<uint32_t>(e_.tickCapacity, e_.tickCount + 1);
}

void RTTickWriter::Marker(uint32_t readingOrder, int n)
{
    for (int i = n - 1; i >= 0; --i)
        Bits((readingOrder >> i) & 1u, 1);
}

void RTTickWriter::Integer(uint32_t& reg, uint8_t& cls, uint32_t value, int widthBits)
{
    uint32_t mask = widthBits == 32 ? 0xFFFFFFFFu : (1u << widthBits) - 1;
    value &= mask;
    if (value == reg) {
        Bits(1, 1);
        return;
    }
    Bits(0, 1);
    int32_t diff = int32_t(value - reg);
    if (widthBits == 16)
        diff = int16_t(uint16_t(value - reg));
    bool negative = diff < 0;
    uint64_t magnitude = negative ? uint64_t(-int64_t(diff)) : uint64_t(diff);
    if (magnitude > WidthMax(cls & 7)) {
        int index = WidthFor(magnitude);
        Bits(1, 1);
        Bits(uint32_t(index), 3);
        cls = uint8_t(0xF8 + index);
    } else {
        Bits(0, 1);
    }
    Bits(negative, 1);
    Bits(uint32_t(magnitude), kWidths[cls & 7]);
    reg = value;
}

void RTTickWriter::Price(int reg, float value)
{
    if (!std::isfinite(value))
        value = 0.0f;
    uint8_t& cls = e_.classes[kClassOf[reg]];
    int scale = PickScale(value, pounds_, cls >> 3);
    Bits(scale != cls >> 3, 1);
    if (scale != cls >> 3)
        Bits(uint32_t(scale), 3);
    // A value beyond every scale is held at the largest the register takes.
    double units = std::clamp(ScaledUnits(value, pounds_, scale), -2147483647.0, 2147483647.0);
    uint8_t widthClass = cls & 7;
    Integer(e_.registers[reg], widthClass, uint32_t(int32_t(units)), 32);
    cls = uint8_t((scale << 3) | (widthClass & 7));
}

void RTTickWriter::Time(uint32_t seconds, bool catchUp)
{
    uint32_t t = seconds ? seconds : 1;
    if (t == e_.lastRecordTime)
        return;
    if (catchUp)
        Marker(kMarkTimeCatchUp, 5);
    else
        Marker(kMarkTimeLive, 2);
    uint8_t cls = uint8_t(e_.timeClass);
    Integer(e_.lastRecordTime, cls, t, 32);
    e_.timeClass = cls;
}

void RTTickWriter::PriceItem(float fifth, float offer, float sixth, float bid, const std::optional<RTStoredTrade>& trade)
{
    Marker(kMarkPrice, 4);
    auto registerValue = [&](int reg) {
        uint8_t cls = e_.classes[kClassOf[reg]];
        return float(double(int32_t(e_.registers[reg])) * PriceFactor(cls >> 3, pounds_));
    };
    Price(kRTRegFifth, fifth ? fifth : offer ? offer : registerValue(kRTRegFifth));
    Price(kRTRegOffer, offer);
    Price(kRTRegSixth, sixth ? sixth : bid ? bid : registerValue(kRTRegSixth));
    Price(kRTRegBid, bid);
    Bits(trade.has_value(), 1);
    if (!trade)
        return;
    Trade(trade->price, trade->volume, trade->secondVolume);
}

void RTTickWriter::Trade(float price, uint32_t volume, uint32_t seventh)
{
    Price(kRTRegTradePrice, price);
    Integer(e_.registers[kRTRegTradeVolume], e_.classes[kClassOf[kRTRegTradeVolume]], volume, 32);
    uint32_t reg = e_.seventhRegister;
    Integer(reg, e_.classes[kSeventhClass], seventh, 16);
    e_.seventhRegister = uint16_t(reg);
}

void RTTickWriter::BackfillTrade(float price, uint32_t volume, uint16_t seventh)
{
    Marker(kMarkBackfill, 2);
    Trade(price, volume, seventh);
}

std::vector<RTStoredItem> ReadRTStoredTicks(std::span<const uint32_t> words, uint32_t streamOffset, bool pounds)
{
    std::vector<RTStoredItem> out;
    if (streamOffset < kRTSummaryWords)
        streamOffset = kRTSummaryWords;
    if (words.size() <= streamOffset)
        return out;
    BitReader r(words.subspan(streamOffset));
    Registers s;
    float lastOffer = 0.0f, lastBid = 0.0f;
    bool quoteSeen = false;
    for (;;) {
        int marker = ReadMarker(r);
        if (!r.ok() || marker <= 0)
            break;
        if (marker == 1 || marker == 2) {
            ReadInteger(r, s.time, s.timeClass);
            if (r.ok())
                out.push_back({RTStoredItem::Time, s.time, 0, 0, false});
            continue;
        }
        RTStoredItem trade{RTStoredItem::Trade, s.time};
        if (marker == 3) {
            float fifth = ReadPrice(r, s, kRTRegFifth, pounds);
            float offer = ReadPrice(r, s, kRTRegOffer, pounds);
            float sixth = ReadPrice(r, s, kRTRegSixth, pounds);
            float bid = ReadPrice(r, s, kRTRegBid, pounds);
            bool hasTrade = r.Bit();
            if (hasTrade)
                ReadTrade(r, s, pounds, trade);
            if (!r.ok())
                break;
            bool repeated = quoteSeen && offer == lastOffer && bid == lastBid;
            out.push_back({RTStoredItem::Quote, s.time, offer, bid, repeated});
            out.push_back({RTStoredItem::Other, s.time, fifth, sixth, false});
            quoteSeen = true;
            lastOffer = offer;
            lastBid = bid;
            if (hasTrade)
                out.push_back(trade);
            continue;
        }
        ReadTrade(r, s, pounds, trade);
        if (!r.ok())
            break;
        out.push_back(trade);
    }
    return out;
}

void SortRTEntryTicks(RTDayShareEntry& e)
{
    const bool pounds = e.loadFlags & kRTLoadPounds;
    const size_t used = std::min<size_t>(e.ticks.size(), std::max<uint32_t>(e.tickCount, kRTSummaryWords));
    const std::vector<RTStoredItem> items = ReadRTStoredTicks(std::span(e.ticks.data(), used), e.streamOffset, pounds);
    // A quote comes with its two further prices and, when it carried one, its trade; a trade alone
    // was a backfill's.
    struct Record {
        uint32_t time = 0;
        bool quote = false;
        float fifth = 0, offer = 0, sixth = 0, bid = 0;
        std::optional<RTStoredTrade> trade;
    };
    std::vector<Record> records;
    for (size_t i = 0; i < items.size(); ++i) {
        const RTStoredItem& item = items[i];
        if (item.kind == RTStoredItem::Quote) {
            Record r{item.time, true, 0, item.value1, 0, item.value2, std::nullopt};
            if (i + 1 < items.size() && items[i + 1].kind == RTStoredItem::Other) {
                r.fifth = items[i + 1].value1;
                r.sixth = items[i + 1].value2;
                ++i;
            }
            if (i + 1 < items.size() && items[i + 1].kind == RTStoredItem::Trade && items[i + 1].time == item.time) {
                r.trade = RTStoredTrade{items[i + 1].value1, uint32_t(items[i + 1].value2), 0};
                ++i;
            }
            records.push_back(r);
        } else if (item.kind == RTStoredItem::Trade) {
            records.push_back({item.time, false, 0, 0, 0, 0, RTStoredTrade{item.value1, uint32_t(item.value2), 0}});
        }
    }
    std::stable_sort(records.begin(), records.end(), [](const Record& a, const Record& b) { return a.time < b.time; });

    RTDayShareEntry sorted;
    sorted.key = e.key;
    sorted.exchange = e.exchange;
    sorted.source = e.source;
    sorted.flags = e.flags;
    sorted.tail = e.tail;
    sorted.loadFlags = uint16_t((e.loadFlags & ~kRTLoadSummary) | kRTLoadWritten | kRTLoadAllTicks | kRTLoadRebuildSummary);
    sorted.ticks.assign(e.ticks.begin(), e.ticks.begin() + long(std::min<size_t>(e.ticks.size(), kRTSummaryWords)));
    sorted.ticks.resize(kRTSummaryWords, 0);
    sorted.tickCount = kRTSummaryWords;
    sorted.streamOffset = kRTSummaryWords;
    RTTickWriter w(sorted);
    for (const Record& r : records) {
        w.Time(r.time, true);
        if (r.quote)
            w.PriceItem(r.fifth, r.offer, r.sixth, r.bid, r.trade);
        else
            w.BackfillTrade(r.trade->price, r.trade->volume, 0);
    }
    e = std::move(sorted);
}

} // namespace qv
