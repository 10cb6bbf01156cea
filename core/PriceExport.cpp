// Writing one share's price history as text.
#include "core/PriceExport.h"

#include "core/DateText.h"
#include "core/Memory.h"
#include "core/PriceSubRecords.h"
#include "core/PriceStatistics.h"
#include "core/RecordLookup.h"
#include "core/SaveProtocol.h"
#include "core/StringPrintf.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace qv {

namespace {

constexpr uint8_t kThreeDecimalKind = 16;
constexpr int kIsoDateStyle = 2 | 8 | 16;
constexpr uint32_t kCurrencyIndex = 2;
constexpr uint32_t kCurrencyUnknown = 7;

void AppendPrice(std::string& out, char delimiter, int decimals, double price)
{
    out += delimiter;
    out += StringPrintf("%.*f", decimals, price);
}

// The heading line of the ticker-first layout.
std::string PrnHeading(const std::string& ticker, bool ohlcv)
{
    std::string line;
    if (!ticker.empty())
        line += "<ticker>,";
    line += "<date>,";
    if (ohlcv)
        line += "<open>,<high>,<low>,";
    line += "<close>";
    if (ohlcv)
        line += ",<volume>";
    return line + "\r\n";
}

struct RowContext {
    explicit RowContext(const ExportStyle& s) : style(s) {}
    const ExportStyle& style;
    std::string ticker;
    std::string name;
    double divisor = 1;
    int decimals = 2;
};

// A text field of a comma-separated row, quoted when it holds a comma or a quote.
std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char ch : text)
        quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return quoted + "\"";
}

// The share a daily CSV row of a file of many shares names: its ticker, else its name.
std::string RowShare(const RowContext& c) { return CsvField(c.ticker.empty() ? c.name : c.ticker); }

void AppendDailyCsvRow(const RowContext& c, const DayRecord& day, std::string& out)
{
    if (c.style.severalShares)
        out += RowShare(c) + ',';
    out += FormatDateStyled(day.date, kIsoDateStyle, '-');
    AppendPrice(out, ',', c.decimals, day.open / c.divisor);
    AppendPrice(out, ',', c.decimals, day.high / c.divisor);
    AppendPrice(out, ',', c.decimals, day.low / c.divisor);
    AppendPrice(out, ',', c.decimals, day.close / c.divisor);
    out += StringPrintf(",%.0f\r\n", std::max(0.0, std::round(double(day.volume))));
}

void AppendRow(const RowContext& c, const DayRecord& day, std::string& out)
{
    const ExportStyle& s = c.style;
    if (s.format == kExportDailyCsv)
        return AppendDailyCsvRow(c, day, out);
    const std::string date = FormatDateStyled(day.date, s.dateStyle, s.dateSeparator);
    if (s.format == kExportCsq) {
        out += c.name.substr(0, 12);
        AppendPrice(out, s.delimiter, c.decimals, day.close / c.divisor);
        out += s.delimiter + date + "\r\n";
        return;
    }
    if (!c.ticker.empty() && (s.format == kExportPrn || s.severalShares))
        out += c.ticker + s.delimiter;
    out += date;
    if (s.ohlcv) {
        AppendPrice(out, s.delimiter, c.decimals, day.open / c.divisor);
        AppendPrice(out, s.delimiter, c.decimals, day.high / c.divisor);
        AppendPrice(out, s.delimiter, c.decimals, day.low / c.divisor);
    }
    AppendPrice(out, s.delimiter, c.decimals, day.close / c.divisor);
    if (s.ohlcv)
        out += s.delimiter + StringPrintf("%.2f", double(day.volume));
    out += "\r\n";
}

void AppendHeading(const RowContext& c, std::string& out)
{
    const ExportStyle& s = c.style;
    if (s.format == kExportDailyCsv) {
        if (s.withHeader)
            out += s.severalShares ? "Ticker,Date,Open,High,Low,Close,Volume\r\n" : "Date,Open,High,Low,Close,Volume\r\n";
        return;
    }
    if (!s.headerLines)
        return;
    if (s.format == kExportExp || s.format == kExportAllFiles)
        out += c.name + "\r\n";
    else if (s.format == kExportPrn && s.withHeader)
        out += PrnHeading(c.ticker, s.ohlcv);
}

} // namespace

