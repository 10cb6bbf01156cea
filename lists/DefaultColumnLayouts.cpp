// The built-in column layouts that new configurations start with. Field columns follow the shares
// catalogue's numbering (template n carries field code n); widths are pixels for the 9-point default
// list font, which at 96 pixels an inch equal the catalogue's 12-point template widths.
#include "core/ColumnDef.h"
#include "core/ConfigDefaults.h"
#include "lists/ColumnCatalogues.h"
#include "lists/ResultsFigures.h"

#include <algorithm>
#include <functional>

namespace qv {
namespace {

constexpr uint8_t kLeft = 0;
constexpr uint8_t kRight = 1;
constexpr uint8_t kPence = 8;      // format flags A: money always in pence
constexpr uint8_t kZeroDash = 2;   // format flags A: a zero shows "-"
constexpr uint8_t kFractions = 0x10;
constexpr uint8_t kPlus = 0x20;
constexpr uint8_t kThousands = 0x40;
constexpr uint8_t kPercentBit = 0x80;

using Layout = std::vector<uint8_t>;

class LayoutBuilder {
public:
    LayoutBuilder& add(ColumnDefSpec spec)
    {
        AppendColumnDef(bytes_, spec);
        return *this;
    }
    LayoutBuilder& number() { return add(ColumnOf(kColumnField, 0).withWidth(32)); }
    LayoutBuilder& text(uint8_t code, uint16_t width = 160)
    {
        return add(ColumnOf(kColumnField, code).withWidth(width).withAlign(kLeft).withTextColumn(true));
    }
    LayoutBuilder& field(uint8_t code, uint8_t formatA = 0, uint8_t formatB = 2, uint16_t width = 60)
    {
        return add(ColumnOf(kColumnField, code).withWidth(width).withFormatA(formatA).withFormatB(formatB));
    }
    LayoutBuilder& price() { return field(17, kPence, kFractions); }
    LayoutBuilder& change() { return field(18, kPence | kZeroDash, kFractions | kPlus); }
    LayoutBuilder& results(int8_t year, uint8_t item)
    {
        // The results dialog's record: one parameter byte, decimals by item.
        return add(ColumnOf(kColumnResults, item).withFormatA(1).withFormatB(uint8_t((item & 7) ? 2 : 1)).withOption(year).withParameters(std::vector<uint8_t>{0}));
    }
    LayoutBuilder& resultsChange(uint8_t code, uint8_t yearByte = 0)
    {
        return add(ColumnOf(kColumnResultsChange, code).withWidth(70).withFormatB(2).withOption(int8_t(yearByte)));
    }
    // A price-history column: the parameter bytes 27-30 (and 31-33 for a second date).
    LayoutBuilder& history(uint8_t code, uint8_t unit, uint16_t count, uint8_t subKind = 0, uint8_t formatB = 1)
    {
        return add(ColumnOf(kColumnPriceHistory, code).withWidth(70).withFormatB(formatB).withSubKind(subKind).withParameters(std::vector<uint8_t>{4, unit, uint8_t(count), uint8_t(count >> 8)}));
    }
    // A quoted price of a trade list: in pence with fractions, as a share's price column.
    LayoutBuilder& quote(uint8_t code)
    {
        return add(ColumnOf(kColumnTrade, code).withWidth(70).withFormatA(kPence).withFormatB(kFractions)
                       .withAlign(uint8_t(kRight | (TradeColumnShowsMoves(code) ? kColumnUpDownArrow : 0))));
    }
    LayoutBuilder& family(uint8_t kind, uint8_t code, uint16_t width = 70, bool isText = false)
    {
        return add(ColumnOf(kind, code).withWidth(width).withAlign(isText ? kLeft : kRight).withFormatB(uint8_t(isText ? 0 : 2)).withTextColumn(isText));
    }
    Layout done()
    {
        bytes_.push_back(0);
        return std::move(bytes_);
    }

private:
    Layout bytes_;
};

LayoutBuilder Named() { return std::move(LayoutBuilder().number().text(15)); }

// The five list layouts; their sort bytes 10, 7, 8, 8, 2 pick columns 9, 6, 7, 7 and 1.
Layout ListTable(int index)
{
    switch (index) {
    case 0: // prices, sorted by capitalisation
        return Named().text(128, 48).price().change().field(66, kPence, kFractions).field(67, kPence, kFractions).field(65, kPence, kFractions)
            .field(16, 0, 0).field(23, 0, kThousands | 1, 70).done();
    case 1: // ratings, sorted by P/E
        return Named().price().text(25).field(10, kPence, 1).results(1, kResultsEps).field(13, 0, 1)
            .field(23, 0, kThousands | 1, 70).done();
    case 2: // risk, sorted by beta
        return Named().text(128, 48).price().change().field(21, 0, 4).field(46, 0, 2).field(22, 0, 2).done();
    case 3: // results, sorted by return on capital
        return Named().price().results(0, kResultsEps).results(1, kResultsEps).results(0, kResultsDividend)
            .results(0, kResultsProfit).resultsChange(14).done();
    default: // by name
        return Named().text(128, 48).price().change().field(16, 0, 0).field(23, 0, kThousands | 1, 70).text(24).done();
    }
}

// The alternative list layouts, all sorted by name (column 1).
Layout ListTableAlt(int index)
{
    switch (index) {
    case 0: return Named().price().change().field(16, 0, 0).done();
    case 1:
        return Named().price().field(19, kPence).field(20, kPence)
            .history(94, 1, 250, 6, 1).history(94, 1, 250, 7, 1).done();
    case 2:
        return Named().price().history(30, 4, 1).history(31, kPercentBit | 4, 1, 0, kPlus | 1)
            .history(88, 0, 20, 0, kThousands | 1).done();
    default:
        return Named().resultsChange(23).resultsChange(70).resultsChange(100).resultsChange(132)
            .results(0, 0x12).done();
    }
}

Layout TranTable(int index)
{
    LayoutBuilder b;
    b.number().family(kColumnField, 1, 60).family(kColumnField, 2, 90, true).family(kColumnField, 18, 160, true);
    switch (index) {
    case 0: // each row's own deal; its 'Latest' row carries the latest price
        return b.family(kColumnField, 4).family(kColumnField, 5).family(kColumnField, 11)
            .family(kColumnField, 12).family(kColumnField, 13).done();
    case 1: return b.family(kColumnField, 22, 120, true).family(kColumnField, 23, 90, true).done();
    case 2: return b.family(kColumnField, 26).family(kColumnField, 27).family(kColumnField, 14)
                .family(kColumnField, 15).done();
    // The fourth ends with the capital gains of each disposal before and after losses.
    default: return b.family(kColumnField, 16).family(kColumnField, 10).family(kColumnField, 25)
                .family(kColumnField, 20, 90).family(kColumnField, 21, 90).done();
    }
}

Layout DealTable(int index)
{
    LayoutBuilder b;
    b.number().family(kColumnDealing, 3, 60).family(kColumnDealing, 10, 160, true).family(kColumnDealing, 1, 140, true);
    // Deal values run to tens of millions of pounds ("£12,300,000").
    constexpr uint16_t kValueWidth = 90;
    switch (index) {
    case 0: return b.family(kColumnDealing, 2, 110, true).family(kColumnDealing, 4, 70, true)
                .family(kColumnDealing, 5, 80).family(kColumnDealing, 7, kValueWidth).done();
    case 1: return b.family(kColumnDealing, 4, 60, true).family(kColumnDealing, 6).family(kColumnDealing, 12)
                .family(kColumnDealing, 13).done();
    case 2: return b.family(kColumnDealing, 11, 160, true).family(kColumnDealing, 8, 40, true)
                .family(kColumnDealing, 9, 40, true).done();
    default: return b.family(kColumnDealing, 5, 80).family(kColumnDealing, 7, kValueWidth).family(kColumnDealing, 13).done();
    }
}

Layout CashTable(int index)
{
    LayoutBuilder b;
    b.number().family(kColumnCash, 1, 60).family(kColumnCash, 3, 80, true).family(kColumnCash, 4, 160, true);
    switch (index) {
    case 0: return b.family(kColumnCash, 5).family(kColumnCash, 6).family(kColumnCash, 8).done();
    case 1: return b.family(kColumnCash, 7).family(kColumnCash, 8).done();
    case 2: return b.family(kColumnCash, 2, 120, true).family(kColumnCash, 9, 160, true).family(kColumnCash, 7).done();
    default: return b.family(kColumnCash, 10, 90, true).family(kColumnCash, 7).family(kColumnCash, 8).done();
    }
}

Layout NewsTable(int index)
{
    LayoutBuilder b;
    b.number().family(kColumnNews, 1, 60).family(kColumnNews, 2, 60);
    switch (index) {
    case 0: return b.family(kColumnNews, 4, 160, true).family(kColumnNews, 5, 400, true).done();
    case 1: return b.family(kColumnNews, 3, 80, true).family(kColumnNews, 5, 400, true).done();
    case 2: return b.family(kColumnNews, 4, 160, true).family(kColumnNews, 8, 100, true)
                .family(kColumnNews, 5, 400, true).done();
    default: return b.family(kColumnNews, 6, 90, true).family(kColumnNews, 7, 100, true)
                .family(kColumnNews, 5, 400, true).done();
    }
}

// Trade lists: the time, then the trade's or the quote's fields, or both.
Layout TradeTable(ColumnLayoutSet set, int index)
{
    LayoutBuilder b;
    b.number().family(kColumnTrade, 1, 60);
    bool trades = set != ColumnLayoutSet::QuoteTables;
    bool quotes = set != ColumnLayoutSet::TradeTables;
    if (quotes)
        b.quote(2).quote(3).quote(4);
    if (trades)
        b.quote(5).family(kColumnTrade, 6);
    if (trades && index >= 1)
        b.family(kColumnTrade, 7, 120, true).family(kColumnTrade, 11, 50, true);
    if (trades && index >= 2)
        b.family(kColumnTrade, 10, 80);
    if (index >= 3)
        b.family(kColumnTrade, 12, 160, true);
    return b.done();
}

} // namespace

std::vector<uint8_t> DefaultColumnLayout(ColumnLayoutSet set, int index)
{
    switch (set) {
    case ColumnLayoutSet::ListTables: return ListTable(std::clamp(index, 0, 4));
    case ColumnLayoutSet::ListTablesAlt: return ListTableAlt(std::clamp(index, 0, 3));
    case ColumnLayoutSet::TranTables: return TranTable(std::clamp(index, 0, 3));
    case ColumnLayoutSet::DealTables: return DealTable(std::clamp(index, 0, 3));
    case ColumnLayoutSet::CashTables: return CashTable(std::clamp(index, 0, 3));
    case ColumnLayoutSet::NewsTables: return NewsTable(std::clamp(index, 0, 3));
    default: return TradeTable(set, std::clamp(index, 0, 3));
    }
}

} // namespace qv
