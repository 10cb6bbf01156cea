// FormatColumnValue route by route on fixture records: the field table's types (through company-data
// fields at offset 0), the descriptor route, special texts, Yes/No and tick cells, export mode, the
// row-class flags, and the families' own records (transactions, cash, news and trades).
#include "lists/CellValue.h"

#include "core/ColumnDef.h"
#include "core/ExtraRecords.h"
#include "core/Portfolio.h"
#include "core/RecordLookup.h"
#include "core/SettingRecordStore.h"
#include "core/ShareList.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareFieldTable.h"
#include "lists/CellNumber.h"
#include "lists/FieldTable.h"
#include "lists/FormulaColumn.h"
#include "lists/FormulaTemplates.h"
#include "platform/ByteOrder.h"
#include "portfolio/CashEntry.h"
#include "portfolio/Transaction.h"
#include "support/DatabaseFixture.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

using namespace qv;
using namespace qv::test;

namespace {

constexpr uint16_t kShare = 0x4001;
constexpr uint8_t kOffsetCompany = 0; // field-table offset 0: the company-data field of the code

// Field codes of the fixture's table, each read from the company-data field of the same number.
enum : uint8_t {
    kConsensusNow = 8,
    kCode = 40,
    kOldDate = 41,
    kNewDate = 42,
    kFlag = 43,
    kBits = 44,
    kPicked = 47,
    kConsensusBefore = 50,
    kRating = 51,
    kUnderlined = 117,
};

std::vector<uint8_t> Texts(std::initializer_list<const char*> names)
{
    std::vector<uint8_t> out;
    for (const char* n : names) {
        out.push_back(uint8_t(std::strlen(n)));
        out.insert(out.end(), n, n + std::strlen(n));
    }
    return out;
}

std::vector<uint8_t> U16(uint16_t v) { return {uint8_t(v), uint8_t(v >> 8)}; }
std::vector<uint8_t> U32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

class Cells : public DatabaseFixture {
protected:
    void SetUp() override
    {
        std::vector<dev::FieldEntrySpec> specs(97);
        auto set = [&](int code, dev::FieldEntrySpec s) { specs[size_t(code - 1)] = std::move(s); };
        set(15, {4, 26, "Name", {}, 0, 0, 1});
        set(17, {34, 256 - 24, "Price", {}, 0, 1, 0});
        set(23, {35, 256 - 20, "Capital (m)", {}, 0, 1, 0});
        set(kConsensusBefore, {0, kOffsetCompany, "Consensus before", {}, 0, 1, 0});
        set(kCode, {36, kOffsetCompany, "Code", {}, 0, 1, 0});
        set(kOldDate, {10, kOffsetCompany, "Old date", {}, 0, 1, 0});
        set(kNewDate, {10, kOffsetCompany, "New date", {}, 0, 1, 0});
        set(kFlag, {11, kOffsetCompany, "Flag", {}, 0x0001, 1, 0});
        set(kBits, {14, kOffsetCompany, "Bits", Texts({"Alpha", "Beta", "Gamma"}), 0, 1, 0});
        set(kPicked, {7, kOffsetCompany, "Picked", Texts({"Zero", "One", "Two"}), 0x00F0, 1, 0});
        set(kConsensusNow, {0, kOffsetCompany, "Consensus now", {}, 0, 1, 0});
        set(kRating, {16, kOffsetCompany, "Rating", {}, 0x00FF, 1, 0});
        dev::DbRecord r = dev::ShareRecord(kShare, "Alpha", 0, "ALP");
        dev::PriceHistory h;
        h.firstDate = Date(2024, 1, 1);
        for (int i = 0; i < 5; ++i) {
            dev::HistoryDay d;
            d.close = d.open = d.high = d.low = 250;
            h.days.push_back(d);
        }
        r.subRecords = {dev::PriceSubRecord(10, 100, h)};
        dev::DbFile file = OneEntry({r});
        file.entries[0].extra = dev::EncodeFieldTable(specs);
        dev::CompFile comp;
        comp.records.descriptors = {
            {kConsensusBefore, 0xE0, {}}, {kCode, 0xD0, {}},   {kOldDate, 0xF0, {}},  {kNewDate, 0xF0, {}},
            {kFlag, 0xF0, {}},            {kBits, 0xF0, {}},   {kPicked, 0xF0, {}},   {kConsensusNow, 0xE0, {}},
            {kRating, 0xF0, {}},          {0x63, 0xF0, {}},    {0x71, 0x00, {}},      {0x73, 0xF0, {}},
            {0x7A, 0x83, {}},             {0x7E, 0xE0, {kPicked}}, {0x7D, 0xE1, {}},  {123, 0x00, {}},
            {kUnderlined, 0x00, {}}};
        std::vector<uint8_t> partner = {11, 0, 0, 3, 2, 0, 0, 0, 0, 4, 12, 0};
        StoreU16(partner.data() + PartnerViewLayout::Date, Date(2024, 3, 5));
        StoreF32(partner.data() + PartnerViewLayout::Price, 123.4f);
        comp.records.items.push_back(
            {kShare, 0,
             {{kConsensusBefore, {3}}, {kCode, U32(123456789)}, {kOldDate, U16(Date(1949, 1, 1))},
              {kNewDate, U16(Date(1999, 1, 1))}, {kFlag, U16(0)}, {kBits, U16(0b101)}, {kPicked, U16(0x20)},
              {kConsensusNow, {5}}, {kRating, U16(7)}, {0x63, U16(Date(2023, 12, 31))},
              {0x71, dev::Text("www.alpha.example")}, {0x73, U16(0xFFFF)}, {0x7A, {'A', 'B', 'C'}}, {0x7E, {1}},
              {0x7D, {1}}, {123, std::vector<uint8_t>(partner.begin() + 1, partner.end())},
              {kUnderlined, dev::Text("Text|rest")}}});
        std::vector<uint8_t> compDat = dev::WriteCompDat(comp);
        Load(dev::WriteQuorvaDat(file), &compDat);
        share = FindShareRecord(kShare);
        ASSERT_NE(share, nullptr);
    }
    void TearDown() override
    {
        CurrentCellSettings() = {};
        CurrentCellSources() = {};
    }

