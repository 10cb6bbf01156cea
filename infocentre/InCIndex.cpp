// The InfoCentre index file: every read is bounded by the file, and every failure leaves the file as
// it was and is kept in the status code.
#include "infocentre/InCIndex.h"

#include "platform/ByteOrder.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace qv {
namespace {

constexpr uint8_t kTag[4] = {'Z', 'Q', 'I', 'D'};
constexpr size_t kZeroBlock = 1024;
constexpr size_t kSlotTableSize = 262140;
constexpr size_t kMaxTextLength = 255;

constexpr uint16_t kStateBits = 0xF0;
constexpr uint16_t kFlagNotAutoViewed = 0x10;
constexpr uint16_t kFlagNew = 0x20;
constexpr uint16_t kFlagDeferred = 0x40;
constexpr uint16_t kFlagDone = 0x80;
constexpr uint16_t kFlagOpened = 0x100;

static_assert(CInCIndex::kTableOffset + CInCIndex::kTableSize + kSlotTableSize == CInCIndex::kEntriesOffset);
static_assert(CInCIndex::kSlotBase + 4 * size_t(CInCIndex::kLastNumber) + 4 == CInCIndex::kEntriesOffset);
static_assert(sizeof(InCEntryHead::number) + sizeof(InCEntryHead::flags) + sizeof(InCEntryHead::reserved) +
                  sizeof(InCEntryHead::time) + sizeof(InCEntryHead::tail) ==
              CInCIndex::kHeadSize);

std::array<uint8_t, CInCIndex::kHeadSize> EncodeHead(const InCEntryHead& head)
{
    std::array<uint8_t, CInCIndex::kHeadSize> bytes{};
    StoreU16(bytes.data(), head.number);
    StoreU16(bytes.data() + 2, head.flags);
    std::copy(head.reserved.begin(), head.reserved.end(), bytes.begin() + 4);
    StoreU32(bytes.data() + 8, uint32_t(uint64_t(head.time)));
    StoreU32(bytes.data() + 12, uint32_t(uint64_t(head.time) >> 32));
    std::copy(head.tail.begin(), head.tail.end(), bytes.begin() + 16);
    return bytes;
}

InCEntryHead DecodeHead(const std::array<uint8_t, CInCIndex::kHeadSize>& bytes)
{
    InCEntryHead head;
    head.number = LoadU16(bytes.data());
    head.flags = LoadU16(bytes.data() + 2);
    std::copy_n(bytes.begin() + 4, head.reserved.size(), head.reserved.begin());
    head.time = int64_t(uint64_t(LoadU32(bytes.data() + 8)) | uint64_t(LoadU32(bytes.data() + 12)) << 32);
    std::copy_n(bytes.begin() + 16, head.tail.size(), head.tail.begin());
    return head;
}

void AppendText(std::vector<uint8_t>& out, const std::string& text)
{
    size_t n = std::min(text.size(), kMaxTextLength);
    out.push_back(uint8_t(n));
    out.insert(out.end(), text.begin(), text.begin() + std::ptrdiff_t(n));
}

uint64_t SlotOffset(uint16_t number)
{
    return CInCIndex::kSlotBase + 4 * uint64_t(number);
}

} // namespace

void ApplyEntryFlagUpdate(InCEntryHead& head, uint8_t flags, int32_t time)
{
    uint16_t f = head.flags;
    auto replaceState = [&] { f = uint16_t((f & ~kStateBits) | (flags & kStateBits)); };
    if ((f & (kFlagNew | kFlagDeferred)) && !(flags & kFlagNew)) {
        replaceState();
        head.time = (f & kFlagDeferred) ? int64_t(time) : 0;
    } else if ((f & kFlagNotAutoViewed) && (flags & kFlagDone)) {
        replaceState();
    }
    head.flags = uint16_t(f | kFlagOpened);
}

CInCIndex::CInCIndex() : CInCIndex(AppPath("Data\\Content\\index.dat")) {}

CInCIndex::CInCIndex(const std::filesystem::path& file) : CInCIndex(file, false) {}

CInCIndex CInCIndex::Create(const std::filesystem::path& file)
{
    return CInCIndex(file, true);
}

CInCIndex::CInCIndex(const std::filesystem::path& file, bool create) : path_(file), newIndex_(create)
{
    if (create) {
        if (!file_.open(file, ExclusiveFile::Mode::Create)) {
            status_ = kCannotOpen;
            return;
        }
        std::vector<uint8_t> zeros(kZeroBlock, 0);
        bool written = WriteAt(kTableOffset, table_.data(), table_.size());
        for (size_t done = 0; written && done < kSlotTableSize; done += kZeroBlock)
            written = file_.write(zeros.data(), std::min(kZeroBlock, kSlotTableSize - done));
        if (!written) {
            file_.close();
            status_ = kReadFailed;
        }
        return;
    }
    if (!file_.open(file, ExclusiveFile::Mode::ReadWrite)) {
        status_ = kCannotOpen;
        return;
    }
    uint8_t tag[4] = {};
    if (!ReadAt(0, tag, sizeof tag) || std::memcmp(tag, kTag, sizeof tag) != 0) {
        file_.close();
        status_ = kBadHeader;
        return;
    }
    if (!ReadAt(kTableOffset, table_.data(), table_.size())) {
        file_.close();
        status_ = kReadFailed;
    }
}

