// Descriptor reading, bounded by the file, and the deletions that descriptors drive.
#include "infocentre/InCDescriptor.h"

#include "platform/ByteOrder.h"
#include "platform/FileOps.h"

#include <cstdio>
#include <cstring>
#include <system_error>

namespace qv {
namespace {

constexpr uint8_t kTag[4] = {'Z', 'Q', 'I', 'C'};

bool CountedText(ByteReader& in, std::string& out)
{
    uint8_t n = 0;
    if (!in.u8(n))
        return false;
    auto bytes = in.take(n);
    if (!in.ok())
        return false;
    out.assign(bytes.begin(), bytes.end());
    return true;
}

bool ReadFixedPart(ByteReader& in, uint16_t number, InCDocSummary& s)
{
    uint8_t tag[4] = {};
    uint8_t vertical = 0, horizontal = 0;
    bool read = in.bytes(tag, 4) && in.skip(2) && in.u16(s.number) && in.u8(s.classFlags) && in.u8(s.displayFlags) &&
                in.skip(2) && in.u16(s.expiry) && in.skip(1) && in.u8(s.sizeMode) && in.u16(s.sizeValue) &&
                in.u16(s.orientation) && in.u8(vertical) && in.u8(horizontal);
    s.vertical = char(vertical);
    s.horizontal = char(horizontal);
    return read && std::memcmp(tag, kTag, 4) == 0 && s.number == number;
}

// The attached files: counted names until their lengths plus one make up `total`.
bool ReadFileList(ByteReader& in, uint32_t total, std::vector<std::string>& files)
{
    if (total > in.remaining())
        return false;
    size_t end = in.position() + total;
    while (in.position() < end) {
        std::string name;
        if (!CountedText(in, name) || in.position() > end)
            return false;
        files.push_back(std::move(name));
    }
    return true;
}

std::optional<std::vector<uint8_t>> ReadDescriptorFile(const std::filesystem::path& file)
{
    std::error_code ec;
    // Descriptors are small; anything far larger is not one.
    auto size = std::filesystem::file_size(file, ec);
    if (ec || size > (1u << 20))
        return std::nullopt;
    return ReadFileBytes(file);
}

bool Inside(const std::filesystem::path& folder, const std::filesystem::path& path)
{
    std::filesystem::path relative = path.lexically_relative(folder.lexically_normal());
    return !relative.empty() && *relative.begin() != ".." && relative != ".";
}

} // namespace

std::filesystem::path InCDescriptorPath(const std::filesystem::path& folder, uint16_t number)
{
    char name[16];
    std::snprintf(name, sizeof name, "%05hu.InC", number);
    return folder / name;
}

bool ParseInCDescriptor(std::span<const uint8_t> bytes, uint16_t number, InCDocRecord& record)
{
    ByteReader in(bytes);
    InCDocRecord r;
    if (!ReadFixedPart(in, number, r.summary))
        return false;
    uint16_t count = 0;
    uint32_t total = 0;
    if (!CountedText(in, r.summary.title) || !CountedText(in, r.category) || !CountedText(in, r.subCategory) ||
        !in.u16(count) || size_t(count) * 2 > in.remaining())
        return false;
    r.superseded.resize(count);
    for (uint16_t& n : r.superseded)
        in.u16(n);
    if (!in.u32(total) || !ReadFileList(in, total, r.files))
        return false;
    if (!r.files.empty())
        r.summary.firstFile = r.files.front();
    record = std::move(r);
    return true;
}

bool ReadDocRecord(const std::filesystem::path& file, uint16_t number, InCDocRecord& record)
{
    auto bytes = ReadDescriptorFile(file);
    return bytes && ParseInCDescriptor(*bytes, number, record);
}

bool ReadDocHeader(const std::filesystem::path& file, uint16_t number, InCDocSummary& summary)
{
    InCDocRecord record;
    if (!ReadDocRecord(file, number, record))
        return false;
    summary = std::move(record.summary);
    return true;
}

std::optional<std::filesystem::path> ContentFilePath(const std::filesystem::path& folder, const std::string& name)
{
    if (name.empty() || name.find('\0') != std::string::npos)
        return std::nullopt;
    std::string relative = name;
    for (char& c : relative)
        if (c == '\\')
            c = '/';
    std::filesystem::path rel(relative);
    if (rel.is_absolute() || rel.has_root_name() || rel.has_root_directory())
        return std::nullopt;
    std::filesystem::path full = (folder / rel).lexically_normal();
    if (!Inside(folder, full))
        return std::nullopt;
    return full;
}

void DeleteDocFiles(const std::filesystem::path& folder, uint16_t number)
{
    InCDocRecord record;
    if (!ReadDocRecord(InCDescriptorPath(folder, number), number, record))
        return;
    for (const std::string& name : record.files)
        if (auto path = ContentFilePath(folder, name))
            ForceDelete(*path);
}

void DeleteDocuments(const std::filesystem::path& folder, std::span<const uint16_t> numbers,
                     CInCIndex::Table& withdrawn, uint16_t self)
{
    for (uint16_t n : numbers) {
        if (n == 0 || n == self || CInCIndex::TableBit(withdrawn, n))
            continue;
        DeleteDocFiles(folder, n);
        ForceDelete(InCDescriptorPath(folder, n));
        CInCIndex::SetTableBit(withdrawn, n, true);
    }
}

} // namespace qv
