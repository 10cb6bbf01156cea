// Trend rates, title values, the average trade volume and line alarm sides of the intraday chart.
#include "chartmodel/IntradayReadouts.h"

#include "core/ReadersWriterLock.h"
#include "core/StringPrintf.h"
#include "realtime/feed/RTEngine.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace qv {
namespace {

constexpr double kSecondsPerHour = 3600;
constexpr int64_t kDaySeconds = 86400;
constexpr double kNoChange = 0.00001;
constexpr uint32_t kTimeOfValue = 0x300; // the value's time of day, as a column's form 3 asks
constexpr float kDeSpikeFactors[] = {2.5f, 1.1f, 1.05f, 1.025f, 1.01f};

void WidenTimes(const TickItemArray& items, CleanedTicks& out)
{
    if (items.items.empty())
        return;
    const int32_t first = items.items.front().time, last = items.items.back().time;
    out.firstTime = out.firstTime < 0 ? first : std::min(out.firstTime, first);
    out.lastTime = std::max(out.lastTime, last);
}

} // namespace

std::array<std::string, kReadoutTexts> IntradayReadoutTexts(const IntradayReadoutValues& v)
{
    if (v.offGraph)
        return {"(Off graph)", "Mid (bid/offer) ", "Bid/offer ", "Mid price ", "Trade volume/price ", "Cursor (Off graph)"};
    std::array<std::string, kReadoutTexts> out;
    out[0] = v.latest ? "Latest prices & trades " + v.time : v.time + ", " + v.pane;
    out[1] = "Mid (bid/offer) " + v.mid + " (" + v.bid + " - " + v.offer + ")";
    out[2] = "Bid/offer " + v.bid + " - " + v.offer;
    out[3] = "Mid " + v.mid;
    out[4] = v.volume.empty() ? "No volume"
                              : "Volume " + std::string(v.signal.empty() ? "" : "(sig) ") + v.volume + " at " + v.price + " " + v.signal;
    out[5] = "Cursor (" + v.time + ") " + v.cursor;
    return out;
}

std::string FormatReadoutTime(PackedDate day, int32_t seconds)
{
    const int32_t s = std::clamp<int32_t>(seconds, 0, 86399);
    return StringPrintf("%02d/%02d/%04d %02d:%02d.%02d", DayOfMonth(day), MonthOfYear(day), FullYear(day), s / 3600,
                        s / 60 % 60, s % 60);
}

std::string FormatAnchorTime(PackedDate day, int32_t seconds, bool currentDay)
{
    const std::string when = FormatReadoutTime(day, seconds);
    // The time alone: what follows the date and its blank.
    return "Anchor time " + (currentDay ? when.substr(when.find(' ') + 1) : when);
}

std::string FormatPointValue(const std::string& name, const std::string& time, double value)
{
    if (time.empty())
        return StringPrintf("%s value %0.3f", name.c_str(), value);
    return StringPrintf("%s %s - %0.3f", name.c_str(), time.c_str(), value);
}

std::array<std::string, 2> FormatTimeRange(PackedDate fromDay, int32_t fromSeconds, PackedDate toDay, int32_t toSeconds)
{
    return {"From " + FormatReadoutTime(fromDay, fromSeconds), "to " + FormatReadoutTime(toDay, toSeconds)};
}

float DeSpikeFactor(uint8_t setting)
{
    if (!(setting & 1))
        return -1;
    const size_t index = std::min<size_t>(setting >> 1, std::size(kDeSpikeFactors) - 1);
    return kDeSpikeFactors[index];
}