CInCIndex::~CInCIndex()
{
    file_.close();
}

bool CInCIndex::Fail(int status)
{
    status_ = status;
    return false;
}

// The file is open and the operation belongs to this kind of index.
bool CInCIndex::Usable(bool wantNew)
{
    if (!file_.isOpen())
        return Fail(kClosed);
    if (newIndex_ != wantNew)
        return Fail(kWrongMode);
    status_ = kGood;
    return true;
}

bool CInCIndex::ReadAt(uint64_t offset, void* out, size_t n)
{
    auto size = file_.size();
    if (!size || offset > *size || n > *size - offset || !file_.seek(offset))
        return false;
    return file_.read(out, n) == (long long)n;
}

bool CInCIndex::WriteAt(uint64_t offset, const void* data, size_t n)
{
    return file_.seek(offset) && file_.write(data, n);
}

bool CInCIndex::ReadSlot(uint16_t number, uint32_t& offset)
{
    uint8_t bytes[4];
    if (!ReadAt(SlotOffset(number), bytes, sizeof bytes))
        return Fail(kReadFailed);
    offset = LoadU32(bytes);
    return true;
}

bool CInCIndex::ScanSlots(uint32_t first, const std::function<bool(uint16_t number, uint32_t offset)>& visit)
{
    constexpr uint32_t kBlock = 1024;
    std::vector<uint8_t> block(4 * kBlock);
    for (uint32_t n = std::max<uint32_t>(first, 1); n <= kLastNumber;) {
        uint32_t count = std::min<uint32_t>(kBlock, kLastNumber + 1 - n);
        if (!ReadAt(SlotOffset(uint16_t(n)), block.data(), 4 * size_t(count)))
            return Fail(kReadFailed);
        for (uint32_t i = 0; i < count; ++i, ++n)
            if (!visit(uint16_t(n), LoadU32(block.data() + 4 * i)))
                return true;
    }
    return true;
}

bool CInCIndex::ReadHeadAt(uint32_t offset, InCEntryHead& head)
{
    std::array<uint8_t, kHeadSize> bytes{};
    // An entry never lies among the tables; an offset there is damage.
    if (offset < kEntriesOffset || !ReadAt(offset, bytes.data(), bytes.size()))
        return Fail(kReadFailed);
    head = DecodeHead(bytes);
    return true;
}

// Reads one length-prefixed text at the offset (or steps over it when text is null).
bool CInCIndex::ReadTextAt(uint64_t& offset, std::string* text)
{
    uint8_t length = 0;
    if (!ReadAt(offset, &length, 1))
        return Fail(kReadFailed);
    std::string bytes(length, '\0');
    if (!ReadAt(offset + 1, bytes.data(), length))
        return Fail(kReadFailed);
    offset += 1 + uint64_t(length);
    if (text)
        *text = std::move(bytes);
    return true;
}

// The entry of the number: its offset and head, which must carry that number.
bool CInCIndex::ReadEntryAt(uint16_t number, uint32_t& offset, InCEntryHead& head)
{
    if (number == 0)
        return Fail(kNoEntry);
    if (!ReadSlot(number, offset))
        return false;
    if (offset == 0)
        return Fail(kNoEntry);
    if (!ReadHeadAt(offset, head))
        return false;
    if (head.number != number)
        return Fail(kOtherNumber);
    return true;
}

bool CInCIndex::WriteHeader(std::span<const uint8_t, kHeaderSize> header)
{
    if (!Usable(true))
        return false;
    return WriteAt(0, header.data(), header.size()) || Fail(kReadFailed);
}

bool CInCIndex::WriteTable()
{
    if (!file_.isOpen())
        return Fail(kClosed);
    status_ = kGood;
    return WriteAt(kTableOffset, table_.data(), table_.size()) || Fail(kReadFailed);
}

bool CInCIndex::AppendEntry(const InCEntryHead& head, const InCEntryTexts& texts)
{
    if (!Usable(true))
        return false;
    if (head.number == 0)
        return Fail(kNoEntry);
    auto size = file_.size();
    if (!size)
        return Fail(kReadFailed);
    uint64_t offset = std::max<uint64_t>(*size, kEntriesOffset);
    if (offset > UINT32_MAX)
        return Fail(kReadFailed);
    auto headBytes = EncodeHead(head);
    std::vector<uint8_t> entry(headBytes.begin(), headBytes.end());
    for (const std::string* text : {&texts.title, &texts.category, &texts.subCategory})
        AppendText(entry, *text);
    uint8_t slot[4];
    StoreU32(slot, uint32_t(offset));
    if (WriteAt(offset, entry.data(), entry.size()) && WriteAt(SlotOffset(head.number), slot, sizeof slot))
        return true;
    // Taken back, so that a failed append leaves the file as it was.
    file_.resize(*size);
    return Fail(kReadFailed);
}

