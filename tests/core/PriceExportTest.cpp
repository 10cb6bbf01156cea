// Price history export: each layout's rows byte for byte, the heading rules, the pence and index
// rules, the from-date, a divisor scale and the daily CSV layout.
#include "core/PriceExport.h"

#include "core/VarInt.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "support/DatabaseFixture.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

struct ExportShare {
    uint8_t currency = 0;
    int16_t scale = 100;
    uint8_t kind = SubRecordKind::Ordinary;
};

// Closes of 10025 and 10050 pence on Monday 22 and Wednesday 24 May 2000, nothing on Tuesday, coded
// with the scale (a negative scale is a divisor: 10020 then 10050 with -10).
std::vector<uint8_t> Stream(int16_t scale)
{
    std::vector<uint8_t> body;
    auto put = [&](int32_t v) {
        uint8_t buf[8];
        uint8_t* end = EncodeVarInt(v, buf);
        body.insert(body.end(), buf, end);
    };
    put(scale > 0 ? 10025 * scale : 10025 / -scale);
    body.push_back(kStreamDayC);
    put(scale > 0 ? 25 * scale : 3);
    body.push_back(kStreamEnd);
    return body;
}

class PriceExport : public DatabaseFixture {
protected:
    RecordCursor LoadShare(const ExportShare& s, std::string_view epic = "ABC")
    {
        dev::DbRecord record = dev::ShareRecord(0x4001, "Abcdef Widgets Holdings", 0, epic);
        record.head[0] = s.currency;
        dev::DbSubRecord& sub = record.subRecords[0];
        sub.kind = s.kind;
        sub.priceScale = s.scale;
        sub.firstDate = Date(2000, 5, 22);
        sub.body = Stream(s.scale);
        Load(dev::WriteQuorvaDat(OneEntry({record})));
        return FindRecordById(0x4001, 0);
    }

    std::string Write(const RecordCursor& share, const ExportStyle& style)
    {
        std::string out;
        wrote = WriteShareHistory(share, style, out);
        return out;
    }
    bool wrote = false;
};

TEST_F(PriceExport, EachLayoutWritesItsRowsByteForByte)
{
    RecordCursor share = LoadShare({});
    ASSERT_NE(share.record, nullptr);
    struct Case {
        int format;
        uint8_t flags, flags2;
        char delimiter;
        const char* expected;
    };
    const Case cases[] = {
        {kExportCsv, 0x10, 0, '\t', "22/05/00,100.25\r\n24/05/00,100.50\r\n"},
        {kExportCsv, 0x10 | 0x80, 0, ',', "22/05/00,100.25,100.25,100.25,100.25,0.00\r\n"
                                           "24/05/00,100.50,100.50,100.50,100.50,0.00\r\n"},
        {kExportPrn, 0x10, 0, ',', "<ticker>,<date>,<close>\r\nABC,000522,100.25\r\nABC,000524,100.50\r\n"},
        {kExportPrn, 0x98, 0, ',', "<ticker>,<date>,<open>,<high>,<low>,<close>,<volume>\r\n"
                                   "ABC,000522,100.25,100.25,100.25,100.25,0.00\r\n"
                                   "ABC,000524,100.50,100.50,100.50,100.50,0.00\r\n"},
        {kExportPrn, 0x10, 2, ',', "ABC,000522,100.25\r\nABC,000524,100.50\r\n"},
        {kExportCsq, 0x10, 0, ',', "Abcdef Widge,100.25,22/05/00\r\nAbcdef Widge,100.50,24/05/00\r\n"},
        {kExportExp, 0x1A | 0x08, 0, ';', "Abcdef Widgets Holdings\r\n2000/05/22;100.25\r\n2000/05/24;100.50\r\n"},
        {kExportExp, 0x02, 2, '\t', "000522\t100.25\r\n000524\t100.50\r\n"},
        {kExportExp, 0x19, 1, ',', "Abcdef Widgets Holdings\r\n05/22/2000,10025.00\r\n05/24/2000,10050.00\r\n"},
        {kExportDailyCsv, 0x00, 0, ';', "Date,Open,High,Low,Close,Volume\r\n"
                                        "2000-05-22,100.25,100.25,100.25,100.25,0\r\n"
                                        "2000-05-24,100.50,100.50,100.50,100.50,0\r\n"},
    };
    for (const Case& c : cases) {
        const ExportStyle style = ExportStyleFor(c.format, c.flags, c.flags2, c.delimiter, '/');
        EXPECT_EQ(Write(share, style), c.expected) << "format " << c.format << " flags " << int(c.flags);
        EXPECT_TRUE(wrote);
    }
}

TEST_F(PriceExport, SeveralSharesInOneFileCarryTheTickerAndOneHeading)
{
    RecordCursor share = LoadShare({});
    ExportStyle style = ExportStyleFor(kExportExp, 0x10, 2, ',', '/');
    style.severalShares = true;
    EXPECT_EQ(Write(share, style), "ABC,22/05/00,100.25\r\nABC,24/05/00,100.50\r\n");
    style = ExportStyleFor(kExportPrn, 0x10, 0, ',', '/');
    style.withHeader = false;
    EXPECT_EQ(Write(share, style), "ABC,000522,100.25\r\nABC,000524,100.50\r\n");
}

