// The document window's page sizes, placement, Next label and the Later... dialog's times.
#include "infocentre/InCDocLayout.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(InCDocLayout, PageSizesForEachMode)
{
    // 1 mm to 4 pixels across and down, so that millimetres read off directly.
    const ScreenMetrics screen{1600, 1200, 400, 300};
    struct Case {
        uint8_t mode;
        uint16_t value1, value2;
        PixelSize page;
    };
    const Case cases[] = {
        {2, 0, 0, {400, 500}},
        {2, 640, 0, {640, 500}},
        {1, 0, 0, {841, 1189}},   // 210.2 by 297.3 mm
        {1, 0, 1, {1189, 841}},   // on its side
        {1, 3, 0, {297, 420}},    // A7: 74.3 mm
        {3, 0, 0, {800, 804}},    // 50% and 67% of the screen
        {3, 25, 50, {400, 600}},
        {0, 7, 7, {420, 595}},    // any other mode: an upright A6
    };
    for (const Case& c : cases)
        EXPECT_EQ(DocumentPageSize(c.mode, c.value1, c.value2, screen), c.page) << int(c.mode) << " " << c.value1 << " " << c.value2;
    EXPECT_NEAR(PaperSize(0, 0).width, 210.2, 0.1);
    EXPECT_NEAR(PaperSize(0, 0).height, 297.3, 0.1);
    EXPECT_NEAR(PaperSize(1, 0).width, 148.7, 0.1);
    EXPECT_NEAR(PaperSize(4, 0).width, 176.8, 0.1);
}

TEST(InCDocLayout, PlacementByLetter)
{
    EXPECT_EQ(PlaceAlong('L', 400, 1600, true), 0);
    EXPECT_EQ(PlaceAlong('C', 400, 1600, true), 600);
    EXPECT_EQ(PlaceAlong('R', 400, 1600, true), 1200);
    EXPECT_EQ(PlaceAlong('B', 300, 1200, false), 900);
    EXPECT_EQ(PlaceAlong('R', 300, 1200, false), std::nullopt) << "R places across, not down";
    EXPECT_EQ(PlaceAlong('X', 400, 1600, true), std::nullopt);
    EXPECT_EQ(PlaceAlong('X', 1700, 1600, true), 0) << "larger than the screen: at its edge";
}

TEST(InCDocLayout, NextButtonLabels)
{
    EXPECT_EQ(NextButtonLabel(false, "", "Newsletters"), "Next Newsletter");
    EXPECT_EQ(NextButtonLabel(false, "", "Faq"), "Next Faq");
    EXPECT_EQ(NextButtonLabel(false, "Reports", "Newsletters"), "Next Report");
    EXPECT_EQ(NextButtonLabel(true, "Reports", "Newsletters"), "Next Autoview");
}

// Next within a type walks on from the current document, round to the head once, past done items
// and documents open elsewhere.
TEST(InCDocLayout, NextOfTheSameType)
{
    const std::vector<InCDocumentItem> list = {{"a", 10, 0}, {"b", 11, 1}, {"c", 12, 0}, {"d", 13, 0}};
    auto none = [](uint16_t) { return false; };
    EXPECT_EQ(NextOfType(list, 10, none), 12);
    EXPECT_EQ(NextOfType(list, 13, none), 10);
    EXPECT_EQ(NextOfType(list, 12, [](uint16_t n) { return n == 13; }), 10);
    EXPECT_EQ(NextOfType(list, 10, [](uint16_t n) { return n != 10; }), 0);
    EXPECT_EQ(NextOfType(list, 99, none), 10) << "a document no longer in the list starts at the head";
    EXPECT_EQ(NextOfType({}, 10, none), 0);
    EXPECT_TRUE(TypeHasNext(list));
    EXPECT_FALSE(TypeHasNext({{"a", 10, 0}, {"b", 11, 1}}));
}

// At 14:00, "in 2 hours" is due at 16:00; the basic form opens on "tomorrow" whatever else it
// remembered, the advanced one on its own choice.
TEST(InCDocLayout, DeferTimes)
{
    const int64_t midnight = 1'000'000'000 - 1'000'000'000 % 86400, now = midnight + 14 * 3600;
    DeferForm form = DeferDefaults(14 * 60, 0x100 | uint8_t(DeferChoice::InHours));
    EXPECT_EQ(form.choice, DeferChoice::InHours);
    form.hours = 2;
    EXPECT_EQ(DeferDueTime(form, now, midnight), midnight + 16 * 3600);
    EXPECT_EQ(form.todayMinutes, 17 * 60);
    EXPECT_EQ(form.tomorrowMinutes, 10 * 60);
    EXPECT_EQ(DeferSettingsWord(form), 0x100);

    const DeferForm basic = DeferDefaults(22 * 60 + 30, uint8_t(DeferChoice::Today));
    EXPECT_EQ(basic.choice, DeferChoice::Tomorrow);
    EXPECT_FALSE(basic.advanced);
    EXPECT_EQ(basic.todayMinutes, 23 * 60 + 59) << "three hours on would pass midnight";
    EXPECT_EQ(DeferDueTime(basic, now, midnight), midnight + 86400 + 8 * 3600);
    EXPECT_EQ(DeferDefaults(0, uint8_t(DeferChoice::Finished)).choice, DeferChoice::Finished);

    DeferForm onDay = DeferDefaults(14 * 60, 0x100 | uint8_t(DeferChoice::OnDay));
    EXPECT_EQ(DeferDueTime(onDay, now, midnight), midnight + 2 * 86400 + 10 * 3600);
    onDay.choice = DeferChoice::Finished;
    EXPECT_EQ(DeferDueTime(onDay, now, midnight), std::nullopt);
}
