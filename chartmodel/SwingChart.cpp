// The swing chart's day-by-day walk.
#include "chartmodel/SwingChart.h"

#include "chartmodel/BarColour.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cfloat>
#include <optional>

namespace qv {
namespace {

enum : uint32_t {
    kExtended = 0x10,      // candidate days and orders
    kOutsideCounts = 0x20, // an outside day counts for a candidate
    kRelaxed = 0x40,       // a candidate's days need not follow each other
    kResetLevels = 0x100,  // the top and bottom levels start again after a trend change
    kStrictGann = 0x200,   // the trend is tested only while it and the swing disagree
    kSkipInside = 0x400,   // an inside day is not the next day of comparison
};
constexpr uint32_t kUnlimitedDays = 3;

struct Candidate {
    int direction; // +1 up, -1 down
    int counted;
    int32_t left;  // days it may still wait; negative: no limit
};

struct Signal {
    int direction; // +1 buy on a high above `level`, -1 sell on a low below it
    int32_t day;
    float level;
    float stop;
};

class SwingWalk {
public:
    SwingWalk(std::span<const DayRecord> days, uint32_t flags, uint32_t dayChoice)
        : days_(days), flags_(flags), dayChoice_(dayChoice)
    {
        chart_.marks.assign(days.size(), 0);
    }

    SwingChart Run(int32_t first, int32_t lastDate, std::span<const SwingEdit> edits);

private:
    const DayRecord& Day(int32_t i) const { return days_[size_t(i)]; }
    bool Extended() const { return (flags_ & kExtended) != 0; }
    void Add(uint16_t flags, int32_t day, float price) { AddSwingEvent(chart_.events, flags, day, price); }
    void EndExtreme()
    {
        if (swing_ == 0)
            return;
        const bool top = swing_ > 0;
        Add(top ? kSwingTop : kSwingBottom, extremeDay_, level_);
        chart_.marks[size_t(extremeDay_)] |= top ? kMarkTop : kMarkBottom;
        (top ? topLevel_ : bottomLevel_) = level_;
    }
    void Turn(int direction, int32_t i);
    std::optional<int> CountCandidates(int cls);
    void TestTrend(int32_t i, uint32_t edit);
    void TrackSignal(int32_t i);
    void TestOrders(int32_t i);

