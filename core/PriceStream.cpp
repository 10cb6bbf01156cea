// Decoding of the compressed daily price stream.
#include "core/PriceStream.h"

#include "core/Memory.h"
#include "core/PackedDate.h"
#include "platform/ByteOrder.h"

#include <cstddef>

namespace qv {

namespace {

using Cursor = WeekdayCursor;

constexpr uint32_t kFirstRecords = 1500;
constexpr uint32_t kGrowRecords = 750;

const double kPowersOfTen[16] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

bool IsDayWithoutData(uint8_t b) { return b == kStreamDayA || b == kStreamDayC; }
bool IsDayByte(uint8_t b) { return IsDayWithoutData(b) || b == kStreamDayF; }

// The running state of one day's decoding besides the running price and the repeat count.
struct DayState {
    float unit;
    uint8_t mode;
    uint8_t mark = 0;
    Cursor cursor;
};

// The running integer times the unit, rounded once to a float: a float product is exact-then-rounded
// whenever the integer itself is exact as a float.
constexpr int32_t kExactInFloat = 1 << 24;

inline float Price(int32_t price, float unit)
{
    if (price > -kExactInFloat && price < kExactInFloat) [[likely]]
        return float(price) * unit;
    return float(double(price) * unit);
}

void SetAllPrices(DayRecord& day, float value)
{
    day.open = day.high = day.low = day.close = value;
    day.volume = 0;
}

// Reads one value token; false (and the position at the end) when the bytes end inside it.
bool ReadValueToken(const uint8_t*& p, const uint8_t* end, int32_t& value)
{
    if (p >= end) {
        p = end;
        return false;
    }
    // Bytes are widened as they are read: a byte spilled and read back as a word stalls the load.
    const uint32_t first = *p++;
    uint32_t magnitude = first & 0x1F;
    bool more = (first & 0x80) != 0;
    while (more) {
        if (p >= end) {
            p = end;
            return false;
        }
        const uint32_t next = *p++;
        magnitude = magnitude * 128u + (next & 0x7F);
        more = (next & 0x80) != 0;
    }
    value = (first & 0x20) ? int32_t(0u - magnitude) : int32_t(magnitude);
    return true;
}

bool SkipValueToken(const uint8_t*& p, const uint8_t* end)
{
    int32_t ignored;
    return ReadValueToken(p, end, ignored);
}

// 'D' at p: the new unit. False when the bytes end inside it.
bool ReadUnit(const uint8_t*& p, const uint8_t* end, float& unit, int32_t scale)
{
    if (end - p < 5) {
        p = end;
        return false;
    }
    unit = ScaledUnit(LoadF32(p + 1), scale);
    p += 5;
    return true;
}

// 'E' at p: the mode byte. False when the bytes end inside it.
bool ReadMode(const uint8_t*& p, const uint8_t* end, uint8_t& mode)
{
    if (end - p < 2) {
        p = end;
        return false;
    }
    mode = p[1];
    p += 2;
    return true;
}

// 'B' at p: one count byte, or two when its bit 7 is set (15 bits). False when the bytes end inside it.
bool ReadRepeat(const uint8_t*& p, const uint8_t* end, int32_t& repeat)
{
    if (end - p < 2) {
        p = end;
        return false;
    }
    if ((p[1] & 0x80) == 0) {
        repeat = p[1];
        p += 2;
        return true;
    }
    if (end - p < 3) {
        p = end;
        return false;
    }
    repeat = (p[1] & 0x7F) * 256 + p[2];
    p += 3;
    return true;
}

int32_t AddDelta(int32_t price, int32_t delta) { return int32_t(uint32_t(price) + uint32_t(delta)); }

float VolumeFromWord(uint16_t word, int32_t scale, float unit)
{
    double divisor = double(scale) * unit;
    if (divisor < 1e-07)
        divisor = 1.0;
    return float((word & 0x0FFF) * kPowersOfTen[word >> 12] / divisor);
}

// Adds the next value token to the running price when the mask bit is set; the price in force.
inline bool MaskedPrice(const uint8_t*& p, const uint8_t* end, uint32_t mask, uint32_t bit, int32_t& price,
                        float unit, float& out)
{
    if (mask & bit) {
        int32_t delta;
        if (!ReadValueToken(p, end, delta))
            return false;
        price = AddDelta(price, delta);
    }
    out = Price(price, unit);
    return true;
}

// Mask byte at p: the tokens of the prices whose bits are set, then the volume word.
bool DecodeMaskedDay(const uint8_t*& p, const uint8_t* end, DayRecord& day, DayState& s, int32_t& price,
                     int32_t scale)
{
    uint8_t mask = *p++;
    float unit = s.unit;
    if (!MaskedPrice(p, end, mask, 1, price, unit, day.open) || !MaskedPrice(p, end, mask, 2, price, unit, day.high) ||
        !MaskedPrice(p, end, mask, 4, price, unit, day.low) || !MaskedPrice(p, end, mask, 8, price, unit, day.close))
        return false;
    day.volume = 0;
    if (mask & 0x10) {
        if (end - p < 2) {
            p = end;
            return false;
        }
        day.volume = VolumeFromWord(LoadU16(p), scale, unit);
        p += 2;
    }
    return true;
}

// Full days (mode 1). False when the stream ends before the day.
bool DecodeFullDay(const uint8_t*& p, const uint8_t* end, DayRecord& day, DayState& s, int32_t& price,
                   int32_t& repeat, int32_t scale)
{
    day.volume = 0;
    for (;;) {
        if (repeat == 0) {
            while (p < end) {
                uint8_t b = *p;
                if (b == kStreamUnit) {
                    if (!ReadUnit(p, end, s.unit, scale))
                        return false;
                } else if (b == kStreamMode) {
                    uint8_t mode;
                    if (!ReadMode(p, end, mode))
                        return false;
                    s.mode = mode & kDayModeBits;
                } else if (b == kStreamRepeat) {
                    if (!ReadRepeat(p, end, repeat))
                        return false;
                    // A zero count repeats nothing: the next entry is the day.
                    if (repeat > 0)
                        break;
                } else {
                    break;
                }
            }
        }
        if (repeat > 0) {
            --repeat;
            SetAllPrices(day, Price(price, s.unit));
            return true;
        }
        if (p >= end || *p == kStreamEnd)
            return false;
        uint8_t b = *p;
        if (IsDayWithoutData(b)) {
            ++p;
            s.cursor = NextWeekdayCursor(s.cursor);
            continue;
        }
        if (b == kStreamDayF) {
            ++p;
            s.mark = kDayMarkF;
            SetAllPrices(day, Price(price, s.unit));
            return true;
        }
        if (b <= 0x1F)
            return DecodeMaskedDay(p, end, day, s, price, scale);
        // Any other byte ends the stream for good.
        p = end;
        return false;
    }
}

// Close-only days (mode 0). False when the stream ends before the day.
bool DecodeCloseDay(const uint8_t*& p, const uint8_t* end, DayRecord& day, DayState& s, int32_t& price,
                    int32_t& repeat, int32_t scale, uint32_t flags)
{
    for (;;) {
        while (repeat == 0) {
            if (p >= end || *p == kStreamEnd)
                return false;
            uint8_t b = *p;
            if (b == kStreamUnit) {
                if (!ReadUnit(p, end, s.unit, scale))
                    return false;
            } else if (b == kStreamMode) {
                uint8_t mode;
                if (!ReadMode(p, end, mode))
                    return false;
                if (mode == 1) {
                    s.mode = 1;
                    return DecodeFullDay(p, end, day, s, price, repeat, scale);
                }
            } else if (b == kStreamRepeat) {
                if (!ReadRepeat(p, end, repeat))
                    return false;
            } else {
                break;
            }
        }
        // A marked day falls inside a running repeat, which resumes after it.
        if (p < end && *p == kStreamDayF) {
            ++p;
            s.mark = kDayMarkF;
            SetAllPrices(day, Price(price, s.unit));
            return true;
        }
        int32_t delta = 0;
        if (repeat > 0) {
            --repeat;
        } else if (IsDayWithoutData(*p)) {
            ++p;
            s.cursor = NextWeekdayCursor(s.cursor);
            continue;
        } else if (!ReadValueToken(p, end, delta)) {
            return false;
        }
        price = AddDelta(price, delta);
        if (price <= 0 && (flags & kKeepNonPositivePrices) == 0)
            price = 1;
        SetAllPrices(day, Price(price, s.unit));
        return true;
    }
}

uint16_t CorrectionDate(const uint8_t* record) { return LoadU16(record + offsetof(DayRecord, date)); }

void ApplyCorrection(DayRecord& day, uint16_t date, CorrectionCursor* corrections)
{
    if (corrections == nullptr || corrections->empty())
        return;
    CorrectionCursor& c = *corrections;
    while (!c.empty() && CorrectionDate(c.next) != 0 && CorrectionDate(c.next) < date)
        c.next += kDayRecordSize;
    if (!c.empty() && CorrectionDate(c.next) != 0 && CorrectionDate(c.next) == date)
        day = LoadDayRecord(c.next);
}

// NextWeekdayCursor with the common case worked here: a known weekday counter and a step that stays
// inside the first 28 days of the month.
Cursor FollowingWeekday(Cursor c)
{
    int step = c.weekday == 5 ? 3 : 1;
    if (c.weekday != 0 && DayField(c.date) + step < 28)
        return Cursor{uint16_t(c.date + step), uint8_t(c.weekday == 5 ? 1 : c.weekday + 1)};
    return NextWeekdayCursor(c);
}

void FinishDay(DayRecord* day, const DayState& s)
{
    day->unit = s.unit;
    day->modeMarks = uint8_t(s.mode | s.mark);
    day->date = s.cursor.date;
    day->weekday = s.cursor.weekday;
    DayRecord& next = day[1];
    next.unit = s.unit;
    next.modeMarks = s.mode;
    Cursor following = FollowingWeekday(s.cursor);
    next.date = following.date;
    next.weekday = following.weekday;
}

void EndOfStream(DayRecord* day)
{
    day->date = 0;
    day->weekday = 0;
}

} // namespace

float StartingUnit(int32_t scale)
{
    if (scale > 0)
        return 1.0f / float(scale);
    if (scale < 0)
        return float(-double(scale));
    return 1.0f;
}

float ScaledUnit(float stored, int32_t scale)
{
    if (scale > 0)
        return stored / float(scale);
    if (scale < 0)
        return stored * float(-double(scale));
    return stored;
}

const uint8_t* DecodePriceDay(const uint8_t* p, const uint8_t* end, DayRecord* day, int32_t& price,
                              int32_t& repeat, int32_t scale, uint32_t flags, CorrectionCursor* corrections)
{
    DayState s{day->unit, uint8_t(day->modeMarks & kDayModeBits), 0, Cursor{day->date, day->weekday}};
    bool decoded = true;
    if (s.mode == 0)
        decoded = DecodeCloseDay(p, end, *day, s, price, repeat, scale, flags);
    else if (s.mode == 1)
        decoded = DecodeFullDay(p, end, *day, s, price, repeat, scale);
    if (!decoded) {
        EndOfStream(day);
        return p;
    }
    ApplyCorrection(*day, s.cursor.date, corrections);
    FinishDay(day, s);
    return p;
}

const uint8_t* DecodePriceMarker(const uint8_t* p, const uint8_t* end, DayRecord* day, const DayRecord* previous,
                                 int32_t& price, int32_t& repeat, int32_t scale, uint32_t flags,
                                 CorrectionCursor* corrections)
{
    // A day byte is the day only where DecodePriceDay would take it as the day: while a repeat runs
    // that is an 'F' in mode 0 alone, so both decoders put every day on the same date.
    uint8_t mode = day->modeMarks & kDayModeBits;
    bool takesDayByte = repeat == 0 || (mode == 0 && p < end && *p == kStreamDayF);
    if (p >= end || !IsDayByte(*p) || !takesDayByte || mode > 1)
        return DecodePriceDay(p, end, day, price, repeat, scale, flags, corrections);
    DayState s{day->unit, uint8_t(day->modeMarks & kDayModeBits), 0, Cursor{day->date, day->weekday}};
    s.mark = *p == kStreamDayA ? kDayMarkA : *p == kStreamDayC ? kDayMarkC : kDayMarkF;
    SetAllPrices(*day, previous ? previous->close : 0.0f);
    FinishDay(day, s);
    return p + 1;
}

int32_t ReadStreamToken(const uint8_t*& p, const uint8_t* end, int32_t& repeat)
{
    if (repeat > 0) {
        --repeat;
        return 0;
    }
    if (p >= end)
        return 0;
    if (IsDayByte(*p)) {
        ++p;
        return kMarkedDayToken;
    }
    int32_t value = 0;
    return ReadValueToken(p, end, value) ? value : 0;
}

int32_t ReadStreamTokenAlone(const uint8_t*& p, const uint8_t* end)
{
    int32_t repeat = 0;
    return ReadStreamToken(p, end, repeat);
}

bool SkipStreamToken(const uint8_t*& p, const uint8_t* end, int32_t& repeat)
{
    if (repeat > 0) {
        --repeat;
        return false;
    }
    if (p >= end)
        return false;
    if (IsDayByte(*p))
        return IsDayWithoutData(*p++);
    SkipValueToken(p, end);
    return false;
}

namespace {

const uint8_t* SkipFullEntry(const uint8_t* p, const uint8_t* end, uint8_t& mode, int32_t& repeat, bool& isDay)
{
    isDay = false;
    for (;;) {
        if (repeat > 0) {
            --repeat;
            isDay = true;
            return p;
        }
        if (p >= end || *p == kStreamEnd)
            return p;
        uint8_t b = *p;
        float unit = 0;
        if (b == kStreamUnit) {
            if (!ReadUnit(p, end, unit, 1))
                return p;
        } else if (b == kStreamMode) {
            uint8_t next;
            if (!ReadMode(p, end, next))
                return p;
            mode = next & kDayModeBits;
        } else if (b == kStreamRepeat) {
            if (!ReadRepeat(p, end, repeat))
                return p;
        } else if (IsDayWithoutData(b)) {
            ++p;
        } else if (b == kStreamDayF) {
            isDay = true;
            return p + 1;
        } else if (b <= 0x1F) {
            ++p;
            for (int i = 0; i < 4; ++i) {
                if ((b & (1 << i)) && !SkipValueToken(p, end))
                    return p;
            }
            if (b & 0x10) {
                if (end - p < 2)
                    return end;
                p += 2;
            }
            isDay = true;
            return p;
        } else {
            return end;
        }
    }
}

} // namespace

const uint8_t* SkipPriceEntry(const uint8_t* p, const uint8_t* end, uint8_t& mode, int32_t& repeat, bool& isDay)
{
    isDay = false;
    if (mode == 1)
        return SkipFullEntry(p, end, mode, repeat, isDay);
    if (mode != 0)
        return p;
    for (;;) {
        while (repeat == 0) {
            if (p >= end || *p == kStreamEnd)
                return p;
            uint8_t b = *p;
            float unit = 0;
            uint8_t next = 0;
            if (b == kStreamUnit) {
                if (!ReadUnit(p, end, unit, 1))
                    return p;
            } else if (b == kStreamMode) {
                if (!ReadMode(p, end, next))
                    return p;
                if (next == 1) {
                    mode = 1;
                    return SkipFullEntry(p, end, mode, repeat, isDay);
                }
            } else if (b == kStreamRepeat) {
                if (!ReadRepeat(p, end, repeat))
                    return p;
            } else {
                break;
            }
        }
        if (p < end && *p == kStreamDayF) {
            isDay = true;
            return p + 1;
        }
        if (repeat > 0) {
            --repeat;
            isDay = true;
            return p;
        }
        if (IsDayWithoutData(*p)) {
            ++p;
            continue;
        }
        isDay = SkipValueToken(p, end);
        return p;
    }
}

namespace {

// The weekday after `date`, as NextWeekdayCursor steps, on scalars that stay in registers; worked
// here while the step stays inside the month.
inline void StepWeekday(uint16_t& date, uint8_t& weekday)
{
    const int step = weekday == 5 ? 3 : 1;
    const int day0 = DayField(date) + step;
    if (weekday != 0 && (day0 < 28 || day0 < DaysInMonth(MonthField(date), YearField(date)))) {
        date = uint16_t(date + step);
        weekday = uint8_t(weekday == 5 ? 1 : weekday + 1);
        return;
    }
    const Cursor next = NextWeekdayCursor(Cursor{date, weekday});
    date = next.date;
    weekday = next.weekday;
}

// What the common days of a run share: the unit, the date cursor and the running price, read from
// the first day's primed fields and written back (with the next day primed) once the run ends.
struct CommonRun {
    const float unit;
    uint16_t date;
    uint8_t weekday;
    const uint8_t mode;
    int32_t price;

