// Hit tests, drags, the wheel accumulator, the key table and the links of the list tables.
#include "lists/ListInteraction.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {
const ColumnSpan kColumns[] = {{0, 0, 50}, {1, 50, 110}, {2, 110, 150}};
} // namespace

TEST(ListInteraction, ColumnHitsKeepTheirMargins)
{
    struct Case { int x, expected; };
    const Case cases[] = {{4, -1}, {5, 0}, {44, 0}, {45, -1}, {54, -1}, {55, 1}, {104, 1}, {105, -1},
        {160, 3}, {195, 3}, {196, -1}, {-3, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(ColumnFromPoint(kColumns, c.x, 200), c.expected) << c.x;
}

TEST(ListInteraction, EdgeHitsNameTheColumnLeftOfTheEdge)
{
    struct Case { int x, expected; };
    const Case cases[] = {{0, -1}, {3, -1}, {44, -1}, {45, 0}, {50, 0}, {55, 0}, {56, -1}, {104, -1}, {105, 1}, {110, 1}, {145, 2}, {151, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(HitTestColumnEdge(kColumns, c.x), c.expected) << c.x;
}

TEST(ListInteraction, DragsEndAtTheirRules)
{
    EXPECT_EQ(ResizedWidth(40, 50), 10);
    EXPECT_EQ(ResizedWidth(52, 50), 10);
    EXPECT_EQ(ResizedWidth(130, 50), 80);
    EXPECT_FALSE(MoveDragTarget(1, 1, 3));
    EXPECT_FALSE(MoveDragTarget(1, -1, 3));
    EXPECT_EQ(MoveDragTarget(0, 3, 3), 2);
    EXPECT_EQ(MoveDragTarget(2, 0, 3), 0);
}

TEST(ListInteraction, WheelStepsKeepTheirRemainder)
{
    WheelAccumulator wheel;
    EXPECT_EQ(wheel.add(60), 0);
    EXPECT_EQ(wheel.add(60), 1);
    EXPECT_EQ(wheel.add(250), 2);
    EXPECT_EQ(wheel.add(-130), -1);
    EXPECT_EQ(wheel.add(-120), -1);
    wheel.reset();
    EXPECT_EQ(wheel.add(-119), 0);
}

TEST(ListInteraction, KeyTable)
{
    struct Case { ListKey key; bool shift, ctrl; int command; };
    const Case cases[] = {{ListKey::Down, false, false, 20610}, {ListKey::Down, true, false, 26017}, {ListKey::Up, true, false, 26016},
        {ListKey::Home, true, false, 26018}, {ListKey::End, false, false, 20605}, {ListKey::PageDown, false, true, 20617},
        {ListKey::PageDown, true, false, 26014}, {ListKey::PageUp, false, true, 20616}, {ListKey::Left, false, false, 20600},
        {ListKey::Right, true, false, 26173}, {ListKey::Space, true, false, 20619}, {ListKey::Enter, false, false, 20606},
        {ListKey::Escape, false, false, 20615}, {ListKey::Escape, true, false, 20606}};
    for (const Case& c : cases)
        EXPECT_EQ(ListKeyCommand(c.key, c.shift, c.ctrl), c.command) << int(c.key);
}

TEST(ListInteraction, PartnerSearchLink)
{
    EXPECT_EQ(PartnerSearchLink("A&B plc/2"), std::string(kPartnerServer) + "/system/search/results.jsp?queryText=A%26B%20plc%2F2");
}

TEST(ListInteraction, LoopingNeedsTheOptionARowAndACyclingKind)
{
    // Loop back leaves out dealings, cash, news and trade lists; loop forward only dealings.
    struct Case { int32_t kind; bool option, row, back, forward; };
    const Case cases[] = {{3, true, true, true, true}, {1, true, true, true, true}, {3, false, true, false, false},
        {3, true, false, false, false}, {5, true, true, false, false}, {7, true, true, false, true},
        {8, true, true, false, true}, {10, true, true, false, true}};
    for (const Case& c : cases) {
        EXPECT_EQ(LoopBackShowsPreviousKind(c.kind, c.option, c.row), c.back) << c.kind << c.option << c.row;
        EXPECT_EQ(LoopForwardShowsNextKind(c.kind, c.option, c.row), c.forward) << c.kind << c.option << c.row;
    }
}
