// Price import: the lines of the program's own layout and of daily CSV files, dates, the price
// scale, the coded stream, the messages at each error level, replacing and appending items, and
// round trips through every export layout.
#include "core/PriceImport.h"

#include "core/Portfolio.h"
#include "core/PriceExport.h"
#include "core/PriceStream.h"
#include "core/RecordLookup.h"
#include "core/ImportsFile.h"
#include "core/Memory.h"
#include "core/ShareList.h"
#include "devtools/lib/ShareListChain.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "support/DatabaseFixture.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>

namespace qv::test {
namespace {

using Closes = std::vector<std::pair<uint16_t, double>>;

Closes ClosesOf(const ImportSeries& series)
{
    Closes out;
    for (const ImportDay& day : series.days)
        out.emplace_back(day.date, day.value);
    return out;
}

// The closes a record's stream decodes to, days without a value left out.
Closes DecodedCloses(const uint8_t* record)
{
    const uint8_t* sub = FirstSubRecord(record);
    DayRecord* days = nullptr;
    const int32_t count =
        DecodeSubRecordHistory(sub, SubRecordEnd(record, sub), days, 0, true, CorrectionCursor{});
    Closes out;
    for (int32_t i = 0; i < count; ++i)
        if (days[i].close != 0)
            out.emplace_back(days[i].date, double(days[i].close));
    ProFree(days);
    return out;
}

struct ReadOutcome {
    ImportTextResult result;
    ImportSeries series;
    std::vector<std::string> messages;
};

ReadOutcome Read(std::string_view text, const ImportSettings& settings = {}, size_t cancelAt = SIZE_MAX)
{
    ReadOutcome out;
    auto error = [&](const std::string& message) {
        out.messages.push_back(message);
        return out.messages.size() <= cancelAt;
    };
    out.result = ReadImportText(text, settings, "C:\\in.exp", error, out.series);
    return out;
}

ImportSettings Settings(uint8_t format, char delimiter = ',', char dateSeparator = '/')
{
    ImportSettings s;
    s.dateFormat = format;
    s.delimiter = delimiter;
    s.dateSeparator = dateSeparator;
    return s;
}

const uint16_t kMon = Date(2024, 3, 4), kTue = Date(2024, 3, 5), kWed = Date(2024, 3, 6);

TEST(PriceImportText, DailyCsvFilesReadTheirCloses)
{
    struct Case {
        const char* what;
        const char* text;
        Closes closes;
        const char* name = "";
    };
    const Case cases[] = {
        {"heading names columns, Close not Adj Close",
         "Date,Open,High,Low,Close,Adj Close,Volume\n2024-03-04,1,2,0.5,1.5,1.4,100\n2024-03-05,1,2,0.5,1.75,1.7,200\n",
         {{kMon, 1.5}, {kTue, 1.75}}},
        {"heading quoted, any case, columns moved",
         "\"close\",\"DATE\"\r\n\"12.5\",\"2024-03-04\"\r\n", {{kMon, 12.5}}},
        {"1 field: close", "2024-03-04,7.25\n", {{kMon, 7.25}}},
        {"2 fields: close, volume", "2024-03-04,7.25,1000\n", {{kMon, 7.25}}},
        {"4 fields: OHLC", "2024-03-04,1,2,0.5,1.25\n", {{kMon, 1.25}}},
        {"5 fields: OHLCV", "2024-03-04,1,2,0.5,1.25,900\n", {{kMon, 1.25}}},
        {"6 fields: OHLC, adjusted, volume", "2024-03-04,1,2,0.5,1.25,1.2,900\n", {{kMon, 1.25}}},
        {"a delimiter inside quotes", "2024-03-04,\"1,234.5\"\n", {{kMon, 1234.5}}},
        {"byte-order mark and CRLF", "\xEF\xBB\xBF" "Date,Close\r\n2024-03-04,3\r\n\r\n2024-03-05,4\r\n",
         {{kMon, 3}, {kTue, 4}}},
        {"missing values are gaps", "Date,Close\n2024-03-04,3\n2024-03-05,null\n2024-03-06,5\n2024-03-07,NaN\n"
                                    "2024-03-08,-\n2024-03-11,\n2024-03-12,6\n",
         {{kMon, 3}, {kWed, 5}, {Date(2024, 3, 12), 6}}},
        {"newest first is read from the end", "Date,Close\n2024-03-06,5\n2024-03-05,4\n2024-03-04,3\n",
         {{kMon, 3}, {kTue, 4}, {kWed, 5}}},
        {"ISO dates whatever the order option", "2024-03-04\t9\n", {{kMon, 9}}},
        {"a name line before the days", "Acme Widgets plc\n2024-03-04,9\n", {{kMon, 9}}, "Acme Widgets plc"},
    };
    for (const Case& c : cases) {
        ImportSettings s = Settings(0x11); // month day year with separators: ISO must still read
        s.delimiter = std::string_view(c.text).find('\t') != std::string_view::npos ? '\t' : ',';
        ReadOutcome out = Read(c.text, s);
        EXPECT_EQ(out.result, ImportTextResult::Read) << c.what;
        EXPECT_EQ(ClosesOf(out.series), c.closes) << c.what;
        EXPECT_EQ(out.series.name, c.name) << c.what;
        EXPECT_TRUE(out.messages.empty()) << c.what << ": " << (out.messages.empty() ? "" : out.messages[0]);
    }
}

// Open, high, low, close and volume of each day as read.
using Bars = std::vector<std::array<double, 5>>;

Bars BarsOf(const ImportSeries& series)
{
    Bars out;
    for (const ImportDay& day : series.days)
        out.push_back({day.open, day.high, day.low, day.value, day.volume});
    return out;
}

// Open, high, low, close and volume of each day a record decodes to.
Bars DecodedBars(const uint8_t* record)
{
    const uint8_t* sub = FirstSubRecord(record);
    DayRecord* days = nullptr;
    const int32_t count = DecodeSubRecordHistory(sub, SubRecordEnd(record, sub), days, 0, true, CorrectionCursor{});
    Bars out;
    for (int32_t i = 0; i < count; ++i)
        if (days[i].close != 0)
            out.push_back({days[i].open, days[i].high, days[i].low, days[i].close, days[i].volume});
    ProFree(days);
    return out;
}

TEST(PriceImportText, DailyCsvFilesKeepOpenHighLowAndVolume)
{
    struct Case {
        const char* what;
        const char* text;
        Bars bars;
    };
    const Case cases[] = {
        {"heading with Adj Close, newest first",
         "Date,Open,High,Low,Close,Adj Close,Volume\r\n2024-03-05,2,3,1.5,2.5,2.4,2000\r\n"
         "2024-03-04,1,2,0.5,1.5,1.4,1000\r\n",
         {{1, 2, 0.5, 1.5, 1000}, {2, 3, 1.5, 2.5, 2000}}},
        {"heading in another order, quoted thousands", "Volume,Close,Date,High\n\"1,234\",9,2024-03-04,10\n",
         {{0, 10, 0, 9, 1234}}},
        {"empty and null fields give nothing", "Date,Open,High,Low,Close,Volume\n2024-03-04,,null,8,9,-\n",
         {{0, 0, 8, 9, 0}}},
        {"2 fields: close, volume", "2024-03-04,7.25,1000\n", {{0, 0, 0, 7.25, 1000}}},
        {"4 fields: OHLC", "2024-03-04,1,2,0.5,1.25\n", {{1, 2, 0.5, 1.25, 0}}},
        {"5 fields: OHLCV", "2024-03-04,1,2,0.5,1.25,900\n", {{1, 2, 0.5, 1.25, 900}}},
        {"6 fields: OHLC, adjusted, volume", "2024-03-04,1,2,0.5,1.25,1.2,900\n", {{1, 2, 0.5, 1.25, 900}}},
    };
    for (const Case& c : cases) {
        ReadOutcome out = Read(c.text);
        EXPECT_EQ(out.result, ImportTextResult::Read) << c.what;
        EXPECT_EQ(BarsOf(out.series), c.bars) << c.what;
    }
}

TEST(PriceImportText, ATickerColumnGivesOneSeriesPerShare)
{
    const char* text = "Ticker,Date,Open,High,Low,Close,Volume\r\n"
                       "ABC,2024-03-04,1,2,0.5,1.5,100\r\nABC,2024-03-05,1.5,2,1,1.75,200\r\n"
                       "\"X,Y\",2024-03-05,5,6,4,5.5,50\r\nXYZ,2024-03-06,9,9,9,9,0\r\nXYZ,2024-03-05,8,8,8,8,0\r\n";
    std::vector<ImportSeries> all;
    std::vector<std::string> messages;
    auto error = [&](const std::string& message) {
        messages.push_back(message);
        return true;
    };
    ASSERT_EQ(ReadImportText(text, Settings(0x18), "C:\\all.csv", error, all), ImportTextResult::Read);
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ((std::vector<std::string>{all[0].name, all[1].name, all[2].name}),
              (std::vector<std::string>{"ABC", "X,Y", "XYZ"}));
    EXPECT_EQ(BarsOf(all[0]), (Bars{{1, 2, 0.5, 1.5, 100}, {1.5, 2, 1, 1.75, 200}}));
    EXPECT_EQ(ClosesOf(all[1]), (Closes{{kTue, 5.5}}));
    EXPECT_EQ(ClosesOf(all[2]), (Closes{{kTue, 8}, {kWed, 9}})) << "each share's days are ordered alone";
}

TEST(PriceImportText, DatesByTheOptions)
{
    struct Case {
        const char* text;
        uint8_t format;
        uint16_t date; // 0: refused
    };
    const Case cases[] = {
        {"250500", 0x00, Date(2000, 5, 25)},      // day month year, no separator
        {"000525", 0x02, Date(2000, 5, 25)},      // year month day
        {"20240304", 0x0A, kMon},                 // yyyymmdd: four-digit year, no separator
        {"04032024", 0x08, kMon},                 // ddmmyyyy
        {"04/03/24", 0x10, kMon},                 // two-digit years below 60 are 20yy
        {"04/03/27", 0x10, Date(2027, 3, 4)},
        {"04/03/59", 0x10, 0},                    // 2059 lies past the last packed year
        {"04/03/60", 0x10, Date(1960, 3, 4)},
        {"04/03/2027", 0x18, Date(2027, 3, 4)},   // the last packed year
        {"04/03/2028", 0x18, 0},
        {"32/01/24", 0x10, 0},                    // day above 31
        {"31/13/24", 0x10, 0},                    // month 13
        {"30/02/24", 0x10, 0},
        {"03/04/24", 0x11, kMon},                 // month day year
        {"04-03-24", 0x10, 0},                    // not the date separator
        {"2024-02-30", 0x10, 0},                  // ISO, but no such day
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseImportDate(c.text, Settings(c.format)), c.date) << c.text << " format " << int(c.format);
}

TEST(PriceImportText, KeywordNameAndCommentLines)
{
    ReadOutcome out = Read("// a comment\nNMS:2.5\nType:ord\nCurrency:euro\nSedol:123456\nListing:AIM\n"
                           "Event:rights\nNumShares:1000\nFirst name\nSecond name\n2024-03-04,2\n");
    ASSERT_EQ(out.result, ImportTextResult::Read);
    const ImportKeywords& k = out.series.keywords;
    EXPECT_EQ(k.nms, 5);
    EXPECT_EQ(k.type, 11);
    EXPECT_EQ(k.currency, 6);
    EXPECT_EQ(k.sedol, 123456u);
    EXPECT_EQ(k.listing, 1);
    EXPECT_EQ(k.event, 1);
    EXPECT_EQ(k.numShares, 1000.0f);
    EXPECT_EQ(out.series.name, "Second name");

    struct Case {
        const char* line;
        uint8_t type, currency;
    };
    for (const Case& c : {Case{"Type: ord", 20, 7}, Case{"TYPE:INDEX", 1, 2}, Case{"type:rate", 12, 2}})
        EXPECT_EQ((std::pair{Read(std::string(c.line) + "\n2024-03-04,2\n").series.keywords.type,
                             Read(std::string(c.line) + "\n2024-03-04,2\n").series.keywords.currency}),
                  (std::pair{c.type, c.currency}))
            << c.line;
    const ImportKeywords none = Read("2024-03-04,2\n").series.keywords;
    EXPECT_EQ((std::tuple{none.type, none.event, none.currency, none.listing}), (std::tuple{31, 7, 7, 7}));
}

TEST(PriceImportText, BadLinesNameTheirLineAndOkSkipsThem)
{
    const char* text = "Colour:red\nNMS:x\n2024-03-04,2\n40/03/24,3\n2024-03-05,abc\n2024-03-04,4\n2024-03-06,5\n";
    ReadOutcome out = Read(text);
    ASSERT_EQ(out.result, ImportTextResult::Read);
    EXPECT_EQ(ClosesOf(out.series), (Closes{{kMon, 2}, {kWed, 5}}));
    ASSERT_EQ(out.messages.size(), 5u);
    EXPECT_EQ(out.messages[0], "Line 1: Import string at line 1 of file C:\\in.exp not recognised\n\nColour:red");
    EXPECT_EQ(out.messages[1], "Line 2: NMS string not recognised\n\nNMS:x");
    EXPECT_EQ(out.messages[2], "Line 4: Import date not recognised\n\n40/03/24,3");
    EXPECT_EQ(out.messages[3], "Line 5: Import value not recognised\n\n2024-03-05,abc");
    EXPECT_EQ(out.messages[4], "Line 6: Import date out of sequence or extra weekend data\n\n"
                               "The file must be in date order\n\n2024-03-04,4");
    for (size_t at = 0; at < 5; ++at)
        EXPECT_EQ(Read(text, {}, at).result, ImportTextResult::Cancelled) << at;
}

TEST(PriceImportText, WeekendDaysMoveToMondayAndFilesWithoutDaysGiveNone)
{
    ReadOutcome out = Read("2024-03-02,1\n2024-03-04,2\n2024-03-05,3\n"); // Saturday, then Monday
    EXPECT_EQ(ClosesOf(out.series), (Closes{{kMon, 1}, {kTue, 3}}));
    EXPECT_EQ(out.messages.size(), 1u);
    EXPECT_EQ(Read("// only\nType:ord\n").result, ImportTextResult::NoDays);
    EXPECT_EQ(Read("2024-03-04\n").result, ImportTextResult::NoDays); // no value: the settings are wrong
    EXPECT_EQ(Read("04/03/24;2\n", Settings(0x10, '\t')).result, ImportTextResult::NoDays);
}

TEST(PriceImportText, ValuesReadAsTheCommaOptionSays)
{
    EXPECT_EQ(ParseImportValue(" \t1,234.5xyz", false), 1234.5);
    EXPECT_EQ(ParseImportValue("12,5", true), 12.5);
    EXPECT_EQ(ParseImportValue("-3.25", false), -3.25);
    EXPECT_EQ(ParseImportValue("nan", false), 0);
    EXPECT_EQ(ParseImportValue("inf", false), 0);
    EXPECT_EQ(ParseImportValue("", false), 0);
    // Tab-separated one-value lines keep reading thousands separators as before.
    EXPECT_EQ(ClosesOf(Read("04/03/24\t1,234.50\n", Settings(0x10, '\t')).series), (Closes{{kMon, 1234.5}}));
}

TEST(PriceImportScale, ScalesAndDivisors)
{
    struct Case {
        std::vector<double> values;
        std::optional<int16_t> scale;
    };
    const Case cases[] = {
        {{100.25, 100.5, 101}, 4}, {{1.23}, 100}, {{12.3, 12.4}, 10}, {{100, 101}, 1},
        {{1000.25, 1.23}, 10},     {{10000.5, 1.3}, 4}, {{25000.5}, 1}, {{150000}, -10},
        {{-150000, 2}, -10},       {{1500000}, -100}, {{99999000}, -1000}, {{99999001}, std::nullopt},
    };
    for (const Case& c : cases) {
        std::vector<ImportDay> days;
        for (double v : c.values)
            days.push_back({kMon, v});
        EXPECT_EQ(ChooseImportScale(days), c.scale) << c.values.front();
    }
}

TEST(PriceImportScale, GapsAreCDaysAndRoundingNeverAccumulates)
{
    const uint16_t friday = Date(2024, 3, 1);
    EXPECT_EQ(*EncodeImportStream({{friday, 10}, {kWed, 11}}, 1), (std::vector<uint8_t>{10, 'C', 'C', 1, ' '}));
    // Halves at scale 1 round away from zero and the carry takes the rest back: 3, then 2 (2.5 - 0.5).
    EXPECT_EQ(*EncodeImportStream({{kMon, 2.5}, {kTue, 5}}, 1), (std::vector<uint8_t>{3, 2, ' '}));
    // Closes of a third of a unit at scale 1: the carry keeps every decoded close within half a unit.
    std::vector<ImportDay> days;
    uint16_t date = kMon;
    for (int i = 0; i < 60; ++i, date = NextWeekday(date))
        days.push_back({date, 100 + i / 3.0});
    ImportSeries series;
    series.name = "Thirds";
    series.days = days;
    std::vector<uint8_t> record = BuildImportedRecord(series.name, series.keywords, 1, days.front().date, days.back().value, *EncodeImportStream(days, 1));
    FinishImportedRecord(record.data(), LoadU16(&record[RecordLayout::FirstSubRecord]), record.size());
    Closes decoded = DecodedCloses(record.data());
    ASSERT_EQ(decoded.size(), days.size());
    for (size_t i = 0; i < days.size(); ++i)
        EXPECT_NEAR(decoded[i].second, days[i].value, 0.5) << i;
}

class PriceImportFile : public DatabaseFixture {
protected:
    ~PriceImportFile() override { FreeRecordList(&ImportedItemList, &ImportedItemCount); }

