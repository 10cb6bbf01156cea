// The feed's encoder: the reverse of the decoder's readers, leaf by leaf.
#include "devtools/lib/FeedEncoder.h"

#include "platform/ByteOrder.h"
#include "realtime/feed/FeedRecord.h"

#include <cstdlib>
#include <string>

namespace qv::dev {
namespace {

const char* CodeOf(FeedTree tree, uint8_t leaf)
{
    for (const FeedCode& c : FeedCodeTable(tree))
        if (c.leaf == leaf)
            return c.bits;
    std::abort(); // every leaf the encoder asks for is in its table
}

uint64_t WidthMax(int bits) { return bits >= 32 ? 0xFFFFFFFFull : (1ull << bits) - 1; }

void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) { out.insert(out.end(), more.begin(), more.end()); }

} // namespace

void FeedBitWriter::Bits(uint32_t value, int n)
{
    for (int i = 0; i < n; ++i, ++bits_) {
        if (bits_ % 8 == 0)
            bytes_.push_back(0);
        bytes_.back() |= uint8_t(((value >> i) & 1u) << (bits_ % 8));
    }
}

void FeedBitWriter::Code(const char* bits)
{
    for (const char* b = bits; *b; ++b)
        Bits(*b == '1', 1);
}

void FeedBitWriter::Leaf(FeedTree tree, uint8_t leaf) { Code(CodeOf(tree, leaf)); }

void WriteDeltaValue(FeedBitWriter& w, int32_t value, int32_t& previous, bool keep)
{
    if ((keep && value == previous) || (!keep && value == 0)) {
        w.Bits(0, 1);
        return;
    }
    int64_t diff = int64_t(value) - previous;
    uint64_t magnitude = uint64_t(diff < 0 ? -diff : diff);
    w.Bits(1, 1);
    w.Bits(diff < 0, 1);
    for (int m = 0; m < 4; ++m) {
        uint64_t mult = uint64_t(kFeedValueMultipliers[m]);
        if (magnitude % mult)
            continue;
        for (int i = 0; i < 8; ++i) {
            if (magnitude / mult > WidthMax(kFeedValueWidths[i]))
                continue;
            w.Leaf(FeedTree::Value, uint8_t(m << 3 | i));
            w.Bits(uint32_t(magnitude / mult), kFeedValueWidths[i]);
            previous = value;
            return;
        }
    }
    std::abort(); // differences beyond 24 bits x 1000 are not sent
}

void WriteFeedDirection(FeedBitWriter& w, int direction)
{
    if (!direction) {
        w.Bits(0, 1);
        return;
    }
    w.Bits(1, 1);
    w.Bits(direction < 0, 1);
    w.Leaf(FeedTree::Value, 0);
    w.Bits(1, kFeedValueWidths[0]);
}

void WriteFeedVolume(FeedBitWriter& w, uint32_t volume)
{
    if (!volume) {
        w.Leaf(FeedTree::VolumeClass, 3);
        return;
    }
    uint8_t cls = volume % 1000 == 0 ? 2 : volume % 100 == 0 ? 1 : 0;
    uint32_t v = volume / kFeedVolumeMultipliers[cls];
    w.Leaf(FeedTree::VolumeClass, cls);
    for (uint8_t i = 0; i < 8; ++i) {
        if (v <= WidthMax(kFeedVolumeWidths[i])) {
            w.Leaf(FeedTree::VolumeWidth, i);
            w.Bits(v, kFeedVolumeWidths[i]);
            return;
        }
    }
    std::abort();
}

void WriteFeedCount(FeedBitWriter& w, uint32_t count, int escapeWidthIndex)
{
    if (!count) {
        w.Leaf(FeedTree::CountClass, 3);
        return;
    }
    uint8_t cls = count % 1000 == 0 ? 2 : count % 100 == 0 ? 1 : 0;
    w.Leaf(FeedTree::CountClass, cls);
    uint32_t v = count / kFeedCountMultipliers[cls] - 1;
    if (v < kFeedCountEscape && escapeWidthIndex < 0) {
        w.Leaf(FeedTree::CountValue, uint8_t(v));
        return;
    }
    w.Leaf(FeedTree::CountValue, uint8_t(kFeedCountEscape));
    uint8_t i = escapeWidthIndex >= 0 ? uint8_t(escapeWidthIndex) : 0;
    while (v > WidthMax(kFeedEscapeWidths[i]))
        ++i;
    w.Leaf(FeedTree::EscapeWidth, i);
    w.Bits(v, kFeedEscapeWidths[i]);
}

std::vector<uint8_t> FeedShareDirectory(const std::vector<uint16_t>& shares)
{
    FeedBitWriter w;
    w.Bits(uint32_t(shares.size()), 12);
    uint32_t sum = 0;
    for (uint16_t share : shares) {
        uint32_t diff = uint16_t(share - 0x4000 - sum);
        uint32_t code = 0;
        while (diff > WidthMax(int(2 * code + 2)))
            ++code;
        w.Bits(code, 3);
        w.Bits(diff, int(2 * code + 2));
        sum = uint16_t(sum + diff);
    }
    std::vector<uint8_t> out = w.bytes();
    out.resize(w.bitCount() / 8 + 1, 0);
    return out;
}

