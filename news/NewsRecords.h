// The stored records of the news database: the 44-byte story, the 24-byte day record, the catalogue
// header block's fields, the 48-byte headers of the story-text and index files, and the date an
// update file's name carries.
#pragma once

#include "core/PackedDate.h"
#include "platform/ByteOrder.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace qv {

// A story's state byte.
constexpr uint8_t kNewsStateRead = 0, kNewsStateUnread = 1, kNewsStateKept = 2, kNewsStateDelete = 3;

struct NewsStory {
    static constexpr size_t kSize = 44;
    uint8_t state = 0; // 1 on arrival; 3 marks a story to delete
    uint8_t reserved1 = 0;
    PackedDate storyDate = 0;
    uint16_t time = 0; // units of 2 seconds
    PackedDate dayDate = 0;
    uint16_t dayIndex = 0;
    uint16_t titleSymbols = 0;
    uint8_t codeTable = 0;
    uint8_t country = 0;
    uint8_t industry = 0;
    uint8_t subject = 0;
    std::array<uint32_t, 3> reserved16{};
    std::array<uint32_t, 3> shareIds{};
    uint32_t reserved40 = 0;

    bool read(ByteReader& in);
    void write(ByteWriter& out) const;
};

struct NewsDay {
    static constexpr size_t kSize = 24;
    PackedDate date = 0;
    uint16_t reserved = 0;
    uint32_t storyCount = 0;
    uint32_t blockOffset = 0;
    uint32_t blockLength = 0;
    uint32_t indexOffset = 0;
    uint32_t indexLength = 0;

    bool read(ByteReader& in);
    void write(ByteWriter& out) const;
};

// Byte offsets of the catalogue header block's fields.
namespace news_header {
constexpr size_t kMajor = 4, kMinor = 5, kHeaderSize = 8, kNextWord = 12, kFreeBytes = 16,
                 kWordCount = 20, kSizeClass = 28, kLimitWeeks = 30, kDayCount = 32, kOccupied = 36,
                 kSearchTextSize = 48, kSearchTextCount = 52, kCodesBuilt = 68, kCodeTotals = 72,
                 kLatestDate = 104, kOptions = 108, kOptionValue = 112, kWordStore = 132;
constexpr size_t kGrowStep = 1024;
constexpr size_t kMinFree = 40;
constexpr uint32_t kFirstWordOffset = 128; // ids below 128 are characters
constexpr uint8_t kLimitFlagBit = 0x08;    // in byte 110
constexpr size_t kLimitFlagByte = 110;
} // namespace news_header

// The header block and its word store, held whole; fields are read and written in place.
class NewsHeader {
public:
    NewsHeader() = default;
    explicit NewsHeader(std::vector<uint8_t> block) : block_(std::move(block)) {}

    std::vector<uint8_t>& bytes() { return block_; }
    const std::vector<uint8_t>& bytes() const { return block_; }
    size_t size() const { return block_.size(); }

    uint8_t u8(size_t at) const { return at < block_.size() ? block_[at] : 0; }
    uint16_t u16(size_t at) const { return at + 2 <= block_.size() ? LoadU16(&block_[at]) : 0; }
    uint32_t u32(size_t at) const { return at + 4 <= block_.size() ? LoadU32(&block_[at]) : 0; }
    void setU8(size_t at, uint8_t v) { block_.at(at) = v; }
    void setU16(size_t at, uint16_t v) { StoreU16(&block_.at(at + 1) - 1, v); }
    void setU32(size_t at, uint32_t v) { StoreU32(&block_.at(at + 3) - 3, v); }

private:
    std::vector<uint8_t> block_;
};

// The 48-byte headers of DNews.dat ("ZQDD") and INews.dat ("ZQDI").
constexpr size_t kNewsFileHeaderSize = 48;
std::vector<uint8_t> NewsFileHeader(std::string_view tag);
bool IsNewsFileHeader(std::span<const uint8_t> bytes, std::string_view tag);

// The date of an update file's name ("N" + yymmdd + ".UPD"): the six digits after the "N" are
// year, month and day; a year below 60 is 20yy. Nothing for a name that carries no valid date.
std::optional<PackedDate> NewsUpdateFileDate(std::string_view name);

} // namespace qv