    CommonRun(const DayRecord& first, int32_t running)
        : unit(first.unit), date(first.date), weekday(first.weekday), mode(first.modeMarks & kDayModeBits),
          price(running)
    {
    }

    // A further day may start: room for it, a date that is neither 0 (the end's date, which the
    // general decoder gives) nor past the last one wanted.
    bool open(uint32_t n, uint32_t room, uint16_t lastDate) const { return n < room && date != 0 && date <= lastDate; }

    // Writes the day's own fields and steps the cursor; false when the next date wraps past the last
    // representable year, which ends the run after this day.
    bool finish(DayRecord& day)
    {
        prime(day);
        const uint16_t was = date;
        StepWeekday(date, weekday);
        return date > was;
    }

    void prime(DayRecord& next) const
    {
        next.unit = unit;
        next.modeMarks = mode;
        next.date = date;
        next.weekday = weekday;
    }

    // Hands the stream back to the general decoder after n days: the day after the last one decoded
    // is primed, and the position and running price are the run's. Returns n.
    uint32_t handBack(uint32_t n, DayRecord* day, const uint8_t*& p, const uint8_t* q, int32_t& running) const
    {
        if (n > 0) {
            prime(day[n]);
            p = q;
            running = price;
        }
        return n;
    }
};

// A value token of at most three bytes, read without looking for the end of the bytes: the caller
// leaves room for the longest (ReadValueToken reads any other).
struct ShortToken {
    int32_t value;
    uint32_t length;
    uint32_t first; // the first byte
    bool tooLong;
};

inline ShortToken ReadShortToken(const uint8_t* r)
{
    // One load for the three bytes (and one after them): GCC may spill a byte read alone as a byte
    // and read it back as a word, which stalls the load on the store.
    const uint32_t bytes = LoadU32(r);
    const uint32_t b0 = bytes & 0xFF, b1 = (bytes >> 8) & 0xFF, b2 = (bytes >> 16) & 0xFF;
    const uint32_t one = b0 & 0x1F;
    const uint32_t two = one * 128u + (b1 & 0x7F);
    const uint32_t three = two * 128u + (b2 & 0x7F);
    const bool more0 = (b0 & 0x80) != 0, more1 = (b1 & 0x80) != 0;
    const uint32_t magnitude = !more0 ? one : !more1 ? two : three;
    ShortToken t;
    t.first = b0;
    t.length = !more0 ? 1 : !more1 ? 2 : 3;
    t.tooLong = more0 && more1 && (b2 & 0x80) != 0;
    t.value = (b0 & 0x20) ? int32_t(0u - magnitude) : int32_t(magnitude);
    return t;
}

// The most bytes a full day read by short tokens can reach: the mask, four three-byte tokens and
// the volume word (the fourth token's four-byte load ends inside them).
constexpr ptrdiff_t kLongestShortDay = 1 + 4 * 3 + 2;

// The common full days from `day` on: no repeat running, a mask byte at p, no corrections, at most
// `room` days and none dated after `lastDate`. Each is decoded from the primed fields exactly as
// DecodePriceDay decodes it, but only a whole day is written: the run stops before any other day
// (or one the bytes end inside), leaving it to the general decoder, and after a day whose next date
// wraps. The day after the last one decoded is primed. Returns the days decoded.
uint32_t DecodeCommonFullDays(const uint8_t*& p, const uint8_t* end, DayRecord* day, uint32_t room, int32_t& price,
                              int32_t scale, uint16_t lastDate)
{
    CommonRun run(*day, price);
    double divisor = double(scale) * run.unit; // as VolumeFromWord takes it
    if (divisor < 1e-07)
        divisor = 1.0;
    const uint8_t* q = p;
    uint32_t n = 0;
    while (run.open(n, room, lastDate) && q < end && *q <= 0x1F) {
        const uint8_t* r = q;
        const uint32_t mask = *r++; // widened: see ReadValueToken
        int32_t running = run.price;
        float open, high, low, close, volume = 0;
        if (end - q >= kLongestShortDay) {
            // Far from the end: every token and the volume word are read whether the mask wants them
            // or not, and kept or dropped without a branch (which prices a day changes is no pattern
            // a branch predictor learns). A token of more than three bytes takes the path below.
            // One test for the day: a token too long, or a price whose integer a float does not
            // hold exactly (see Price), sends it to the checked path.
            bool tooLong = false;
            uint32_t outside = 0;
            int32_t prices[4];
            for (int k = 0; k < 4; ++k) {
                const ShortToken token = ReadShortToken(r);
                const uint32_t wanted = 0u - ((mask >> k) & 1u);
                tooLong |= token.tooLong & (wanted != 0);
                running = AddDelta(running, int32_t(uint32_t(token.value) & wanted));
                r += token.length & wanted;
                prices[k] = running;
                outside |= uint32_t(running) + uint32_t(kExactInFloat - 1) > uint32_t(2 * kExactInFloat - 2) ? 1u : 0u;
            }
            if (!tooLong && !outside) {
                // This path stores its day itself: one store shared with the checked path below
                // halved the run's speed (the compiler then kept the prices in memory).
                open = float(prices[0]) * run.unit;
                high = float(prices[1]) * run.unit;
                low = float(prices[2]) * run.unit;
                close = float(prices[3]) * run.unit;
                const uint16_t word = LoadU16(r);
                const float given = float((word & 0x0FFF) * kPowersOfTen[word >> 12] / divisor);
                const bool hasVolume = (mask & 0x10) != 0;
                volume = hasVolume ? given : 0.0f;
                r += hasVolume ? 2 : 0;
                DayRecord& d = day[n++];
                d.open = open;
                d.high = high;
                d.low = low;
                d.close = close;
                d.volume = volume;
                q = r;
                run.price = running;
                if (!run.finish(d))
                    break;
                continue;
            }
            r = q + 1;
            running = run.price;
        }
        if (!MaskedPrice(r, end, mask, 1, running, run.unit, open) ||
            !MaskedPrice(r, end, mask, 2, running, run.unit, high) ||
            !MaskedPrice(r, end, mask, 4, running, run.unit, low) ||
            !MaskedPrice(r, end, mask, 8, running, run.unit, close))
            break;
        if (mask & 0x10) {
            if (end - r < 2)
                break;
            const uint16_t word = LoadU16(r);
            volume = float((word & 0x0FFF) * kPowersOfTen[word >> 12] / divisor);
            r += 2;
        }
        DayRecord& d = day[n++];
        d.open = open;
        d.high = high;
        d.low = low;
        d.close = close;
        d.volume = volume;
        q = r;
        run.price = running;
        if (!run.finish(d))
            break;
    }
    return run.handBack(n, day, p, q, price);
}

// The common close-only days from `day` on: no repeat running, a value token at p, no corrections;
// on the same terms as DecodeCommonFullDays.
uint32_t DecodeCommonCloseDays(const uint8_t*& p, const uint8_t* end, DayRecord* day, uint32_t room, int32_t& price,
                               uint32_t flags, uint16_t lastDate)
{
    CommonRun run(*day, price);
    const bool keepNonPositive = (flags & kKeepNonPositivePrices) != 0;
    const uint8_t* q = p;
    uint32_t n = 0;
    while (run.open(n, room, lastDate) && q < end) {
        const uint8_t* r = q;
        int32_t delta;
        if (end - q >= 4) {
            // The token's bytes in one load (see ReadShortToken); a longer token is read below.
            const ShortToken token = ReadShortToken(q);
            if (token.first == kStreamEnd || (token.first >= kStreamDayA && token.first <= kStreamDayF))
                break;
            delta = token.value;
            r += token.length;
            if (token.tooLong) {
                r = q;
                if (!ReadValueToken(r, end, delta))
                    break;
            }
        } else {
            const uint32_t b = *q;
            if (b == kStreamEnd || (b >= kStreamDayA && b <= kStreamDayF))
                break;
            if (!ReadValueToken(r, end, delta))
                break;
        }
        int32_t running = AddDelta(run.price, delta);
        if (running <= 0 && !keepNonPositive)
            running = 1;
        DayRecord& d = day[n++];
        SetAllPrices(d, Price(running, run.unit));
        q = r;
        run.price = running;
        if (!run.finish(d))
            break;
    }
    return run.handBack(n, day, p, q, price);
}

// The common days of either mode from `day` on (none with a repeat running).
uint32_t DecodeCommonDays(const uint8_t*& p, const uint8_t* end, DayRecord* day, uint32_t room, int32_t& price,
                          int32_t repeat, int32_t scale, uint32_t flags, uint16_t lastDate)
{
    if (repeat != 0)
        return 0;
    const uint8_t mode = day->modeMarks & kDayModeBits;
    if (mode == 1)
        return DecodeCommonFullDays(p, end, day, room, price, scale, lastDate);
    if (mode == 0)
        return DecodeCommonCloseDays(p, end, day, room, price, flags, lastDate);
    return 0;
}

} // namespace

uint32_t DecodeCommonDayRun(const uint8_t*& p, const uint8_t* end, DayRecord* day, uint32_t room, int32_t& price,
                            int32_t repeat, int32_t scale, uint32_t flags)
{
    // A day dated 0 is left to the general decoder, which decodes it alike.
    return DecodeCommonDays(p, end, day, room, price, repeat, scale, flags, 0xFFFF);
}

namespace {

// The whole-history loop; `common` lets the days of the common forms skip the general decoder.
template <bool common>
int32_t DecodeHistory(const uint8_t* sub, const uint8_t* subEnd, DayRecord*& array, uint32_t flags, bool raw,
                      CorrectionCursor corrections)
{
    ProFree(array);
    array = nullptr;
    auto* days = static_cast<DayRecord*>(ProCalloc(kFirstRecords, sizeof(DayRecord), "Price history"));
    if (days == nullptr)
        return 0;
    uint32_t capacity = kFirstRecords;
    if (subEnd - sub < int(kSubRecordStream)) {
        array = days;
        return 0;
    }
    int32_t scale = LoadI16(sub + kSubRecordScale);
    uint16_t lastDate = LoadU16(sub + kSubRecordLastDate);
    days[0].unit = StartingUnit(scale);
    days[0].date = LoadU16(sub + kSubRecordFirstDate);
    const uint8_t* p = sub + kSubRecordStream;
    CorrectionCursor* cursorArg = corrections.empty() ? nullptr : &corrections;
    int32_t price = 0, repeat = 0, count = 0;
    uint32_t i = 0;
    while (!AtStreamEnd(p, subEnd, repeat) && days[i].date <= lastDate) {
        if (capacity - i <= 2) {
            auto* grown = static_cast<DayRecord*>(ProRealloc(days, (capacity + kGrowRecords) * sizeof(DayRecord)));
            if (grown == nullptr)
                break;
            days = grown;
            for (uint32_t k = capacity; k < capacity + kGrowRecords; ++k)
                days[k] = DayRecord{};
            capacity += kGrowRecords;
        }
        DayRecord* day = days + i;
        if constexpr (common) {
            // Neither a correction nor a byte DecodePriceMarker keeps as a marked day can stand at a
            // common day, so both decoders take it alike. A run of them ends at the room left before
            // the array grows, and after a day whose next date wraps (checked below as for one day).
            if (cursorArg == nullptr) {
                if (uint32_t n = DecodeCommonDays(p, subEnd, day, capacity - 2 - i, price, repeat, scale, flags, lastDate)) {
                    count += int32_t(n);
                    i += n;
                    if (days[i].date <= days[i - 1].date)
                        break;
                    continue;
                }
            }
        }
        p = raw ? DecodePriceDay(p, subEnd, day, price, repeat, scale, flags, cursorArg)
                : DecodePriceMarker(p, subEnd, day, i ? day - 1 : nullptr, price, repeat, scale, flags, cursorArg);
        if (day->date == 0)
            break;
        ++count;
        ++i;
        // Dates past the last representable year wrap to small values: nothing can follow.
        if (days[i].date <= day->date)
            break;
    }
    uint32_t kept = i;
    if (!(raw && (flags & kKeepNonPositivePrices))) {
        while (kept > 1 && days[kept - 1].close == 0)
            --kept;
    }
    days[kept].date = 0;
    array = days;
    return count;
}

} // namespace

int32_t DecodeSubRecordHistory(const uint8_t* sub, const uint8_t* subEnd, DayRecord*& array, uint32_t flags,
                               bool raw, CorrectionCursor corrections)
{
    return DecodeHistory<true>(sub, subEnd, array, flags, raw, corrections);
}

int32_t DecodeSubRecordHistoryDayByDay(const uint8_t* sub, const uint8_t* subEnd, DayRecord*& array,
                                       uint32_t flags, bool raw, CorrectionCursor corrections)
{
    return DecodeHistory<false>(sub, subEnd, array, flags, raw, corrections);
}

} // namespace qv
