// Hit tests, selection and constrained drags of chart drawing objects.
#include "charts/DrawingObjectHits.h"

#include "platform/ByteOrder.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

// The segment's box grows by the hit limit: grown by less, a level or upright line could be caught
// only a few pixels off it while a slanted one is caught 12 away.
constexpr int kBoxGrowth = kHitLimit;
constexpr uint16_t kBody = 9;
constexpr int kModeSubtypes[] = {0, 1, 2, 5, 3, 4, 6, 7, 8};

bool Persistent(const LineObject& object) { return object.flags & kLineObjectSaved; }

} // namespace

uint16_t ObjectSettingsMask(const LineObject& object) { return LoadU16(object.stored.data() + 4); }
void SetObjectSettingsMask(LineObject& object, uint16_t mask) { StoreU16(object.stored.data() + 4, mask); }
uint16_t ObjectStyleFlags(const LineObject& object) { return LoadU16(object.stored.data() + 6); }
void SetObjectStyleFlags(LineObject& object, uint16_t flags) { StoreU16(object.stored.data() + 6, flags); }

uint16_t SettingBit(int settingIndex) { return uint16_t(1u << (unsigned(settingIndex) % 16)); }

uint16_t NewObjectSettingsMask(uint16_t settingMaskWord, int settingIndex)
{
    return settingMaskWord != 0 ? settingMaskWord : SettingBit(settingIndex);
}

bool ShowsInSetting(const LineObject& object, int settingIndex)
{
    return (ObjectSettingsMask(object) & SettingBit(settingIndex)) != 0;
}

int ObjectSubtypeOfMode(int modeSubtype)
{
    if (modeSubtype < 0 || modeSubtype >= int(std::size(kModeSubtypes)))
        return -1;
    return kModeSubtypes[modeSubtype];
}

int32_t PointDistance(ScreenPoint a, ScreenPoint b)
{
    double dx = double(a.x) - b.x, dy = double(a.y) - b.y;
    double d = std::sqrt(dx * dx + dy * dy) + 0.5;
    return d >= double(kFar) ? kFar : int32_t(d);
}

int32_t SegmentDistance(ScreenPoint p, ScreenPoint a, ScreenPoint b)
{
    if (p.x < std::min(a.x, b.x) - kBoxGrowth || p.x > std::max(a.x, b.x) + kBoxGrowth ||
        p.y < std::min(a.y, b.y) - kBoxGrowth || p.y > std::max(a.y, b.y) + kBoxGrowth)
        return kFar;
    double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0)
        return PointDistance(p, a);
    double cross = std::fabs(dx * (double(p.y) - a.y) - dy * (double(p.x) - a.x));
    return int32_t(cross / length + 0.5);
}

ObjectHit HitLineStudy(const LineObject& object, ScreenPoint mouse)
{
    uint16_t style = ObjectStyleFlags(object);
    ScreenPoint first = object.screen[0], second = object.screen[1];
    ScreenPoint from = (style & kExtendLeft) ? object.screen[2] : first;
    ScreenPoint to = (style & kExtendRight) ? object.screen[3] : second;
    int32_t toFirst = PointDistance(mouse, first);
    int32_t toSecond = PointDistance(mouse, second);
    int32_t toLine = SegmentDistance(mouse, from, to);
    ObjectHit hit;
    hit.distance = std::min({toFirst, toSecond, toLine});
    hit.part = toFirst <= kHitLimit ? 1 : toSecond <= kHitLimit ? 2 : kBody;
    return hit;
}

ObjectHit HitPitchfork(const LineObject& object, ScreenPoint mouse)
{
    ObjectHit hit;
    int points = std::clamp<int>(object.pointCount(), 0, 3);
    for (int i = 0; i < points; ++i) {
        int32_t d = PointDistance(mouse, object.screen[size_t(i)]);
        hit.distance = std::min(hit.distance, d);
        if (hit.part == 0 && d <= kHitLimit)
            hit.part = uint16_t(i + 1);
    }
    if (points == 3)
        for (size_t i = 0; i < 3; ++i)
            hit.distance = std::min(hit.distance, SegmentDistance(mouse, object.screen[i], object.farEnds[i]));
    if (hit.part == 0)
        hit.part = kBody;
    return hit;
}

