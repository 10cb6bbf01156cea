// The feed record parser: directory first, then per share a run of items each opened by a 2-bit
// code, 0 ending the share.
#include "realtime/feed/FeedRecord.h"

#include "platform/ByteOrder.h"
#include "realtime/feed/FeedBits.h"

namespace qv {
namespace {

// The coded values of one share run against registers that start at 0 in every record, so that a
// record lost on the way never spoils the next.
struct Registers {
    int32_t first = 0, bid = 0, trade = 0, offer = 0, last = 0;
    int32_t kind0[3] = {};
    bool kind0Set = false;
};

int32_t Announced(FeedBitStream& s)
{
    int32_t zero = 0;
    int cls = 0;
    return ReadDeltaValue(s, zero, cls, false);
}

void ReadPriceItem(FeedBitStream& s, Registers& r, FeedItem& item)
{
    int cls = 0;
    uint32_t bits = 0;
    item.first = ReadDeltaValue(s, r.first, cls, false);
    item.bid = ReadDeltaValue(s, r.bid, cls, true);
    if (item.code == 1) {
        item.trade = ReadDeltaValue(s, r.trade, cls, true);
        item.direction = ReadFeedDirection(s, cls);
        item.volume = ReadFeedVolume(s, cls, bits);
        item.volume *= cls < 3 ? kFeedVolumeMultipliers[cls] : 0;
        item.secondVolume = ReadFeedVolume(s, cls, bits);
        item.secondVolume *= cls < 3 ? kFeedVolumeMultipliers[cls] : 0;
    }
    item.offer = ReadDeltaValue(s, r.offer, cls, true);
    item.last = ReadDeltaValue(s, r.last, cls, false);
    if (s.ReadBits(1)) {
        if ((item.hasOpen = s.ReadBits(1)))
            item.open = Announced(s);
        if ((item.hasClose = s.ReadBits(1)))
            item.close = Announced(s);
    }
}

void ReadRegisterItem(FeedBitStream& s, Registers& r, FeedItem& item)
{
    int cls = 0;
    uint32_t bits = 0;
    int32_t& reg = r.kind0[item.code - 1];
    int32_t price = ReadDeltaValue(s, reg, cls, true);
    item.volume = ReadFeedVolume(s, cls, bits);
    item.volume *= cls < 3 ? kFeedVolumeMultipliers[cls] : 0;
    if (price && !r.kind0Set) {
        r.kind0Set = true;
        r.kind0[0] = r.kind0[1] = r.kind0[2] = price;
    }
    for (int i = 0; i < 3; ++i)
        item.registers[i] = r.kind0[i];
}

} // namespace

FeedParse ParseFeedRecord(std::span<const uint8_t> bytes, FeedRecord& out)
{
    if (bytes.size() < kFeedRecordHeaderBytes + 1)
        return FeedParse::Short;
    out.source = bytes[0];
    out.kind = bytes[1] & 0x0F;
    out.time20 = LoadU32(bytes.data() + 6);
    out.day = LoadU16(bytes.data() + 10);
    out.shares.clear();

    std::span<const uint8_t> body = bytes.subspan(kFeedRecordHeaderBytes);
    std::vector<uint16_t> directory;
    size_t dirBytes = 0;
    if (!ReadFeedShareDirectory(body, directory, dirBytes))
        return FeedParse::Short;
    FeedBitStream s(body.subspan(dirBytes));
    out.shares.reserve(directory.size());
    for (uint16_t share : directory) {
        FeedShareItems& items = out.shares.emplace_back();
        items.share = share;
        Registers r;
        for (;;) {
            uint8_t code = uint8_t(s.ReadBits(2));
            if (s.overrun())
                return FeedParse::Short;
            if (code == 0)
                break;
            FeedItem& item = items.items.emplace_back();
            item.code = code;
            if (out.kind)
                ReadPriceItem(s, r, item);
            else
                ReadRegisterItem(s, r, item);
            if (s.overrun())
                return s.bitPosition() >= s.size() * 8 ? FeedParse::Short : FeedParse::Damaged;
        }
    }
    if (s.overrun())
        return FeedParse::Damaged;
    out.bytes = kFeedRecordHeaderBytes + dirBytes + s.bytesUsed();
    return FeedParse::Ok;
}

} // namespace qv
