// The share details page's rules.
#include "lists/DetailPage.h"

#include "core/ColumnSpec.h"
#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/RecordAccess.h"
#include "core/SettingRecordStore.h"
#include "core/ShareNotes.h"
#include "lists/CellValue.h"
#include "lists/ColumnHeading.h"
#include "lists/ResultsFigures.h"
#include "platform/ByteOrder.h"
#include "platform/Registry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace qv {

namespace {

constexpr size_t kWhiteSpace = OptionBlockB::kDetailSettings + 64;
constexpr size_t kOptions = OptionBlockB::kDetailSettings + 65;
constexpr size_t kFontPoints = OptionBlockB::kDetailSettings + 66;
constexpr size_t kFontStyle = OptionBlockB::kDetailSettings + 67;
constexpr size_t kColours = OptionBlockB::kDetailSettings + 68;
constexpr uint8_t kOptionsWritten = 0x80;
static_assert(kColours + 12 == OptionBlockB::kDetailSettingsEnd);

uint32_t LoadColour(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16; }
void StoreColour(uint8_t* p, uint32_t c)
{
    p[0] = uint8_t(c);
    p[1] = uint8_t(c >> 8);
    p[2] = uint8_t(c >> 16);
}

} // namespace

std::vector<int> DetailItemIndexes(const uint8_t* list)
{
    const bool ended = std::find(list, list + kDetailListBytes, kDetailListEnd) != list + kDetailListBytes;
    const std::vector<uint8_t> items = ended ? ReadDetailSelection({list, size_t(kDetailListBytes)}) : DefaultDetailItems();
    return std::vector<int>(items.begin(), items.end());
}

DetailDisplaySettings DisplaySettingsOf(const DetailSettings& settings)
{
    DetailDisplaySettings d;
    d.whiteSpace = settings.whiteSpace;
    d.labelText = settings.labelText;
    d.labelBackground = settings.labelBack;
    d.boxText = settings.boxText;
    d.boxBackground = settings.boxBack;
    for (size_t i = 0; i < 4; ++i) {
        d.bars[i] = settings.pens[i];
        d.forecastBars[i] = settings.pens[i + 4];
    }
    d.face = settings.face;
    d.points = settings.fontPoints;
    d.bold = settings.bold;
    d.italic = settings.italic;
    d.underline = settings.underline;
    return d;
}

void ApplyDisplaySettings(DetailSettings& settings, const DetailDisplaySettings& display)
{
    settings.whiteSpace = display.whiteSpace;
    settings.labelText = display.labelText;
    settings.labelBack = display.labelBackground;
    settings.boxText = display.boxText;
    settings.boxBack = display.boxBackground;
    for (size_t i = 0; i < 4; ++i) {
        settings.pens[i] = display.bars[i];
        settings.pens[i + 4] = display.forecastBars[i];
    }
    if (!display.face.empty())
        settings.face = display.face;
    settings.fontPoints = display.points;
    settings.bold = display.bold;
    settings.italic = display.italic;
    settings.underline = display.underline;
}

void SetDetailItems(DetailSettings& settings, std::span<const uint8_t> selection)
{
    settings.items.fill(kDetailListEnd);
    const size_t count = std::min(selection.size(), settings.items.size() - 1);
    std::copy_n(selection.begin(), count, settings.items.begin());
}

DetailSettings ReadDetailSettings(const OptionBlockB& block)
{
    DetailSettings s;
    const uint8_t* b = block.data();
    std::copy_n(b + OptionBlockB::kDetailSettings, kDetailListBytes, s.items.begin());
    if (!(b[kOptions] & kOptionsWritten)) {
        // A block never written: the default items.
        s.items.fill(kDetailListEnd);
        const auto defaults = DefaultDetailItems();
        std::copy(defaults.begin(), defaults.end(), s.items.begin());
        return s;
    }
    s.whiteSpace = std::clamp(int(b[kWhiteSpace]) | 1, 1, 9);
    s.showNotes = b[kOptions] & 1;
    s.showInterims = b[kOptions] & 2;
    s.showChanges = b[kOptions] & 4;
    s.fontPoints = b[kFontPoints] ? b[kFontPoints] : 10;
    s.bold = b[kFontStyle] & 1;
    s.italic = b[kFontStyle] & 2;
    s.underline = b[kFontStyle] & 4;
    s.labelText = LoadColour(b + kColours);
    s.labelBack = LoadColour(b + kColours + 3);
    s.boxText = LoadColour(b + kColours + 6);
    s.boxBack = LoadColour(b + kColours + 9);
    return s;
}

namespace {
constexpr size_t kFaceAt = 32;
constexpr size_t kFaceBytes = 32;
static_assert(kFaceAt + kFaceBytes == kDetailPensRecordSize);
constexpr const char* kPensSection = "Settings";
constexpr const char* kPensValue = "DetailPens";
} // namespace

