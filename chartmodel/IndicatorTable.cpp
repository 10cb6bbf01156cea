// The indicator table and the display names of indicator lines.
#include "chartmodel/IndicatorTable.h"

#include "chartmodel/IndicatorRecord.h"
#include "core/RecordAccess.h"
#include "core/StringPrintf.h"

#include <algorithm>

namespace qv {

const std::array<IndicatorTexts, kIndicatorTypes> IndicatorTable{{
    {"Undefined", "Undefined", "Undefined"},
    {"Oscillator", "Oscillator", "Osc"},
    {"Relative Strength Indicator", "RSI", "RSI"},
    {"Up and Down Ticks", "Ticks", "Ticks"},
    {"Volatility", "Volatility", "Volat"},
    {"Momentum", "Momentum", "Mom"},
    {"Correlation", "Correlation", "Correl"},
    {"Vertical Horizontal Filter (VHF)", "VHF", "VHF"},
    {"Moving Average Convergence Divergence (MACD)", "MACD", "MACD"},
    {"TRIX Momentum Indicator", "TRIX Momentum", "TRIX"},
    {"Price Rate Of Change (ROC)", "Price ROC", "ROC"},
    {"Price Oscillator", "Price Osc.", "Price Osc"},
    {"Stochastic Oscillator", "Stochastic Osc.", "Stoch Osc"},
    {"Coppock Momentum", "Coppock", "Coppock"},
    {"Meisels", "Meisels", "Meisels"},
    {"Point and Figure", "Point & Fig.", "Pt & Fig"},
    {"Beta", "Beta", "Beta"},
    {"Standard Deviation", "Std. Deviation", "Std Dev"},
    {"Absolute Breadth Index", "Absolute Breadth", "ABI"},
    {"Advance-Decline Line", "Advance-Decline", "Adv-Dec"},
    {"Advance/Decline Ratio", "Advance/Decline", "Adv/Dec"},
    {"McClellan Oscillator", "McClellan Osc.", "McClellan Osc"},
    {"McClellan Summation Index", "McClellan Summation", "McClellan Summ"},
    {"New Highs-New Lows", "New Highs-Lows", "New Hi-Lo"},
    {"New Highs-New Lows Cumulative", "New Highs-Lows Cumul.", "New Hi-Lo Cumul"},
    {"New Highs/New Lows Ratio", "New Highs/Lows", "New Hi/Lo"},
    {"Overbought/Oversold", "Overbought/sold", "Overbght/sold"},
    {"STIX", "STIX", "STIX"},
    {"Breadth Thrust", "Breadth Thrust", "Breadth Thrust"},
    {"Market TICK", "Mkt. TICK", "TICK"},
    {"Market TRIN", "Mkt. TRIN", "TICK"},
    {"Spare Market Indicator 3", "Spare Market 3", "Spare Mkt 3"},
    {"Spare Market Indicator 4", "Spare Market 4", "Spare Mkt 4"},
    {"Spare Market Indicator 5", "Spare Market 5", "Spare Mkt 5"},
    {"Spare Market Indicator 6", "Spare Market 6", "Spare Mkt 6"},
    {"Spare Market Indicator 7", "Spare Market 7", "Spare Mkt 7"},
    {"Spare Market Indicator 8", "Spare Market 8", "Spare Mkt 8"},
    {"Spare Market Indicator 9", "Spare Market 9", "Spare Mkt 9"},
    {"Spare Market Indicator 10", "Spare Market 10", "Spare Mkt 10"},
    {"Spare Market Indicator 11", "Spare Market 11", "Spare Mkt 11"},
    {"Spare Market Indicator 12", "Spare Market 12", "Spare Mkt 12"},
    {"Equi Volume", "Equi Volume", "Equi Vol"},
    {"Accumulation/Distribution", "Accumul./Distrib.", "Acc/Dist"},
    {"Chaikin Oscillator", "Chaikin Osc.", "Chaikin"},
    {"Ease of Movement", "Ease of Movement", "Ease of Movt"},
    {"Mass Index", "Mass Index", "Mass Index"},
    {"Positive Volume Index", "+ve Volume Index", "+ve Vol"},
    {"Negative Volume Index", "-ve Volume Index", "-ve Vol"},
    {"On Balance Volume", "On Balance Vol.", "On Bal Vol"},
    {"Swing Index", "Swing Index", "Swing"},
    {"Swing Accumulation Index", "Swing Accumulation", "Swing Acc"},
    {"Money Flow Index", "Money Flow", "Money Flow"},
    {"Commodity Channel Index", "CCI", "CCI"},
    {"William's %R", "William's %R", "William's %R"},
    {"Average Directional Movement", "Avg. Direct. Movt.", "ADM"},
    {"Kagi Chart", "Kagi Chart", "Kagi"},
    {"Pivot Points", "Pivot Points", "Pivot Pts"},
    {"Average True Range", "Avg. True Range", "ATR"},
    {"Volume", "Volume", "Vol"},
    {"Price Relative to...", "Rel. to", "Rel"},
    {"Zig Zag", "Zig Zag", "Zig Zag"},
    {"Spare Indicator 3", "Spare I 3", "Spare 3"},
}};

namespace {

std::string FieldTextStored(const RecordCursor& cursor, uint32_t fieldCode)
{
    const uint8_t* descriptor = nullptr;
    const uint8_t* value = GetFieldDescriptor(fieldCode, &descriptor, &cursor, 0);
    if (!value || !descriptor || (descriptor[1] & 0xF0) != 0x00)
        return {};
    return std::string(reinterpret_cast<const char*>(value + 1), value[0]);
}

ShareFieldText& FieldTextSource()
{
    static ShareFieldText source = FieldTextStored;
    return source;
}

const char* PriceOscillatorSuffix(int averageType)
{
    // Any type the averages do not know is computed as simple, so it is named so.
    switch (averageType) {
    case 1: return " (Exponential)";
    case 2: return " (Weighted)";
    case 3: return " (Triangular)";
    case 4: return " (Variable)";
    default: return " (Simple)";
    }
}

const char* RsiSuffix(int flags)
{
    switch (flags & 3) {
    case 0: return " (Wilder)";
    case 1: return " (exp)";
    default: return " (simple)";
    }
}

std::string DirectionalMovementName(const IndicatorRecord& r)
{
    std::string text;
    if (!(r.flags & IndicatorRecord::kLockedFlag))
        text = StringPrintf("%d ", r.period1);
    if (r.flags & 1)
        text += "-DI/+DI";
    if (r.flags & 2) {
        if (r.flags & 1)
            text += ",";
        text += " ADX";
    }
    if (r.flags & 4) {
        if (r.flags & 3)
            text += ",";
        text += " ADXR";
    }
    return text;
}

// "NAME DESCRIPTION" of the other share that the record names by id (period 2).
std::string OtherShareText(const IndicatorRecord& r, uint32_t count)
{
    RecordCursor cursor = FindRecordById(uint16_t(r.period2), count);
    std::string name, description;
    GetOtherShareName(cursor, name, description);
    return description.empty() ? name : name + " " + description;
}

bool IsBareNameType(int type)
{
    return type == IndicatorType::OnBalanceVolume || type == IndicatorType::Ticks || type == 13 || type == 14 ||
           type == 42 || type == 43;
}

std::string NameByType(const IndicatorRecord& r, const char* name)
{
    const int p1 = r.period1, p2 = r.period2, p3 = r.period3;
    switch (r.type) {
    case 1: case 4: case 5: case 7: case 9: case 10: case 17: case 44: case 45: case 51: case 52: case 53: case 57:
        return StringPrintf("%d %s", p1, name);
    case IndicatorType::RSI:
        return StringPrintf("%d %s%s", p1, name, RsiSuffix(r.flags));
    case IndicatorType::Correlation:
    case IndicatorType::Beta:
        return StringPrintf("%d %s (%s)", p1, name, OtherShareText(r, 0).c_str());
    case IndicatorType::MACD:
        return StringPrintf("%d, %d %s (%d Sig)", p1, p2, name, p3);
    case IndicatorType::PriceOscillator:
        return StringPrintf("%d-%d %s%s", std::min(p1, p2), std::max(p1, p2), name, PriceOscillatorSuffix(p3));
    case IndicatorType::Stochastic:
        return StringPrintf("%d(%d)%%K %d%%D %s", p1, p3 < 2 ? 1 : p3, p2, name);
    case IndicatorType::PointAndFigure:
        return StringPrintf("%s (Box %d, Reversal %d)", name, std::max(p2 / 10, 1), p3);
    case 46: case 47:
        return StringPrintf("%s (%d sig.)", name, p2);
    case 49: case 50:
        return StringPrintf("%s - %d limit move", name, p1);
    case IndicatorType::Kagi:
        return StringPrintf("%s (Reversal %d%%%s)%s", "Kagi Chart", p3, (r.flags & 1) ? " of range" : "",
                            (r.flags & 2) ? ", graph time" : "");
    case IndicatorType::RelativeTo:
        return StringPrintf("%s (%s)", "Rel. to", OtherShareText(r, uint32_t(uint16_t(p3))).c_str());
    default:
        return {};
    }
}

std::string BuildName(const IndicatorRecord& r, std::string_view breadthSource)
{
    if (r.type >= kIndicatorTypes)
        return {};
    const char* name = IndicatorTable[r.type].name;
    const bool bare = (r.flags & IndicatorRecord::kLockedFlag) != 0;
    if (r.type >= IndicatorType::FirstBreadth && r.type <= IndicatorType::LastBreadth) {
        if (bare)
            return name;
        return std::string(name) + " (" + std::string(breadthSource) + ")";
    }
    if (IsBareNameType(r.type))
        return name;
    if (r.type == IndicatorType::ADM)
        return DirectionalMovementName(r);
    if (r.type == IndicatorType::Volume)
        return (r.flags & 1) ? StringPrintf("Volume (%d sig)", r.period2) : std::string("Volume");
    if (r.type == IndicatorType::EquiVolume)
        return r.flags ? "Candle Volume" : "Equi Volume";
    if (bare)
        return name;
    return NameByType(r, name);
}

} // namespace

void SetShareFieldText(ShareFieldText source)
{
    FieldTextSource() = source ? std::move(source) : ShareFieldText(FieldTextStored);
}

void GetOtherShareName(const RecordCursor& cursor, std::string& name, std::string& description)
{
    name.clear();
    description.clear();
    if (!cursor.record || RecordLength(cursor.record) == 0)
        return;
    name = std::string(GetRecordTexts(cursor.record).name);
    description = FieldTextSource()(cursor, 7);
    const uint8_t* sub = GetSubRecord(cursor, cursor.count);
    if (sub && SubRecordKindOf(sub) == SubRecordKind::Index)
        return;
    // A part the share does not keep leaves no stray separator.
    const std::string price = FieldTextSource()(cursor, 17);
    if (!price.empty())
        description = description.empty() ? price : price + ": " + description;
}

std::string GetIndicatorName(const IndicatorRecord& record, std::string_view breadthSource)
{
    std::string text = BuildName(record, breadthSource);
    if (text.size() > kMaxIndicatorName)
        text.resize(kMaxIndicatorName);
    return text;
}

std::span<const IndicatorAddCommand> IndicatorAddCommands()
{
    static constexpr IndicatorAddCommand kCommands[] = {
    {20226, 1},  {20225, 2},  {20227, 3},  {20228, 4},  {20230, 5},  {25026, 6},  {26350, 7},  {26351, 8},
    {26352, 9},  {26353, 10}, {26354, 11}, {26355, 12}, {26356, 13}, {26365, 14}, {26366, 15}, {26385, 16},
    {26386, 17}, {26368, 18}, {26369, 19}, {26370, 20}, {26372, 21}, {26378, 22}, {26373, 23}, {26377, 24},
    {26376, 25}, {26374, 26}, {26375, 27}, {26371, 28}, {27211, 29}, {27212, 30}, {26607, 41}, {26610, 42},
    {26609, 43}, {26611, 44}, {26612, 45}, {26614, 46}, {26613, 47}, {26615, 48}, {26616, 49}, {26617, 50},
    {26618, 51}, {26619, 52}, {26633, 53}, {26620, 54}, {27053, 55}, {27057, 57}, {20231, 58}, {27277, 59},
    };
    return kCommands;
}

} // namespace qv
