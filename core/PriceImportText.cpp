// The import file's lines, dates and values, and the stream the closes are stored as.
#include "core/PriceImportText.h"

#include "core/PriceStream.h"
#include "core/TextHelpers.h"
#include "core/VarInt.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace qv {
namespace {

constexpr size_t kShownLine = 50;
constexpr size_t kNameLimit = 50;
constexpr size_t kValueLimit = 254;

constexpr std::array<const char*, 20> kTypeWords = {
    "ADR", "index", "zero pref.", "preference", "warrant", "convertible", "NPV", "unit", "income", "capital",
    "",    "ord",   "rate",       "gilt",       "unit trust", "",        "forex", "commodity", "bond", "etf"};
constexpr std::array<const char*, 3> kEventWords = {"making offer", "rights", "suspended"};
constexpr std::array<const char*, 7> kCurrencyWords = {"pounds", "punts", "index", "us dollars",
                                                       "french francs", "dmarks", "euro"};
// Listing codes as the fundamentals page names them.
struct ListingWord {
    const char* word;
    uint8_t code;
};
constexpr std::array<ListingWord, 3> kListingWords = {{{"Full", 0}, {"AIM", 1}, {"Index", 3}}};
constexpr uint8_t kTypeIndex = 1, kTypeRate = 12, kCurrencyIndex = 2;

bool SameNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ToUpperChar(a[i]) != ToUpperChar(b[i]))
            return false;
    return true;
}

template <size_t N>
int WordIndex(const std::array<const char*, N>& words, std::string_view word)
{
    for (size_t i = 0; i < N; ++i)
        if (*words[i] && SameNoCase(words[i], word))
            return int(i);
    return -1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string WithoutQuotes(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '"')
            out += c;
    return out;
}

// Reads up to `maxDigits` digits at `at`; -1 when there are none (or fewer than `exactDigits`).
int ReadNumber(std::string_view text, size_t& at, size_t maxDigits, size_t exactDigits = 0)
{
    size_t start = at;
    long value = 0;
    while (at < text.size() && IsDigit(text[at]) && at - start < maxDigits)
        value = value * 10 + (text[at++] - '0');
    size_t digits = at - start;
    if (digits == 0 || (exactDigits && digits != exactDigits))
        return -1;
    return int(value);
}

// Two-digit years below 60 are this century's; a year of three or more digits stands as written.
PackedDate MakeDate(int day, int month, int year)
{
    if (year < 0)
        return 0;
    if (year < 100)
        year += year < 60 ? 2000 : 1900;
    if (year < 1900 || year > 2027 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(month - 1, year - 1900))
        return 0;
    return PackDate(day, month, year);
}

PackedDate IsoDate(std::string_view text, size_t& end)
{
    size_t at = 0;
    int year = ReadNumber(text, at, 4, 4);
    if (year < 0 || at >= text.size() || text[at] != '-')
        return 0;
    ++at;
    int month = ReadNumber(text, at, 2);
    if (month < 0 || at >= text.size() || text[at] != '-')
        return 0;
    ++at;
    int day = ReadNumber(text, at, 2);
    end = at;
    return MakeDate(day, month, year);
}

PackedDate OrderedDate(int a, int b, int c, uint8_t format)
{
    switch (format & 3) {
    case 0: return MakeDate(a, b, c);
    case 1: return MakeDate(b, a, c);
    default: return MakeDate(c, b, a);
    }
}

bool Missing(std::string_view field)
{
    field = Trimmed(field);
    return field.empty() || field == "-" || SameNoCase(field, "null") || SameNoCase(field, "NaN");
}

std::string LineMessage(int line, std::string_view what, std::string_view shown)
{
    return "Line " + std::to_string(line) + ": " + std::string(what) + "\n\n" + std::string(shown);
}

// The columns a heading row names; none until one was met.
struct Columns {
    int date = -1;
    int close = -1;
    int open = -1, high = -1, low = -1, volume = -1, ticker = -1;
    bool known() const { return date >= 0 && close >= 0; }
};

void TakeColumn(int& column, size_t i, std::string_view name, std::initializer_list<const char*> names)
{
    if (column >= 0)
        return;
    for (const char* n : names)
        if (SameNoCase(name, n))
            column = int(i);
}

