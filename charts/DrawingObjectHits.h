// The user's drawing objects on a chart as the chart view selects and places them: which settings show
// an object, the hit tests with their tolerances, the nearest object under the mouse, the handles and
// the constrained drag of a line's end.
#pragma once

#include "chartmodel/LineObjects.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

// Stored fields beyond the node's own: the settings mask (offset 4) and the style flags (offset 6).
uint16_t ObjectSettingsMask(const LineObject& object);
void SetObjectSettingsMask(LineObject& object, uint16_t mask);
uint16_t ObjectStyleFlags(const LineObject& object);
void SetObjectStyleFlags(LineObject& object, uint16_t flags);

inline constexpr uint16_t kExtendRight = 0x01;
inline constexpr uint16_t kExtendLeft = 0x02;

// The mask of a new object: the setting's own mask word, or the setting's bit when that word is 0. The
// bit of setting n is 1 << (n mod 16), so that no setting's object is stored with a mask of 0.
uint16_t SettingBit(int settingIndex);
uint16_t NewObjectSettingsMask(uint16_t settingMaskWord, int settingIndex);
bool ShowsInSetting(const LineObject& object, int settingIndex);

// The object subtype a drawing mode's subtype makes (0-8); -1 for another value.
int ObjectSubtypeOfMode(int modeSubtype);

// A hit is a distance of 12 pixels or less.
inline constexpr int kHitLimit = 12;
inline constexpr int32_t kFar = INT32_MAX;

int32_t PointDistance(ScreenPoint a, ScreenPoint b);
// Far when the point lies outside the segment's bounding box grown by 12 pixels; else the distance to
// the segment's line in whole pixels. A segment of no length gives the distance to its point.
int32_t SegmentDistance(ScreenPoint p, ScreenPoint a, ScreenPoint b);

struct ObjectHit {
    int32_t distance = kFar;
    uint16_t part = 0;
    bool hit() const { return distance <= kHitLimit; }
};

// Line study: its two points and its drawn segment (extended by its style flags).
ObjectHit HitLineStudy(const LineObject& object, ScreenPoint mouse);
// Pitchfork: its three points and its three lines to their far ends.
ObjectHit HitPitchfork(const LineObject& object, ScreenPoint mouse);
// Text box (corners in screen[0..3]): corners, edges, and inside (distance -1).
ObjectHit HitTextBox(const LineObject& object, ScreenPoint mouse);

struct ObjectSelection {
    LineObject* object = nullptr;
    uint16_t part = 0;
};
// Line studies, then pitchforks, then text boxes: the first kind with a hit wins; within a kind the
// nearest persistent object shown in the setting, an equal distance keeping the earlier in the list.
ObjectSelection FindObjectAt(const LineObjectList& list, ScreenPoint mouse, int settingIndex);

// Where a part's handle sits: points 1-3, text-box edge midpoints 5-8, the body (9) at the anchor
// (a line study's midpoint, a text box's first corner).
ScreenPoint PartPosition(const LineObject& object, uint16_t part);
// The parts that carry handles.
std::vector<uint16_t> HandleParts(const LineObject& object);

// A point of the chart: a trading-day position and a price.
struct ChartPoint {
    int32_t date = 0;
    float price = 0;
};
// The second point of a line dragged with the constrain modifier: flat, vertical or at 45 degrees by
// the ratio of the price step to the date step; a line of no date step is vertical.
ChartPoint ConstrainLineEnd(ChartPoint first, ChartPoint second);

} // namespace qv