ExportStyle ExportStyleFor(int format, uint8_t flags, uint8_t flags2, char delimiter, char dateSeparator)
{
    ExportStyle s;
    s.format = format;
    s.delimiter = delimiter ? delimiter : ',';
    s.dateStyle = flags & 0x1B;
    s.dateSeparator = dateSeparator ? dateSeparator : '/';
    s.adjusted = flags & 0x20;
    s.ohlcv = flags & 0x80;
    s.pence = flags2 & 1;
    s.headerLines = !(flags2 & 2);
    if (format == kExportCsv || format == kExportPrn || format == kExportCsq || format == kExportDailyCsv)
        s.delimiter = ',';
    if (format == kExportPrn)
        s.dateStyle = 2;
    if (format == kExportCsq)
        s.dateStyle = 16;
    if (format == kExportDailyCsv)
        s.ohlcv = true;
    return s;
}

std::string ExportExtension(int format)
{
    switch (format) {
    case kExportCsv: case kExportDailyCsv: return ".csv";
    case kExportPrn: return ".prn";
    case kExportCsq: return ".csq";
    case kExportExp: return ".exp";
    case kExportAllFiles: return ".*";
    default: return {};
    }
}

bool WriteShareHistory(const RecordCursor& share, const ExportStyle& style, std::string& out)
{
    if (!share.record)
        return false;
    RecordCursor cursor = share;
    DayRecord* days = nullptr;
    const int32_t count = DecodePriceHistory(&cursor, &days, 0, true, style.adjusted);
    RowContext c(style);
    GetShareFileCode(share, c.ticker, false);
    c.name = std::string(GetRecordName(share.record));
    const uint32_t currency = GetShareFieldType(&share, 0);
    if (!style.pence && currency != kCurrencyIndex && currency != kCurrencyUnknown)
        c.divisor = 100;
    SubRecordSpan span = SubRecordOf(share.record, cursor.count);
    if (span && span.sub[2] == kThreeDecimalKind)
        c.decimals = 3;
    // A share without a day to write leaves nothing, not even its heading.
    const size_t before = out.size();
    AppendHeading(c, out);
    bool wrote = false;
    for (int32_t i = 0; i < count; ++i) {
        const DayRecord& day = days[i];
        if (day.date == 0 || day.date <= style.fromDate || day.close <= 0)
            continue;
        AppendRow(c, day, out);
        wrote = true;
    }
    ProFree(days);
    if (!wrote)
        out.resize(before);
    return wrote;
}

std::string ShareExportPath(const std::string& folder, const std::string& ticker, const std::string& extension)
{
    if (folder.size() >= kExportFolderLimit || ticker.size() >= kExportTickerLimit || ticker.empty())
        return {};
    return (std::filesystem::path(folder) / (ticker + extension)).string();
}

bool ExportShareFile(const RecordCursor& share, ShareExportRun& run)
{
    SubRecordSpan span = share.record ? SubRecordOf(share.record, share.count) : SubRecordSpan{};
    std::string ticker;
    if (!span || GetShareFileCode(share, ticker, true))
        return true;
    ExportStyle style = run.style;
    style.severalShares = run.singleFile;
    style.withHeader = !run.singleFile || run.written == 0;
    std::string text;
    const bool wrote = WriteShareHistory(share, style, run.singleFile ? run.shared : text);
    if (!run.singleFile && wrote) {
        const std::string path = ShareExportPath(run.folder, ticker, run.extension);
        if (path.empty() || !SaveFileAt(path, std::string_view(text))) {
            const std::string question = "Unable to open file for\n\n" + std::string(GetRecordName(share.record)) +
                                         "\n\nOK to continue  Cancel to stop";
            if (ShowMessage(question, {}, MsgButtons::OkCancel, MsgIcon::Question) == MsgAnswer::Ok)
                return false;
            run.latest = 0;
            return true;
        }
    }
    if (!wrote)
        return true;
    ++run.written;
    run.latest = std::max<PackedDate>(run.latest, LoadU16(span.sub + kStatLastDate));
    return false;
}

} // namespace qv
