// Chart drawing objects: settings masks, hit distances and parts, the nearest object, handles and the
// constrained drag.
#include "charts/DrawingObjectHits.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

struct ObjectList {
    LineObjectList list;
    ~ObjectList() { FreeLineObjectList(list); }

    LineObject* Line(ScreenPoint a, ScreenPoint b, int setting = 0)
    {
        LineObject* o = AddLineObject(list, 0, 0);
        o->screen[0] = a;
        o->screen[1] = b;
        SetObjectSettingsMask(*o, SettingBit(setting));
        return o;
    }
};

} // namespace

TEST(DrawingObjectHits, SettingsMasksNeverZero)
{
    EXPECT_EQ(NewObjectSettingsMask(0x00F0, 3), 0x00F0);
    EXPECT_EQ(NewObjectSettingsMask(0, 3), 0x0008);
    for (int index = 0; index < 32; ++index)
        EXPECT_NE(NewObjectSettingsMask(0, index), 0) << index;
    EXPECT_EQ(SettingBit(17), 0x0002);
    EXPECT_EQ(ObjectSubtypeOfMode(3), 5);
    EXPECT_EQ(ObjectSubtypeOfMode(4), 3);
    EXPECT_EQ(ObjectSubtypeOfMode(9), -1);
}

TEST(DrawingObjectHits, SegmentDistances)
{
    struct {
        ScreenPoint p, a, b;
        int32_t distance;
    } cases[] = {
        {{50, 12}, {0, 0}, {100, 0}, 12},
        {{50, 13}, {0, 0}, {100, 0}, kFar},
        {{50, 5}, {0, 0}, {100, 0}, 5},
        {{50, 20}, {0, 0}, {100, 0}, kFar},   // outside the box grown by 12
        {{113, 0}, {0, 0}, {100, 0}, kFar},
        {{112, 3}, {0, 0}, {100, 0}, 3},
        {{3, 4}, {0, 0}, {0, 0}, 5},          // no length: the distance to the point
        {{10, 10}, {0, 0}, {20, 20}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SegmentDistance(c.p, c.a, c.b), c.distance) << c.p.x << "," << c.p.y;
}

TEST(DrawingObjectHits, TwelvePixelsSelectThirteenDoNot)
{
    ObjectList objects;
    objects.Line({100, 100}, {300, 100});
    EXPECT_NE(FindObjectAt(objects.list, {200, 112}, 0).object, nullptr);
    EXPECT_EQ(FindObjectAt(objects.list, {200, 113}, 0).object, nullptr);
    EXPECT_EQ(FindObjectAt(objects.list, {200, 112}, 0).part, 9);
    EXPECT_EQ(FindObjectAt(objects.list, {104, 103}, 0).part, 1);
    EXPECT_EQ(FindObjectAt(objects.list, {300, 95}, 0).part, 2);
    // Not shown in another setting: neither drawn nor hit.
    EXPECT_EQ(FindObjectAt(objects.list, {200, 100}, 1).object, nullptr);
}

TEST(DrawingObjectHits, NearestWinsAndTiesKeepTheEarlier)
{
    ObjectList objects;
    LineObject* lower = objects.Line({0, 110}, {400, 110});
    LineObject* upper = objects.Line({0, 90}, {400, 90}); // now first in the list
    EXPECT_EQ(FindObjectAt(objects.list, {200, 100}, 0).object, upper);
    EXPECT_EQ(FindObjectAt(objects.list, {200, 104}, 0).object, lower);
    upper->flags = 0; // not persistent: takes no part
    EXPECT_EQ(FindObjectAt(objects.list, {200, 99}, 0).object, lower);
}

TEST(DrawingObjectHits, ExtendedLinesHitBeyondTheirPoints)
{
    ObjectList objects;
    LineObject* line = objects.Line({100, 100}, {200, 100});
    line->screen[2] = {0, 100};
    line->screen[3] = {600, 100};
    EXPECT_EQ(FindObjectAt(objects.list, {500, 100}, 0).object, nullptr);
    SetObjectStyleFlags(*line, kExtendRight);
    EXPECT_EQ(FindObjectAt(objects.list, {500, 100}, 0).object, line);
    EXPECT_EQ(FindObjectAt(objects.list, {50, 100}, 0).object, nullptr);
    SetObjectStyleFlags(*line, kExtendLeft);
    EXPECT_EQ(FindObjectAt(objects.list, {50, 100}, 0).object, line);
}

TEST(DrawingObjectHits, TextBoxesAndPitchforks)
{
    ObjectList objects;
    LineObject* box = AddTextObject(objects.list);
    box->screen = {ScreenPoint{100, 100}, {300, 100}, {300, 200}, {100, 200}};
    SetObjectSettingsMask(*box, 1);
    ObjectSelection inside = FindObjectAt(objects.list, {200, 150}, 0);
    EXPECT_EQ(inside.object, box);
    EXPECT_EQ(inside.part, 9);
    EXPECT_EQ(FindObjectAt(objects.list, {302, 101}, 0).part, 2);
    EXPECT_EQ(FindObjectAt(objects.list, {200, 204}, 0).part, 7); // the bottom edge
    EXPECT_EQ(PartPosition(*box, 5), (ScreenPoint{200, 100}));
    EXPECT_EQ(PartPosition(*box, 8), (ScreenPoint{100, 150}));

    LineObject* fork = AddPitchforkObject(objects.list, 0, 0);
    fork->setPointCount(3);
    fork->screen = {ScreenPoint{400, 300}, {500, 250}, {500, 350}, {}};
    fork->farEnds = {ScreenPoint{700, 300}, {700, 250}, {700, 350}};
    SetObjectSettingsMask(*fork, 1);
    EXPECT_EQ(FindObjectAt(objects.list, {501, 249}, 0).part, 2);
    EXPECT_EQ(FindObjectAt(objects.list, {650, 305}, 0).part, 9);
    EXPECT_EQ(HandleParts(*fork).size(), 3u);
    EXPECT_EQ(HandleParts(*box).size(), 8u);
}

TEST(DrawingObjectHits, ConstrainedDragSnaps)
{
    struct {
        ChartPoint second;
        ChartPoint snapped;
    } cases[] = {
        {{110, 13.0f}, {110, 10.0f}},   // a ratio below 0.5: flat
        {{110, 35.0f}, {100, 35.0f}},   // 2 or more: vertical
        {{110, 22.0f}, {110, 20.0f}},   // between: 45 degrees upward
        {{110, -2.0f}, {110, 0.0f}},    // and downward
        {{100, 50.0f}, {100, 50.0f}},   // no date step: vertical, no division by zero
    };
    for (const auto& c : cases) {
        ChartPoint snapped = ConstrainLineEnd({100, 10.0f}, c.second);
        EXPECT_EQ(snapped.date, c.snapped.date) << c.second.price;
        EXPECT_FLOAT_EQ(snapped.price, c.snapped.price) << c.second.price;
    }
}
