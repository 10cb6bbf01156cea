// The small graphs of intraday cells, planned from hand-made days: the volume split's three parts, the
// mid and spread lines inside their cell, one tick mark a trade from the right, and the
// thermograph's shades.
#include "lists/ListMicrograph.h"

#include "core/ColumnDef.h"
#include "lists/ListStyle.h"
#include "realtime/IntradayCells.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

IntradayTick Time(uint32_t t)
{
    IntradayTick x;
    x.type = kTickTime;
    x.value1 = t;
    return x;
}
IntradayTick Quote(float bid, float offer)
{
    IntradayTick x;
    x.type = kTickQuote;
    x.SetF(offer, bid);
    return x;
}
IntradayTick Trade(float price, float volume)
{
    IntradayTick x;
    x.type = kTickTrade;
    x.SetF(price, volume);
    return x;
}

std::vector<uint8_t> Column(uint8_t display, uint8_t letter)
{
    std::vector<uint8_t> layout;
    AppendColumnDef(layout, ColumnOf(kColumnIntraday, letter).withParameters({0, 0, 0, 0}));
    layout[ColumnDefLayout::Align] = display;
    return layout;
}

ListStyle Style()
{
    ListStyle s;
    s.volumeSplit[0] = 0xB0; // buy
    s.volumeSplit[1] = 0x50; // sell
    s.volumeSplit[2] = 0x70; // unknown
    s.tickPens[0] = 0x01;
    s.tickPens[1] = 0x02;
    s.tickPens[2] = 0x03;
    s.thermograph[0] = 0x00FF00;
    s.thermograph[1] = 0x0000FF;
    s.graphPen = 0xFF0000;
    return s;
}

IntradayGraphDay Day(std::vector<IntradayTick> ticks)
{
    IntradayGraphDay d;
    d.ticks = std::move(ticks);
    d.open = 28800;
    d.close = 28800 + 1000;
    return d;
}

TEST(ListMicrograph, KindsByTheFlagsByte)
{
    EXPECT_EQ(MicrographKindOf(Column(1, 'K').data()), kMicrographNone);
    EXPECT_EQ(MicrographKindOf(Column(3, 'K').data()), kMicrographLine);
    EXPECT_EQ(MicrographKindOf(Column(0x13, 'K').data()), kMicrographLine) << "the up/down bit aside";
    EXPECT_EQ(MicrographKindOf(Column(4, 'P').data()), kMicrographTicks);
    EXPECT_EQ(MicrographKindOf(Column(0x14, 'P').data()), kMicrographNone) << "tick changes only with the byte exactly 4";
    EXPECT_EQ(MicrographKindOf(Column(5, 'K').data()), kMicrographThermograph);
    EXPECT_EQ(MicrographKindOf(Column(7, 'P').data()), kMicrographVolumeSplit);
    std::vector<uint8_t> field;
    AppendColumnDef(field, ColumnOf(kColumnField, 75));
    field[ColumnDefLayout::Align] = 3;
    EXPECT_EQ(MicrographKindOf(field.data()), kMicrographNone);
}

TEST(ListMicrograph, VolumeSplitKeepsTheMiddleCentred)
{
    // Quote 100-106: mid 103, band 1. Sells below 102, buys above 104, the rest in the middle.
    const IntradayGraphDay day = Day({Time(28800), Trade(103, 50), Quote(100, 106), Trade(101, 100), Trade(103, 100),
                                      Trade(105, 50), Quote(-1, 106), Trade(106, 50)});
    std::vector<PaintOp> ops;
    PlanMicrograph(ops, 0, 0, 400, 20, Style(), Column(7, 'P').data(), day);
    ASSERT_EQ(ops.size(), 3u);
    // below 100, middle 150 (a trade before any quote counts there), above 100: 2 x 100 + 150 = 350
    // fills 400 pixels.
    EXPECT_EQ(ops[0].colour, 0x50u);
    EXPECT_EQ(ops[1].colour, 0x70u);
    EXPECT_EQ(ops[2].colour, 0xB0u);
    EXPECT_EQ(ops[1].x0 + ops[1].x1, 400) << "the middle part is centred";
    EXPECT_NEAR(ops[1].x1 - ops[1].x0, 150 * 400 / 350, 1);
    EXPECT_NEAR(ops[0].x1 - ops[0].x0, 100 * 400 / 350, 1);
    EXPECT_NEAR(ops[2].x1 - ops[2].x0, 100 * 400 / 350, 1);
    ops.clear();
    PlanMicrograph(ops, 0, 0, 400, 20, Style(), Column(7, 'P').data(), Day({Quote(100, 106)}));
    EXPECT_TRUE(ops.empty()) << "no trades, no bar";
}

