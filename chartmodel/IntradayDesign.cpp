// The intraday design controls' fields and the two default schemes.
#include "chartmodel/IntradayDesign.h"

#include "chartmodel/GraphSettingLayout.h"

#include <algorithm>
#include <cstring>

namespace qv::intradaydesign {
namespace {

using namespace graphsetting;
using K = Kind;

constexpr size_t kFlags = 1144;       // u16 display flags
constexpr size_t kDeSpike = 1148;     // u8: bit 0 on, bits 1-7 strength
constexpr size_t kTimeRange = 1149;   // u8
constexpr size_t kDaysViewed = 1150;  // u8: days - 1
constexpr size_t kShadeLevel = 1160;  // u32
constexpr size_t kBarPeriodIndex = 1188;
constexpr size_t kPriceShown = 1192;  // u8
constexpr size_t kVolumeShown = 1193; // u8
constexpr size_t kAnalytic = 1196;    // u8
constexpr size_t kLabelReduction = 1197;
constexpr size_t kScales = 1208;      // u8 bits 0-4, bit 5 latest price on right
constexpr size_t kTitleOptions = 1238;

Control Check(int id, int page, const char* text, size_t at, uint8_t width, uint32_t bits)
{
    return {id, K::Check, page, text, at, width, bits, bits};
}
Control Flag(int id, int page, const char* text, int bit) { return Check(id, page, text, kFlags, 2, 1u << bit); }
Control Radio(int id, int page, const char* text, size_t at, uint8_t width, uint32_t mask, uint32_t value)
{
    return {id, K::Radio, page, text, at, width, mask, value};
}
Control Pen(int id, int page, const char* text, size_t at) { return {id, K::Pen, page, text, at, 4, 0xFFFFFFFF, 0}; }

std::vector<Control> MakeControls()
{
    std::vector<Control> c;
    // Price
    const char* display[] = {"None", "Mid line", "Close line", "OHLC", "Candlestick"};
    for (int i = 0; i < 5; ++i)
        c.push_back(Radio(2716 + i, 0, display[i], kPriceShown, 1, 0xFF, uint32_t(i)));
    c.push_back(Pen(2739, 0, "Price", 1052));
    c.push_back(Pen(2714, 0, "Price (2)", 1056));
    c.push_back(Flag(3142, 0, "Stepped line", 11));
    c.push_back(Flag(2525, 0, "Bid", 0));
    c.push_back(Flag(2528, 0, "Bid shading", 1));
    c.push_back(Flag(2797, 0, "Offer", 2));
    c.push_back(Flag(2802, 0, "Offer shading", 3));
    c.push_back(Pen(2889, 0, "Bid line", 1168));
    c.push_back(Pen(2901, 0, "Bid shading", 1172));
    c.push_back(Pen(2893, 0, "Offer line", 1176));
    c.push_back(Pen(2897, 0, "Offer shading", 1180));
    c.push_back(Flag(4100, 0, "High", 5));
    c.push_back(Flag(4099, 0, "Low", 15));
    c.push_back(Flag(3309, 0, "Close", 12));
    c.push_back(Pen(4102, 0, "Previous high", kIntradayColours2));
    c.push_back(Pen(4101, 0, "Previous low", kIntradayColours2 + 4));
    c.push_back(Pen(3324, 0, "Previous close", kStyleColour1));
    c.push_back(Check(3387, 0, "Show latest price on right", kScales, 1, 0x20));
    c.push_back(Pen(3416, 0, "Latest price label", 1260));
    c.push_back(Check(3328, 0, "De-spike", kDeSpike, 1, 0x01));
    c.push_back({2535, K::Slider, 0, "De-spike strength", kDeSpike, 1, 0xFE, 4, 1});
    // Trades
    const char* volume[] = {"None", "Trade based", "Period based"};
    for (int i = 0; i < 3; ++i)
        c.push_back(Radio(2765 + i, 1, volume[i], kVolumeShown, 1, 0xFF, uint32_t(i)));
    c.push_back(Pen(2572, 1, "Volume", 1080));
    c.push_back(Pen(2573, 1, "Volume (2)", 1084));
    c.push_back(Flag(2741, 1, "Signal line", 9));
    c.push_back({2743, K::Number, 1, "periods", 1048, 2, 0xFFFF, 0});
    c.push_back(Pen(2744, 1, "Signal line", 1088));
    c.push_back(Flag(2750, 1, "Colour volume bars by price up/down movement", 7));
    const char* trades[] = {"None", "Line", "Dots"};
    for (int i = 0; i < 3; ++i)
        c.push_back(Radio(3282 + i, 1, trades[i], kTrades, 4, 0x0F, uint32_t(i)));
    c.push_back(Check(3286, 1, "Buy/Sell", kTrades, 4, kTradesBuySell));
    c.push_back(Check(3285, 1, "Show size", kTrades, 4, kTradesShowSize));
    c.push_back(Pen(kTradesPen, 1, "Trades", 1164));
    c.push_back(Pen(3288, 1, "Buys", 1228));
    c.push_back(Pen(3289, 1, "Sells", 1232));
    // Time
    c.push_back({2886, K::List, 2, "Days viewed", kDaysViewed, 1, 0xFF, 0});
    c.push_back({2829, K::Date, 2, "Display from", 1194, 2, 0xFFFF, 0});
    const char* range[] = {"Show all data", "Market hours", "User defined hours"};
    for (int i = 0; i < 3; ++i)
        c.push_back(Radio(2907 + i, 2, range[i], kTimeRange, 1, 0xFF, uint32_t(i)));
    c.push_back(Flag(3397, 2, "Extend current day when connected", 14));
    c.push_back(Flag(3124, 2, "Extend to latest time", 10));
    c.push_back({2883, K::List, 2, "Bar period", kBarPeriodIndex, 4, 0xFFFFFFFF, 0});
    c.push_back(Flag(3103, 2, "Time Zone Label", 13));
    const char* separator[] = {"None", "Frame", "Gap"};
    for (int i = 0; i < 3; ++i)
        c.push_back(Radio(3388 + i, 2, separator[i], 1147, 1, 0xFF, uint32_t(i)));
    c.push_back({3110, K::List, 2, "Label reduction", kLabelReduction, 1, 0xFF, 0});
    // Lines && Text
    const char* scales[] = {"Left-hand Scale", "Right-hand Scale", "Draw timescale below analytic graphs",
                            "\"Hot\" line edit points", "Show title on analytic graphs"};
    const int scaleIds[] = {3108, 3113, 3119, 3121, 3342};
    for (int i = 0; i < 5; ++i)
        c.push_back(Check(scaleIds[i], 3, scales[i], kScales, 1, 1u << i));
    const char* title[] = {"Epic code", "Last mid price", "Volume title", "Average trade volume", "Analytic title",
                           "Last analytic value", "Mid price +/-"};
    const int titleIds[] = {3344, 3345, 3346, 3347, 3348, 3349, 3401};
    for (int i = 0; i < 7; ++i)
        c.push_back(Check(titleIds[i], 3, title[i], kTitleOptions, 2, 1u << i));
    c.push_back(Radio(3402, 3, "From open", kTitleOptions, 2, 0x80, 0));
    c.push_back(Radio(3403, 3, "From prev. close", kTitleOptions, 2, 0x80, 0x80));
    c.push_back(Radio(3404, 3, "Amount", kTitleOptions, 2, 0x100, 0));
    c.push_back(Radio(3405, 3, "Percentage change", kTitleOptions, 2, 0x100, 0x100));
    c.push_back(Check(3446, 3, "Bid/Offer", kTitleOptions, 2, 0x200));
    // Style
    c.push_back(Flag(2793, 4, "Watermark", 4));
    c.push_back({2790, K::Check, 4, "Light", kShadeLevel, 4, 0xFFFFFFFF, 9});
    c.push_back(Pen(2891, 4, "Watermark", 1184));
    c.push_back(Pen(3406, 4, "Watermark fall", 1252));
    c.push_back(Pen(3411, 4, "Watermark rise", 1256));
    c.push_back({3159, K::Check, 4, "Shaded frames", kShadedFrames, 1, 0xFF, 4});
    c.push_back(Pen(1372, 4, "Top", 1220));
    c.push_back(Pen(1374, 4, "Bottom", 1224));
    c.push_back(Pen(2566, 4, "Vertical lines", 1100));
    c.push_back(Pen(2563, 4, "Horizontal lines", 1108));
    c.push_back(Pen(2560, 4, "Frame", 1116));
    c.push_back(Pen(2536, 4, "Title text", 1124));
    c.push_back(Pen(2557, 4, "Scale text", 1112));
    c.push_back(Pen(2538, 4, "Background", 1120));
    c.push_back(Pen(3385, 4, "Label background", 1244));
    c.push_back({2580, K::Slider, 4, "Horizontal lines", 1092, 4, 0xFFFFFFFF, 3, 0});
    c.push_back({2581, K::Slider, 4, "Vertical lines", 1096, 4, 0xFFFFFFFF, 3, 0});
    c.push_back({2583, K::Slider, 4, "White space", 1146, 1, 0xFF, 5, 0});
    // Analytics
    const char* analytic[] = {"Use all data", "Use graph time", "User defined"};
    for (int i = 0; i < 3; ++i)
        c.push_back(Radio(2973 + i, 5, analytic[i], kAnalytic, 1, 0xFE, uint32_t(i) << 1));
    c.push_back({2976, K::Time, 5, "From", 1200, 4, 0xFFFFFFFF, 0});
    c.push_back({2977, K::Time, 5, "To", 1204, 4, 0xFFFFFFFF, 0});
    c.push_back(Check(3326, 5, "Data flowing between days", kAnalytic, 1, 0x01));
    return c;
}

uint32_t Field(const GraphSetting& s, const Control& c)
{
    return c.width == 1 ? U8(s, c.at) : c.width == 2 ? U16(s, c.at) : U32(s, c.at);
}

void SetField(GraphSetting& s, const Control& c, uint32_t v)
{
    if (c.width == 1)
        SetU8(s, c.at, uint8_t(v));
    else if (c.width == 2)
        SetU16(s, c.at, uint16_t(v));
    else
        SetU32(s, c.at, v);
}

void Colour(GraphSetting& s, size_t at, uint32_t rgb) { SetU32(s, at, (U32(s, at) & 0xFF000000) | rgb); }

void Bits(GraphSetting& s, size_t at, uint32_t bits, bool on, uint8_t width = 2)
{
    const uint32_t v = width == 1 ? U8(s, at) : width == 2 ? U16(s, at) : U32(s, at);
    const uint32_t n = on ? (v | bits) : (v & ~bits);
    width == 1 ? SetU8(s, at, uint8_t(n)) : width == 2 ? SetU16(s, at, uint16_t(n)) : SetU32(s, at, n);
}

} // namespace

const std::vector<Control>& Controls()
{
    static const std::vector<Control> controls = MakeControls();
    return controls;
}

const Control* FindControl(int id)
{
    const auto& all = Controls();
    auto found = std::find_if(all.begin(), all.end(), [id](const Control& c) { return c.id == id; });
    return found == all.end() ? nullptr : &*found;
}

int64_t ControlValue(const GraphSetting& s, const Control& c)
{
    const uint32_t field = Field(s, c);
    switch (c.kind) {
    case K::Check: return (field & c.mask) == c.value ? 1 : 0;
    case K::Radio: return (field & c.mask) == c.value ? 1 : 0;
    case K::Slider: return int64_t((field & c.mask) >> c.shift);
    case K::Time: return int32_t(field);
    default: return field;
    }
}

void SetControlValue(GraphSetting& s, const Control& c, int64_t value)
{
    const uint32_t field = Field(s, c);
    switch (c.kind) {
    case K::Check: SetField(s, c, value ? ((field & ~c.mask) | c.value) : (field & ~c.mask)); return;
    case K::Radio:
        if (value)
            SetField(s, c, (field & ~c.mask) | c.value);
        return;
    case K::Slider: SetField(s, c, (field & ~c.mask) | ((uint32_t(value) << c.shift) & c.mask)); return;
    default: SetField(s, c, uint32_t(value)); return;
    }
}

void ApplyScheme(GraphSetting& s, bool dark)
{
    const auto pick = [dark](uint32_t light, uint32_t darkValue) { return dark ? darkValue : light; };
    SetU8(s, kPriceShown, 1);
    Colour(s, 1052, pick(0x800000, 0xFFFFFF));
    Colour(s, 1056, pick(0x800000, 0xFFFFFF));
    Bits(s, kFlags, 0x0001 | 0x0004, false); // no bid or offer lines
    Bits(s, kFlags, 0x0002 | 0x0008, !dark); // shading in the light scheme
    Colour(s, 1168, 0xFF0000);
    Colour(s, 1176, 0xFF0000);
    Colour(s, 1172, pick(0xFFE0A0, 0x802010));
    Colour(s, 1180, pick(0xFFF0E0, 0xA02010));
    Colour(s, 1260, pick(0xE0E0E0, 0x800000));
    Bits(s, kFlags, 1u << 5 | 1u << 15, false);
    Bits(s, kFlags, 1u << 12, dark);
    Colour(s, kIntradayColours2, pick(0xFF0000, 0xFFDCDC));
    Colour(s, kIntradayColours2 + 4, pick(0x00FF00, 0xC8FF96));
    Colour(s, kStyleColour1, pick(0x0000FF, 0x4080FF));
    Bits(s, kFlags, 1u << 11, true);
    SetU32(s, kTrades, (U32(s, kTrades) & ~0x30Fu) | (dark ? kTradesShowSize : kTradesDots | kTradesBuySell | kTradesShowSize));
    const uint32_t tradePens[3] = {pick(0xFF0000, 0xFFE0A0), 0x00FF00, 0x0000FF};
    const size_t tradeAt[3] = {1164, 1228, 1232};
    for (int i = 0; i < 3; ++i)
        SetU32(s, tradeAt[i], (U32(s, tradeAt[i]) & 0x0F000000) | 0x10000000 | tradePens[i]); // width 2
    SetU8(s, kVolumeShown, 1);
    Colour(s, 1080, pick(0x000000, 0x4080FF));
    Colour(s, 1084, pick(0x000000, 0x4080FF));
    Colour(s, 1088, pick(0xFF0000, 0xFFC0C0));
    Colour(s, 1100, pick(0xC0C0C0, 0x808080));
    Colour(s, 1108, pick(0xC0C0C0, 0x808080));
    Colour(s, 1124, pick(0x800000, 0x00FFFF));
    Colour(s, 1112, pick(0x800000, 0x4080FF));
    Colour(s, 1116, pick(0x000000, 0xFFFFFF));
    Colour(s, 1120, pick(0xFFFFFF, 0x000000));
    Colour(s, 1244, pick(0xF0F0F0, 0x800000));
    Bits(s, kScales, 0x03, true, 1);
    Bits(s, kFlags, 1u << 13, dark);
    SetU8(s, kShadedFrames, dark ? 4 : 0);
    Colour(s, 1220, pick(0xFFF0E0, 0x802010));
    Colour(s, 1224, pick(0xFFFFFF, 0x000000));
    Bits(s, kFlags, 1u << 4, true);
    SetU32(s, kShadeLevel, dark ? 0 : 9);
    Colour(s, 1184, pick(0xDCDCDC, 0x808080));
    Colour(s, 1252, pick(0xC0C0FF, 0x606080));
    Colour(s, 1256, pick(0xC0FFC0, 0x608060));
    Bits(s, kScales, 0x10, !dark, 1);
    Bits(s, kTitleOptions, 0x01, true);
    Bits(s, kTitleOptions, 0x02, dark);
    Bits(s, kTitleOptions, 0x40 | 0x200 | 0x04, false);
    Bits(s, kTitleOptions, 0x08 | 0x10 | 0x20, dark);
}

void CopyStyleBlock(const GraphSetting& from, GraphSetting& to)
{
    std::memcpy(to.data() + kStyleBlockStart, from.data() + kStyleBlockStart, kStyleBlockEnd - kStyleBlockStart);
}

const char* TradesPenLabel(const GraphSetting& s)
{
    const uint32_t t = U32(s, kTrades);
    const bool split = (t & 0x0F) == kTradesDots || ((t & 0x0F) == kTradesLine && (t & kTradesBuySell));
    return split ? "Unknowns" : "Trades";
}

void WidenTradePens(GraphSetting& s)
{
    for (size_t at : {size_t(1164), size_t(1228), size_t(1232)})
        if (U32(s, at) & kPenWidthBits)
            return;
    for (size_t at : {size_t(1164), size_t(1228), size_t(1232)})
        SetU32(s, at, U32(s, at) | kPenWidth3);
}

} // namespace qv::intradaydesign