Columns HeadingColumns(const std::vector<std::string>& fields)
{
    Columns c;
    for (size_t i = 0; i < fields.size(); ++i) {
        std::string_view name = Trimmed(fields[i]);
        TakeColumn(c.date, i, name, {"Date"});
        TakeColumn(c.close, i, name, {"Close"});
        TakeColumn(c.open, i, name, {"Open"});
        TakeColumn(c.high, i, name, {"High"});
        TakeColumn(c.low, i, name, {"Low"});
        TakeColumn(c.volume, i, name, {"Volume"});
        TakeColumn(c.ticker, i, name, {"Ticker", "Symbol", "EPIC"});
    }
    return c.known() ? c : Columns{};
}

// A day line as read: its date (0 unreadable), its ticker in a file of many shares, and its value
// texts; no close when the line holds no value.
struct DayLine {
    int number = 0;
    std::string shown;
    PackedDate date = 0;
    std::string ticker;
    std::optional<std::string> value;
    std::string open, high, low, volume;
};

std::string FieldAt(const std::vector<std::string>& fields, int column)
{
    return column >= 0 && size_t(column) < fields.size() ? fields[size_t(column)] : std::string();
}

// The fields after the date, by how many there are: 1 close; 2 close and volume; 4 open, high, low
// and close; 5 those and volume; 6 those, adjusted close and volume.
void TakeFieldsByCount(const std::vector<std::string>& rest, DayLine& day)
{
    if (rest.empty())
        return;
    if (rest.size() < 4) {
        day.value = rest[0];
        if (rest.size() == 2)
            day.volume = rest[1];
        return;
    }
    day.open = rest[0];
    day.high = rest[1];
    day.low = rest[2];
    day.value = rest[3];
    if (rest.size() == 5)
        day.volume = rest[4];
    else if (rest.size() >= 6)
        day.volume = rest[5];
}

DayLine ReadDayLine(std::string_view line, const ImportSettings& s, const Columns& columns)
{
    DayLine day;
    if (columns.known()) {
        std::vector<std::string> fields = SplitImportFields(line, s.delimiter);
        day.date = ParseImportDate(Trimmed(FieldAt(fields, columns.date)), s);
        day.value = FieldAt(fields, columns.close);
        day.open = FieldAt(fields, columns.open);
        day.high = FieldAt(fields, columns.high);
        day.low = FieldAt(fields, columns.low);
        day.volume = FieldAt(fields, columns.volume);
        day.ticker = std::string(Trimmed(FieldAt(fields, columns.ticker)));
        return day;
    }
    std::vector<std::string> rest;
    if (!line.empty() && line.front() == '"') {
        rest = SplitImportFields(line, s.delimiter);
        day.date = ParseImportDate(Trimmed(rest.front()), s);
        rest.erase(rest.begin());
    } else {
        size_t end = 0;
        day.date = ParseImportDate(line, s, &end);
        std::string_view tail = line.substr(std::min(end, line.size()));
        // A separated date is followed by a separator before the value; without separators the
        // value follows the digits.
        const bool separated = (s.dateFormat & 0x10) || (end > 4 && line[4] == '-');
        if (separated) {
            const size_t cut = tail.find_first_of(std::string{s.delimiter, s.dateSeparator});
            if (cut != std::string_view::npos)
                rest = SplitImportFields(tail.substr(cut + 1), s.delimiter);
        } else {
            if (!tail.empty() && tail.front() == s.delimiter)
                tail.remove_prefix(1);
            if (!tail.empty())
                rest = SplitImportFields(tail, s.delimiter);
        }
    }
    TakeFieldsByCount(rest, day);
    return day;
}

// An open, high, low or volume as given; 0 when the file gives none or none that reads.
double OptionalValue(const std::string& text, bool commaDecimal)
{
    if (Missing(text))
        return 0;
    const double v = ParseImportValue(text, commaDecimal);
    return std::isfinite(v) && v > 0 ? v : 0;
}

class TextReader {
public:
    TextReader(const ImportSettings& s, const std::string& path, const ImportLineError& error,
               std::vector<ImportSeries>& out)
        : s_(s), path_(path), error_(error), out_(out)
    {}

