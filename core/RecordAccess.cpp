// Record access: lookups walk the blocks and lists in place by their length words.
#include "core/RecordAccess.h"

#include "core/CompanyData.h"
#include "core/Database.h"
#include "core/RecordLists.h"
#include "core/TableLock.h"

#include <algorithm>

namespace qv {
namespace {

// What lookups answer when no database is loaded: an end mark like a block's.
uint8_t EmptyBlock[32] = {};

RecordListNode* FindInList(RecordListNode* node, uint16_t id)
{
    for (; node; node = node->next) {
        if (node->record && RecordId(node->record) == id)
            return node;
    }
    return nullptr;
}

struct FieldValue {
    const uint8_t* data = nullptr;
    size_t width = 0;
};

FieldValue LookUpField(uint32_t field, const uint8_t** descriptor, const RecordCursor* cursor, uint32_t source)
{
    if (descriptor)
        *descriptor = nullptr;
    if (!cursor || !cursor->record || (source >= 1 && source <= 5))
        return {};
    FieldValue value;
    if (field >= 128) {
        const uint8_t* sub = GetSubRecord(*cursor, cursor->count);
        value.data = FindFieldData(StreamFieldDescriptors, SubRecordFieldDataOf(sub), field, descriptor, &value.width);
    } else {
        value.data = FindFieldData(RecordFieldDescriptors, RecordFieldDataOf(cursor->record), field, descriptor,
                                   &value.width);
    }
    return value;
}

} // namespace

RecordCursor FindRecordById(uint16_t id, uint32_t count)
{
    uint8_t* record = MainRecordBlock ? MainRecordBlock : EmptyBlock;
    while (RecordLength(record) != 0 && RecordId(record) != id)
        record = NextRecord(record);
    if (RecordLength(record) != 0)
        return {record, count};

    uint8_t* found = nullptr;
    uint32_t value = 0;
    {
        TableLockGuard hold(&ExtraRecordsLock);
        if (RecordListNode* node = FindInList(ExtraRecordList, id)) {
            found = node->record;
            value = node->value;
        }
    }
    if (!found) {
        if (RecordListNode* node = FindInList(ImportedItemList, id)) {
            found = node->record;
            value = node->value;
        }
    }
    if (!found)
        return {record, 0};
    return {found, RecordLength(found) != 0 ? count : value};
}

uint8_t* GetSubRecord(RecordCursor cursor, uint32_t n)
{
    if (!cursor.record)
        return nullptr;
    uint8_t* sub = FirstSubRecord(cursor.record);
    for (uint32_t i = 0; i < n && SubRecordLength(sub) != 0; ++i)
        sub += SubRecordLength(sub);
    return sub;
}

uint8_t* SkipSubRecords(RecordCursor* cursor)
{
    if (!cursor || !cursor->record)
        return nullptr;
    uint8_t* sub = FirstSubRecord(cursor->record);
    uint32_t stepped = 0;
    while (stepped < cursor->count && SubRecordLength(sub) != 0) {
        sub += SubRecordLength(sub);
        ++stepped;
    }
    cursor->count = stepped;
    return sub;
}

int32_t ChainLength(const uint8_t* chain)
{
    if (!chain)
        return 0;
    const uint8_t* p = chain;
    while (*p != 0)
        p += *p;
    return int32_t(p - chain) + 1;
}

const uint8_t* GetFieldDescriptor(uint32_t field, const uint8_t** descriptor, const RecordCursor* cursor,
                                  uint32_t source)
{
    return LookUpField(field, descriptor, cursor, source).data;
}

uint32_t GetShareFieldType(const RecordCursor* cursor, uint32_t source)
{
    constexpr uint32_t kUnknown = 7;
    if (source != 0 || !cursor || !cursor->record)
        return kUnknown;
    uint16_t id = RecordId(cursor->record);
    if (IsShareId(id) || IsMadeItemId(id))
        return cursor->record[RecordLayout::TypeByte] & 7;
    if (SubRecordKindOf(FirstSubRecord(cursor->record)) == SubRecordKind::UnitTrust)
        return 0;
    FieldValue value = LookUpField(129, nullptr, cursor, source);
    return value.data && value.width >= 1 ? value.data[0] : kUnknown;
}

uint32_t GetFieldByte115(const RecordCursor* cursor, uint32_t source)
{
    FieldValue value = LookUpField(115, nullptr, cursor, source);
    return value.data && value.width >= 1 ? value.data[0] : 0;
}

int32_t GetRecordClass(const RecordCursor* cursor)
{
    if (!cursor || !cursor->record)
        return 0;
    uint16_t id = RecordId(cursor->record);
    if (IsShareId(id)) {
        int classByte = GetRecordTexts(cursor->record).classByte;
        return classByte < 0 ? 0 : int8_t(classByte);
    }
    switch (id) {
    case 0xC00D:
        return 6;
    case 0xC00E:
        return 7;
    case 0xC00F:
    case 0xC013:
        return 9;
    case 0xC010:
        return 41;
    case 0xC011:
        return 5;
    case 0xC012:
        return 19;
    default:
        break;
    }
    switch (SubRecordKindOf(GetSubRecord(*cursor, cursor->count))) {
    case 16:
        return 8;
    case 14:
        return 17;
    case 13:
        return 16;
    case 17:
        return 18;
    case 1:
        return 10;
    default:
        return 0;
    }
}

RecordTexts GetRecordTexts(const uint8_t* record)
{
    RecordTexts texts;
    if (!record)
        return texts;
    if (IsMadeRecord(record)) {
        // An extra share record counts only its name; the class byte, a second text and the code
        // follow it, each text NUL-ended, before the price sub-record.
        const size_t room = std::max<size_t>(LoadU16(record + RecordLayout::FirstSubRecord), RecordLayout::Text) -
                            RecordLayout::Text;
        std::string_view all(reinterpret_cast<const char*>(record + RecordLayout::Text), room);
        const size_t n = std::min<size_t>(record[RecordLayout::TextLength], room);
        texts.name = all.substr(0, n);
        if (n + 2 > all.size())
            return texts;
        texts.classByte = uint8_t(all[n + 1]);
        std::string_view rest = all.substr(n + 2);
        rest = rest.substr(std::min(rest.find('\0'), rest.size()));
        if (!rest.empty())
            rest.remove_prefix(1);
        texts.epic = rest.substr(0, rest.find('\0'));
        return texts;
    }
    std::string_view all(reinterpret_cast<const char*>(record + RecordLayout::Text), record[RecordLayout::TextLength]);
    size_t nameEnd = all.find('\0');
    texts.name = all.substr(0, nameEnd);
    if (nameEnd == std::string_view::npos || nameEnd + 1 >= all.size())
        return texts;
    texts.classByte = uint8_t(all[nameEnd + 1]);
    std::string_view rest = all.substr(nameEnd + 2);
    texts.epic = rest.substr(0, rest.find('\0'));
    return texts;
}

} // namespace qv