    std::filesystem::path Write(const std::string& name, const std::string& text)
    {
        std::filesystem::path path = folder / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    bool Import(const std::string& name, const std::string& text)
    {
        return ImportPriceFile(Write(name, text), run);
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (RecordListNode* node = ImportedItemList; node; node = node->next)
            names.emplace_back(GetRecordName(node->record));
        return names;
    }

    dev::TempFolder folder;
    ImportRun run;
};

TEST_F(PriceImportFile, MakesAnItemNamedByItsFileInNameOrder)
{
    ASSERT_FALSE(Import("Zeta.csv", "Date,Close\n2024-03-04,1.23\n2024-03-06,1.5\n"));
    ASSERT_FALSE(Import("alpha.exp", "Beta plc\n04/03/24,200\n"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Beta plc", "Zeta"}));
    const uint8_t* zeta = FindShareRecord(0xF000);
    ASSERT_NE(zeta, nullptr);
    EXPECT_EQ(GetRecordName(zeta), "Zeta");
    const uint8_t* sub = FirstSubRecord(zeta);
    EXPECT_EQ(int16_t(LoadU16(sub + SubRecordLayout::PriceScale)), 100);
    EXPECT_EQ(LoadU16(sub + SubRecordLayout::FirstDate), kMon);
    EXPECT_EQ(LoadU16(zeta + 4), 0x31C0 | 7 | (7 << 3) | (7 << 9));
    Closes closes = DecodedCloses(zeta);
    ASSERT_EQ(closes.size(), 2u);
    EXPECT_NEAR(closes[1].second, 1.5, 1e-6);
    EXPECT_EQ(run.createdId, 0xF001);
}

TEST_F(PriceImportFile, ErrorLevelsDecideWhoIsAsked)
{
    const std::string text = "Date,Close\n2024-03-04,2\n2024-13-04,3\n2024-03-06,4\n";
    for (uint8_t level : {0, 1, 2}) {
        run = {};
        run.settings.errorLevel = level;
        const size_t before = box.shown().size();
        EXPECT_FALSE(Import("L" + std::to_string(level) + ".csv", text));
        EXPECT_EQ(box.shown().size() - before, level == 0 ? 0u : 1u) << int(level);
        EXPECT_EQ(run.skippedLines, 1);
    }
    // A folder import at level 1 keeps the messages for one report.
    run = {};
    run.quiet = true;
    EXPECT_FALSE(Import("Q.csv", text));
    EXPECT_FALSE(Import("Empty.csv", "Date,Close\n"));
    ASSERT_EQ(run.collected.size(), 2u);
    EXPECT_EQ(run.collected[0], "Q.csv: Line 3: Import date not recognised\n\n2024-13-04,3");
    EXPECT_EQ(run.collected[1].rfind("Unable to import ", 0), 0u);
}

TEST_F(PriceImportFile, CancelAndFailuresMakeNothing)
{
    ASSERT_FALSE(Import("Keep.csv", "Date,Close\n2024-03-04,2\n"));
    run.settings.errorLevel = 2;
    run.settings.replace = true;
    box.queue(MsgAnswer::Cancel);
    EXPECT_TRUE(Import("Keep.csv", "Date,Close\n2024-03-04,2\n2024-02-30,9\n2024-03-06,3\n"));
    box.queue(MsgAnswer::Ok);
    EXPECT_FALSE(Import("None.csv", "// nothing\n"));
    EXPECT_TRUE(Import("Huge.csv", "Date,Close\n2024-03-04,99999001\n"));
    EXPECT_EQ(box.texts().back(), "Prices too large\n\n" + (folder / "Huge.csv").string());
    // Values the chosen scale would read back wrong: 1 beside 150,000 (a divisor of 10 makes it
    // nothing), a price below nothing. The item they would replace stays.
    for (const char* closes : {"150000\n2024-03-05,1\n", "5\n2024-03-05,-3\n"}) {
        EXPECT_TRUE(Import("Keep.csv", std::string("Date,Close\n2024-03-04,") + closes)) << closes;
        EXPECT_EQ(box.texts().back(), "Prices too large\n\n" + (folder / "Keep.csv").string());
    }
    EXPECT_TRUE(ImportPriceFile(folder / "Missing.csv", run));
    EXPECT_EQ(box.texts().back(), "Unable to open Import file\n\n" + (folder / "Missing.csv").string());
    // Too much data: 30 years of closes with pence fractions pass the record limit.
    std::string big = "Date,Close\n";
    uint16_t date = Date(1980, 1, 1);
    for (int i = 0; i < 11000; ++i, date = NextWeekday(date))
        big += std::to_string(FullYear(date)) + "-" + std::to_string(MonthOfYear(date)) + "-" +
               std::to_string(DayOfMonth(date)) + "," + std::to_string(1 + (i * 7919) % 50000 / 100.0) + "\n";
    EXPECT_TRUE(Import("Keep.csv", big));
    EXPECT_EQ(box.texts().back().rfind("Too much data...", 0), 0u);
    ASSERT_EQ(Names(), (std::vector<std::string>{"Keep"}));
    EXPECT_EQ(DecodedCloses(ImportedItemList->record), (Closes{{kMon, 2}}));
}

TEST_F(PriceImportFile, ReplaceKeepsTheIdAndMovesEveryReferenceAppendAddsASecond)
{
    ASSERT_FALSE(Import("Item.csv", "Date,Close\n2024-03-04,2\n"));
    uint8_t* old = ImportedItemList->record;
    Portfolio* portfolio = new Portfolio;
    ResetPortfolioEntries(*portfolio);
    AddPortfolioEntry(*portfolio, RecordCursor{old, 0});
    AppendToChain(portfolio);
    ShareList* list = CreateShareList(4, 4, kFamilyShares, nullptr, true);
    list->entries[0] = RecordCursor{old, 0};

    run.settings.replace = true;
    ASSERT_FALSE(Import("Item.csv", "Date,Close\n2024-03-04,2\n2024-03-05,3\n"));
    ASSERT_EQ(Names().size(), 1u);
    uint8_t* replaced = ImportedItemList->record;
    EXPECT_EQ(RecordId(replaced), 0xF000);
    EXPECT_EQ(portfolio->entries[0].record, replaced);
    EXPECT_EQ(list->entries[0].record, replaced);
    EXPECT_EQ(DecodedCloses(replaced).size(), 2u);

    run.settings.replace = false;
    ASSERT_FALSE(Import("Item.csv", "Date,Close\n2024-03-04,5\n"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Item", "Item"}));
    EXPECT_EQ(run.createdId, 0xF001);

    UnlinkFromChain(portfolio);
    ProFree(portfolio->entries);
    delete portfolio;
    dev::FreeShareListChain();
}

TEST_F(PriceImportFile, NoFreeIdMakesNothing)
{
    ASSERT_FALSE(Import("One.csv", "Date,Close\n2024-03-04,2\n"));
    const std::vector<uint8_t> record(ImportedItemList->record, ImportedItemList->record + RecordLength(ImportedItemList->record));
    while (ImportedItemCount < 0xFFFF - 0xF000)
        ASSERT_NE(AddImportedItem(record), nullptr);
    EXPECT_TRUE(Import("Two.csv", "Date,Close\n2024-03-04,2\n"));
    EXPECT_EQ(box.texts().back(), "More than 4000 imports would be created");
    EXPECT_EQ(FindImportedItemByName("Two"), nullptr);
}

TEST_F(PriceImportFile, OpenHighLowAndVolumeReachTheItemsDays)
{
    ASSERT_FALSE(Import("Bars.csv", "Date,Open,High,Low,Close,Adj Close,Volume\r\n"
                                    "2024-03-06,101,103.5,100.25,102.75,100,2500000\r\n"
                                    "2024-03-05,,,,165.98,,\r\n"
                                    "2024-03-04,100.5,102,99.25,101.75,99,123456\r\n"));
    const Bars bars = DecodedBars(ImportedItemList->record);
    ASSERT_EQ(bars.size(), 3u);
    const Bars expected = {{100.5, 102, 99.25, 101.75, 123500}, // volumes keep four figures
                           {165.98, 165.98, 165.98, 165.98, 0},
                           {101, 103.5, 100.25, 102.75, 2500000}};
    for (size_t i = 0; i < 3; ++i)
        for (size_t k = 0; k < 5; ++k)
            EXPECT_NEAR(bars[i][k], expected[i][k], 1e-3) << i << " " << k;
    // A file of closes alone stays a stream of closes.
    ASSERT_FALSE(Import("Closes.csv", "Date,Close\n2024-03-04,1.5\n"));
    const uint8_t* closes = FindImportedItemByName("Closes")->record;
    EXPECT_NE(FirstSubRecord(closes)[SubRecordLayout::Stream], kStreamMode);
}

TEST_F(PriceImportFile, ALongFileOfBarsKeepsItsLatestBarsAndEveryClose)
{
    // 25 years of bars in pence with pence fractions: too many full days for one record.
    std::string text = "Date,Open,High,Low,Close,Volume\n";
    std::vector<double> closes;
    uint16_t date = Date(2000, 1, 3);
    for (int i = 0; i < 6500; ++i, date = NextWeekday(date)) {
        const double close = 100 + (i * 7919) % 40000 / 100.0;
        closes.push_back(close);
        char row[96];
        std::snprintf(row, sizeof row, "%d-%02d-%02d,%.2f,%.2f,%.2f,%.2f,%d\n", FullYear(date), MonthOfYear(date),
                      DayOfMonth(date), close - 0.5, close + 1.25, close - 1.5, close, 1000 + i);
        text += row;
    }
    ASSERT_FALSE(Import("Long.csv", text));
    const uint8_t* record = ImportedItemList->record;
    EXPECT_LE(RecordLength(record), kImportFullRecordLimit);
    const Bars bars = DecodedBars(record);
    ASSERT_EQ(bars.size(), closes.size());
    for (size_t i = 0; i < closes.size(); ++i)
        ASSERT_NEAR(bars[i][3], closes[i], 1e-3) << i;
    EXPECT_EQ(bars.front()[0], bars.front()[3]) << "the earliest days keep their closes alone";
    EXPECT_NEAR(bars.back()[0], closes.back() - 0.5, 1e-3) << "the latest days keep their bars";
    EXPECT_NEAR(bars.back()[2], closes.back() - 1.5, 1e-3);
    size_t firstBar = 0;
    while (firstBar < bars.size() && bars[firstBar][0] == bars[firstBar][3])
        ++firstBar;
    EXPECT_GT(firstBar, 0u);
    EXPECT_LT(firstBar, 2000u) << "most of the file keeps its bars";
}

TEST_F(PriceImportFile, ADailyCsvFileOfManySharesExportsAndImportsBackPerShare)
{
    ASSERT_FALSE(Import("Alpha.csv", "Date,Open,High,Low,Close,Volume\n2024-03-04,10,12,9,11.5,1000\n"
                                     "2024-03-05,11.5,13,11,12.25,2000\n"));
    ASSERT_FALSE(Import("Beta.csv", "Date,Close\n2024-03-05,200.5\n2024-03-06,201\n"));
    ShareExportRun all;
    all.style = ExportStyleFor(kExportDailyCsv, 0, 0, ',', '/');
    all.singleFile = true;
    std::string text;
    for (RecordListNode* node = ImportedItemList; node; node = node->next) {
        ExportStyle style = all.style;
        style.severalShares = true;
        style.withHeader = text.empty();
        ASSERT_TRUE(WriteShareHistory(RecordCursor{node->record, 0}, style, text));
    }
    EXPECT_EQ(text, "Ticker,Date,Open,High,Low,Close,Volume\r\n"
                    "Alpha,2024-03-04,10.00,12.00,9.00,11.50,1000\r\nAlpha,2024-03-05,11.50,13.00,11.00,12.25,2000\r\n"
                    "Beta,2024-03-05,200.50,200.50,200.50,200.50,0\r\nBeta,2024-03-06,201.00,201.00,201.00,201.00,0\r\n");
    const Bars alpha = DecodedBars(FindImportedItemByName("Alpha")->record);
    const Bars beta = DecodedBars(FindImportedItemByName("Beta")->record);
    run.settings.replace = true;
    ASSERT_FALSE(Import("all.csv", text));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(run.createdIds.size(), 2u);
    EXPECT_EQ(DecodedBars(FindImportedItemByName("Alpha")->record), alpha);
    EXPECT_EQ(DecodedBars(FindImportedItemByName("Beta")->record), beta);
}

TEST_F(PriceImportFile, EveryExportLayoutImportsBackAsTheSameCloses)
{
    ASSERT_FALSE(Import("Source.csv", "Date,Close\n2024-02-29,101.25\n2024-03-01,99.5\n2024-03-05,1234.75\n"
                                      "2024-03-06,0.75\n"));
    RecordCursor item{ImportedItemList->record, 0};
    const Closes original = DecodedCloses(item.record);
    struct Case {
        int format;
        uint8_t flags, flags2;
        char delimiter;
    };
    const Case cases[] = {
        {kExportCsv, 0x10, 0, ','},  {kExportCsv, 0x91, 0, '\t'}, {kExportCsv, 0x1A, 0, ';'},
        {kExportExp, 0x10, 0, ','},  {kExportExp, 0x18, 0, '\t'}, {kExportExp, 0x9A, 0, ','},
        {kExportExp, 0x02, 2, '\t'}, {kExportExp, 0x08, 2, ';'},  {kExportDailyCsv, 0x00, 0, ','},
        {kExportDailyCsv, 0x00, 1, ','},
    };
    for (const Case& c : cases) {
        const ExportStyle style = ExportStyleFor(c.format, c.flags, c.flags2, c.delimiter, '/');
        std::string text;
        ASSERT_TRUE(WriteShareHistory(item, style, text));
        ImportSettings s = Settings(c.flags & 0x1F, style.delimiter, '/');
        ReadOutcome out = Read(text, s);
        ASSERT_EQ(out.result, ImportTextResult::Read) << text;
        EXPECT_TRUE(out.messages.empty()) << text;
        Closes back = ClosesOf(out.series);
        ASSERT_EQ(back.size(), original.size()) << text;
        for (size_t i = 0; i < back.size(); ++i) {
            EXPECT_EQ(back[i].first, original[i].first) << text;
            EXPECT_NEAR(back[i].second, original[i].second, 1e-4) << text;
        }
    }
}

} // namespace
} // namespace qv::test