std::vector<uint8_t> FeedPriceRecord(uint8_t source, PackedDate day, uint32_t seconds,
                                     const std::vector<FeedShareRecord>& shares)
{
    std::vector<uint8_t> out(kFeedRecordHeaderBytes, 0);
    out[0] = source;
    out[1] = 1;
    StoreU32(out.data() + 6, seconds * 20);
    StoreU16(out.data() + 10, day);
    std::vector<uint16_t> numbers;
    for (const FeedShareRecord& s : shares)
        numbers.push_back(s.share);
    Append(out, FeedShareDirectory(numbers));
    FeedBitWriter w;
    for (const FeedShareRecord& s : shares) {
        int32_t first = 0, bid = 0, trade = 0, offer = 0, last = 0;
        for (const FeedPriceItem& item : s.items) {
            w.Bits(item.trade ? 1 : 2, 2);
            WriteDeltaValue(w, 0, first, false);
            WriteDeltaValue(w, item.bid, bid, true);
            if (item.trade) {
                WriteDeltaValue(w, *item.trade, trade, true);
                WriteFeedDirection(w, item.direction);
                WriteFeedVolume(w, item.volume);
                WriteFeedVolume(w, 0);
            }
            WriteDeltaValue(w, item.offer, offer, true);
            WriteDeltaValue(w, 0, last, false);
            bool announced = item.open || item.close;
            w.Bits(announced, 1);
            if (announced) {
                int32_t zero = 0;
                w.Bits(item.open.has_value(), 1);
                if (item.open)
                    WriteDeltaValue(w, *item.open, zero, false);
                zero = 0;
                w.Bits(item.close.has_value(), 1);
                if (item.close)
                    WriteDeltaValue(w, *item.close, zero, false);
            }
        }
        w.Bits(0, 2);
    }
    Append(out, w.bytes());
    return out;
}

std::vector<uint8_t> FeedCatchUpBlock(uint32_t blockTime20, const std::vector<std::vector<uint8_t>>& records,
                                      uint32_t lacking)
{
    std::vector<uint8_t> out(kFeedBlockHeaderBytes, 0);
    StoreU32(out.data(), lacking);
    StoreU32(out.data() + 4, blockTime20);
    StoreU16(out.data() + 8, uint16_t(records.size()));
    for (const auto& r : records)
        Append(out, r);
    return out;
}

std::vector<uint8_t> FeedInstrumentDefinition(uint32_t key, const std::string& shortName, const std::string& longName,
                                              uint16_t sequence, uint8_t priceScale, uint8_t exchange,
                                              uint8_t marketType)
{
    std::vector<uint8_t> out(9, 0);
    StoreU32(out.data(), key);
    out[8] = uint8_t(shortName.size());
    out.insert(out.end(), shortName.begin(), shortName.end());
    uint8_t tail[8] = {};
    StoreU16(tail, sequence);
    tail[2] = priceScale;
    tail[3] = exchange;
    tail[4] = marketType;
    tail[7] = uint8_t(longName.size());
    out.insert(out.end(), tail, tail + 8);
    out.insert(out.end(), longName.begin(), longName.end());
    return out;
}

namespace {

constexpr int kItemWidths[8] = {20, 16, 13, 11, 9, 7, 4, 1};

// A magnitude in hundredths as scale (0.01 x 10^n), width index and value: the finest scale whose
// value fits 20 bits (rounded there), then the narrowest width that holds it.
void WriteItemValue(FeedBitWriter& w, uint64_t hundredths)
{
    int scale = 0;
    while (scale < 7 && hundredths > 0xFFFFF) {
        hundredths = (hundredths + 5) / 10;
        ++scale;
    }
    int width = 0;
    while (width < 7 && hundredths <= WidthMax(kItemWidths[width + 1]))
        ++width;
    w.Bits(uint32_t(scale), 3);
    w.Bits(uint32_t(width), 3);
    w.Bits(uint32_t(hundredths), kItemWidths[width]);
}

} // namespace

std::vector<uint8_t> FeedBackfillItem(int kind, uint16_t share, uint32_t seconds, int64_t first, int64_t second)
{
    FeedBitWriter w;
    w.Bits(share, 20);
    w.Bits(0, 1); // the record's day
    w.Bits(seconds, 17);
    w.Bits(0, kind == 2 ? 6 : kind == 1 ? 2 : 1);
    WriteItemValue(w, uint64_t(std::llabs(first)));
    if (kind == 1) {
        int64_t diff = second - first;
        w.Bits(diff < 0, 1);
        WriteItemValue(w, uint64_t(std::llabs(diff)));
    } else if (kind == 2) {
        WriteItemValue(w, uint64_t(std::llabs(second)) * 100); // a volume, in whole units
    }
    w.Bits(0, 1);
    std::vector<uint8_t> out{uint8_t(kind << 5 | int(w.bytes().size()))};
    Append(out, w.bytes());
    return out;
}

std::vector<uint8_t> FeedBackfillRecord(PackedDate day, const std::vector<std::vector<uint8_t>>& items)
{
    std::vector<uint8_t> out(8, 0);
    for (const auto& i : items)
        Append(out, i);
    StoreU16(out.data(), uint16_t(out.size()));
    StoreU16(out.data() + 2, uint16_t(items.size()));
    StoreU16(out.data() + 6, day);
    return out;
}

} // namespace qv::dev
