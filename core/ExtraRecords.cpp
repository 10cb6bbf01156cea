// Building, ordering, pricing and removing extra share records.
#include "core/ExtraRecords.h"

#include "core/Database.h"
#include "core/Memory.h"
#include "core/RecordAccess.h"
#include "core/ScaledPrice.h"
#include "core/TableLock.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace qv {

std::atomic<bool> ShareListsChanged{false};

namespace {

std::atomic<PackedDate> g_currentTradingDate{0};

// The first-letter index, rebuilt from the list after every change under the lock, so that it never
// outlives the nodes it points into.
std::array<RecordListNode**, 26> g_letterLinks{};

// Offsets inside an extra record and its price sub-record.
constexpr size_t kStockWord = 4;
constexpr size_t kFlagByteA = 6;
constexpr size_t kFlagByteB = 7;
constexpr size_t kSubRecordSlack = 36;
constexpr size_t kTailBytes = 121;
constexpr size_t kLastClose = 24;
constexpr size_t kChange = 28;
constexpr size_t kLastPricedDate = 40;
// The record readers find the sub-record's end by this sum.
static_assert(kTailBytes - kSubRecordSlack == kMadeSubRecordBytes);

std::string_view NameOf(const uint8_t* record)
{
    return std::string_view(reinterpret_cast<const char*>(record + RecordLayout::Text),
                            record[RecordLayout::TextLength]);
}

int LetterOf(std::string_view name)
{
    if (name.empty())
        return -1;
    char c = name.front();
    if (c >= 'a' && c <= 'z')
        return c - 'a';
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    return -1;
}

// Byte order of names, as unsigned bytes.
bool Greater(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    int c = std::memcmp(a.data(), b.data(), n);
    return c > 0 || (c == 0 && a.size() > b.size());
}

void RebuildLetterIndex()
{
    g_letterLinks.fill(nullptr);
    for (RecordListNode** link = &ExtraRecordList; *link; link = &(*link)->next) {
        int letter = LetterOf(NameOf((*link)->record));
        if (letter >= 0 && !g_letterLinks[size_t(letter)])
            g_letterLinks[size_t(letter)] = link;
    }
}

PackedDate DateOrDefault(PackedDate date)
{
    return date ? date : PreviousWeekday(CurrentTradingDate(), false);
}

uint8_t* PriceSubRecord(uint8_t* record) { return FirstSubRecord(record); }

// Writes the coded price and the end mark; a price that has no coding leaves the end mark alone.
void WriteStream(uint8_t* sub, float price)
{
    uint8_t* end = price != 0 ? FormatScaledPrice(sub, sub + SubRecordLayout::Stream, price) : nullptr;
    if (!end)
        end = sub + SubRecordLayout::Stream;
    *end = ' ';
}

void SetDates(uint8_t* sub, PackedDate date)
{
    StoreU16(sub + SubRecordLayout::FirstDate, date);
    StoreU16(sub + kLastPricedDate, date);
}

RecordListNode** LinkOf(uint16_t id)
{
    for (RecordListNode** link = &ExtraRecordList; *link; link = &(*link)->next)
        if (RecordId((*link)->record) == id)
            return link;
    return nullptr;
}

} // namespace

void SetCurrentTradingDate(PackedDate date) { g_currentTradingDate = date; }
PackedDate CurrentTradingDate() { return g_currentTradingDate; }

