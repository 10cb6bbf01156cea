// The compressed daily price stream of a price sub-record: day-by-day decoders, token readers and
// skippers, and whole-history decoding into arrays of day records.
//
// Every reader takes the end of the bytes that belong to the stream besides its position: reaching
// that end reads as the stream's end mark, so a damaged stream can never lead a reader past its
// sub-record.
#pragma once

#include "core/DayRecord.h"

#include <cstdint>

namespace qv {

// Stream bytes where a day's entry is expected.
constexpr uint8_t kStreamEnd = 0x20;     // ' '
constexpr uint8_t kStreamDayA = 0x41;    // 'A' day without data
constexpr uint8_t kStreamRepeat = 0x42;  // 'B' repeat count
constexpr uint8_t kStreamDayC = 0x43;    // 'C' day without data
constexpr uint8_t kStreamUnit = 0x44;    // 'D' new price unit (f32 follows)
constexpr uint8_t kStreamMode = 0x45;    // 'E' new coding mode (byte follows)
constexpr uint8_t kStreamDayF = 0x46;    // 'F' marked day

// What ReadStreamToken returns for an 'A', 'C' or 'F' byte.
constexpr int32_t kMarkedDayToken = 0x7FFFFFFF;

// Flags bits 2 and 3: negative and zero prices stay as decoded (price adjustment callers), and trailing
// zero closes are kept by raw history decoding.
constexpr uint32_t kKeepNonPositivePrices = 0x0C;

// Offsets within a price sub-record.
constexpr uint32_t kSubRecordScale = 8;
constexpr uint32_t kSubRecordFirstDate = 10;
constexpr uint32_t kSubRecordLastDate = 40;
constexpr uint32_t kSubRecordStream = 80;

// The user's corrections of one stream: stored 36-byte day records in ascending date order, ended by
// one whose date is 0 or by the end of their bytes. The cursor moves forward through them as decoding
// advances; an empty cursor means no corrections.
struct CorrectionCursor {
    const uint8_t* next = nullptr;
    const uint8_t* end = nullptr;

    bool empty() const { return next == nullptr || end - next < int(kDayRecordSize); }
};

// The unit a stream starts with, and a stored unit as the scale makes it a price unit.
float StartingUnit(int32_t scale);
float ScaledUnit(float stored, int32_t scale);

// True when no further day can be read: the end mark (a space) or the end of the bytes, with no
// repeat running.
inline bool AtStreamEnd(const uint8_t* p, const uint8_t* end, int32_t repeat)
{
    return repeat == 0 && (p >= end || *p == kStreamEnd);
}

// Decodes one day into `day`, which holds the state primed by the day before (unit, mode, date
// cursor), and primes `day[1]` for the next day. At the end of the stream the day's date and weekday
// counter become 0 and the position stays on the end mark. Returns the position after the day.
const uint8_t* DecodePriceDay(const uint8_t* p, const uint8_t* end, DayRecord* day, int32_t& price,
                              int32_t& repeat, int32_t scale, uint32_t flags, CorrectionCursor* corrections);

// DecodePriceDay without corrections for the common days alone (no repeat running, and a mask byte
// in full mode or a value token in close-only mode), on a shorter path with the same results, over up
// to `room` days in a row: the common days from day[0] on go to day[0..n-1] and day[n] is primed for
// the next; returns n, 0 with nothing changed when the first is no common day, which DecodePriceDay
// then takes. The days' other fields (those no decoder writes) are left as they were.
uint32_t DecodeCommonDayRun(const uint8_t*& p, const uint8_t* end, DayRecord* day, uint32_t room, int32_t& price,
                            int32_t repeat, int32_t scale, uint32_t flags);

// As DecodePriceDay, except that an 'A', 'C' or 'F' day is kept as a marked day at the previous day's
// close (`previous` is null for the first day, which then gets 0), without corrections. A day byte is
// taken where DecodePriceDay would take the day: with no repeat running, or an 'F' in close-only mode.
const uint8_t* DecodePriceMarker(const uint8_t* p, const uint8_t* end, DayRecord* day, const DayRecord* previous,
                                 int32_t& price, int32_t& repeat, int32_t scale, uint32_t flags,
                                 CorrectionCursor* corrections);

// One mode-0 delta: 0 while a repeat runs (lowering it), kMarkedDayToken for an 'A', 'C' or 'F' byte
// (consumed), else the value token; 0 at the end of the bytes.
int32_t ReadStreamToken(const uint8_t*& p, const uint8_t* end, int32_t& repeat);
int32_t ReadStreamTokenAlone(const uint8_t*& p, const uint8_t* end);

// Steps over one mode-0 token or day byte; true for an 'A' or 'C' day.
bool SkipStreamToken(const uint8_t*& p, const uint8_t* end, int32_t& repeat);

// Steps over one day entry of either mode without computing prices. `isDay` tells whether a day was
// stepped over (false when the stream ended first); counting the days so gives what decoding gives.
const uint8_t* SkipPriceEntry(const uint8_t* p, const uint8_t* end, uint8_t& mode, int32_t& repeat, bool& isDay);

// Decodes the whole stream of one price sub-record (`sub` to `subEnd`) into a new ProCalloc'd array
// that replaces (and frees) `array`. Returns the number of days decoded; see DecodePriceHistory.
int32_t DecodeSubRecordHistory(const uint8_t* sub, const uint8_t* subEnd, DayRecord*& array, uint32_t flags,
                               bool raw, CorrectionCursor corrections);
// The same with every day through the general day decoders: the reference the common days' shorter
// path is held to.
int32_t DecodeSubRecordHistoryDayByDay(const uint8_t* sub, const uint8_t* subEnd, DayRecord*& array,
                                       uint32_t flags, bool raw, CorrectionCursor corrections);

} // namespace qv
