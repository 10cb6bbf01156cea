// Record streams: each stored record is head, text, items and sub-records; in memory it gains 20
// spare bytes behind its head and 64 bytes of statistics room behind every sub-record head, and
// its length word becomes a u16 with the id behind it, whatever the stored length's width.
#include "core/RecordStreamReader.h"

#include "core/DatabaseSource.h"
#include "core/RecordAccess.h"
#include "platform/ByteOrder.h"

#include <cstring>

namespace qv {
namespace {

constexpr uint32_t kStoredHeadSize = 10;
constexpr size_t kLargestRecord = 0xFFFF;

// Reads a stream in one of two ways: into a block (read) or only through its lengths (measure).
class StreamWalk {
public:
    StreamWalk(DatabaseSource& source, bool oneByteLengths, uint8_t* block, size_t limit)
        : source_(source), oneByteLengths_(oneByteLengths), block_(block), limit_(limit)
    {
    }

    // Reads one record to block offset `at`: its in-memory length and sub-record count, or a
    // length of 0 for a stored record length of 0 (the end of the stream).
    bool record(size_t at, size_t& length, uint32_t& subRecords);

private:
    // n stored bytes into the block at an offset, or skipped when measuring.
    bool take(size_t at, size_t n)
    {
        if (!block_)
            return source_.skip(n);
        return at <= limit_ && n <= limit_ - at && source_.read(block_ + at, n);
    }
    bool put(size_t at, const void* bytes, size_t n)
    {
        if (block_ && (at > limit_ || n > limit_ - at))
            return false;
        if (block_)
            std::memcpy(block_ + at, bytes, n);
        return true;
    }

    DatabaseSource& source_;
    bool oneByteLengths_;
    uint8_t* block_;
    size_t limit_; // where the block's end mark begins
};

bool StreamWalk::record(size_t at, size_t& length, uint32_t& subRecords)
{
    uint8_t head[kStoredHeadSize];
    if (!source_.read(head, sizeof head))
        return false;
    uint32_t stored = oneByteLengths_ ? head[0] : LoadU16(head);
    length = 0;
    subRecords = 0;
    if (stored == 0)
        return true;
    uint32_t used = kStoredHeadSize;
    auto consume = [&](uint32_t n) {
        if (n > stored - used)
            return false;
        used += n;
        return true;
    };

    uint8_t textLength = 0;
    uint8_t itemCount = 0;
    if (!consume(1) || !source_.read(&textLength, 1) || !consume(textLength) ||
        !take(at + RecordLayout::Text, textLength) || !consume(1) || !source_.read(&itemCount, 1))
        return false;
    size_t itemsAt = RecordLayout::Text + textLength + 1;
    uint32_t itemBytes = uint32_t(itemCount) * RecordLayout::ItemSize;
    if (!consume(itemBytes) || !take(at + itemsAt, itemBytes))
        return false;

    size_t firstSub = itemsAt + itemBytes;
    size_t size = firstSub;
    for (;;) {
        uint8_t subHead[SubRecordLayout::HeadSize];
        if (!consume(sizeof subHead) || !source_.read(subHead, sizeof subHead))
            return false;
        uint16_t storedLength = LoadU16(subHead);
        uint32_t body = storedLength ? uint32_t(storedLength) - SubRecordLayout::MinStoredLength : stored - used;
        if ((storedLength && storedLength < SubRecordLayout::MinStoredLength) || !consume(body))
            return false;
        size_t inMemory = SubRecordLayout::Stream + body;
        if (size + inMemory > kLargestRecord)
            return false;
        StoreU16(subHead, storedLength ? uint16_t(storedLength + 32) : 0);
        if (!put(at + size, subHead, sizeof subHead) || !take(at + size + SubRecordLayout::Stream, body))
            return false;
        size += inMemory;
        ++subRecords;
        if (storedLength == 0)
            break;
    }

    uint8_t fixed[RecordLayout::Text];
    std::memset(fixed, 0, sizeof fixed);
    StoreU16(fixed + RecordLayout::Length, uint16_t(size));
    if (oneByteLengths_) {
        StoreU16(fixed + RecordLayout::Id, LoadU16(head + 1));
        std::memcpy(fixed + RecordLayout::TypeByte, head + 3, kStoredHeadSize - 3);
    } else {
        StoreU16(fixed + RecordLayout::Id, LoadU16(head + 2));
        std::memcpy(fixed + RecordLayout::TypeByte, head + 4, kStoredHeadSize - 4);
    }
    StoreU16(fixed + RecordLayout::FirstSubRecord, uint16_t(firstSub));
    fixed[RecordLayout::TextLength] = textLength;
    if (!put(at, fixed, sizeof fixed) || !put(at + itemsAt - 1, &itemCount, 1))
        return false;
    length = size;
    return true;
}

StreamRead Walk(StreamWalk& walk, uint32_t count, EntryShape& shape)
{
    size_t at = 0;
    for (uint32_t i = 0; i < count; ++i) {
        size_t length = 0;
        uint32_t subRecords = 0;
        if (!walk.record(at, length, subRecords))
            return StreamRead::BadlyFormatted;
        if (length == 0)
            break;
        at += length;
        ++shape.records;
        shape.subRecords += subRecords;
        if (at > UINT32_MAX - 2)
            return StreamRead::BadlyFormatted;
    }
    shape.blockBytes = at + 2;
    return StreamRead::Ok;
}

} // namespace

StreamRead MeasureEntryStream(DatabaseSource& source, bool oneByteLengths, uint32_t count, EntryShape& shape)
{
    shape = {};
    StreamWalk walk(source, oneByteLengths, nullptr, 0);
    return Walk(walk, count, shape);
}

StreamRead ReadEntryStream(DatabaseSource& source, bool oneByteLengths, uint32_t count, uint8_t* block,
                           const EntryShape& shape)
{
    StreamWalk walk(source, oneByteLengths, block, shape.blockBytes - 2);
    EntryShape read;
    if (Walk(walk, count, read) != StreamRead::Ok || read.blockBytes != shape.blockBytes ||
        read.records != shape.records)
        return StreamRead::BadlyFormatted;
    return StreamRead::Ok;
}

} // namespace qv
