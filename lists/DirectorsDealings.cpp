// Reading "data\DirDeal.dat" into the dealings block: the header, the coding tables and the items,
// each turned into an entry with its investor link and sort slot.
#include "lists/DirectorsDealings.h"

#include "core/CodedText.h"
#include "lists/DealingItem.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <cstring>

namespace qv {

uint8_t* DealingsMainBlock = nullptr;

const char* const kDealingsIncompatibleMessage =
    "The data file DirDeal.dat is not compatible with this version of the program\n\n"
    "Directors's dealings will not be avaible.";

namespace {

constexpr int kMinItemLength = 7; // the length byte and the six fixed data bytes
constexpr uint8_t kVersion = 1;

std::vector<uint8_t>& BlockStore()
{
    static std::vector<uint8_t> block;
    return block;
}

DealingsFileInfo& Info()
{
    static DealingsFileInfo info;
    return info;
}

// The length of the stored coding table of g groups (3g entries, at most 20), or 0 when it is short.
size_t TableLength(std::span<const uint8_t> bytes, int groups)
{
    ByteReader in(bytes);
    const int total = groups * 3 < kDealingsMaxTableEntries ? groups * 3 : kDealingsMaxTableEntries;
    uint16_t word = 0;
    for (int i = 0; i < total; ++i) {
        if (i % 3 == 0)
            in.u16(word);
        in.u16(word);
        in.skip(word);
    }
    return in.ok() ? in.position() : 0;
}

// Counts the items of the body and the bytes their entries take: every item must lie inside the body
// and be long enough for its fixed fields (a length of 0 would never advance). The body ends at a 0
// byte or at its end. False when the body is damaged.
bool WalkItems(std::span<const uint8_t> body, size_t& entryBytes, int& count)
{
    entryBytes = 0;
    count = 0;
    for (size_t at = 0; at < body.size();) {
        const int length = body[at] & 0x7F;
        if (body[at] == 0)
            return true;
        if (length < kMinItemLength || at + size_t(length) > body.size())
            return false;
        entryBytes += size_t(length) + kDealingEntryExtra;
        ++count;
        at += size_t(length);
    }
    return true;
}

// Converts the checked items into entries; false when an investor link cannot be made.
bool ConvertItems(std::span<const uint8_t> body, uint8_t* out, const DealingsFileInfo& info,
                  const CodingTables& tables)
{
    const uint8_t* lastHead = nullptr;
    for (size_t at = 0; at < body.size() && body[at] != 0;) {
        const int length = body[at] & 0x7F;
        const bool head = body[at] & 0x80;
        out[0] = uint8_t(length + kDealingEntryExtra);
        std::memset(out + 1, 0, kDealingEntryExtra);
        std::memcpy(out + kDealingEntryDataOffset, body.data() + at + 1, size_t(length) - 1);
        uint16_t link = 0;
        if (head) {
            BitCursor base = DealingCodedStart(out, info);
            BitCursor cursor = base;
            if (base.bytes.empty() || !SkipToInvestorName(cursor, DealingFlags(out) & kDealingHolding, tables))
                return false;
            link = uint16_t(kDealingHeadMark + CodedBitPosition(base, cursor));
            lastHead = out;
        } else {
            if (!lastHead || out - lastHead >= kDealingHeadMark)
                return false;
            link = uint16_t(out - lastHead);
        }
        StoreU16(out + 1, link);
        out += out[0];
        at += size_t(length);
    }
    *out = 0;
    return true;
}

} // namespace

DealingsParse ParseDealingsFile(std::span<const uint8_t> file, std::vector<uint8_t>& block, DealingsFileInfo& info,
                                CodingTables& tables)
{
    ByteReader in(file);
    auto header = in.take(kDealingsHeaderSize);
    if (!in.ok())
        return DealingsParse::Short;
    if (std::memcmp(header.data(), "ZQDB", 4) != 0 || header[4] != kVersion)
        return DealingsParse::Incompatible;
    const int groups = header[7];
    const uint32_t items = LoadU32(header.data() + 8);
    const uint32_t bodyLength = LoadU32(header.data() + 12);
    DealingsFileInfo read;
    read.baseYear = header[6];
    read.date = LoadU16(header.data() + 18);
    read.codedStart = header[20];
    read.capacity = int32_t(items > 0x7FFFFFF5u ? 0x7FFFFFFFu : items + 10);

    const size_t tableLength = TableLength(file.subspan(in.position()), groups);
    tables.parse(file.subspan(in.position()), groups);
    if (tableLength == 0 && groups > 0)
        return DealingsParse::Short;
    in.skip(tableLength);
    auto body = in.take(bodyLength);
    if (!in.ok())
        return DealingsParse::Short;

    size_t entryBytes = 0;
    if (!WalkItems(body, entryBytes, read.entryCount))
        return DealingsParse::Damaged;
    // Sized from the items counted, not from the header's item count, which may be too small.
    std::vector<uint8_t> entries(entryBytes + 1);
    if (!ConvertItems(body, entries.data(), read, tables))
        return DealingsParse::Damaged;
    block = std::move(entries);
    info = read;
    return DealingsParse::Ok;
}

const DealingsFileInfo& DealingsInfo() { return Info(); }

CodingTables& DealingsCodingTables()
{
    static CodingTables tables;
    return tables;
}

void InstallDealingsBlock(std::vector<uint8_t> block, const DealingsFileInfo& info)
{
    BlockStore() = std::move(block);
    Info() = info;
    DealingsMainBlock = BlockStore().empty() ? nullptr : BlockStore().data();
}

void FreeDirDealBlocks()
{
    BlockStore() = {};
    Info() = {};
    DealingsMainBlock = nullptr;
    DealingsCodingTables().clear();
}

void LoadDirDeal()
{
    FreeDirDealBlocks();
    const auto path = AppPath("data\\DirDeal.dat");
    std::error_code error;
    // A file that exists but cannot be read is never replaced by the old copy.
    if (!std::filesystem::exists(path, error))
        RenameNoReplace(AppPath("data\\DirDeal.old"), path);
    auto file = ReadFileBytes(path);
    if (!file)
        return;
    std::vector<uint8_t> block;
    DealingsFileInfo info;
    switch (ParseDealingsFile(*file, block, info, DealingsCodingTables())) {
    case DealingsParse::Ok:
        InstallDealingsBlock(std::move(block), info);
        return;
    case DealingsParse::Incompatible:
    case DealingsParse::Damaged:
        DealingsCodingTables().clear();
        ShowMessage(kDealingsIncompatibleMessage, {}, MsgButtons::Ok, MsgIcon::Stop);
        return;
    case DealingsParse::Short:
        DealingsCodingTables().clear();
        return;
    }
}

} // namespace qv