uint8_t* BuildShareRecord(const ExtraShare& s)
{
    std::string_view name = s.name.substr(0, kExtraNameMax);
    std::string_view code = s.code.substr(0, kExtraTextMax);
    std::string_view second = s.second.substr(0, kExtraTextMax);
    // The texts: the name, a NUL, the class byte, the second text and the code, each NUL-ended.
    size_t textRoom = code.size() + 1 + name.size() + 1 + second.size() + 1 + 6;
    size_t subOffset = textRoom + kSubRecordSlack;
    auto* record = static_cast<uint8_t*>(ProCalloc(uint32_t(textRoom + kTailBytes), 1, "BuildShareRecord"));
    StoreU16(record + RecordLayout::Length, kMadeRecordToken);
    StoreU16(record + RecordLayout::Id, s.id);
    uint8_t market = s.streamKind == 1 ? 2 : s.marketCode;
    StoreU16(record + kStockWord, uint16_t(0x31C0 | market));
    record[kFlagByteA] = 0xFA;
    record[kFlagByteB] = 0xFF;
    StoreU16(record + RecordLayout::FirstSubRecord, uint16_t(subOffset));
    record[RecordLayout::TextLength] = uint8_t(name.size());
    uint8_t* p = record + RecordLayout::Text;
    p = std::copy(name.begin(), name.end(), p) + 1;
    *p++ = s.classByte;
    p = std::copy(second.begin(), second.end(), p) + 1;
    std::copy(code.begin(), code.end(), p);

    uint8_t* sub = record + subOffset;
    sub[SubRecordLayout::Kind] = s.streamKind;
    sub[SubRecordLayout::Kind + 1] = 0xFF;
    SetDates(sub, DateOrDefault(s.date));
    StoreF32(sub + kLastClose, s.price != 0 ? s.price : kNoValueFloat);
    StoreF32(sub + kChange, kNoValueFloat);
    WriteStream(sub, s.price);

    RecordListNode* node = NewListNode(record, 0);
    {
        TableLockGuard lock(&ExtraRecordsLock);
        InsertExtraRecord(node);
        ++ExtraRecordCount;
        ++TotalItemCount;
    }
    ShareListsChanged = true;
    return record;
}

void InsertExtraRecord(RecordListNode* node)
{
    RebuildLetterIndex();
    std::string_view name = NameOf(node->record);
    RecordListNode** start = &ExtraRecordList;
    for (int letter = LetterOf(name); letter >= 0; --letter)
        if (g_letterLinks[size_t(letter)]) {
            start = g_letterLinks[size_t(letter)];
            break;
        }
    // Names that mix cases can put a record of an earlier letter behind the index entry: then the
    // walk starts from the head, so that the list stays in order.
    if (*start && Greater(NameOf((*start)->record), name))
        start = &ExtraRecordList;
    RecordListNode** link = start;
    while (*link && !Greater(NameOf((*link)->record), name))
        link = &(*link)->next;
    node->next = *link;
    *link = node;
    RebuildLetterIndex();
}

bool SetExtraRecordPrice(uint16_t id, float price, PackedDate date)
{
    TableLockGuard lock(&ExtraRecordsLock);
    uint8_t* record = FindExtraRecordLocked(id);
    if (!record)
        return false;
    uint8_t* sub = PriceSubRecord(record);
    SetDates(sub, DateOrDefault(date));
    if (price != 0 && ScalePrice(price))
        StoreF32(sub + kLastClose, price);
    WriteStream(sub, price);
    return true;
}

bool RemoveExtraRecord(uint16_t id)
{
    TableLockGuard lock(&ExtraRecordsLock);
    RecordListNode** link = LinkOf(id);
    if (!link)
        return false;
    RecordListNode* node = *link;
    ProFree(node->record);
    RemoveListNode(&ExtraRecordList, node);
    --ExtraRecordCount;
    --TotalItemCount;
    RebuildLetterIndex();
    return true;
}

bool ExtraRecordExists(uint16_t id)
{
    TableLockGuard lock(&ExtraRecordsLock);
    return LinkOf(id) != nullptr;
}

uint8_t* FindExtraRecordLocked(uint16_t id)
{
    RecordListNode** link = LinkOf(id);
    return link ? (*link)->record : nullptr;
}

RecordListNode** ExtraRecordLetterLink(char letter)
{
    RebuildLetterIndex();
    int n = LetterOf(std::string_view(&letter, 1));
    return n >= 0 ? g_letterLinks[size_t(n)] : nullptr;
}

} // namespace qv
