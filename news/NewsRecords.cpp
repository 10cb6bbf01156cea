// The stored records of the news database, read and written field by field.
#include "news/NewsRecords.h"

namespace qv {

bool NewsStory::read(ByteReader& in)
{
    in.u8(state);
    in.u8(reserved1);
    in.u16(storyDate);
    in.u16(time);
    in.u16(dayDate);
    in.u16(dayIndex);
    in.u16(titleSymbols);
    in.u8(codeTable);
    in.u8(country);
    in.u8(industry);
    in.u8(subject);
    for (uint32_t& v : reserved16)
        in.u32(v);
    for (uint32_t& v : shareIds)
        in.u32(v);
    return in.u32(reserved40);
}

void NewsStory::write(ByteWriter& out) const
{
    out.u8(state);
    out.u8(reserved1);
    out.u16(storyDate);
    out.u16(time);
    out.u16(dayDate);
    out.u16(dayIndex);
    out.u16(titleSymbols);
    out.u8(codeTable);
    out.u8(country);
    out.u8(industry);
    out.u8(subject);
    for (uint32_t v : reserved16)
        out.u32(v);
    for (uint32_t v : shareIds)
        out.u32(v);
    out.u32(reserved40);
}

bool NewsDay::read(ByteReader& in)
{
    in.u16(date);
    in.u16(reserved);
    in.u32(storyCount);
    in.u32(blockOffset);
    in.u32(blockLength);
    in.u32(indexOffset);
    return in.u32(indexLength);
}

void NewsDay::write(ByteWriter& out) const
{
    out.u16(date);
    out.u16(reserved);
    out.u32(storyCount);
    out.u32(blockOffset);
    out.u32(blockLength);
    out.u32(indexOffset);
    out.u32(indexLength);
}

std::vector<uint8_t> NewsFileHeader(std::string_view tag)
{
    std::vector<uint8_t> header(kNewsFileHeaderSize, 0);
    for (size_t i = 0; i < 4 && i < tag.size(); ++i)
        header[i] = uint8_t(tag[i]);
    header[4] = 1;
    return header;
}

bool IsNewsFileHeader(std::span<const uint8_t> bytes, std::string_view tag)
{
    if (bytes.size() < kNewsFileHeaderSize || tag.size() != 4)
        return false;
    return std::equal(tag.begin(), tag.end(), bytes.begin(), [](char a, uint8_t b) { return uint8_t(a) == b; });
}

std::optional<PackedDate> NewsUpdateFileDate(std::string_view name)
{
    if (name.size() < 8)
        return std::nullopt;
    int parts[3];
    for (int i = 0; i < 3; ++i) {
        char high = name[1 + 2 * i], low = name[2 + 2 * i];
        if (high < '0' || high > '9' || low < '0' || low > '9')
            return std::nullopt;
        parts[i] = (high - '0') * 10 + (low - '0');
    }
    int year = parts[0] < 60 ? 2000 + parts[0] : 1900 + parts[0];
    if (!IsValidDate(parts[2] - 1, parts[1] - 1, year))
        return std::nullopt;
    return PackDate(parts[2], parts[1], year);
}

} // namespace qv
