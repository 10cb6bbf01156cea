// Reading a price import file's text: keyword, name and comment lines, the day lines of the
// program's own layout and of the daily CSV files data sites give, and the coded stream of closes
// with the price scale it is stored at.
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The Import page's settings as the reader uses them.
struct ImportSettings {
    uint8_t dateFormat = 0x18; // bits 0-1 order (day month year, month day year, year month day),
                               // bit 3 four-digit year, bit 4 date separator
    char delimiter = ',';
    char dateSeparator = '/';
    uint8_t errorLevel = 1;    // 0 none, 1 report at the end, 2 report every error
    bool replace = false;      // "Replace if share exists"; else "Append if share exists"
    bool fileNameForShare = true;
    bool commaDecimal = false; // "Allow comma as decimal point"
};

// The describing keywords of an item; each default is what a file without the keyword gives.
struct ImportKeywords {
    uint16_t nms = 0;
    uint8_t type = 31;
    uint8_t event = 7;
    uint8_t currency = 7;
    uint8_t listing = 7;
    uint32_t sedol = 0;
    float numShares = 0;
};

// One day of the series with its value, the close (never 0). A daily CSV file may give the day's
// open, high, low and volume as well; 0 where it gives none.
struct ImportDay {
    PackedDate date = 0;
    double value = 0;
    double open = 0, high = 0, low = 0, volume = 0;
    bool full() const { return open != 0 || high != 0 || low != 0 || volume != 0; }
};

struct ImportSeries {
    std::string name; // the last name line (or the ticker of a file of many shares), empty when none
    ImportKeywords keywords;
    // In date order, each later than the one before; days the file gives without a value ("",
    // "null", "NaN", "-") are left out, so that they become gaps.
    std::vector<ImportDay> days;
};

// Asked for every bad line with its message ("Line %i: ..." and the line); false cancels.
using ImportLineError = std::function<bool(const std::string& message)>;

enum class ImportTextResult { Read, Cancelled, NoDays };

// Reads the text; `filePath` is named in the keyword message. A file whose heading names a "Ticker"
// (or "Symbol" or "EPIC") column gives one series per ticker, in the order the file first names
// them, each named by its ticker; any other file gives one series.
ImportTextResult ReadImportText(std::string_view text, const ImportSettings& settings, const std::string& filePath,
                                const ImportLineError& lineError, std::vector<ImportSeries>& out);
// The same for a file of one series (the first when the file holds more).
ImportTextResult ReadImportText(std::string_view text, const ImportSettings& settings, const std::string& filePath,
                                const ImportLineError& lineError, ImportSeries& out);

// The date at the start of `text` by the settings (ISO yyyy-mm-dd whatever they say); 0 when none.
// `end` (may be null) receives the position behind the date.
PackedDate ParseImportDate(std::string_view text, const ImportSettings& settings, size_t* end = nullptr);

// A value as the import reads it: commas dropped (or, with commaDecimal, a decimal point), leading
// blanks skipped, reading up to the first character that is no part of the number; 0 when nothing
// is readable.
double ParseImportValue(std::string_view text, bool commaDecimal);

// The fields of a line split at the delimiter outside double quotes, each unquoted.
std::vector<std::string> SplitImportFields(std::string_view line, char delimiter);

// The stored price scale of the values: 1, 4, 10 or 100 by the sums of the fractions of v, 4v and
// 10v against their thresholds, lowered for large values, or minus the divisor 10, 100 or 1000;
// nothing when the largest value is too large even for 1000.
struct ScaleThresholds {
    double whole = 0.05, quarters = 0.02, tenths = 0.01;
};
std::optional<int16_t> ChoosePriceScale(const std::vector<double>& values, const ScaleThresholds& thresholds);
std::optional<int16_t> ChooseImportScale(const std::vector<ImportDay>& days);

// Codes each price as its rounded change at the scale, the rounding carried to the next, so that
// rounding errors never accumulate.
class PriceChangeCoder {
public:
    explicit PriceChangeCoder(int16_t scale);
    void Put(double value, std::vector<uint8_t>& out);
    // The stream no longer reads back as the values: a change too large for its coding was cut to
    // the limit, or a price came out at no unit or below at the scale (it would read as no price).
    // Every writer of a price stream asks this before it keeps the stream.
    bool lostValues() const { return lost_; }
    // The running price in units, as a reader of the stream holds it after the last value.
    int64_t running() const { return total_; }

private:
    bool lost_ = false;
    double factor_;
    double previous_ = 0;
    double carry_ = 0;
    int64_t total_ = 0; // the coded price in units, as a reader adds it up
};

// Codes full days (after the stream's switch to full days): a mask byte naming the prices that
// differ from the running price and the volume, the change of each named price in units of the
// scale, then the volume word. A missing open, high or low is the close. `running` is the reader's
// running price where the full days start (that of the closes before them).
class FullDayCoder {
public:
    explicit FullDayCoder(int16_t scale, int64_t running = 0);
    void Put(const ImportDay& day, std::vector<uint8_t>& out);
    // As PriceChangeCoder::lostValues.
    bool lostValues() const { return lost_; }

private:
    int16_t scale_;
    float unit_;
    double factor_;
    int64_t price_ = 0;
    bool lost_ = false;
};

// The coded days from the first: a 'C' for every weekday without a value, the end mark behind the
// last. Closes alone are each the rounded change at the scale with the rounding carried; when any
// day has an open, high, low or volume, every day is a full day (open, high, low and close, each a
// missing one taken as the close, and the volume). Full days take some five times the room: when
// they would pass `room` bytes, the earliest days keep their closes alone and the latest days as
// many full days as fit. Nothing when the scale cannot keep the values.
std::optional<std::vector<uint8_t>> EncodeImportStream(const std::vector<ImportDay>& days, int16_t scale,
                                                       size_t room = SIZE_MAX);

// The volume word of a full day (a 12-bit mantissa and a power of ten) that reads back nearest
// `volume` at the scale and unit.
uint16_t StreamVolumeWord(double volume, int32_t scale, float unit);

} // namespace qv