std::vector<uint8_t> EncodeDetailPens(const DetailSettings& settings)
{
    std::vector<uint8_t> out(kDetailPensRecordSize, 0);
    for (size_t i = 0; i < settings.pens.size(); ++i)
        StoreU32(out.data() + 4 * i, settings.pens[i]);
    std::memcpy(out.data() + kFaceAt, settings.face.data(), std::min(settings.face.size(), kFaceBytes - 1));
    return out;
}

bool DecodeDetailPens(std::span<const uint8_t> record, DetailSettings& settings)
{
    if (record.size() != kDetailPensRecordSize || record[kFaceAt] == 0 ||
        std::find(record.begin() + kFaceAt, record.end(), 0) == record.end())
        return false;
    for (size_t i = 0; i < settings.pens.size(); ++i)
        settings.pens[i] = LoadU32(record.data() + 4 * i);
    settings.face = reinterpret_cast<const char*>(record.data() + kFaceAt);
    return true;
}

DetailSettings ProgramDetailSettings()
{
    DetailSettings settings = ReadDetailSettings(Config().optionsB);
    if (const auto record = Registry::Instance().getBinary(kPensSection, kPensValue))
        DecodeDetailPens(*record, settings);
    return settings;
}

void SaveProgramDetailSettings(const DetailSettings& settings)
{
    WriteDetailSettings(Config().optionsB, settings);
    Registry::Instance().setBinary(kPensSection, kPensValue, EncodeDetailPens(settings));
}

void WriteDetailSettings(OptionBlockB& block, const DetailSettings& s)
{
    uint8_t* b = block.data();
    std::copy(s.items.begin(), s.items.end(), b + OptionBlockB::kDetailSettings);
    b[kWhiteSpace] = uint8_t(s.whiteSpace);
    b[kOptions] = uint8_t(kOptionsWritten | (s.showNotes ? 1 : 0) | (s.showInterims ? 2 : 0) | (s.showChanges ? 4 : 0));
    b[kFontPoints] = uint8_t(std::clamp(s.fontPoints, 1, 255));
    b[kFontStyle] = uint8_t((s.bold ? 1 : 0) | (s.italic ? 2 : 0) | (s.underline ? 4 : 0));
    StoreColour(b + kColours, s.labelText);
    StoreColour(b + kColours + 3, s.labelBack);
    StoreColour(b + kColours + 6, s.boxText);
    StoreColour(b + kColours + 9, s.boxBack);
}

DetailLayout ComputeDetailLayout(int width, int charWidth, int charHeight, int margin, bool printing)
{
    DetailLayout l;
    const int per = 8 * charWidth + 2 * margin;
    l.columns = std::max(1, per > 0 ? width / per : 1);
    l.labelWidth = width * 9 / (l.columns * 20);
    l.columnWidth = width / l.columns;
    l.lineStep = charHeight * (printing ? 3 : 2);
    l.splitHeading = l.columns > 3;
    return l;
}

namespace {

constexpr int kFirstResultsCode = 0x40;
constexpr int kLastResultsCode = 0x7C;

bool Has(float v) { return v != kNoResultsValue; }

int KindOf(float cls)
{
    const int c = int(cls);
    return c == kResultsInterim ? 1 : c == kResultsForecast ? 3 : 2;
}

} // namespace

std::vector<DetailResultsRow> BuildDetailResultsRows(uint8_t* record, uint32_t extra, bool showInterims,
                                                     bool showChanges)
{
    std::vector<DetailResultsRow> rows;
    // The previous non-zero figure of each item, for interims and the rest apart.
    std::array<std::array<float, 4>, 2> previous{};
    for (int code = kFirstResultsCode; code <= kLastResultsCode; ++code) {
        const float date = GetResultsFigure(code, kResultsDate, record, extra);
        if (!Has(date))
            continue;
        DetailResultsRow row;
        row.code = code;
        row.kind = KindOf(GetResultsFigure(code, kResultsClass, record, extra));
        row.date = PackedDate(date);
        if (row.kind == 1 && !showInterims)
            continue;
        auto& prev = previous[row.kind == 1 ? 1 : 0];
        bool any = false;
        for (int item = 0; item < 4; ++item) {
            const float v = GetResultsFigure(code, kResultsProfit + item, record, extra);
            if (!Has(v))
                continue;
            any = true;
            row.figures[size_t(item)] = v;
            if (showChanges && v != 0 && prev[size_t(item)] > 0) {
                char text[32];
                std::snprintf(text, sizeof text, "  (%.1f%%)", (v / prev[size_t(item)] - 1) * 100);
                row.changes[size_t(item)] = text;
            }
            if (v != 0)
                prev[size_t(item)] = v;
        }
        if (any)
            rows.push_back(row);
    }
    return rows;
}

std::string DetailResultsDateText(const DetailResultsRow& row)
{
    char text[48];
    if (row.kind == 3)
        std::snprintf(text, sizeof text, "Forecast: %i/%02i", MonthOfYear(row.date), TwoDigitYear(row.date));
    else
        std::snprintf(text, sizeof text, "%s%i/%i/%02i", row.kind == 1 ? "Interim: " : "Announced: ",
                      DayOfMonth(row.date), MonthOfYear(row.date), TwoDigitYear(row.date));
    return text;
}