    std::string Cell(ColumnDefSpec spec, uint8_t* record = nullptr, uint32_t extra = 0, const ShareList* list = nullptr,
                     uint32_t aux = 0)
    {
        std::vector<uint8_t> column;
        AppendColumnDef(column, spec);
        char text[kCellTextBytes];
        size_t n = FormatColumnValue(record ? record : share, extra, column.data(), text, sizeof text, 7, list, aux);
        EXPECT_EQ(n, std::strlen(text));
        return text;
    }
    std::string Field(uint8_t code, uint8_t formatB = 0, uint8_t formatA = 0)
    {
        return Cell(ColumnOf(kColumnField, code).withFormatA(formatA).withFormatB(formatB));
    }

    uint8_t* share = nullptr;
};

TEST_F(Cells, FieldTableTypes)
{
    const struct {
        const char* what;
        uint8_t code, formatB, formatA;
        const char* text;
        float value;
    } cases[] = {
        {"row number", 0, 0, 0, "7", 7},
        {"counted text", 15, 0, 0, "Alpha", 0},
        {"price in pence (type 34)", 17, 2, 0, "\xA3" "2.50", 250},
        {"market value in pounds millions (type 35)", 23, 1, 0, "\xA3" "250.0", 25000},
        {"code (type 36)", kCode, 0, 0, "123-456-789", 123456789.0f},
        {"date before 1950", kOldDate, 0, 0, "1/1/1949", float(Date(1949, 1, 1))},
        {"later date", kNewDate, 0, 0, "1/1/99", float(Date(1999, 1, 1))},
        {"Yes for 0", kFlag, 0, 0, "Yes", 0},
        {"bit set", kBits, 0, 0, "Alpha, Gamma", 0},
        {"bit field text", kPicked, 0, 0, "Two", 2},
        {"bit field number", kRating, 0, 0, "7", 7},
        {"u8", kConsensusNow, 0, 0, "5", 5},
        {"text before the bar", kUnderlined, 0, 0, "*Text", 0},
        {"EPIC", 128, 0, 0, "ALP", 0},
        {"exchange", 92, 0, 0, "LSE", 0},
        {"currency", 129, 0, 0, "Pounds", 0},
        {"no such field", 60, 0, 0, "", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Field(c.code, c.formatB, c.formatA), c.text) << c.what;
        EXPECT_FLOAT_EQ(LastCellValue().value, c.value) << c.what;
    }
    EXPECT_EQ(Cell(ColumnOf(kColumnField, kUnderlined), nullptr, 0, nullptr, 1), "Text|rest") << "aux keeps the text";
}

TEST_F(Cells, DescriptorRouteOnShares)
{
    EXPECT_EQ(Field(0x63), "31/12/23");
    EXPECT_EQ(Field(0x71), "www.alpha.example");
    EXPECT_EQ(Field(0x73), "") << "0xFFFF is no date";
    EXPECT_EQ(Field(0x7A), "ABC") << "fixed text";
    EXPECT_EQ(Field(0x7E), "One") << "index into the named entry's texts";
    EXPECT_EQ(Field(0x7D), "") << "type 0xE1 is empty";
    EXPECT_EQ(Field(0x70), "") << "absent";
}

TEST_F(Cells, MadeItemsHaveNoCompanyDataAndCarryTheirRowFlag)
{
    uint8_t* extra = BuildShareRecord({0xF100, "Extra", "EXT", "", 10, 0, 0, 120, Date(2024, 1, 5)});
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(Cell(ColumnOf(kColumnField, 0x71), extra), "");
    EXPECT_EQ(LastCellValue().rowFlags, kRowIntradayOnly);
    Field(0x71);
    EXPECT_EQ(LastCellValue().rowFlags, 0) << "shares are ordinary rows";
    RemoveExtraRecord(0xF100);
}

// A share the feed carries without a database record lists as the extra record the intraday code
// builds for it, whose length word is only a token: its name, its code and its price still read.
TEST_F(Cells, AFeedOnlyShareReadsItsNameCodeAndPrice)
{
    uint8_t* extra = BuildShareRecord({0x7F01, "Novarex Holdings", "NVX", "", 10, 0, 0, 125, Date(2024, 1, 5)});
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(Cell(ColumnOf(kColumnField, 15), extra), "Novarex Holdings");
    EXPECT_EQ(Cell(ColumnOf(kColumnField, 128), extra), "NVX");
    EXPECT_EQ(Cell(ColumnOf(kColumnField, 17).withFormatB(2), extra), "\xA3" "1.25") << "125p, as a share's price";
    RemoveExtraRecord(0x7F01);
}

TEST_F(Cells, ClassLettersAndLongNamesStayInsideTheBuffer)
{
    CurrentCellSettings().showClassLetters = true;
    EXPECT_EQ(Field(15), "O - Alpha") << "an ordinary share line is class 10";

}

TEST_F(Cells, YesNoAndTickCells)
{
    EXPECT_EQ(Cell(ColumnOf(kColumnField, kFlag).withOption(1)), "Yes");
    EXPECT_EQ(Cell(ColumnOf(kColumnField, kFlag).withOption(2)), "3");
    EXPECT_TRUE(LastCellValue().tickFont);
    // A true formula result shows "Yes"; false "No".
    std::vector<uint8_t> isTrue = {FormulaToken::Open, 0x41, 2, 0, 0, 0, FormulaToken::Greater, 0x41, 1, 0, 0, 0,
                                   FormulaToken::Close, FormulaToken::End};
    std::vector<uint8_t> parameters = {uint8_t(isTrue.size() + 1)};
    parameters.insert(parameters.end(), isTrue.begin(), isTrue.end());
    parameters.push_back(0);
    EXPECT_EQ(Cell(ColumnOf(kColumnFormula, 90).withParameters(parameters)), "Yes");
    parameters[9] = 3; // 2 > 3
    EXPECT_EQ(Cell(ColumnOf(kColumnFormula, 90).withParameters(parameters)), "No");
}

TEST_F(Cells, ConsensusChangeFromTheTwoConsensusFields)
{
    std::vector<uint8_t> column = FormulaTemplateColumn(ShareFormulaTemplates()[17]);
    ASSERT_EQ(ShareFormulaTemplates()[17].index, 48);
    char text[kCellTextBytes];
    FormatColumnValue(share, 0, column.data(), text, sizeof text, 1, nullptr, 0);
    EXPECT_STREQ(text, "Stronger");
    EXPECT_FLOAT_EQ(LastCellValue().value, 5);
}

TEST_F(Cells, ExportMode)
{
    CurrentCellSettings().exportMode = true;
    CurrentCellSettings().exportFormat = 1;
    EXPECT_EQ(Field(kCode), "123456789");
    EXPECT_EQ(Field(kBits), "Alpha; Gamma");
    EXPECT_EQ(Field(17, 2), "2.50");
    CurrentCellSettings().exportFormat = 3;
    CurrentCellSettings().exportDateStyle = 0x18;
    EXPECT_EQ(Field(kNewDate), "01/01/1999");
}

TEST_F(Cells, PartnerView)
{
    const struct {
        uint8_t code;
        const char* text;
        float value;
    } cases[] = {{0, "Buy", 10}, {1, "5/3/24", float(Date(2024, 3, 5))}, {2, "\xA3" "1.23", 123.4f},
                 {3, "3:4", 3004}, {4, "12", 12}};
    for (const auto& c : cases) {
        EXPECT_EQ(Cell(ColumnOf(kColumnPartnerView, c.code).withFormatB(2).withFormatA(0)).c_str(),
                  std::string(c.code == 4 ? "12.00" : c.text));
        EXPECT_FLOAT_EQ(LastCellValue().value, c.value);
    }
}

TEST_F(Cells, NotesFromTheSettingRecords)
{
    const char note[] = "Watch the interims";
    ASSERT_TRUE(SetSettingRecord(kShare, 0, 130, note, sizeof note));
    EXPECT_EQ(Cell(ColumnOf(kColumnNote, 45).withFormatA(3)), note);
    EXPECT_EQ(Cell(ColumnOf(kColumnNote, 45).withFormatA(4)), "");
    DeleteSettingRecord(kShare, 0, 130);
}

TEST_F(Cells, NewsEntries)
{
    uint8_t entry[NewsEntryLayout::Size] = {};
    StoreU16(entry + NewsEntryLayout::Date, Date(2024, 2, 1));
    entry[NewsEntryLayout::Status] = 7;
    StoreU32(entry + NewsEntryLayout::Time, 9 * 3600 + 5 * 60);
    StoreU16(entry + NewsEntryLayout::Companies, kShare);
    ShareList list{};
    list.family = kFamilyNews;
    EXPECT_EQ(Cell(ColumnOf(kColumnNews, 3), entry, 0, &list), "");
    EXPECT_EQ(entry[NewsEntryLayout::Status], 0) << "a status above 3 is reset";
    EXPECT_EQ(Cell(ColumnOf(kColumnNews, 1), entry, 0, &list), "1/2/24");
    EXPECT_EQ(Cell(ColumnOf(kColumnNews, 2), entry, 0, &list), " 9:05:00");
    EXPECT_EQ(Cell(ColumnOf(kColumnNews, 4), entry, 0, &list), "Alpha");
    EXPECT_EQ(Cell(ColumnOf(kColumnNews, 9), entry, 0, &list), "");
    entry[NewsEntryLayout::Status] = 1;
    StoreU32(entry + NewsEntryLayout::Position, 50);
    CurrentCellSources().newsLatestBoundary = [] { return uint32_t(40); };
    EXPECT_EQ(Cell(ColumnOf(kColumnNews, 3), entry, 0, &list), "Latest Unread");
    EXPECT_EQ(LastCellValue().rowFlags, 0) << "news rows carry no row class";
}

TEST_F(Cells, Trades)
{
    uint8_t trade[TradeLayout::Size] = {};
    StoreF32(trade + TradeLayout::Bid, 99);
    StoreF32(trade + TradeLayout::Offer, -1);
    StoreF32(trade + TradeLayout::Price, 100);
    StoreF32(trade + TradeLayout::Volume, 2000);
    trade[TradeLayout::Class] = 3;
    trade[TradeLayout::TradeType] = 1;
    trade[TradeLayout::Direction] = uint8_t(-1);
    trade[TradeLayout::Centre] = 8;
    ShareList list{};
    list.family = kFamilyTrades;
    const struct {
        uint8_t code;
        const char* text;
    } cases[] = {{2, "99p"}, {3, "NA"}, {4, "NA"}, {5, "100p"}, {6, "2,000"}, {7, "Ordinary trade"},
                 {8, "Add"}, {10, "\xA3" "2,000"}, {11, "Sell"}, {12, "New York Stock Exchange"}};
    for (const auto& c : cases)
        EXPECT_EQ(Cell(ColumnOf(kColumnTrade, c.code), trade, 0, &list), c.text) << int(c.code);
}

// Quotes a quarter of a penny apart, and off the quarters, each read differently: in pence with the
// fraction glyphs where they say it all, else with the decimals that do; a column set to pounds keeps
// pounds, and a share without a database record (unit 7) shows the figure as the store holds it.
TEST_F(Cells, QuotedPricesOfATradeListNeverReadAlike)
{
    ShareList list{};
    list.family = kFamilyTrades;
    const ColumnDefSpec pence = ColumnOf(kColumnTrade, 2).withFormatA(CellFormatBits::MoneyPence).withFormatB(CellFormatBits::Fractions);
    const struct {
        float bid;
        uint8_t unit;
        ColumnDefSpec column;
        const char* text;
    } cases[] = {
        {661.0f, 0, pence, "661p"},
        {661.25f, 0, pence, "661\xBCp"},
        {661.5f, 0, pence, "661\xBDp"},
        {661.75f, 0, pence, "661\xBEp"},
        {661.1f, 0, pence, "661.1p"},
        {661.125f, 0, pence, "661.125p"},
        {661.25f, 0, ColumnOf(kColumnTrade, 2).withFormatB(2), "661.25p"},
        {661.25f, 0, ColumnOf(kColumnTrade, 2).withFormatA(CellFormatBits::MoneyPounds).withFormatB(2), "\xA3" "6.61"},
        {208.5f, 7, pence, "208.5"},
        {208.25f, 7, ColumnOf(kColumnTrade, 2).withFormatB(2), "208.25"},
    };
    for (const auto& c : cases) {
        uint8_t quote[TradeLayout::Size] = {};
        StoreF32(quote + TradeLayout::Bid, c.bid);
        StoreF32(quote + TradeLayout::Offer, c.bid);
        quote[TradeLayout::Unit] = c.unit;
        EXPECT_EQ(Cell(c.column, quote, 0, &list), c.text) << c.bid << " unit " << int(c.unit);
    }
}

TEST_F(Cells, CashEntriesAndTransactions)
{
    CashEntryFields f;
    f.type = kCashDebit;
    f.date = Date(2024, 4, 6);
    f.amount = 12.5f;
    f.balance = 100;
    std::memcpy(f.description.data(), "R-17", 4);
    f.note = "Fees";
    auto bytes = EncodeCashEntry(f);
    ASSERT_TRUE(bytes);
    ShareList list{};
    list.family = kFamilyCash;
    const struct {
        uint8_t code;
        const char* text;
    } cases[] = {{1, "6/4/24"}, {3, "Debit"}, {4, "Fees"}, {5, "\xA3" "12.50"}, {6, ""}, {7, "-\xA3" "12.50"},
                 {8, "\xA3" "100.00"}, {10, "R-17"}};
    for (const auto& c : cases)
        EXPECT_EQ(Cell(ColumnOf(kColumnCash, c.code).withFormatB(2), bytes->data(), 1, &list), c.text) << int(c.code);

    TransactionFields t;
    t.date = Date(2024, 5, 1);
    t.type = 3;
    t.shareId = kShare;
    t.amount = 40;
    t.holding = 1000;
    t.profit = -12.5f;
    t.texts[0] = "Alpha";
    t.texts[2] = "Second note";
    std::memcpy(t.reference.data(), "REF1", 4);
    auto tb = EncodeTransaction(t);
    ASSERT_TRUE(tb);
    EXPECT_EQ(Cell(ColumnOf(kColumnCash, 6).withFormatB(2), tb->data(), 0, &list), "\xA3" "40.00") << "a dividend is a credit";
    EXPECT_EQ(Cell(ColumnOf(kColumnCash, 3), tb->data(), 0, &list), "Dividend");
    list.family = kFamilyTransactions;
    EXPECT_EQ(Cell(ColumnOf(kColumnField, 18), tb->data(), 0, &list), "Alpha");
    EXPECT_EQ(Cell(ColumnOf(kColumnField, 23), tb->data(), 0, &list), "REF1");
    EXPECT_EQ(Cell(ColumnOf(kColumnField, 29), tb->data(), 0, &list), "") << "no time recorded";
    EXPECT_EQ(Cell(ColumnOf(kColumnField, 11), tb->data(), 0, &list), "1,000");
    EXPECT_EQ(Cell(ColumnOf(kColumnField, 13).withFormatB(2), tb->data(), 0, &list), "-\xA3" "12.50");
    EXPECT_TRUE(LastCellValue().negative);
    EXPECT_EQ(Cell(ColumnOf(kColumnField, 26).withFormatA(8), tb->data(), 0, &list), "250p");
    EXPECT_EQ(Cell(ColumnOf(kColumnNote, 45).withFormatA(2), tb->data(), 0, &list), "Second note");

    // A deal's own figures, not the share's latest price that field 26 shows on every row.
    TransactionFields buy;
    buy.type = 1;
    buy.shareId = kShare;
    buy.shares = 400;
    buy.price = 1.75f;
    buy.amount = 712.5f;
    buy.brokerCharge = 9.5f;
    buy.stampDuty = 3;
    buy.contractLevy = 1.25f;
    buy.time = 9 * 3600 + 5 * 60 + 30;
    auto bb = EncodeTransaction(buy);
    ASSERT_TRUE(bb);
    const ColumnDefSpec pence = ColumnOf(kColumnField, 0).withFormatA(8);
    const ColumnDefSpec pounds = ColumnOf(kColumnField, 0).withFormatB(2);
    const struct {
        uint8_t code;
        ColumnDefSpec format;
        const char* text;
    } deal[] = {{4, ColumnOf(kColumnField, 0), "400"}, {5, pence, "175p"}, {6, pounds, "\xA3" "712.50"},
                {7, pounds, "\xA3" "9.50"}, {8, pounds, "\xA3" "3.00"}, {9, pounds, "\xA3" "1.25"},
                {26, pence, "250p"}, {29, ColumnOf(kColumnField, 0), " 9:05:30"}};
    for (auto c : deal) {
        c.format.code = c.code;
        EXPECT_EQ(Cell(c.format, bb->data(), 0, &list), c.text) << int(c.code);
    }
}

TEST_F(Cells, ShortOrDamagedInputsGiveEmptyCells)
{
    uint8_t filler[] = {1};
    char text[kCellTextBytes] = "x";
    EXPECT_EQ(FormatColumnValue(share, 0, filler, text, sizeof text, 1, nullptr, 0), 0u);
    EXPECT_STREQ(text, "");
    std::vector<uint8_t> column;
    AppendColumnDef(column, ColumnOf(kColumnField, 0));
    EXPECT_EQ(FormatColumnValue(reinterpret_cast<uint8_t*>(8), 0, column.data(), text, sizeof text, 1, nullptr, 0), 0u);
    EXPECT_EQ(Cell(ColumnOf(0x33, 1)), "") << "unknown kind";
    EXPECT_EQ(Cell(ColumnOf(kColumnIntraday, 1)), "") << "no intraday source yet";
}

} // namespace