    std::span<const DayRecord> days_;
    uint32_t flags_;
    uint32_t dayChoice_;
    SwingChart chart_;
    int swing_ = 0;
    int trend_ = 0;
    float level_ = 0;
    int32_t extremeDay_ = 0;
    float topLevel_ = FLT_MAX;
    float bottomLevel_ = -FLT_MAX;
    std::vector<Candidate> candidates_;
    std::optional<Signal> signal_;
    std::optional<float> stopBelow_, stopAbove_;
};

void SwingWalk::Turn(int direction, int32_t i)
{
    EndExtreme();
    const DayRecord& d = Day(i);
    level_ = direction > 0 ? d.high : d.low;
    extremeDay_ = i;
    swing_ = direction;
    Add(direction > 0 ? kSwingUp : kSwingDown, i, level_);
    if (trend_ == 0) {
        trend_ = direction;
        Add(direction > 0 ? kTrendUp : kTrendDown, i, level_);
    }
    candidates_.clear();
}

std::optional<int> SwingWalk::CountCandidates(int cls)
{
    const int direction = cls == kColourUp ? 1 : cls == kColourDown ? -1 : 0;
    const bool outsideCounts = cls == kColourOutside && Extended() && (flags_ & kOutsideCounts);
    const bool relaxed = Extended() && (flags_ & kRelaxed);
    std::optional<int> turn;
    for (auto it = candidates_.begin(); it != candidates_.end();) {
        if (direction == it->direction || outsideCounts) {
            if (++it->counted >= 2)
                turn = it->direction;
            ++it;
            continue;
        }
        // Without the relaxed rule the counted days follow each other.
        if (!relaxed || (it->left >= 0 && --it->left < 0))
            it = candidates_.erase(it);
        else
            ++it;
    }
    if (turn)
        return turn;
    if (direction != 0 && swing_ != direction &&
        std::none_of(candidates_.begin(), candidates_.end(), [direction](const Candidate& c) {
            return c.direction == direction;
        })) {
        const int32_t limit = dayChoice_ == kUnlimitedDays ? -1 : int32_t(dayChoice_) + 1;
        candidates_.push_back({direction, 1, limit});
    }
    return std::nullopt;
}

void SwingWalk::TestTrend(int32_t i, uint32_t edit)
{
    const bool forced = (edit & (kEditUpTrend | kEditDownTrend)) != 0;
    if (!forced && !Extended() && (flags_ & kStrictGann) && trend_ == swing_)
        return;
    const DayRecord& d = Day(i);
    int change = 0;
    float at = 0;
    if (trend_ <= 0 && (edit & kEditUpTrend)) {
        change = 1;
        at = d.high;
    } else if (trend_ < 0 && d.high > topLevel_) {
        change = 1;
        at = topLevel_;
    } else if (trend_ >= 0 && (edit & kEditDownTrend)) {
        change = -1;
        at = d.low;
    } else if (trend_ > 0 && d.low < bottomLevel_) {
        change = -1;
        at = bottomLevel_;
    }
    if (change == 0)
        return;
    trend_ = change;
    signal_.reset();
    Add(change > 0 ? kTrendUp : kTrendDown, i, at);
    if (swing_ == -change)
        Turn(change, i);
    if (flags_ & kResetLevels) {
        topLevel_ = FLT_MAX;
        bottomLevel_ = -FLT_MAX;
    }
}

void SwingWalk::TrackSignal(int32_t i)
{
    const DayRecord& d = Day(i);
    // A rally in a down trend: the day of its high, moved on to later days with higher lows.
    if (swing_ > 0 && trend_ < 0) {
        if ((!signal_ || signal_->direction > 0) && d.high >= level_)
            signal_ = Signal{-1, i, d.low, d.high};
        else if (signal_ && d.low > signal_->level)
            signal_ = Signal{-1, i, d.low, d.high};
    } else if (swing_ < 0 && trend_ > 0) {
        if ((!signal_ || signal_->direction < 0) && d.low <= level_)
            signal_ = Signal{1, i, d.high, d.low};
        else if (signal_ && d.high < signal_->level)
            signal_ = Signal{1, i, d.high, d.low};
    }
}

void SwingWalk::TestOrders(int32_t i)
{
    if (!signal_ || !(Extended() || trend_ == swing_))
        return;
    const DayRecord& d = Day(i);
    const Signal s = *signal_;
    if (s.direction > 0 && d.high > s.level) {
        Add(kSignalHigh, s.day, s.level);
        Add(kSignalNextLow, s.day, s.stop);
        Add(kOrderUp, i, s.level);
        stopBelow_ = s.stop;
        stopAbove_.reset();
        signal_.reset();
    } else if (s.direction < 0 && d.low < s.level) {
        Add(kSignalLow, s.day, s.level);
        Add(kSignalNextHigh, s.day, s.stop);
        Add(kOrderDown, i, s.level);
        stopAbove_ = s.stop;
        stopBelow_.reset();
        signal_.reset();
    }
}

SwingChart SwingWalk::Run(int32_t first, int32_t lastDate, std::span<const SwingEdit> edits)
{
    const int32_t count = int32_t(days_.size());
    if (first < 0 || first >= count)
        return std::move(chart_);
    const uint32_t classFlags = ((flags_ >> 8) & 4) | ((flags_ >> 11) & 3);
    int32_t compare = std::max(first - 1, 0);
    level_ = Day(first).close;
    extremeDay_ = first;
    size_t nextEdit = 0;
    for (int32_t i = first == 0 ? 1 : first; i < count; ++i) {
        const DayRecord& d = Day(i);
        if (d.date == 0 || d.date > lastDate)
            break;
        uint32_t edit = 0;
        while (nextEdit < edits.size() && edits[nextEdit].date <= d.date) {
            if (edits[nextEdit].date == d.date)
                edit |= edits[nextEdit].type;
            ++nextEdit;
        }
        const DayRecord& c = Day(compare);
        const int cls = ClassifyBar(d.high, d.low, d.close, c.high, c.low, classFlags);
        std::optional<int> turn;
        if ((swing_ > 0 && d.high > level_) || (swing_ < 0 && d.low < level_)) {
            level_ = swing_ > 0 ? d.high : d.low;
            extremeDay_ = i;
            candidates_.clear();
        } else {
            turn = CountCandidates(cls);
        }
        if ((edit & kEditUpSwing) && swing_ <= 0)
            turn = 1;
        else if ((edit & kEditDownSwing) && swing_ >= 0)
            turn = -1;
        if (turn && *turn != swing_)
            Turn(*turn, i);
        TestTrend(i, edit);
        if (stopBelow_ && d.low < *stopBelow_) {
            Add(kStopBelowPassed, i, *stopBelow_);
            stopBelow_.reset();
        }
        if (stopAbove_ && d.high > *stopAbove_) {
            Add(kStopAbovePassed, i, *stopAbove_);
            stopAbove_.reset();
        }
        TrackSignal(i);
        TestOrders(i);
        if (!(cls == kColourInside && (flags_ & kSkipInside)))
            compare = i;
    }
    EndExtreme();
    // Extremes and signal days are dated back; the drawing walks the events in day order.
    std::stable_sort(chart_.events.begin(), chart_.events.end(),
                     [](const SwingEvent& a, const SwingEvent& b) { return a.day < b.day; });
    return std::move(chart_);
}

} // namespace

void AddSwingEvent(std::vector<SwingEvent>& events, uint16_t flags, int32_t day, float price)
{
    if (!events.empty() && events.back().day == day && events.back().price == price) {
        events.back().flags |= flags;
        return;
    }
    events.push_back({flags, day, price});
}

std::vector<SwingEdit> ReadSwingEdits(std::span<const uint8_t> bytes)
{
    std::vector<SwingEdit> edits;
    for (size_t at = 0; at + kSwingEditSize <= bytes.size(); at += kSwingEditSize) {
        const uint16_t date = LoadU16(bytes.data() + at);
        if (date == 0)
            break;
        edits.push_back({date, LoadU32(bytes.data() + at + 4)});
    }
    return edits;
}

std::vector<uint8_t> WriteSwingEdits(std::span<const SwingEdit> edits)
{
    std::vector<uint8_t> bytes(edits.size() * kSwingEditSize, 0);
    for (size_t i = 0; i < edits.size(); ++i) {
        StoreU16(bytes.data() + i * kSwingEditSize, edits[i].date);
        StoreU32(bytes.data() + i * kSwingEditSize + 4, edits[i].type);
    }
    return bytes;
}

void SortSwingEdits(std::vector<SwingEdit>& edits)
{
    std::stable_sort(edits.begin(), edits.end(), [](const SwingEdit& a, const SwingEdit& b) { return a.date < b.date; });
}

SwingChart ComputeSwingChart(std::span<const DayRecord> days, int32_t first, int32_t lastDate, uint32_t flags,
                             uint32_t dayChoice, std::span<const SwingEdit> edits)
{
    std::vector<SwingEdit> sorted(edits.begin(), edits.end());
    SortSwingEdits(sorted);
    return SwingWalk(days, flags, dayChoice).Run(first, lastDate, sorted);
}

} // namespace qv