bool CInCIndex::DeleteEntry(uint16_t number)
{
    if (!Usable(true))
        return false;
    if (number == 0)
        return Fail(kNoEntry);
    const uint8_t zero[4] = {};
    return WriteAt(SlotOffset(number), zero, sizeof zero) || Fail(kReadFailed);
}

bool CInCIndex::ReadEntryHead(uint16_t number, InCEntryHead& head)
{
    if (!Usable(false))
        return false;
    uint32_t offset = 0;
    InCEntryHead found;
    if (!ReadEntryAt(number, offset, found))
        return false;
    head = found;
    return true;
}

bool CInCIndex::ReadNextEntry(InCEntryHead& head, std::string* secondText)
{
    if (!Usable(false))
        return false;
    uint16_t number = 0;
    uint32_t offset = 0;
    bool scanned = ScanSlots(uint32_t(head.number) + 1, [&](uint16_t n, uint32_t slot) {
        number = n;
        offset = slot;
        return slot == 0;
    });
    InCEntryHead found;
    uint64_t textOffset = uint64_t(offset) + kHeadSize;
    std::string text;
    bool read = scanned && offset != 0 && ReadHeadAt(offset, found) &&
                (found.number == number || Fail(kOtherNumber)) &&
                (!secondText || (ReadTextAt(textOffset, nullptr) && ReadTextAt(textOffset, &text)));
    if (!read) {
        head.number = 0;
        return false;
    }
    head = found;
    if (secondText)
        *secondText = std::move(text);
    return true;
}

uint16_t CInCIndex::NextUsedId()
{
    if (!file_.isOpen()) {
        status_ = kClosed;
        return 0;
    }
    if (cursor_ == 0)
        return 0;
    uint16_t found = 0;
    bool scanned = ScanSlots(cursor_, [&](uint16_t n, uint32_t slot) {
        if (slot == 0 && !TableBit(table_, n))
            return true;
        found = n;
        return false;
    });
    if (!scanned)
        return 0;
    cursor_ = found == 0 || found == kLastNumber ? 0 : uint16_t(found + 1);
    return found;
}

bool CInCIndex::UpdateEntryFlags(uint16_t number, uint8_t flags, int32_t time)
{
    if (!Usable(false))
        return false;
    uint32_t offset = 0;
    InCEntryHead head;
    if (!ReadEntryAt(number, offset, head))
        return false;
    ApplyEntryFlagUpdate(head, flags, time);
    auto bytes = EncodeHead(head);
    return WriteAt(offset, bytes.data(), bytes.size()) || Fail(kReadFailed);
}

bool CInCIndex::ReadCategories(std::map<std::string, CInCCategory>& categories)
{
    if (!Usable(false))
        return false;
    // Everything is read first, so that a damaged entry adds nothing to the tree.
    std::vector<std::pair<InCEntryTexts, InCDocumentItem>> found;
    bool whole = true;
    bool scanned = ScanSlots(1, [&](uint16_t number, uint32_t offset) {
        if (offset == 0 || TableBit(table_, number))
            return true;
        InCEntryHead head;
        InCEntryTexts texts;
        uint64_t at = uint64_t(offset) + kHeadSize;
        whole = ReadHeadAt(offset, head) && ReadTextAt(at, &texts.title) && ReadTextAt(at, &texts.category) &&
                ReadTextAt(at, &texts.subCategory);
        if (whole)
            found.emplace_back(texts, InCDocumentItem{texts.title, number, uint8_t((head.flags & kInCFlagDone) ? 1 : 0)});
        return whole;
    });
    if (!scanned || !whole)
        return false;
    for (auto& [texts, item] : found) {
        auto [it, added] = categories.try_emplace(texts.category, texts.category);
        it->second.File(item, texts.subCategory);
    }
    return true;
}

bool CInCIndex::CommitAs()
{
    return CommitAs(AppPath("Data\\Content\\index.dat"));
}

bool CInCIndex::CommitAs(const std::filesystem::path& target)
{
    if (!Usable(true))
        return false;
    bool synced = file_.sync();
    if (!file_.close() || !synced)
        return Fail(kReadFailed);
    return RenameReplace(path_, target) || Fail(kReadFailed);
}

bool CInCIndex::RemoveFile()
{
    if (!Usable(false))
        return false;
    file_.close();
    return ForceDelete(path_) || Fail(kReadFailed);
}

bool CInCIndex::Close()
{
    if (!Usable(false))
        return false;
    file_.close();
    return true;
}

bool CInCIndex::TableBit(const Table& table, uint16_t number)
{
    return (table[number / 8] >> (number % 8)) & 1;
}

void CInCIndex::SetTableBit(Table& table, uint16_t number, bool on)
{
    uint8_t mask = uint8_t(1u << (number % 8));
    table[number / 8] = on ? uint8_t(table[number / 8] | mask) : uint8_t(table[number / 8] & ~mask);
}

} // namespace qv