    ImportTextResult read(std::string_view text);

private:
    bool keywordLine(std::string_view line, int number, const std::string& shown);
    bool report(int number, std::string_view what, const std::string& shown)
    {
        return error_(LineMessage(number, what, shown));
    }
    bool takeSeries();
    bool takeDays(std::vector<DayLine>& lines, ImportSeries& series);

    const ImportSettings& s_;
    const std::string& path_;
    const ImportLineError& error_;
    std::vector<ImportSeries>& out_;
    ImportSeries file_; // the name and keywords of the file
    std::vector<DayLine> lines_;
    bool noValue_ = false;
};

bool TextReader::keywordLine(std::string_view line, int number, const std::string& shown)
{
    const size_t colon = line.find(':');
    const std::string_view key = line.substr(0, colon);
    const std::string_view value = line.substr(colon + 1);
    ImportKeywords& k = file_.keywords;
    if (SameNoCase(key, "NMS")) {
        k.nms = uint16_t(std::clamp(ParseImportValue(value, s_.commaDecimal) * 2, 0.0, 65535.0));
        return k.nms != 0 || report(number, "NMS string not recognised", shown);
    }
    if (SameNoCase(key, "Type")) {
        int index = WordIndex(kTypeWords, value);
        k.type = uint8_t(index < 0 ? 20 : index);
        if (k.type == kTypeIndex || k.type == kTypeRate)
            k.currency = kCurrencyIndex;
    } else if (SameNoCase(key, "Event")) {
        int index = WordIndex(kEventWords, value);
        k.event = uint8_t(index < 0 ? 3 : index);
    } else if (SameNoCase(key, "Currency")) {
        int index = WordIndex(kCurrencyWords, value);
        k.currency = uint8_t(index < 0 ? 7 : index);
    } else if (SameNoCase(key, "Sedol")) {
        k.sedol = uint32_t(std::clamp(ParseImportValue(value, false), 0.0, 4294967295.0));
    } else if (SameNoCase(key, "Listing")) {
        k.listing = 4;
        for (const ListingWord& word : kListingWords)
            if (SameNoCase(word.word, value))
                k.listing = word.code;
    } else if (SameNoCase(key, "NumShares")) {
        k.numShares = float(ParseImportValue(value, s_.commaDecimal));
    } else {
        char what[400];
        std::snprintf(what, sizeof what, "Import string at line %i of file %s not recognised", number,
                      path_.substr(0, 300).c_str());
        return report(number, what, shown);
    }
    return true;
}

ImportTextResult TextReader::read(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    Columns columns;
    int number = 0;
    size_t at = 0;
    while (at < text.size()) {
        size_t lineEnd = text.find('\n', at);
        if (lineEnd == std::string_view::npos)
            lineEnd = text.size();
        std::string_view line = text.substr(at, lineEnd - at);
        at = lineEnd + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (Trimmed(line).empty())
            continue;
        ++number;
        const std::string plain = WithoutQuotes(line);
        const std::string shown = plain.substr(0, kShownLine);
        if (Trimmed(plain).empty() || plain.starts_with("//"))
            continue;
        if (!columns.known() && !IsDigit(plain.front())) {
            Columns heading = HeadingColumns(SplitImportFields(line, s_.delimiter));
            if (heading.known()) {
                columns = heading;
                continue;
            }
        }
        // Under a heading with a ticker column every line is a day line, whatever its first letter.
        const bool dayLinesOnly = columns.known() && columns.ticker >= 0;
        if (!dayLinesOnly && plain.find(':') != std::string::npos && !IsDigit(plain.front())) {
            if (!keywordLine(plain, number, shown))
                return ImportTextResult::Cancelled;
            continue;
        }
        if (!dayLinesOnly && IsAsciiLetter(plain.front()) && ParseImportDate(plain, s_) == 0) {
            file_.name = plain.substr(0, kNameLimit);
            continue;
        }
        DayLine day = ReadDayLine(line, s_, columns);
        day.number = number;
        day.shown = shown;
        if (day.date == 0) {
            if (!report(number, "Import date not recognised", shown))
                return ImportTextResult::Cancelled;
            continue;
        }
        if (!day.value) {
            noValue_ = true;
            continue;
        }
        lines_.push_back(std::move(day));
    }
    if (lines_.empty() || noValue_)
        return ImportTextResult::NoDays;
    return takeSeries() ? ImportTextResult::Read : ImportTextResult::Cancelled;
}