namespace {

TEST_F(Cells, HoldingsReadTheLatestRowOfTheListsPortfolio)
{
    TransactionFields latest;
    latest.type = kLatestRowType;
    latest.shareId = kShare;
    latest.holding = 1500;
    latest.consideration = 3750; // pounds
    latest.returnPercent = 12.5f;
    latest.averageCost = -1;
    Transaction row;
    row.bytes = *EncodeTransaction(latest);
    Portfolio portfolio;
    portfolio.name = "Main";
    portfolio.transactions = &row;
    ShareList list{};
    list.source = &portfolio;
    const struct {
        uint8_t code;
        const char* text;
    } cases[] = {{11, "1,500.00"}, {12, "\xA3" "3,750.00"}, {14, "12.50"}, {16, ""}, {13, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(Cell(ColumnOf(kColumnHolding, c.code).withFormatB(2), nullptr, 0, &list), c.text) << int(c.code);
    EXPECT_EQ(Cell(ColumnOf(kColumnHolding, 11), nullptr, 1, &list), "") << "another stream has no row";
    EXPECT_EQ(Cell(ColumnOf(kColumnHolding, 11)), "") << "no portfolio";
    portfolio.transactions = nullptr;
}

TEST_F(Cells, PriceHistoryByDateUnits)
{
    // Five days of 250p from Monday 1 January 2024.
    const struct {
        const char* what;
        uint8_t code;
        std::vector<uint8_t> parameters;
        uint8_t subKind;
        const char* text;
    } cases[] = {
        {"close on a fixed date", 30, {4, 0, uint8_t(Date(2024, 1, 3)), uint8_t(Date(2024, 1, 3) >> 8)}, 0, "250p"},
        {"close two trading days back", 30, {4, 5, 2, 0}, 0, "250p"},
        {"no change since", 31, {4, 0x85, 2, 0}, 0, ""},
        {"before the history", 30, {4, 0, uint8_t(Date(2020, 1, 3)), uint8_t(Date(2020, 1, 3) >> 8)}, 0, ""},
        {"change between two dates", 56, {4, 5, 3, 0, 5, 1, 0}, 0, ""},
        {"the period high", 94, {4, 1, 10, 0}, 0, "250p"},
        {"fall from the high", 94, {4, 1, 10, 0}, 6, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Cell(ColumnOf(kColumnPriceHistory, c.code).withFormatA(8).withParameters(c.parameters).withSubKind(c.subKind)),
                  c.text)
            << c.what;
}

} // namespace

namespace {

// Entry n is found by skipping n - 1 entries by their lengths: a zero or short length, or one past
// the table, ends the walk with no entry rather than looping or reading on.
TEST(FieldTableWalk, DamagedLengthsEndTheWalk)
{
    std::vector<uint8_t> good = dev::EncodeFieldEntry({34, 256 - 24, "Price", {}, 0, 1, 0});
    std::vector<uint8_t> table = good;
    table.insert(table.end(), good.begin(), good.end());
    ASSERT_TRUE(FieldTableEntryOf(table, 2));
    EXPECT_FALSE(FieldTableEntryOf(table, 3)) << "past the end";
    std::vector<uint8_t> zero = good;
    zero.insert(zero.end(), {0, 0, 1, 2, 3});
    zero.insert(zero.end(), good.begin(), good.end());
    EXPECT_FALSE(FieldTableEntryOf(zero, 3)) << "a zero length never moves";
    std::vector<uint8_t> overrun = good;
    overrun.insert(overrun.end(), {0xFF, 0x7F, 1});
    EXPECT_FALSE(FieldTableEntryOf(overrun, 2));
    EXPECT_FALSE(FieldTableEntryOf(overrun, 3));
}

} // namespace

namespace {

TEST(DealingNumbers, CodedWordsOfTheDealingsFile)
{
    EXPECT_FLOAT_EQ(DealingWordValue((5u << 10) | 25, 14), 2500);      // 25 x 10^(5 - 3)
    EXPECT_FLOAT_EQ(DealingWordValue((7u << 7) | 12, 10), 1.2f);       // 12 x 10^(7 - 8)
    EXPECT_NEAR(DealingWordValue(12, 10), 12e-8, 1e-13);
    EXPECT_FLOAT_EQ(PackedDealingNumber(1, 40, 0), FLT_MAX);
}

} // namespace

