// The intraday column choice: the radio rules as a table of choice runs, the basic choices, the format
// byte, the record it builds and the generated names.
#include "realtime/IntradayColumnSpec.h"

#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace qv {
namespace {

using C = IntradayChoice;
constexpr C N = C::None;

CIntradayColumnSpec Spec(std::initializer_list<C> choices)
{
    CIntradayColumnSpec spec = CIntradayColumnSpec::Initial();
    for (C c : choices)
        spec.Choose(c);
    return spec;
}

struct Expect {
    const char* what;
    std::initializer_list<C> run;
    char letter;
    int kind, form, display;
    C priceType, volumeType, highLow, value, days;
};

TEST(IntradayColumnSpec, ChoicesFollowTheGroupRules)
{
    const Expect cases[] = {
        {"a new spec", {}, 'K', 0, 0, 1, C::Price, N, N, C::LatestValue, N},
        {"bid keeps price type", {C::Bid}, 'I', 0, 0, 1, C::Price, N, N, C::LatestValue, N},
        {"spread drops every group", {C::PercentFromOpen, C::SpreadPercent}, 'L', 0, 0, 1, N, N, N, N, N},
        {"vwap uses days", {C::Vwap}, 'M', 0, 0, 1, N, N, N, N, C::Today},
        {"volume takes total and days", {C::Volume}, 'Q', 5, 0, 1, N, C::Total, N, N, C::Today},
        {"count never keeps last trade", {C::Volume, C::LastTrade, C::Count}, 'S', 5, 0, 1, N, C::Total, N, N, C::Today},
        {"last trade drops days", {C::Value, C::PreviousDays, C::LastTrade}, 'R', 4, 0, 1, N, C::LastTrade, N, N, N},
        {"mid after volume keeps kind 5", {C::Volume, C::MidBidOffer}, 'K', 5, 0, 1, C::Price, N, N, C::LatestValue, N},
        {"trade price after volume resets the kind", {C::Volume, C::TradePrice}, 'P', 0, 0, 1, C::Price, N, N, C::LatestValue, N},
        {"high uses high/low and days", {C::High}, 'K', 1, 0, 1, C::High, N, C::HighLowValue, N, C::Today},
        {"high/low time keeps the previous-days bit", {C::High, C::PreviousDays, C::HighLowTime}, 'K', 1, 0x23, 1, C::High, N, C::HighLowTime, N, C::PreviousDays},
        {"range drops high/low and clears its form", {C::Low, C::HighLowTimeSince, C::Range}, 'K', 3, 0, 1, C::Range, N, N, N, C::Today},
        {"price again drops days and its bit", {C::Average, C::PreviousDays, C::Price}, 'K', 0, 0, 1, C::Price, N, N, C::LatestValue, N},
        {"change from close", {C::ChangeFromClose}, 'K', 0, 6, 1, C::Price, N, N, C::ChangeFromClose, N},
        {"graph", {C::PercentFromOpen, C::Graph}, 'K', 0, 0, 3, N, N, N, N, C::Today},
        {"spread graph", {C::SpreadGraph}, 'L', 0, 0, 3, N, N, N, N, C::Today},
        {"thermograph", {C::Thermograph}, 'K', 0, 0, 5, N, N, N, N, C::Today},
        {"tick changes", {C::TickChanges}, 'P', 0, 0, 4, N, N, N, N, C::Today},
        {"buy/sell bar keeps previous days", {C::PreviousDays, C::BuySellBar}, 'P', 0, 0x20, 7, N, N, N, N, C::PreviousDays},
        {"today's open", {C::Volume, C::TodaysOpen}, 'G', 0, 0, 1, N, N, N, N, C::Today},
        {"today's close resets a trade kind", {C::Volume, C::TotalBuys, C::TodaysClose}, 'H', 0, 0, 1, N, N, N, N, C::Today},
        {"price time drops days", {C::PreviousDays, C::PriceTime}, 'N', 0, 0, 1, N, N, N, N, N},
        {"trade time since uses days", {C::TradeTimeSince}, 'U', 0, 0, 1, N, N, N, N, C::Today},
        {"a time after a graph is a value", {C::Graph, C::TradeTime}, 'T', 0, 0, 1, N, N, N, N, N},
    };
    for (const Expect& e : cases) {
        const CIntradayColumnSpec s = Spec(e.run);
        SCOPED_TRACE(e.what);
        EXPECT_EQ(s.letter, uint8_t(e.letter));
        EXPECT_EQ(s.valueKind, e.kind);
        EXPECT_EQ(s.form, e.form);
        EXPECT_EQ(s.display, e.display);
        EXPECT_EQ(s.priceType, e.priceType);
        EXPECT_EQ(s.volumeType, e.volumeType);
        EXPECT_EQ(s.highLow, e.highLow);
        EXPECT_EQ(s.value, e.value);
        EXPECT_EQ(s.days, e.days);
    }
}

TEST(IntradayColumnSpec, BasicChoicesAndTheGroupShownOnReturn)
{
    struct Case {
        IntradayBasic basic;
        char letter;
        int kind, form, display;
        IntradayBasic shownBack;
    };
    const Case cases[] = {
        {IntradayBasic::PriceMid, 'K', 0, 0, 1, IntradayBasic::PriceMid},
        {IntradayBasic::PricePercentFromOpen, 'K', 0, 1, 1, IntradayBasic::PriceMid},
        {IntradayBasic::PricePercentFromClose, 'K', 0, 2, 1, IntradayBasic::PriceMid},
        {IntradayBasic::High, 'K', 1, 0, 1, IntradayBasic::PriceMid},
        {IntradayBasic::Low, 'K', 2, 0, 1, IntradayBasic::PriceMid},
        {IntradayBasic::Open, 'G', 0, 0, 1, IntradayBasic::Open},
        {IntradayBasic::Close, 'H', 0, 0, 1, IntradayBasic::PriceMid},
        {IntradayBasic::Volume, 'Q', 5, 0, 1, IntradayBasic::PriceMid},
        {IntradayBasic::Graph, 'K', 0, 0, 3, IntradayBasic::Graph},
        {IntradayBasic::Thermograph, 'K', 0, 0, 5, IntradayBasic::PriceMid},
    };
    for (const Case& c : cases) {
        CIntradayColumnSpec s = CIntradayColumnSpec::Initial();
        s.ChooseBasic(c.basic);
        SCOPED_TRACE(int(c.basic));
        EXPECT_EQ(s.letter, uint8_t(c.letter));
        EXPECT_EQ(s.valueKind, c.kind);
        EXPECT_EQ(s.form, c.form);
        EXPECT_EQ(s.display, c.display);
        EXPECT_EQ(s.basic, c.basic);
        EXPECT_EQ(s.BasicOfGroup(), c.shownBack);
    }
    // The advanced trades tab moves the basic group to volume.
    EXPECT_EQ(Spec({C::TradePrice, C::Volume}).BasicOfGroup(), IntradayBasic::Volume);
}

TEST(IntradayColumnSpec, FormatByteByFormThenLetter)
{
    struct Case {
        std::initializer_list<C> run;
        int format;
    };
    const Case cases[] = {
        {{C::TodaysOpen}, 16}, {{C::TodaysClose}, 16}, {{C::Bid}, 16}, {{C::Offer}, 16}, {{}, 16}, {{C::Vwap}, 16},
        {{C::TradePrice}, 16}, {{C::SpreadPercent}, 2}, {{C::PriceTime}, 0}, {{C::PriceTimeSince}, 0}, {{C::Count}, 0},
        {{C::TradeTime}, 0}, {{C::TradeTimeSince}, 0}, {{C::Volume}, 195}, {{C::Value}, 64},
        {{C::PercentFromOpen}, 2}, {{C::PreviousDays, C::High, C::Price, C::PercentFromClose}, 2},
        {{C::ChangeFromOpen}, 16},
    };
    for (const Case& c : cases) {
        const CIntradayColumnSpec s = Spec(c.run);
        EXPECT_EQ(s.format, c.format) << "letter " << char(s.letter) << " form " << int(s.form);
    }
}

std::vector<uint8_t> Template(uint8_t letter)
{
    std::vector<uint8_t> t(IntradayColumnLayout::Size, 0);
    t[0] = uint8_t(t.size());
    t[2] = 0x82;
    t[5] = 2;
    StoreU16(t.data() + IntradayColumnLayout::Width, 60);
    t[IntradayColumnLayout::Letter] = letter;
    return t;
}

TEST(IntradayColumnSpec, BuildColumnSetsOptionsDisplayWidthAndFormat)
{
    CIntradayColumnSpec s = Spec({C::High, C::PreviousDays, C::HighLowTime});
    s.daysBack = 3;
    std::vector<uint8_t> r = s.BuildColumn(Template('K'));
    ASSERT_EQ(r.size(), 31u);
    EXPECT_EQ(r[27], 1);
    EXPECT_EQ(r[28], 0x23);
    EXPECT_EQ(LoadU16(r.data() + 29), 3);
    EXPECT_EQ(r[3], 1);
    EXPECT_EQ(r[5], 16);
    EXPECT_EQ(LoadU16(r.data() + 24), 60) << "a value column keeps the template's width";

    r = Spec({C::Thermograph}).BuildColumn(Template('K'));
    EXPECT_EQ(r[3], 5);
    EXPECT_EQ(LoadU16(r.data() + 24), 100);

    std::vector<uint8_t> broken = Template('K');
    broken[0] = 0;
    EXPECT_TRUE(s.BuildColumn(broken).empty());
    broken[0] = 100;
    EXPECT_TRUE(s.BuildColumn(broken).empty());
    EXPECT_TRUE(s.BuildColumn({}).empty());
}

std::string TitleOf(std::initializer_list<C> run, uint16_t days = 0)
{
    CIntradayColumnSpec s = Spec(run);
    s.daysBack = days;
    return CIntradayColumnSpec::Title(s.BuildColumn(Template(s.letter)).data());
}

TEST(IntradayColumnSpec, GeneratedNames)
{
    EXPECT_EQ(TitleOf({}), "Mid");
    EXPECT_EQ(TitleOf({C::SpreadGraph}), "Spread %");
    EXPECT_EQ(TitleOf({C::Graph}), "Graph");
    EXPECT_EQ(TitleOf({C::Thermograph}), "Thermograph");
    EXPECT_EQ(TitleOf({C::TickChanges}), "Tick changes");
    EXPECT_EQ(TitleOf({C::BuySellBar}), "Buy/sell bar");
    EXPECT_EQ(TitleOf({C::PercentFromOpen}), "Mid % from open");
    EXPECT_EQ(TitleOf({C::Bid, C::ChangeFromClose}), "Bid from close");
    EXPECT_EQ(TitleOf({C::High, C::PreviousDays, C::HighLowTime}, 2), "Mid high time  2 days ago");
    EXPECT_EQ(TitleOf({C::Low, C::HighLowTimeSince}), "Mid low time since");
    EXPECT_EQ(TitleOf({C::TradePrice, C::Range, C::PreviousDays}, 1), "Trade range 1 day ago");
    EXPECT_EQ(TitleOf({C::Offer, C::Average}), "Offer (average)");
    EXPECT_EQ(TitleOf({C::Volume}), "Intraday Volume");
    EXPECT_EQ(TitleOf({C::Volume, C::TotalSells}), "Intraday Volume sells");
    EXPECT_EQ(TitleOf({C::Value, C::LastTrade}), "Trade value last trade");
    EXPECT_EQ(TitleOf({C::Count, C::TotalUnknowns}), "Trade count unknowns");
    EXPECT_EQ(TitleOf({C::TodaysOpen}), "Today's open");

    const std::vector<uint8_t> r = Spec({C::TradeTimeSince}).BuildColumn(Template('U'));
    char text[8];
    EXPECT_EQ(CIntradayColumnSpec::GetTitle(r.data(), text, sizeof text), 7u);
    EXPECT_STREQ(text, "Trade t");
}

TEST(IntradayColumnSpec, DaysTextCountsOnlyForPreviousDaysAndStopsAtAThousand)
{
    struct Case {
        const char* text;
        bool previous;
        int days;
        bool clamped;
    };
    const Case cases[] = {
        {"5", false, 0, false}, {"5", true, 5, false}, {"1000", true, 1000, false}, {"1001", true, 1000, true},
        {"99999999999", true, 1000, true}, {"", true, 0, false}, {"12x", true, 12, false},
    };
    for (const Case& c : cases) {
        bool clamped = true;
        EXPECT_EQ(IntradayDaysFromText(c.text, c.previous, clamped), c.days) << c.text;
        EXPECT_EQ(clamped, c.clamped) << c.text;
    }
}

} // namespace
} // namespace qv
