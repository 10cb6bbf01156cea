// Column headings of every kind, against the demo's field table.
#include "lists/ColumnHeading.h"

#include "core/ColumnDef.h"
#include "core/ShareList.h"
#include "devtools/lib/ShareFieldTable.h"
#include "lists/FieldTable.h"
#include "support/DatabaseFixture.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qv;
using namespace qv::test;

namespace {

class Headings : public DatabaseFixture {
protected:
    Headings()
    {
        dev::DbFile file = OneEntry({dev::ShareRecord(0x4001, "Alpha", 'O', "ALP")});
        file.entries[0].extra = dev::DemoShareFieldTable();
        Load(dev::WriteQuorvaDat(file));
    }

    static std::vector<uint8_t> Record(const ColumnDefSpec& spec)
    {
        std::vector<uint8_t> r;
        AppendColumnDef(r, spec);
        return r;
    }
    static std::vector<uint8_t> History(uint8_t code, uint8_t unit, uint16_t count, uint8_t subKind = 0,
                                        uint8_t unit2 = 0, uint16_t count2 = 0)
    {
        return Record(ColumnOf(kColumnPriceHistory, code).withSubKind(subKind).withParameters(std::vector<uint8_t>{4, unit, uint8_t(count), uint8_t(count >> 8), unit2, uint8_t(count2),
                                      uint8_t(count2 >> 8)}));
    }
};

} // namespace

TEST_F(Headings, EachKindNamesItsColumn)
{
    std::vector<uint8_t> formula = {kColumnFormula};
    const char* title = "EPS Growth";
    std::vector<uint8_t> parameters = {3, 0x38, kExpressionEnd};
    parameters.insert(parameters.end(), title, title + std::strlen(title) + 1);
    struct Case {
        std::vector<uint8_t> column;
        const char* heading;
    };
    const Case cases[] = {
        {Record(ColumnOf(kColumnResults, 2).withOption(-2)), "2 years ago EPS"},
        {Record(ColumnOf(kColumnResults, 2).withOption(1)), "1 year forecast EPS"},
        {Record(ColumnOf(kColumnResults, 2).withOption(0)), "Most recent EPS"},
        {Record(ColumnOf(kColumnResults, 0x22).withOption(0)), "Most recent EPS 2 year's Growth%"},
        {Record(ColumnOf(kColumnResults, 0x11).withOption(-1)), "1 year ago Profit (millions) Growth %"},
        {Record(ColumnOf(kColumnResults, 0x0B).withOption(0)), "Most recent interim Dividend"},
        {Record(ColumnOf(kColumnResults, 0x0E).withOption(2)), "2 years forecast interim Final Div."},
        {History(94, 1, 250, 6), "Fall% from 250 trading day High"},
        {History(94, 2, 30, 3), "Date of 30 day Low"},
        {History(94, 0, 0, 2), "Date of High (all history)"},
        {History(94, 3, 0, 5), "Days since Low (since 1st Jan)"},
        {History(94, 4, Date(2019, 2, 1), 7), "Inc.% from Low (since 1/2/19)"},
        {History(94, 1, 20, 0), "20 trading day High"},
        {History(88, 0, 20), "20 day Volume Average"},
        {History(30, 4, 1), "Price 1 year ago"},
        {History(31, 0x82, 3), "Price% 3 weeks ago"},
        {History(87, 5, 10), "Volume 10 trading days ago"},
        {History(30, 0, Date(2019, 2, 1)), "Price 1/2/19"},
        {History(57, 0x83, 2, 0, 1, 5), "Price% between 2 months and 5 days ago"},
        {History(56, 0, Date(2020, 1, 6), 0, 0, Date(2020, 12, 31)), "Price between 6/1/20 and  31/12/20"},
        {Record(ColumnOf(kColumnField, 0)), "No."},
        {Record(ColumnOf(kColumnField, 46)), "Correlation"},
        {Record(ColumnOf(kColumnField, 92)), "Exchange"},
        {Record(ColumnOf(kColumnField, 93)), "Extra Info."},
        {Record(ColumnOf(kColumnField, 17)), "Price"},
        {Record(ColumnOf(kColumnField, 25)), "Sector"},
        {Record(ColumnOf(kColumnField, 2)), "SEDOL"},
        {Record(ColumnOf(kColumnField, 128)), "EPIC"},
        {Record(ColumnOf(kColumnField, 115)), "Results currency"},
        {Record(ColumnOf(kColumnField, 140)), ""},
        {Record(ColumnOf(kColumnField, 60)), ""},
        {Record(ColumnOf(kColumnNote, 0).withFormatA(3)), "Note 3"},
        {Record(ColumnOf(kColumnFormula, 28).withParameters(parameters)), "EPS Growth"},
        {Record(ColumnOf(kColumnResultsChange, 14)), "Most recent ROCE (%)"},
        {Record(ColumnOf(kColumnResultsChange, 32).withOption(0x21)), "1 year ago Norm EPS (p) 2 year's Growth%"},
        {Record(ColumnOf(kColumnResultsChange, 70).withOption(0x12)), "2 years ago Price to book value Growth %"},
        {Record(ColumnOf(kColumnResultsChange, 50)), "Most recent "},
        {Record(ColumnOf(kColumnPartnerView, 3)), "VG View Vol:Issue"},
        {Record(ColumnOf(kColumnPartnerView, 9)), "undefined"},
        {Record(ColumnOf(kColumnDealing, 3)), "Deal Date"},
        {Record(ColumnOf(kColumnNews, 5)), "Headline"},
        {Record(ColumnOf(kColumnCash, 8)), "Balance"},
        {Record(ColumnOf(kColumnTrade, 12)), "Market Centre"},
        {Record(ColumnOf(kColumnHolding, 12)), "Current value"},
        {Record(ColumnOf(kColumnIntraday, 3)), ""},
        {Record(ColumnOf(0x77, 3)), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetColumnHeading(nullptr, c.column.data(), false), c.heading) << c.heading;
}

TEST_F(Headings, OwnTitlesWinUnlessThePlainHeadingIsAsked)
{
    std::vector<uint8_t> column = Record(ColumnOf(kColumnResults, 2).withOption(-2).withOwnTitle("EPS 2y"));
    EXPECT_EQ(GetColumnHeading(nullptr, column.data(), false), "EPS 2y");
    EXPECT_EQ(GetColumnHeading(nullptr, column.data(), true), "2 years ago EPS");
}

TEST_F(Headings, FieldColumnsAreNamedByTheListsFamily)
{
    ShareList list{};
    std::vector<uint8_t> column = Record(ColumnOf(kColumnField, 2));
    list.family = kFamilyTransactions;
    EXPECT_EQ(GetColumnHeading(&list, column.data(), false), "Transaction type");
    list.family = kFamilyNews;
    EXPECT_EQ(GetColumnHeading(&list, column.data(), false), "Time");
    list.family = kFamilyShares;
    EXPECT_EQ(GetColumnHeading(&list, column.data(), false), "SEDOL");
    // Without a database the share table names nothing.
    FreeDatabase(true);
    EXPECT_EQ(GetColumnHeading(&list, Record(ColumnOf(kColumnField, 17)).data(), false), "");
}
