// Building the graph legend's lines from the legend item record, the chart's texts and its setting.
#include "chartmodel/LegendModel.h"

#include "chartmodel/GraphSettingLayout.h"
#include "core/StringPrintf.h"

#include <algorithm>

namespace qv {
namespace {

using namespace graphsetting;

std::string Bounded(std::string text)
{
    if (text.size() > kLegendTextLimit)
        text.resize(kLegendTextLimit);
    return text;
}

bool Has(uint64_t mask, int bit) { return (mask >> bit) & 1; }

struct ColourModeRow {
    const char* name;
    int samples;
    const char* labels[5];
};

const ColourModeRow kColourModes[9] = {
    {"Single colour", 0, {}},
    {"Close/Close", 3, {"Up", "Down", "Neutral"}},
    {"Close/Open", 3, {"Up", "Down", "Neutral"}},
    {"Volume/Volume", 3, {"Up", "Down", "Neutral"}},
    {"Volume/Signal", 2, {"Above", "Below"}},
    {"Graduated by volume", 2, {"Low", "High"}},
    {"Swing", 5, {"Up", "Down", "Neutral", "Inside", "Outside"}},
    {"Up/Down", 2, {"Up", "Down"}},
    {"Positive/Negative", 2, {"Above", "Below"}},
};

const char* const kAverageNames[5] = {"Simple", "Exponential", "Weighted", "Triangular", "Variable"};

// Swing flag bits.
constexpr uint32_t kSwingOn = 1;
constexpr uint32_t kSwingLine = 2;
constexpr uint32_t kSwingManhattan = 4;
constexpr uint32_t kSwingRivalland = 16;
constexpr uint32_t kSignalBits = 0x3Cu << 16 | 0x3Fu << 24;

// A solid pen 8 pixels wide in the colour of a pen word.
uint32_t WideSolid(uint32_t pen) { return (pen & 0xFFFFFF) | 0x70000000u; }

} // namespace

bool LegendLine::hasValues() const
{
    return std::any_of(values.begin(), values.begin() + sampleCount, [](int32_t v) { return v != 0; });
}

std::string GetLegendPeriodText(int mode, int n)
{
    if (mode == 0)
        return " (displayed data)";
    if (mode == 1)
        return " (all data)";
    return StringPrintf(" (last %i periods)", n);
}

void LegendModel::Clear()
{
    lines_.clear();
    first_.fill(-1);
    last_.fill(-1);
}

int LegendModel::AddLine(int section, const std::string& text, uint32_t pen, int32_t value, uint32_t flags,
                         bool withSample)
{
    if (lines_.size() >= kLegendMaxLines)
        return -1;
    LegendLine line;
    line.text = Bounded(text);
    line.section = section;
    line.flags = flags;
    if (withSample) {
        line.sampleCount = 1;
        line.pens[0] = pen;
        line.values[0] = value;
    }
    int index = int(lines_.size());
    lines_.push_back(std::move(line));
    if (first_[size_t(section)] < 0)
        first_[size_t(section)] = index;
    last_[size_t(section)] = index;
    return index;
}

void LegendModel::AddLineSample(int line, uint32_t pen, int32_t value)
{
    if (line < 0 || line >= int(lines_.size()))
        return;
    LegendLine& l = lines_[size_t(line)];
    if (l.sampleCount >= kLegendSamples)
        return;
    l.pens[size_t(l.sampleCount)] = pen;
    l.values[size_t(l.sampleCount)] = value;
    ++l.sampleCount;
}

uint64_t LegendModel::GetAvailableItems(const LegendSource& source)
{
    uint64_t mask = 0xFFFu | (0xFFFu << 16);
    mask |= uint64_t(kHeadingMain | kHeadingSetting | kHeadingExtra | kHeadingSector | kHeadingSubSector |
                     kHeadingIndex)
            << 32;
    if (source.showsMainSeries)
        mask |= 1ull << kItemMain;
    if (!source.setting)
        return mask;
    const GraphSetting& s = *source.setting;
    for (int k = 0; k < kAddedGraphCount; ++k)
        if (AddedGraphInUse(s, k))
            mask |= 1ull << (kItemAddedGraph + k);
    if (U32(s, kTrendShown))
        mask |= 1ull << kItemTrend;
    if (U32(s, kConfidenceShown))
        mask |= 1ull << kItemConfidence;
    if (source.globalStop)
        mask |= 1ull << kItemGlobalStop;
    if (source.individualStop)
        mask |= 1ull << kItemIndividualStop;
    for (int i = 0; i < kLines; ++i) {
        LineWordFields line = DecodeLineWord(LineWord(s, i));
        if (line.shown)
            mask |= 1ull << (kItemAverage + i);
        if (line.bandShown)
            mask |= 1ull << (kItemBand + i);
    }
    uint32_t swing = SwingWord(s, 0);
    if (swing & kSwingOn) {
        if (swing & (kSwingLine | kSwingManhattan))
            mask |= 1ull << kItemSwing;
        if (swing & kSignalBits)
            mask |= 1ull << kItemSignals;
    }
    return mask;
}

void LegendModel::Update(const LegendSource& source, bool omitTop)
{
    suppress_ = source.suppress;
    available_ = GetAvailableItems(source);
    Clear();
    if (!source.items || source.filterEvaluating)
        return;
    const LegendItemRecord& items = *source.items;
    if (!omitTop) {
        title_ = source.intraday ? "Intraday graph legend" : "Graph legend";
        if (!suppress_) {
            for (int i = 0; i < kLegendValueTexts; ++i)
                if ((items.word0 >> i) & 1 && !source.latest[size_t(i)].empty())
                    AddLine(kLegendLatest, source.latest[size_t(i)], 0, 0, 0, false);
            AddIndicatorLines(source, kLegendLatest);
            for (int i = 0; i < kLegendValueTexts; ++i)
                if ((items.word0 >> (16 + i)) & 1 && !source.cursor[size_t(i)].empty())
                    AddLine(kLegendCursor, source.cursor[size_t(i)], 0, 0, 0, false);
            AddIndicatorLines(source, kLegendCursor);
            if (items.word1 & kHeadingMain)
                AddLine(kLegendHeadings, "Main graph: " + source.shareName, 0, 0, 0, false);
        }
        if (items.word1 & kHeadingSetting)
            AddLine(kLegendHeadings, "Graph setting: " + source.settingName, 0, 0, 0, false);
        if ((items.word1 & kHeadingExtra) && !source.extraHeading.empty())
            AddLine(kLegendHeadings, source.extraHeading, 0, 0, 0, false);
    }
    if (!suppress_) {
        if (items.word1 & kHeadingSector)
            AddLine(kLegendHeadings, "Sector: " + source.sector, 0, 0, 0, false);
        if (items.word1 & kHeadingSubSector)
            AddLine(kLegendHeadings, "Sub-sector: " + source.subSector, 0, 0, 0, false);
        if (items.word1 & kHeadingIndex)
            AddLine(kLegendHeadings, "Index: " + (source.hasIndex ? source.indexName : std::string("None")), 0,
                    0, 0, false);
    }
    AddItems(source, items.mask() & available_);
    if (!suppress_)
        AddIndicatorLines(source, kLegendItems);
}

// The indicator windows' lines: name and pen among the items, "name value" among the values.
void LegendModel::AddIndicatorLines(const LegendSource& source, int section)
{
    for (const LegendIndicatorLine& line : source.indicators) {
        if (section == kLegendItems) {
            AddLine(section, line.name, line.pen, 0, 0, true);
            continue;
        }
        const std::string& value = section == kLegendLatest ? line.latest : line.cursor;
        if (!value.empty())
            AddLine(section, line.name + " " + value, 0, 0, 0, false);
    }
}

const char* AverageTypeName(int type) { return kAverageNames[std::clamp(type, 0, 4)]; }

LegendItemRecord& ProgramLegendItems(bool intraday)
{
    constexpr uint64_t kHistoricItems = (uint64_t(1) << kItemMain) | (uint64_t(0x1F) << kItemAddedGraph) |
                                        (uint64_t(1) << kItemTrend) | (uint64_t(0xF) << kItemAverage) |
                                        (uint64_t(0xF) << kItemBand);
    static LegendItemRecord historic{0x0F0F0F0F, uint32_t(kHistoricItems >> 32) | kHeadingMain | kHeadingSetting};
    static LegendItemRecord intradayItems{0x003F003F, uint32_t((uint64_t(1) << kItemMain) >> 32) | kHeadingMain |
                                                          kHeadingSetting};
    return intraday ? intradayItems : historic;
}

void LegendModel::AddMainLines(const LegendSource& source, const GraphSetting& s)
{
    if (source.intraday) {
        AddLine(kLegendItems, "Main (up)", PriceColour(s, 0), 0, 0, true);
        AddLine(kLegendItems, "Main (down)", PriceColour(s, 1), 0, 0, true);
        return;
    }
    if (source.chartFlags & 5) {
        uint32_t up = U32(s, kBoxUpPen);
        uint32_t down = U32(s, kBoxDownPen);
        if (U8(s, kPriceDisplay) > 6) {
            int line = AddLine(kLegendItems, "Up / Down", WideSolid(up), 4, 0, true);
            AddLineSample(line, WideSolid(down), 4);
            return;
        }
        AddLine(kLegendItems, "Up", up, 0, 0, true);
        AddLine(kLegendItems, "Down", down, 0, 0, true);
        return;
    }
    int m = std::min<int>(U8(s, kPriceColourMode), 8);
    if (m == 0) {
        AddLine(kLegendItems, "Main", PriceColour(s, 0), 0, 0, true);
        return;
    }
    const ColourModeRow& row = kColourModes[m];
    AddLine(kLegendItems, StringPrintf("Main (%s)", row.name), 0, 0, 0, false);
    int from = m == 5 ? 3 : 0;
    std::string labels;
    int line = AddLine(kLegendItems, "", 0, 0, 0, false);
    for (int i = 0; i < row.samples; ++i) {
        labels += (i ? " / " : "") + std::string(row.labels[i]);
        AddLineSample(line, PriceColour(s, std::min(from + i, kPriceColourCount - 1)), 0);
    }
    if (line >= 0)
        lines_[size_t(line)].text = labels;
}

void LegendModel::AddAverageLines(const LegendSource& source, const GraphSetting& s, uint64_t mask)
{
    for (int i = 0; i < kLines; ++i) {
        LineWordFields line = DecodeLineWord(LineWord(s, i));
        if (Has(mask, kItemAverage + i)) {
            std::string text = source.shortTexts
                                   ? std::string("Moving avgerage")
                                   : StringPrintf("%i period %s MA", line.period,
                                                  kAverageNames[std::min(line.averageType, 4)]);
            AddLine(kLegendItems, text, LineColour(s, i), 0, 0, true);
        }
        if (Has(mask, kItemBand + i)) {
            std::string text;
            if (source.shortTexts)
                text = line.envelope ? "Envelope" : "Bollinger band";
            else if (line.envelope)
                text = StringPrintf("%d%% Envelope", line.envelopePercent);
            else
                text = StringPrintf("%.2f dev. Bollinger band", (line.deviationCode + 1) * 0.5);
            AddLine(kLegendItems, text, LineBandColour(s, i), 0, 0, true);
        }
    }
}

void LegendModel::AddSwingLines(const GraphSetting& s)
{
    uint32_t flags = SwingWord(s, 0);
    std::string title = (flags & kSwingRivalland) ? "Rivalland swing" : "Swing";
    uint32_t up = SwingWord(s, 2);
    uint32_t down = SwingWord(s, 3);
    uint32_t manhattan = SwingWord(s, 4);
    bool line = flags & kSwingLine;
    bool withManhattan = flags & kSwingManhattan;
    if (line && (up != down || withManhattan)) {
        AddLine(kLegendItems, title, 0, 0, 0, false);
        std::string text = up != down ? "Up / Down" : "Line";
        int index = AddLine(kLegendItems, "", up, 0, kLegendSamplesLeft, true);
        if (up != down)
            AddLineSample(index, down, 0);
        if (withManhattan) {
            text += " / ";
            text += "Manhattan";
            AddLineSample(index, manhattan, 0);
        }
        if (index >= 0)
            lines_[size_t(index)].text = text;
        return;
    }
    if (line)
        AddLine(kLegendItems, title, up, 0, 0, true);
    if (withManhattan)
        AddLine(kLegendItems, title + " (Manhattan)", manhattan, 0, 0, true);
}

void LegendModel::AddSignalLines(const GraphSetting& s)
{
    uint32_t f = SwingWord(s, 0);
    auto bit = [f](int b) { return ((f >> b) & 1) != 0; };
    struct Part {
        std::string text;
        std::vector<std::pair<uint32_t, int32_t>> samples;
        void Add(const char* t, uint32_t pen, int32_t value)
        {
            text += t;
            samples.emplace_back(pen, value);
        }
    };
    auto emit = [this](const Part& part) {
        if (part.samples.empty())
            return;
        int line = AddLine(kLegendItems, part.text, 0, 0, 0, false);
        for (auto [pen, value] : part.samples)
            AddLineSample(line, pen, value);
    };

    Part swing;
    if (bit(18))
        swing.Add("Swing (+", SwingWord(s, 7), 1);
    if (bit(19))
        swing.Add(bit(18) ? "/-)" : "Swing (-)", SwingWord(s, 8), 1);
    else if (bit(18))
        swing.text += ")";
    bool swingKind = bit(18) || bit(19);
    if (bit(20))
        swing.Add(swingKind ? ", Trend (+" : "Trend (+", SwingWord(s, 9), 1);
    if (bit(21))
        swing.Add(bit(20) ? "/-)" : swingKind ? ", Trend (-)" : "Trend (-)", SwingWord(s, 10), 1);
    else if (bit(20))
        swing.text += ")";
    emit(swing);

    Part orders;
    if (bit(24))
        orders.Add("Buy order", SwingWord(s, 11), 2);
    if (bit(25))
        orders.Add(bit(24) ? "/stop" : "Buy stop", SwingWord(s, 12), 4);
    bool buyKind = bit(24) || bit(25);
    if (bit(26))
        orders.Add(buyKind ? ", Sell order" : "Sell order", SwingWord(s, 13), 3);
    if (bit(27))
        orders.Add(bit(26) ? "/stop" : buyKind ? ", Sell stop" : "Sell stop", SwingWord(s, 14), 4);
    emit(orders);

    Part trigger;
    if (bit(28)) {
        trigger.Add("Buy/sell trigger", SwingWord(s, 15), 2);
        trigger.samples.emplace_back(SwingWord(s, 15), 3);
    }
    if (bit(29))
        trigger.Add(bit(28) ? ", Stopped" : "Stopped", SwingWord(s, 16), 6);
    emit(trigger);
}

void LegendModel::AddItems(const LegendSource& source, uint64_t mask)
{
    if (!source.setting)
        return;
    const GraphSetting& s = *source.setting;
    if (Has(mask, kItemMain))
        AddMainLines(source, s);
    for (int k = 0; k < kAddedGraphCount; ++k)
        if (Has(mask, kItemAddedGraph + k)) {
            const std::string name = Bounded(source.addedGraphNames[size_t(k)]);
            AddLine(kLegendItems, k == 4 ? "Relative to " + name : name, source.addedGraphPens[size_t(k)], 0, 0,
                    true);
        }
    if (Has(mask, kItemTrend))
        AddLine(kLegendItems,
                source.shortTexts ? std::string("Trend line")
                                  : "Trend " + GetLegendPeriodText(int(U32(s, kTrendRange)), int(U32(s, kTrendPeriods))),
                U32(s, kTrendPen), 0, 0, true);
    if (Has(mask, kItemConfidence))
        AddLine(kLegendItems,
                source.shortTexts ? std::string("Confidence lines")
                                  : StringPrintf("Confidence (%2.1f devs)", (U32(s, kTrendDeviation) + 1) * 0.5),
                U32(s, kConfidencePen), 0, 0, true);
    AddAverageLines(source, s, mask);
    std::string text;
    if (Has(mask, kItemGlobalStop) && source.globalStop) {
        FormatStopLabel(text, source.globalStop, source.globalStopValue, "Global");
        AddLine(kLegendItems, text, source.globalStop->pen, 0, 0, true);
    }
    if (Has(mask, kItemIndividualStop) && source.individualStop) {
        FormatStopLabel(text, source.individualStop, source.individualStopValue, "Individual");
        AddLine(kLegendItems, text, source.individualStop->pen, 0, 0, true);
    }
    bool swingOn = SwingWord(s, 0) & kSwingOn;
    if (swingOn && Has(mask, kItemSwing))
        AddSwingLines(s);
    if (swingOn && Has(mask, kItemSignals))
        AddSignalLines(s);
}

} // namespace qv
