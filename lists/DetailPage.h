// The share details page (view kind 3) without its window: the detail item table and list, the
// display settings in the option block, the layout arithmetic, the results rows with their changes,
// the growth chart's rows and scale, the title and the scroll rules.
#pragma once

#include "core/ConfigRecords.h"
#include "core/PackedDate.h"
#include "core/RecordCursor.h"
#include "lists/DetailDialogRules.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

// The stored item list: item indexes of the detail item table, ended by 255.
constexpr int kDetailListBytes = 64;

// The item indexes of a stored list in display order: up to its 255, indexes beyond the table and
// repeats skipped. A list without 255 in its 64 bytes gives the default items.
std::vector<int> DetailItemIndexes(const uint8_t* list);

struct DetailSettings {
    std::array<uint8_t, kDetailListBytes> items{};
    int whiteSpace = 5;
    bool showNotes = true, showInterims = true, showChanges = true;
    int fontPoints = 10;
    bool bold = false, italic = false, underline = false;
    uint32_t labelText = 0x000000, labelBack = 0xC0C0C0, boxText = 0x000000, boxBack = 0x808080;
    // Packed pens: profits, EPS, dividend, turnover, then their forecasts.
    std::array<uint32_t, 8> pens{0xFF0000, 0x0000FF, 0x00FFFF, 0xFFFF00, 0x800000, 0x000080, 0x008000, 0x808000};
    std::string face = "Arial";
};
// Read from and written to OptionBlockB bytes 300-379 (docs/DATA.md); a never-written block reads as
// the defaults with the default item list.
DetailSettings ReadDetailSettings(const OptionBlockB& block);
void WriteDetailSettings(OptionBlockB& block, const DetailSettings& settings);
// The eight bar pens and the font face, which the option block has no room for: a 64-byte record
// in the registry's "Settings" section, value "DetailPens" (docs/DATA.md). A record of another size or
// with an empty or unended face is ignored and the defaults stand.
inline constexpr size_t kDetailPensRecordSize = 64;
std::vector<uint8_t> EncodeDetailPens(const DetailSettings& settings);
bool DecodeDetailPens(std::span<const uint8_t> record, DetailSettings& settings);
// The settings the details page uses: the option block's and the stored pens and face.
DetailSettings ProgramDetailSettings();
void SaveProgramDetailSettings(const DetailSettings& settings);
// The settings as "Display design" edits them, and its answer put back: the pens whole (colour, style
// and width), the font with its face; the item list and the show options stay as they are.
DetailDisplaySettings DisplaySettingsOf(const DetailSettings& settings);
void ApplyDisplaySettings(DetailSettings& settings, const DetailDisplaySettings& display);
// The chooser's selection (item indexes) stored as the item list, ended and filled with 255.
void SetDetailItems(DetailSettings& settings, std::span<const uint8_t> selection);

// Layout: columns = width / (8 character widths + 2 margins), at least 1; label width = width x 9 /
// (columns x 20); column width = width / columns; the line step two character heights (three when
// printing); the heading block in two halves with more than 3 columns.
struct DetailLayout {
    int columns = 1;
    int labelWidth = 0;
    int columnWidth = 0;
    int lineStep = 0;
    bool splitHeading = false;
};
DetailLayout ComputeDetailLayout(int width, int charWidth, int charHeight, int margin, bool printing);

// One results row of codes 0x40-0x7C.
struct DetailResultsRow {
    int code = 0;
    int kind = 2; // 1 interim, 2 announced, 3 forecast
    PackedDate date = 0;
    std::array<std::optional<float>, 4> figures{};   // profits, EPS, dividend, turnover
    std::array<std::string, 4> changes{};              // "  (12.5%)" with the show-changes option
};
// The counted rows (at least one figure) of a share's results; interims only with showInterims.
std::vector<DetailResultsRow> BuildDetailResultsRows(uint8_t* record, uint32_t extra, bool showInterims,
                                                     bool showChanges);
// "Interim: 5/9/24", "Announced: 5/9/24" or "Forecast: 9/25".
std::string DetailResultsDateText(const DetailResultsRow& row);

// The share's notes 1-10 that exist: the setting records of the share's id and sub-record with the
// ids 128 + n.
std::vector<std::pair<int, std::string>> DetailNotes(const RecordCursor& share);

// The growth chart: per row the change of each item from its previous positive figure (nothing where
// a chain breaks), and the scale.
struct GrowthChart {
    std::vector<PackedDate> dates;
    std::vector<bool> forecast;
    std::array<std::vector<std::optional<double>>, 4> changes;
    double top = 0, bottom = 0;
    bool valid() const { return dates.size() >= 2; }
};
GrowthChart BuildGrowthChart(uint8_t* record, uint32_t extra);
// Top = floor(max) + 1 from a change of 1.5 on, else floor(max x 10) / 10 + 0.1; bottom = floor(min)
// from -1.5 down, else floor(min x 10) / 10.
void ScaleGrowthChart(GrowthChart& chart);

// The window title before decoration: list types 2 and 4 show only the source title; the parent-list
// mode leaves out the portfolio caption.
std::string DetailTitle(int listType, bool parentListMode, const std::string& source, const std::string& sector,
                        const std::string& portfolio);

// Scrolling: a position clamped to 0 .. maximum; the wheel's accumulated delta gives whole pages
// (one per 120 units).
int ClampDetailScroll(int position, int maximum);
int DetailWheelPages(int& accumulated, int delta);

// The heading and cell text of a catalogue column for a share, which the list tables' cell texts
// serve; the default writes the heading of the field code and no value.
struct DetailCell {
    std::string heading;
    std::string value;
    std::string second; // a second column's value, shown in brackets
    bool headingHidden = false;
};
using DetailCellSource = std::function<DetailCell(int fieldCode, const RecordCursor& share)>;
void SetDetailCellSource(DetailCellSource source);
DetailCell GetDetailCell(int fieldCode, const RecordCursor& share);
// The heading an item of that field code is shown with.
std::string DetailItemHeading(int fieldCode);

} // namespace qv
