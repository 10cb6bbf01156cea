// The stored tick coding of a share's day: bit-packed records behind the 144-byte summary, each
// value coded against the entry's register for it. The writer appends to an entry's tick words;
// the reader walks them from the start with registers of its own.
#pragma once

#include "realtime/store/RTDayRecord.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qv {

// Register numbers of a day entry.
enum RTRegister : int {
    kRTRegTradePrice = 0,
    kRTRegTradeVolume = 1,
    kRTRegOffer = 2,
    kRTRegBid = 3,
    kRTRegFifth = 4,
    kRTRegSixth = 5,
};

struct RTStoredTrade {
    float price = 0.0f;
    uint32_t volume = 0;
    uint32_t secondVolume = 0;
};

// Appends records to an entry's tick words (the summary's 36 words are made first when missing)
// and keeps its registers, counts and bit position.
class RTTickWriter {
public:
    explicit RTTickWriter(RTDayShareEntry& entry);

    // A record time; written only when it differs from the entry's last record time.
    void Time(uint32_t seconds, bool catchUp = false);
    // A price item: the two further prices (0: unchanged), the quote, and a trade when present.
    void PriceItem(float fifth, float offer, float sixth, float bid, const std::optional<RTStoredTrade>& trade);
    // A trade answered by a backfill request.
    void BackfillTrade(float price, uint32_t volume, uint16_t seventh);

private:
    void Bits(uint32_t value, int n);
    void Marker(uint32_t bitsInReadingOrder, int n);
    void Integer(uint32_t& reg, uint8_t& cls, uint32_t value, int widthBits);
    void Price(int reg, float value);
    void Trade(float price, uint32_t volume, uint32_t seventh);

    RTDayShareEntry& e_;
    bool pounds_;
};

// One decoded stored record.
struct RTStoredItem {
    enum Kind : uint8_t { Time, Quote, Other, Trade } kind = Time;
    uint32_t time = 0;
    float value1 = 0.0f, value2 = 0.0f;
    bool repeated = false; // a quote equal to the one before it
};

// Decodes tick words (summary included) into items in stream order. Decoding stops at the end
// marker, at a record kind it does not know or where the words run out.
std::vector<RTStoredItem> ReadRTStoredTicks(std::span<const uint32_t> words, uint32_t streamOffset, bool pounds);

// Writes an entry's records again in time order, records of one time in their stored order: a
// backfill brings records older than those the entry holds. The items read back are the same; the
// summary words stay as they are and are marked for a rebuild. The entry is no longer read from its
// day file. Needs every tick word in memory.
void SortRTEntryTicks(RTDayShareEntry& entry);

} // namespace qv
