// The InfoCentre's index file "index.dat": a bit table of document numbers, a table of entry offsets
// by document number, and the entries (a 24-byte head and three short texts) appended after them.
// A new index is built under another name and committed as "index.dat"; the committed one is opened
// to read entries and to update the flags of one document.
#pragma once

#include "infocentre/InCCategory.h"
#include "platform/FileOps.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <span>
#include <string>

namespace qv {

// The head of an index entry, read and written field by field.
struct InCEntryHead {
    uint16_t number = 0;
    uint16_t flags = 0;
    std::array<uint8_t, 4> reserved{};
    int64_t time = 0;                  // bytes 8-15
    std::array<uint8_t, 8> tail{};     // bytes 16-23, kept as the caller gives them
};

// The three texts of an entry: title, category, sub-category. Each is stored with a one-byte
// length, so at most 255 bytes of each are kept.
struct InCEntryTexts {
    std::string title;
    std::string category;
    std::string subCategory;
};

// The flag rule of UpdateEntryFlags on a head: the user's new viewing state (bits 4-7 of `flags`)
// replaces the stored one when the document is new or deferred, or when it is not to be viewed
// automatically and the new state is done; a deferred state takes the time. Bit 8 is always set.
void ApplyEntryFlagUpdate(InCEntryHead& head, uint8_t flags, int32_t time);

class CInCIndex {
public:
    enum Status : int {
        kGood = 0,
        kBadHeader = 1,   // the file does not begin "ZQID" (it is closed)
        kWrongMode = 2,   // writing needs a new index, reading and updating an opened one
        kCannotOpen = 3,
        kReadFailed = 4,  // a read or write failed, or would pass the end of the file
        kOtherNumber = 5, // the entry found carries another document number
        kNoEntry = 6,     // the document number has no entry (0 never has one)
        kClosed = 7,
    };

    static constexpr size_t kHeaderSize = 16;
    static constexpr size_t kTableOffset = 16;
    static constexpr size_t kTableSize = 8192;
    static constexpr size_t kSlotBase = 8204; // the slot of document n is at kSlotBase + 4n
    static constexpr size_t kEntriesOffset = 270348;
    static constexpr size_t kHeadSize = 24;
    static constexpr uint16_t kLastNumber = 65535;

    using Table = std::array<uint8_t, kTableSize>;

    // Opens "index.dat" in the program folder's "Data\Content\".
    CInCIndex();
    // Opens an existing index for reading and updating; others may not write it meanwhile.
    explicit CInCIndex(const std::filesystem::path& file);
    // Creates a new index at the path (replacing any file there) with an empty offset table.
    static CInCIndex Create(const std::filesystem::path& file);

    CInCIndex(CInCIndex&&) noexcept = default;
    CInCIndex& operator=(CInCIndex&&) noexcept = default;
    ~CInCIndex();

    int GetStatus() const { return status_; }
    Table& GetTable() { return table_; }
    bool IsNew() const { return newIndex_; }

    bool WriteHeader(std::span<const uint8_t, kHeaderSize> header);
    bool WriteTable();
    bool AppendEntry(const InCEntryHead& head, const InCEntryTexts& texts);
    bool DeleteEntry(uint16_t number);
    bool ReadEntryHead(uint16_t number, InCEntryHead& head);
    // Moves head.number on to the next document with an entry and reads its head (and its second
    // text when asked). False, with the number 0, when there is none after it.
    bool ReadNextEntry(InCEntryHead& head, std::string* secondText);
    // The next document number from the cursor on whose slot or table bit is set; 0 after the last.
    uint16_t NextUsedId();
    bool UpdateEntryFlags(uint16_t number, uint8_t flags, int32_t time);
    // Files every entry whose table bit is clear under its category (the second text).
    bool ReadCategories(std::map<std::string, CInCCategory>& categories);
    // Closes a new index and renames it to "index.dat" in the content folder (or to the target).
    bool CommitAs();
    bool CommitAs(const std::filesystem::path& target);
    // Closes an opened index and deletes its file.
    bool RemoveFile();
    bool Close();

    // The bit of document n in the table.
    static bool TableBit(const Table& table, uint16_t number);
    static void SetTableBit(Table& table, uint16_t number, bool on);

private:
    CInCIndex(const std::filesystem::path& file, bool create);

    bool Fail(int status);
    bool Usable(bool wantNew);
    bool ReadAt(uint64_t offset, void* out, size_t n);
    bool WriteAt(uint64_t offset, const void* data, size_t n);
    bool ReadSlot(uint16_t number, uint32_t& offset);
    // Visits the numbers from `first` to the last with their slots, a block of slots per read, until
    // the visitor answers false. False when a read failed.
    bool ScanSlots(uint32_t first, const std::function<bool(uint16_t number, uint32_t offset)>& visit);
    bool ReadHeadAt(uint32_t offset, InCEntryHead& head);
    bool ReadTextAt(uint64_t& offset, std::string* text);
    bool ReadEntryAt(uint16_t number, uint32_t& offset, InCEntryHead& head);

    std::filesystem::path path_;
    ExclusiveFile file_;
    Table table_{};
    uint16_t cursor_ = 1;
    int status_ = kGood;
    bool newIndex_ = false;
};

} // namespace qv