ObjectHit HitTextBox(const LineObject& object, ScreenPoint mouse)
{
    ObjectHit hit;
    std::array<int32_t, 8> distances;
    for (size_t i = 0; i < 4; ++i) {
        distances[i] = PointDistance(mouse, object.screen[i]);
        distances[i + 4] = SegmentDistance(mouse, object.screen[i], object.screen[(i + 1) % 4]);
    }
    for (size_t i = 0; i < distances.size(); ++i) {
        hit.distance = std::min(hit.distance, distances[i]);
        if (hit.part == 0 && distances[i] <= kHitLimit)
            hit.part = uint16_t(i + 1);
    }
    if (hit.part == 0) {
        int32_t left = std::min({object.screen[0].x, object.screen[1].x, object.screen[2].x, object.screen[3].x});
        int32_t right = std::max({object.screen[0].x, object.screen[1].x, object.screen[2].x, object.screen[3].x});
        int32_t top = std::min({object.screen[0].y, object.screen[1].y, object.screen[2].y, object.screen[3].y});
        int32_t bottom = std::max({object.screen[0].y, object.screen[1].y, object.screen[2].y, object.screen[3].y});
        if (mouse.x > left && mouse.x < right && mouse.y > top && mouse.y < bottom)
            hit.distance = -1;
        hit.part = kBody;
    }
    return hit;
}

ObjectSelection FindObjectAt(const LineObjectList& list, ScreenPoint mouse, int settingIndex)
{
    static constexpr LineObjectKind kOrder[] = {LineObjectKind::LineStudy, LineObjectKind::Pitchfork, LineObjectKind::Text};
    for (LineObjectKind kind : kOrder) {
        ObjectSelection best;
        int32_t bestDistance = kFar;
        for (LineObject* o = list.head; o; o = o->next) {
            if (o->kind != kind || !Persistent(*o) || !ShowsInSetting(*o, settingIndex))
                continue;
            ObjectHit hit = kind == LineObjectKind::LineStudy ? HitLineStudy(*o, mouse)
                          : kind == LineObjectKind::Pitchfork ? HitPitchfork(*o, mouse)
                                                              : HitTextBox(*o, mouse);
            if (!hit.hit() || hit.distance >= bestDistance)
                continue;
            bestDistance = hit.distance;
            best = {o, hit.part};
        }
        if (best.object)
            return best;
    }
    return {};
}

ScreenPoint PartPosition(const LineObject& object, uint16_t part)
{
    if (object.kind == LineObjectKind::Text) {
        if (part >= 1 && part <= 4)
            return object.screen[part - 1];
        if (part >= 5 && part <= 8) {
            ScreenPoint a = object.screen[part - 5], b = object.screen[(part - 4) % 4];
            return {(a.x + b.x) / 2, (a.y + b.y) / 2};
        }
        return object.screen[0];
    }
    if (part >= 1 && part <= 3)
        return object.screen[part - 1];
    ScreenPoint a = object.screen[0], b = object.screen[1];
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

std::vector<uint16_t> HandleParts(const LineObject& object)
{
    if (object.kind == LineObjectKind::Text)
        return {1, 2, 3, 4, 5, 6, 7, 8};
    if (object.kind == LineObjectKind::Pitchfork)
        return {1, 2, 3};
    return {1, 2, kBody};
}

ChartPoint ConstrainLineEnd(ChartPoint first, ChartPoint second)
{
    int32_t dates = std::abs(second.date - first.date);
    if (dates == 0) {
        second.date = first.date;
        return second;
    }
    double step = std::fabs(std::trunc(double(second.price) + 0.1 - double(first.price)));
    double ratio = step / dates;
    if (ratio < 0.5) {
        second.price = first.price;
    } else if (ratio >= 2.0) {
        second.date = first.date;
    } else {
        float sign = second.price >= first.price ? 1.0f : -1.0f;
        second.price = first.price + sign * float(dates);
    }
    return second;
}

} // namespace qv