std::vector<std::pair<int, std::string>> DetailNotes(const RecordCursor& share)
{
    std::vector<std::pair<int, std::string>> notes;
    if (!share.record)
        return notes;
    for (int n = 1; n <= kNoteSets; ++n) {
        const uint8_t* data = GetSettingRecord(RecordId(share.record), uint8_t(share.count), NoteSettingId(n));
        if (!data)
            continue;
        const char* text = reinterpret_cast<const char*>(data);
        notes.push_back({n, std::string(text, strnlen(text, SettingDataSize(data)))});
    }
    return notes;
}

GrowthChart BuildGrowthChart(uint8_t* record, uint32_t extra)
{
    GrowthChart chart;
    const auto counted = BuildDetailResultsRows(record, extra, true, false);
    if (counted.empty())
        return chart;
    const int from = std::max(kFirstResultsCode, counted.front().code - 1);
    std::array<float, 4> previous{};
    for (int code = from; code < from + 61 && code <= kLastResultsCode; ++code) {
        const float date = GetResultsFigure(code, kResultsDate, record, extra);
        if (!Has(date) || KindOf(GetResultsFigure(code, kResultsClass, record, extra)) == 1)
            continue;
        chart.dates.push_back(PackedDate(date));
        chart.forecast.push_back(KindOf(GetResultsFigure(code, kResultsClass, record, extra)) == 3);
        for (int item = 0; item < 4; ++item) {
            const float v = GetResultsFigure(code, kResultsProfit + item, record, extra);
            std::optional<double> change;
            if (Has(v) && v > 0 && previous[size_t(item)] > 0)
                change = double(v) / previous[size_t(item)] - 1;
            if (Has(v))
                previous[size_t(item)] = v > 0 ? v : 0; // a negative figure breaks the chain
            chart.changes[size_t(item)].push_back(change);
        }
    }
    ScaleGrowthChart(chart);
    return chart;
}

void ScaleGrowthChart(GrowthChart& chart)
{
    double lo = 0, hi = 0;
    for (const auto& series : chart.changes)
        for (const auto& c : series)
            if (c) {
                lo = std::min(lo, *c);
                hi = std::max(hi, *c);
            }
    chart.top = hi >= 1.5 ? std::floor(hi) + 1 : std::floor(hi * 10) / 10 + 0.1;
    chart.bottom = lo <= -1.5 ? std::floor(lo) : std::floor(lo * 10) / 10;
}

std::string DetailTitle(int listType, bool parentListMode, const std::string& source, const std::string& sector,
                        const std::string& portfolio)
{
    if (listType == 2 || listType == 4)
        return "Details - " + source;
    if (parentListMode)
        return "Details - " + source + " - " + sector;
    return "Details - " + source + " - " + sector + " - " + portfolio;
}

int ClampDetailScroll(int position, int maximum) { return std::clamp(position, 0, std::max(0, maximum)); }

int DetailWheelPages(int& accumulated, int delta)
{
    accumulated += delta;
    const int pages = accumulated / 120;
    accumulated -= pages * 120;
    return -pages; // a negative delta scrolls down
}

namespace {
DetailCellSource& CellSource()
{
    static DetailCellSource source;
    return source;
}
} // namespace

namespace {

// A catalogue column when the catalogue has one (whole, so that a formula keeps its expression and
// title), else a plain field column of the code.
std::vector<uint8_t> DetailItemSpec(int fieldCode)
{
    const auto catalogued = GetColumnSpec(fieldCode, 0);
    if (catalogued.size() >= kColumnSpecBytes)
        return {catalogued.begin(), catalogued.end()};
    std::vector<uint8_t> spec(kColumnSpecBytes);
    InitColumnSpec(std::span<uint8_t, kColumnSpecBytes>(spec.data(), kColumnSpecBytes), uint8_t(fieldCode));
    spec[0] = uint8_t(kColumnSpecBytes);
    return spec;
}

} // namespace

void SetDetailCellSource(DetailCellSource source) { CellSource() = std::move(source); }

std::string DetailItemHeading(int fieldCode)
{
    return GetColumnHeading(nullptr, DetailItemSpec(fieldCode).data(), true);
}

DetailCell GetDetailCell(int fieldCode, const RecordCursor& share)
{
    if (CellSource())
        return CellSource()(fieldCode, share);
    const auto spec = DetailItemSpec(fieldCode);
    DetailCell cell;
    cell.heading = GetColumnHeading(nullptr, spec.data(), true);
    char text[kCellTextBytes];
    const size_t length =
        FormatColumnValue(share.record, share.count, spec.data(), text, sizeof text, 0, nullptr, 0);
    cell.value.assign(text, length);
    return cell;
}

} // namespace qv