// The lines of each ticker in the order the file first names it; a file without tickers is one
// series under its name line.
bool TextReader::takeSeries()
{
    std::vector<std::string> tickers;
    std::vector<std::vector<DayLine>> groups;
    for (DayLine& line : lines_) {
        auto found = std::find(tickers.begin(), tickers.end(), line.ticker);
        if (found == tickers.end()) {
            tickers.push_back(line.ticker);
            groups.emplace_back();
            found = tickers.end() - 1;
        }
        groups[size_t(found - tickers.begin())].push_back(std::move(line));
    }
    for (size_t i = 0; i < groups.size(); ++i) {
        ImportSeries series = file_;
        if (!tickers[i].empty())
            series.name = tickers[i].substr(0, kNameLimit);
        if (!takeDays(groups[i], series))
            return false;
        out_.push_back(std::move(series));
    }
    return true;
}

// Weekend dates move to the Monday after; a series whose days all run newest first is read from its
// end; then every day must be later than the one before.
bool TextReader::takeDays(std::vector<DayLine>& lines, ImportSeries& series)
{
    for (DayLine& line : lines)
        if (WeekdayOf(line.date) >= 5)
            line.date = NextWeekday(line.date);
    const bool newestFirst =
        lines.size() > 1 && std::adjacent_find(lines.begin(), lines.end(), [](const DayLine& a, const DayLine& b) {
            return a.date <= b.date;
        }) == lines.end();
    if (newestFirst)
        std::reverse(lines.begin(), lines.end());
    PackedDate previous = 0;
    for (const DayLine& line : lines) {
        if (line.date == 0 || line.date <= previous) {
            const char* what = "Import date out of sequence or extra weekend data\n\nThe file must be in date order";
            if (!report(line.number, what, line.shown))
                return false;
            continue;
        }
        if (Missing(*line.value)) {
            previous = line.date;
            continue;
        }
        const double value = ParseImportValue(*line.value, s_.commaDecimal);
        if (value == 0 || !std::isfinite(value)) {
            if (!report(line.number, "Import value not recognised", line.shown))
                return false;
            continue;
        }
        previous = line.date;
        const bool comma = s_.commaDecimal;
        series.days.push_back({line.date, value, OptionalValue(line.open, comma), OptionalValue(line.high, comma),
                               OptionalValue(line.low, comma), OptionalValue(line.volume, comma)});
    }
    return true;
}

double RoundHalfAway(double v) { return v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5); }

} // namespace

ImportTextResult ReadImportText(std::string_view text, const ImportSettings& settings, const std::string& filePath,
                                const ImportLineError& lineError, std::vector<ImportSeries>& out)
{
    return TextReader(settings, filePath, lineError, out).read(text);
}

ImportTextResult ReadImportText(std::string_view text, const ImportSettings& settings, const std::string& filePath,
                                const ImportLineError& lineError, ImportSeries& out)
{
    std::vector<ImportSeries> all;
    const ImportTextResult result = ReadImportText(text, settings, filePath, lineError, all);
    if (!all.empty())
        out = std::move(all.front());
    return result;
}