TEST(ListMicrograph, LinesStayInTheirCell)
{
    const IntradayGraphDay day = Day({Time(28800), Quote(100, 104), Time(29000), Quote(101, 105), Time(29500),
                                      Quote(98, 106), Quote(99, 98)}); // the last quote is crossed: left out
    for (uint8_t letter : {uint8_t('K'), uint8_t('L')}) {
        std::vector<PaintOp> ops;
        PlanMicrograph(ops, 10, 20, 110, 40, Style(), Column(3, letter).data(), day);
        ASSERT_FALSE(ops.empty()) << letter;
        for (const PaintOp& op : ops) {
            EXPECT_EQ(op.step, PaintStep::Line);
            EXPECT_EQ(op.pen, 0xFF0000u);
            for (int x : {op.x0, op.x1})
                EXPECT_TRUE(x >= 10 && x < 110) << x;
        }
        // The line ends at the last sound quote, half-way through the hours.
        EXPECT_EQ(ops.back().x0, 10 + 99 * 700 / 1000);
    }
    // A flat spread is widened so that its line sits inside the cell.
    std::vector<PaintOp> flat;
    PlanMicrograph(flat, 0, 0, 100, 20, Style(), Column(3, 'L').data(), Day({Quote(100, 102), Quote(101, 103)}));
    ASSERT_FALSE(flat.empty());
    EXPECT_GT(flat.back().y0, 0);
}

TEST(ListMicrograph, TickMarksOneATradeFromTheRight)
{
    const IntradayGraphDay day = Day({Time(28800), Trade(100, 1), Trade(101, 1), Trade(101, 1), Trade(99, 1)});
    std::vector<PaintOp> ops;
    PlanMicrograph(ops, 0, 0, 50, 21, Style(), Column(4, 'P').data(), day);
    ASSERT_EQ(ops.size(), 3u);
    // Newest first: down, same, up.
    EXPECT_EQ(ops[0].x0, 49);
    EXPECT_EQ(ops[0].pen, 0x02u);
    EXPECT_EQ(ops[0].y1, 20);
    EXPECT_EQ(ops[1].x0, 48);
    EXPECT_EQ(ops[1].pen, 0x03u);
    EXPECT_EQ(ops[1].y1 - ops[1].y0, 2);
    EXPECT_EQ(ops[2].x0, 47);
    EXPECT_EQ(ops[2].pen, 0x01u);
    EXPECT_EQ(ops[2].y1, 1);
}

TEST(ListMicrograph, ThermographShadesByRisesAndFalls)
{
    // Three rises in the first slice, one fall in the sixth; the rest stay blank.
    const IntradayGraphDay day = Day({Time(28800), Quote(100, 102), Quote(101, 103), Time(28810), Quote(102, 104),
                                      Quote(103, 105), Time(29350), Quote(102, 104)});
    std::vector<PaintOp> ops;
    PlanMicrograph(ops, 0, 0, 100, 20, Style(), Column(5, 'K').data(), day);
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].x0, 0);
    EXPECT_EQ(ops[0].x1, 10);
    EXPECT_EQ(ops[1].x0, 50);
    // The strongest slice takes the deepest shade (64 of 255 towards white).
    const uint32_t deepest = uint32_t((255 * (255 - 64) + 255 * 64) / 255) << 8 | uint32_t(64) | uint32_t(64) << 16;
    EXPECT_EQ(ops[0].colour, deepest);
    EXPECT_EQ(ops[1].colour, 0xB0B0FFu) << "a weaker fall: a lighter shade (176) of the down colour";
}

} // namespace
} // namespace qv
