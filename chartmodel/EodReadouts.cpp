// The daily chart's status and cursor readouts.
#include "chartmodel/EodReadouts.h"

#include "chartmodel/EodChart.h"
#include "core/DateText.h"
#include "core/StringPrintf.h"

namespace qv {
namespace {

std::string SignalText(float signal)
{
    return " (sig) (" + VolumeAmountText(signal) + ")";
}

// Price, OHLC and volume of one record, as the last day's readout and the cursor readout give them.
void DescribeRecord(const EodReadoutInput& in, int32_t i, EodReadoutTexts& texts)
{
    const DayRecord& day = in.days[i];
    texts.price = PriceReadoutText(day, i > 0 ? &in.days[i - 1] : nullptr, in.minor);
    if (HasOhlc(day)) {
        texts.ohlc = OhlcReadoutText(day, in.minor);
        if (in.signal)
            texts.ohlc += SignalText(in.signal[i]);
    }
    texts.volume = VolumeReadoutText(day.volume);
}

std::string TrendText(const EodReadoutInput& in)
{
    if (!in.trend)
        return {};
    const TrendLineEnds& t = *in.trend;
    const std::string rate = GetTrendRateText(t.date1, t.value1, t.date2, t.value2, t.logScale);
    return rate.empty() ? std::string() : "Trend " + rate;
}

std::string CursorValueText(const EodReadoutInput& in, const CursorPoint& point)
{
    if (point.pane == CursorPane::Volume || (point.pane == CursorPane::Indicator && point.wholeNumbers))
        return VolumeAmountText(point.value);
    if (point.pane == CursorPane::Indicator)
        return StringPrintf("%0.2f", point.value);
    return FormatPriceInUnit(point.value, in.days[point.record].unit, in.minor);
}

} // namespace

EodReadoutTexts LatestReadouts(const EodReadoutInput& in)
{
    EodReadoutTexts texts{"No price data", "No OHLC data", "No volume data", "No trend line", {}};
    if (in.days && in.count > 0)
        DescribeRecord(in, in.count - 1, texts);
    if (const std::string trend = TrendText(in); !trend.empty())
        texts.trend = trend;
    return texts;
}

EodReadoutTexts CursorReadouts(const EodReadoutInput& in, const CursorPoint& point)
{
    const bool onRecord = point.pane != CursorPane::None && in.days && point.record >= 0 && point.record < in.count;
    if (!onRecord) {
        EodReadoutTexts texts{"No price selected", "No OHLC selected", "No volume selected", {}, "Cursor (Off graph)"};
        const std::string trend = TrendText(in);
        const std::string bars = StringPrintf(in.weekly ? "%d trading weeks" : "%d trading days", point.visibleBars);
        texts.trend = trend.empty() ? bars : trend + "  " + bars;
        return texts;
    }
    EodReadoutTexts texts{{}, "No OHLC selected", {}, {}, {}};
    DescribeRecord(in, point.record, texts);
    const DayRecord& day = in.days[point.record];
    texts.cursor = StringPrintf("Cursor (%s, %s)", FormatDate(day.date).c_str(), CursorValueText(in, point).c_str());
    texts.trend = TrendText(in);
    if (point.pane == CursorPane::Indicator && !point.indicatorValues.empty())
        texts.trend = texts.trend.empty() ? point.indicatorValues : point.indicatorValues + "  " + texts.trend;
    return texts;
}

std::array<std::string, 4> LatestLegendTexts(const EodReadoutTexts& latest)
{
    return {latest.price, latest.ohlc, latest.volume, latest.trend};
}

std::array<std::string, 4> CursorLegendTexts(const EodReadoutTexts& cursor)
{
    return {cursor.price, cursor.ohlc, cursor.volume, cursor.cursor};
}

} // namespace qv