std::vector<std::string> SplitImportFields(std::string_view line, char delimiter)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"')
                fields.back() += line[++i];
            else
                quoted = !quoted;
        } else if (c == delimiter && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

PackedDate ParseImportDate(std::string_view text, const ImportSettings& s, size_t* end)
{
    size_t scratch = 0;
    size_t& at = end ? *end : scratch;
    at = 0;
    if (PackedDate iso = IsoDate(text, at))
        return iso;
    at = 0;
    const bool fourDigits = (s.dateFormat & 0x08) != 0;
    int parts[3];
    if (s.dateFormat & 0x10) {
        for (int i = 0; i < 3; ++i) {
            if (i > 0) {
                while (at < text.size() && text[at] != s.dateSeparator && text[at] != s.delimiter)
                    ++at;
                if (at >= text.size())
                    return 0;
                ++at;
            }
            parts[i] = ReadNumber(text, at, 4);
            if (parts[i] < 0)
                return 0;
        }
        return OrderedDate(parts[0], parts[1], parts[2], s.dateFormat);
    }
    // Without separators the year takes four digits with "Four digit year", two without.
    const int yearSlot = (s.dateFormat & 3) == 2 ? 0 : 2;
    for (int i = 0; i < 3; ++i) {
        const size_t width = (i == yearSlot && fourDigits) ? 4 : 2;
        parts[i] = ReadNumber(text, at, width, width);
        if (parts[i] < 0)
            return 0;
    }
    return OrderedDate(parts[0], parts[1], parts[2], s.dateFormat);
}

double ParseImportValue(std::string_view text, bool commaDecimal)
{
    std::string value(text.substr(0, kValueLimit));
    if (commaDecimal)
        std::replace(value.begin(), value.end(), ',', '.');
    else
        std::erase(value, ',');
    std::string_view rest = value;
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest.remove_prefix(1);
    if (!rest.empty() && rest.front() == '+')
        rest.remove_prefix(1);
    const size_t digitAt = !rest.empty() && rest.front() == '-' ? 1 : 0;
    if (digitAt >= rest.size() || !(IsDigit(rest[digitAt]) || rest[digitAt] == '.'))
        return 0;
    double result = 0;
    const auto [ptr, error] = std::from_chars(rest.data(), rest.data() + rest.size(), result);
    return error == std::errc() && std::isfinite(result) ? result : 0;
}

std::optional<int16_t> ChoosePriceScale(const std::vector<double>& values, const ScaleThresholds& t)
{
    double fraction1 = 0, fraction4 = 0, fraction10 = 0, largest = 0;
    for (const double v : values) {
        fraction1 += v - std::trunc(v);
        fraction4 += 4 * v - std::trunc(4 * v);
        fraction10 += 10 * v - std::trunc(10 * v);
        largest = std::max(largest, std::fabs(v));
    }
    int scale = fraction1 < t.whole ? 1 : fraction4 < t.quarters ? 4 : fraction10 < t.tenths ? 10 : 100;
    if (largest > 999 && scale == 100)
        scale = 10;
    if (largest > 9999 && scale == 10)
        scale = 4;
    if (largest > 24999 && scale == 4)
        scale = 1;
    if (largest <= 99999)
        return int16_t(scale);
    for (int divisor : {10, 100, 1000})
        if (largest / divisor <= 99999)
            return int16_t(-divisor);
    return std::nullopt;
}

std::optional<int16_t> ChooseImportScale(const std::vector<ImportDay>& days)
{
    std::vector<double> values;
    values.reserve(days.size());
    for (const ImportDay& day : days) {
        values.push_back(day.value);
        for (const double price : {day.open, day.high, day.low})
            if (price != 0)
                values.push_back(price);
    }
    return ChoosePriceScale(values, ScaleThresholds{});
}

PriceChangeCoder::PriceChangeCoder(int16_t scale) : factor_(scale > 0 ? double(scale) : 1.0 / double(-scale)) {}

void PriceChangeCoder::Put(double value, std::vector<uint8_t>& out)
{
    const double change = value - previous_;
    const double k = RoundHalfAway((change + carry_) * factor_);
    const double limit = double(kVarIntLimit);
    const int32_t coded = int32_t(std::clamp(k, -limit, limit));
    total_ += coded;
    lost_ = lost_ || std::fabs(k) > limit || total_ <= 0;
    uint8_t buffer[8];
    uint8_t* written = EncodeVarInt(coded, buffer);
    out.insert(out.end(), buffer, written);
    carry_ = carry_ + change - k / factor_;
    previous_ = value;
}

FullDayCoder::FullDayCoder(int16_t scale, int64_t running)
    : scale_(scale), unit_(StartingUnit(scale)), factor_(scale > 0 ? double(scale) : 1.0 / double(-scale)),
      price_(running)
{}

void FullDayCoder::Put(const ImportDay& day, std::vector<uint8_t>& out)
{
    const double close = day.value;
    const double given[4] = {day.open ? day.open : close, day.high ? day.high : close, day.low ? day.low : close,
                             close};
    int64_t prices[4];
    uint8_t mask = day.volume > 0 ? 0x10 : 0;
    int64_t running = price_;
    for (int k = 0; k < 4; ++k) {
        prices[k] = int64_t(RoundHalfAway(given[k] * factor_));
        lost_ = lost_ || prices[k] <= 0;
        if (prices[k] != running)
            mask |= uint8_t(1 << k);
        running = prices[k];
    }
    out.push_back(mask);
    for (int k = 0; k < 4; ++k) {
        if (!(mask & (1 << k)))
            continue;
        const int64_t change = prices[k] - price_;
        uint8_t buffer[8];
        uint8_t* written =
            change >= -kVarIntLimit && change <= kVarIntLimit ? EncodeVarInt(int32_t(change), buffer) : nullptr;
        lost_ = lost_ || !written;
        if (written)
            out.insert(out.end(), buffer, written);
        price_ = prices[k];
    }
    if (mask & 0x10) {
        const uint16_t word = StreamVolumeWord(day.volume, scale_, unit_);
        out.push_back(uint8_t(word));
        out.push_back(uint8_t(word >> 8));
    }
}

uint16_t StreamVolumeWord(double volume, int32_t scale, float unit)
{
    double divisor = double(scale) * unit;
    if (divisor < 1e-07)
        divisor = 1.0;
    const double target = volume * divisor;
    if (!(target > 0))
        return 0;
    double power = 1;
    for (int p = 0; p < 16; ++p, power *= 10) {
        const double mantissa = std::round(target / power);
        if (mantissa <= 4095)
            return uint16_t((p << 12) | int(mantissa));
    }
    return 0xFFFF;
}

namespace {

// The days coded as closes before `fullFrom` and as full days from it on (the switch written right
// before that day's entry); `starts` (may be null) receives where each day's entry begins.
std::optional<std::vector<uint8_t>> EncodeDays(const std::vector<ImportDay>& days, int16_t scale, size_t fullFrom,
                                               std::vector<size_t>* starts)
{
    std::vector<uint8_t> out;
    PriceChangeCoder coder(scale);
    std::optional<FullDayCoder> fullCoder;
    PackedDate previous = 0;
    for (size_t i = 0; i < days.size(); ++i) {
        const ImportDay& day = days[i];
        if (starts)
            starts->push_back(out.size());
        if (previous)
            for (PackedDate d = NextWeekday(previous); d && d < day.date; d = NextWeekday(d))
                out.push_back(kStreamDayC);
        if (i == fullFrom) {
            out.push_back(kStreamMode);
            out.push_back(1);
            fullCoder.emplace(scale, coder.running());
        }
        if (fullCoder)
            fullCoder->Put(day, out);
        else
            coder.Put(day.value, out);
        previous = day.date;
    }
    if (coder.lostValues() || (fullCoder && fullCoder->lostValues()))
        return std::nullopt;
    out.push_back(kStreamEnd);
    return out;
}

} // namespace

std::optional<std::vector<uint8_t>> EncodeImportStream(const std::vector<ImportDay>& days, int16_t scale, size_t room)
{
    const bool full = std::any_of(days.begin(), days.end(), [](const ImportDay& d) { return d.full(); });
    if (!full)
        return EncodeDays(days, scale, days.size(), nullptr);
    std::vector<size_t> fullStarts, closeStarts;
    std::optional<std::vector<uint8_t>> all = EncodeDays(days, scale, 0, &fullStarts);
    if (!all || all->size() <= room)
        return all;
    // The first day that can start the full days: the closes before it and the full days from it,
    // with a few bytes for the switch and for the first full day's changes from the closes' price.
    std::optional<std::vector<uint8_t>> closes = EncodeDays(days, scale, days.size(), &closeStarts);
    if (!closes)
        return closes;
    constexpr size_t kSwitchAndSlack = 12;
    size_t from = 0;
    while (from < days.size() && closeStarts[from] + kSwitchAndSlack + (all->size() - fullStarts[from]) > room)
        ++from;
    if (from == days.size())
        return closes;
    return EncodeDays(days, scale, from, nullptr);
}

} // namespace qv
