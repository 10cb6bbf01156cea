// The list cells' intraday answers on a store day written tick by tick: the engine's value types
// mapped onto the route's, a value per letter through the cell route, a flash set by a tick and gone
// after the highlight duration, and the day a small graph reads.
#include "realtime/IntradayCells.h"

#include "core/ColumnDef.h"
#include "core/FormatNumber.h"
#include "core/RecordAccess.h"
#include "lists/CellValue.h"
#include "lists/ColumnCatalogues.h"
#include "lists/IntradayCellSources.h"
#include "lists/ListPaintPlan.h"
#include "lists/ListStyle.h"
#include "realtime/IntradayColumnSpec.h"
#include "realtime/RTMarketTable.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTTickCoding.h"
#include "tests/realtime/store/RTStoreFixture.h"

#include <cmath>

namespace qv {
namespace {

using test::kFri4;
using test::kMon7;
using C = IntradayChoice;

constexpr uint16_t kShare = 0x4001;

class IntradayCellsTest : public test::RTStoreTest {
protected:
    void SetUp() override
    {
        test::RTStoreTest::SetUp();
        TheRTStore().days = {kFri4, kMon7};
        RTDayRecord* day = GetRTDay(kMon7, true);
        int32_t slot = -1;
        RTDayShareEntry& e = *GetRTDayShare(MakeRTKey(0, kShare), *day, slot, true);
        RTTickWriter w(e);
        w.Time(28800);
        w.PriceItem(0, 106, 0, 100, RTStoredTrade{105, 300, 0});
        w.Time(28900);
        w.PriceItem(0, 108, 0, 101, RTStoredTrade{101.5f, 100, 0});
        w.Time(29000);
        w.PriceItem(0, 107, 0, 99, std::nullopt);
        RebuildRTSummary(e, *day);
        TheRTEngineHooks().previousClose = [](uint16_t) { return 100.0f; };
        record_.resize(64);
        StoreU16(record_.data() + RecordLayout::Length, uint16_t(record_.size()));
        StoreU16(record_.data() + RecordLayout::Id, kShare);
        InstallIntradayCellSources();
    }
    void TearDown() override
    {
        CurrentCellSources() = CellSources{};
        TheRTEngineHooks() = {};
        TheRTEngine().highlightDuration = 8;
        test::RTStoreTest::TearDown();
    }
    // The cell of a column chosen as the dialogs would: its text, and its value in `value`.
    std::string Cell(std::initializer_list<C> run, float& value)
    {
        CIntradayColumnSpec spec = CIntradayColumnSpec::Initial();
        for (C c : run)
            spec.Choose(c);
        const std::vector<uint8_t> column = spec.BuildColumn(CatalogueTemplate(Catalogue::Shares, spec.letter));
        char text[kCellTextBytes];
        const size_t n = FormatColumnValue(record_.data(), 0, column.data(), text, sizeof text, 1, nullptr, 0);
        value = LastCellValue().value;
        return std::string(text, n);
    }
    std::vector<uint8_t> record_;
};

TEST(IntradayRouteType, OneTableFromTheEnginesTypes)
{
    const int expected[] = {kCellRouteNone, kCellRouteNumber, kCellRouteNone, kCellRoutePlain, kCellRouteSigned, kCellRouteTime};
    for (int type = 0; type < 6; ++type)
        EXPECT_EQ(IntradayRouteType(type), expected[type]) << type;
    EXPECT_EQ(IntradayRouteType(-1), kCellRouteNone);
    EXPECT_EQ(IntradayRouteType(6), kCellRouteNone);
}

TEST_F(IntradayCellsTest, AValuePerLetterThroughTheCellRoute)
{
    struct Case {
        std::initializer_list<C> run;
        double value;
    };
    const double vwap = (105.0 * 300 + 101.5 * 100) / 400;
    const Case cases[] = {
        {{C::TodaysOpen}, 105},
        {{C::TodaysClose}, 101.5},
        {{C::Bid}, 99},
        {{C::Offer}, 107},
        {{}, 103},
        {{C::TradePrice, C::High}, 105},
        {{C::PercentFromOpen}, (103.0 - 105) * 100 / 105},
        {{C::ChangeFromOpen}, 103.0 - 105},
        {{C::SpreadPercent}, (107.0 - 99) * 200 / 206},
        {{C::Vwap}, vwap},
        {{C::TradePrice}, 101.5},
        {{C::TradePrice, C::ChangeFromClose}, 1.5},
        {{C::TradePrice, C::PercentFromClose}, 1.5},
        {{C::Volume}, 400},
        {{C::Volume, C::TotalBuys}, 300},
        {{C::Value}, 105.0 * 300 + 101.5 * 100},
        {{C::Count}, 2},
        {{C::PriceTime}, 29000},
        // The trade-time slot is filled by the rebuild as by a live trade: the last trade, 28900.
        {{C::TradeTime}, 28900},
        {{C::TradeTimeSince}, 100},
    };
    for (const Case& c : cases) {
        float value = -1;
        const std::string text = Cell(c.run, value);
        SCOPED_TRACE(text);
        EXPECT_FALSE(text.empty());
        EXPECT_NEAR(value, c.value, 1e-3);
    }
    float value = 0;
    EXPECT_EQ(Cell({C::PriceTime}, value), FormatClockTime(29000, true));
    EXPECT_EQ(Cell({C::TradeTime}, value), FormatClockTime(28900, true));
    EXPECT_EQ(Cell({C::Count}, value), "2");
    // Volumes and values keep three significant figures and their scale letter.
    EXPECT_EQ(Cell({C::Volume}, value), "400");
    const std::string traded = Cell({C::Value}, value);
    EXPECT_EQ(traded.back(), 'k') << traded;
    // An earlier day the store lacks gives an empty cell.
    EXPECT_EQ(Cell({C::PreviousDays}, value), "103") << "without a count the days box means today";
    CurrentCellSources().intradayValue = nullptr;
    EXPECT_EQ(Cell({}, value), "") << "without the intraday engine the cell stays empty";
}

// The arrow of an 'I' column follows the last trade against the one before it.
TEST_F(IntradayCellsTest, TheLastTradesDirection)
{
    RTDayRecord* day = GetRTDay(kMon7, true);
    // Shares 2-5: trades at these prices, in turn (none: quotes only).
    const std::vector<std::vector<float>> trades = {{}, {104}, {104, 104.5f}, {104, 104}};
    for (size_t i = 0; i < trades.size(); ++i) {
        int32_t slot = -1;
        RTDayShareEntry& e = *GetRTDayShare(MakeRTKey(0, uint16_t(kShare + 1 + i)), *day, slot, true);
        RTTickWriter w(e);
        w.Time(28800);
        w.PriceItem(0, 106, 0, 100, std::nullopt);
        for (size_t k = 0; k < trades[i].size(); ++k) {
            w.Time(uint32_t(28900 + 100 * k));
            w.PriceItem(0, 106, 0, 100, RTStoredTrade{trades[i][k], 100, 0});
        }
        RebuildRTSummary(e, *day);
    }
    struct Case {
        uint16_t share;
        int direction;
    };
    const Case cases[] = {{kShare, -1},    // 105, then 101.5
                          {kShare + 1, 2}, // no trade yet
                          {kShare + 2, 0}, // the day's first trade
                          {kShare + 3, 1},
                          {kShare + 4, 0},
                          {kShare + 9, 2}}; // no entry
    for (const Case& c : cases) {
        StoreU16(record_.data() + RecordLayout::Id, c.share);
        EXPECT_EQ(IntradayTradeDirection(record_.data(), 0), c.direction) << c.share;
        EXPECT_EQ(CurrentCellSources().intradayDirection(record_.data(), 0), c.direction) << c.share;
    }
    EXPECT_EQ(IntradayTradeDirection(nullptr, 0), 2);
}

TEST_F(IntradayCellsTest, AFlashComesWithATickAndGoesAfterTheHighlight)
{
    RTActiveShare* share = CreateRTActiveShare(ShareRef{record_.data(), 0, 0});
    ASSERT_NE(share, nullptr);
    TheRTEngine().highlightDuration = 8; // 800 ms
    MarkRTTickChange(*share, 10000, 2, 108, 101, 107, 99); // the quote rises
    MarkRTTickChange(*share, 10000, 1, 101, 0, 101.5f, 0); // the trade falls
    struct Case {
        char letter;
        uint32_t now;
        int flash;
    };
    const Case cases[] = {
        {'K', 10100, 1}, {'J', 10100, 1}, {'I', 10100, 1}, {'P', 10100, 2}, {'S', 10100, 2},
        {'G', 10100, 0}, // the open never flashes
        {'K', 10799, 1}, {'K', 10800, 0}, {'P', 10800, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IntradayCellFlash(record_.data(), c.letter, c.now), c.flash) << c.letter << " at " << c.now;
    EXPECT_EQ(share->changeFlags & 3u, 2u) << "readers leave the feed's marks alone";

    // The flash takes the style's flash background, the current row's own on the current row.
    ListStyle style;
    style.flash[0] = 0x11;
    style.currentFlash[1] = 0x22;
    const std::vector<uint8_t> column = CIntradayColumnSpec::Initial().BuildColumn(CatalogueTemplate(Catalogue::Shares, 'K'));
    CellFacts facts;
    facts.column = column.data();
    facts.flash = 1;
    EXPECT_EQ(PlanCell(style, facts, "103").background, 0x11u);
    facts.flash = 2;
    facts.current = true;
    EXPECT_EQ(PlanCell(style, facts, "103").background, 0x22u);
    facts.flash = 0;
    EXPECT_EQ(PlanCell(style, facts, "103").background, style.currentBackground);
}

TEST_F(IntradayCellsTest, TheDayOfASmallGraph)
{
    IntradayGraphDay day;
    ASSERT_TRUE(IntradayCellDay(record_.data(), 0, day));
    int quotes = 0, trades = 0;
    for (const IntradayTick& t : day.ticks) {
        quotes += t.Kind() == kTickQuote;
        trades += t.Kind() == kTickTrade;
    }
    EXPECT_EQ(quotes, 3);
    EXPECT_EQ(trades, 2);
    EXPECT_EQ(day.open, ExchangeTimesTable()[0].first);
    EXPECT_EQ(day.close, ExchangeTimesTable()[0].second);
    EXPECT_EQ(FindRTActiveShare(MakeRTKey(0, kShare)), nullptr) << "an entry made for the read goes again";
    EXPECT_FALSE(IntradayCellDay(record_.data(), 1, day)) << "Friday holds nothing for the share";
    EXPECT_TRUE(day.ticks.empty());
}

} // namespace
} // namespace qv