TEST_F(PriceExport, TheFromDateLeavesEarlierDaysOutAndNothingLaterWritesNothing)
{
    RecordCursor share = LoadShare({});
    ExportStyle style = ExportStyleFor(kExportCsv, 0x10, 0, ',', '/');
    style.fromDate = Date(2000, 5, 22);
    EXPECT_EQ(Write(share, style), "24/05/00,100.50\r\n");
    style.fromDate = Date(2000, 5, 24);
    EXPECT_EQ(Write(share, style), "");
    EXPECT_FALSE(wrote);
}

TEST_F(PriceExport, IndexAndUnknownCurrenciesAreNotDividedAndDivisorScalesKeepTheirValue)
{
    struct Case {
        ExportShare share;
        const char* expected;
    };
    const Case cases[] = {
        {{2, 100}, "22/05/00,10025.00\r\n24/05/00,10050.00\r\n"},
        {{7, 100}, "22/05/00,10025.00\r\n24/05/00,10050.00\r\n"},
        {{0, 100, 16}, "22/05/00,100.250\r\n24/05/00,100.500\r\n"},
        {{2, -10}, "22/05/00,10020.00\r\n24/05/00,10050.00\r\n"},
    };
    for (const Case& c : cases) {
        RecordCursor share = LoadShare(c.share);
        EXPECT_EQ(Write(share, ExportStyleFor(kExportCsv, 0x10, 0, ',', '/')), c.expected)
            << "currency " << int(c.share.currency) << " scale " << c.share.scale;
        FreeDatabase(true);
    }
}

TEST(PriceExportStyle, FileTypesSetTheirDelimiterAndDateStyle)
{
    EXPECT_EQ(ExportStyleFor(kExportPrn, 0x19, 0, '\t', '-').dateStyle, 2);
    EXPECT_EQ(ExportStyleFor(kExportCsq, 0x19, 0, '\t', '-').dateStyle, 16);
    EXPECT_EQ(ExportStyleFor(kExportCsq, 0x19, 0, '\t', '-').delimiter, ',');
    EXPECT_EQ(ExportStyleFor(kExportExp, 0x19, 0, '\t', '-').delimiter, '\t');
    EXPECT_EQ(ExportStyleFor(kExportExp, 0x19, 0, 0, 0).delimiter, ',');
    EXPECT_TRUE(ExportStyleFor(kExportDailyCsv, 0, 0, ',', '/').ohlcv);
    EXPECT_EQ(ExportExtension(kExportDailyCsv), ".csv");
    EXPECT_EQ(ExportExtension(kExportAllFiles), ".*");
    EXPECT_EQ(ExportExtension(0), "");
}

TEST(PriceExportFiles, AShareFileNeedsAFolderUnder245AndATickerUnder9Characters)
{
    struct Case {
        size_t folder, ticker;
        bool formed;
    };
    for (const Case& c : {Case{244, 8, true}, Case{245, 8, false}, Case{10, 9, false}, Case{10, 0, false}}) {
        const std::string path = ShareExportPath(std::string(c.folder, 'f'), std::string(c.ticker, 'T'), ".csv");
        EXPECT_EQ(!path.empty(), c.formed) << c.folder << " " << c.ticker;
    }
    EXPECT_EQ(ShareExportPath("out", "ABC", ".prn"), "out/ABC.prn");
}

TEST_F(PriceExport, ExportShareFileWritesOneFileOrAsksWhenItCannot)
{
    RecordCursor share = LoadShare({});
    dev::TempFolder folder("export-files");
    ShareExportRun run;
    run.style = ExportStyleFor(kExportPrn, 0x10, 0, ',', '/');
    run.folder = folder.path().string();
    run.extension = ".prn";
    EXPECT_FALSE(ExportShareFile(share, run));
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(folder / "ABC.prn");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "<ticker>,<date>,<close>\r\nABC,000522,100.25\r\nABC,000524,100.50\r\n");
    EXPECT_EQ(run.latest, Date(2000, 5, 24));

    run.folder = std::string(245, 'f');
    box.queue(MsgAnswer::Ok);
    EXPECT_FALSE(ExportShareFile(share, run)) << "OK goes on with the next share";
    EXPECT_NE(run.latest, 0);
    box.queue(MsgAnswer::Cancel);
    EXPECT_TRUE(ExportShareFile(share, run));
    EXPECT_EQ(run.latest, 0) << "Cancel stops";
    EXPECT_EQ(box.texts().back(), "Unable to open file for\n\nAbcdef Widgets Holdings\n\nOK to continue  Cancel to stop");

    ShareExportRun one;
    one.style = ExportStyleFor(kExportPrn, 0x10, 0, ',', '/');
    one.singleFile = true;
    EXPECT_FALSE(ExportShareFile(share, one));
    EXPECT_FALSE(ExportShareFile(share, one));
    EXPECT_EQ(one.shared, "<ticker>,<date>,<close>\r\nABC,000522,100.25\r\nABC,000524,100.50\r\n"
                          "ABC,000522,100.25\r\nABC,000524,100.50\r\n") << "one heading for the file";
}

} // namespace
} // namespace qv::test