CleanedTicks CleanTicks(std::span<IntradaySeriesSet* const> days, std::span<IntradaySeriesSet* const> added, float factor,
                        bool ohlcOrCandles, bool tradesShown, bool spikeRemoval)
{
    CleanedTicks out;
    for (IntradaySeriesSet* day : days) {
        if (!day)
            continue;
        CleanTickPrices(day->quotes, 1, true, &out.range, factor, spikeRemoval);
        CleanTickPrices(day->quotes, 0, true, &out.range, factor, spikeRemoval);
        WidenTimes(day->quotes, out);
        CleanTickPrices(day->trades, 0, false, &out.range, factor, spikeRemoval);
        if (ohlcOrCandles)
            WidenTimes(day->trades, out);
        if (tradesShown) {
            CleanTickPrices(day->others, 0, false, &out.range, factor, spikeRemoval);
            WidenTimes(day->others, out);
        }
    }
    for (IntradaySeriesSet* graph : added) {
        if (!graph)
            continue;
        CleanTickPrices(graph->quotes, 1, true, nullptr, factor, spikeRemoval);
        CleanTickPrices(graph->quotes, 0, true, nullptr, factor, spikeRemoval);
    }
    if (out.range.maximum < out.range.minimum)
        out.range.minimum = out.range.maximum = 0;
    return out;
}

std::string FormatTrendRate(int64_t time1, double value1, int64_t time2, double value2, bool logScale)
{
    if (std::llabs(time2 - time1) <= 1)
        return {};
    const double hours = double(time2 - time1) / kSecondsPerHour;
    if (!logScale)
        return StringPrintf("%+.2f/hr", (value2 - value1) / hours);
    // The logarithm of a ratio with a value at or below 0 has no meaning: no rate.
    if (!(value1 > 0) || !(value2 > 0))
        return {};
    return StringPrintf("%+.2f%%/hr", (std::exp(std::log(value2 / value1) / hours) - 1) * 100);
}

std::string BuildTitleValues(uint16_t options, const IntradayLatestValues& latest, const std::function<std::string(float)>& price)
{
    std::string out;
    const auto add = [&out](const std::string& part, const char* between) {
        if (part.empty())
            return;
        if (!out.empty())
            out += between;
        out += part;
    };
    if ((options & kTitleLastMid) && latest.mid > 0)
        add(price(latest.mid), " ");
    if ((options & kTitleMidChange) && latest.mid > 0 && latest.reference > 0) {
        const double change = double(latest.mid) - latest.reference;
        std::string text;
        if (std::fabs(change) < kNoChange)
            text = "=0.0";
        else if (options & kTitleChangeAsPercent)
            text = StringPrintf("%+.2f%%", change * 100 / latest.reference);
        else
            text = (change > 0 ? "+" : "") + price(float(change));
        add(text, " ");
    }
    if ((options & kTitleBidOffer) && latest.bid > 0 && latest.offer > 0)
        add(price(latest.bid) + " / " + price(latest.offer), kTitleLineBreak);
    return out;
}

int64_t AverageTradeVolume(std::span<const float> volumes)
{
    int64_t sum = 0, count = 0;
    for (float v : volumes) {
        if (!(v > 0))
            continue;
        sum += int64_t(v);
        ++count;
    }
    return count ? sum / count : -1;
}

int LineSideOfPrice(double price, int64_t time, int64_t time1, double value1, int64_t time2, double value2)
{
    // Two ends at one time give the line no slope to follow.
    if (time2 == time1)
        return 1;
    const double slope = (value2 - value1) / double(time2 - time1);
    const double line = value2 - double(time2 % kDaySeconds) * slope + double(time) * slope;
    return price >= line ? 3 : 1;
}

int LineAlarmSide(const ShareRef& share, int64_t time1, double value1, int64_t time2, double value2)
{
    double price = 0, time = 0;
    int priceType = kRTValueNone, timeType = kRTValueNone;
    {
        SharedLockGuard lock(IntradayStoreLock());
        priceType = GetRTColumnValue(0, price, share, 'K', 0);
        timeType = GetRTColumnValue(0, time, share, 'K', kTimeOfValue);
    }
    if (priceType != kRTValuePrice || timeType != kRTValueTime || !(price > 0))
        return 0;
    return LineSideOfPrice(price, int64_t(time), time1, value1, time2, value2);
}

} // namespace qv
