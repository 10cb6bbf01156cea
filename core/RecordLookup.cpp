// Record lookups over the main block, the record index and the two lists beside it.
#include "core/RecordLookup.h"

#include "core/CompanyData.h"
#include "core/Database.h"
#include "core/ExtraRecords.h"
#include "core/RecordLists.h"
#include "core/TableLock.h"

#include <vector>

namespace qv {

std::atomic<bool> MarketLettersOption{false};
std::atomic<bool> ListTableTitleFlag{false};

namespace {

constexpr uint16_t kFirstMadeId = 0xF000;

uint8_t* FindInMainBlock(uint16_t id)
{
    if (!MainRecordBlock)
        return nullptr;
    for (uint8_t* r = MainRecordBlock; RecordLength(r) != 0; r = NextRecord(r))
        if (RecordId(r) == id)
            return r;
    return nullptr;
}

uint8_t* FindImported(uint16_t id)
{
    for (RecordListNode* node = ImportedItemList; node; node = node->next)
        if (node->record && RecordId(node->record) == id)
            return node->record;
    return nullptr;
}

bool KeptInCode(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

// The raw code: field 128 of the sub-record's company data, or a share's text after its name.
bool RawShareCode(const RecordCursor& cursor, std::string& code)
{
    const uint8_t* sub = GetSubRecord(cursor, cursor.count);
    FieldData data = SubRecordFieldDataOf(sub);
    if (!data) {
        if (!IsShareId(RecordId(cursor.record)))
            return false;
        RecordTexts texts = GetRecordTexts(cursor.record);
        code = texts.classByte < 0 ? std::string() : std::string(texts.epic);
        return true;
    }
    const uint8_t* descriptor = nullptr;
    size_t width = 0;
    const uint8_t* value = FindFieldData(StreamFieldDescriptors, data, 128, &descriptor, &width);
    if (!value || descriptor[1] == 0xF0)
        return false;
    if ((descriptor[1] & 0xF0) == 0x00 && width >= 1)
        code.assign(reinterpret_cast<const char*>(value + 1), width - 1);
    else if ((descriptor[1] & 0xF0) == 0x80)
        code.assign(reinterpret_cast<const char*>(value), width);
    return true;
}

} // namespace

uint8_t* FindShareRecord(uint16_t id)
{
    if (IsShareId(id)) {
        TableLockGuard lock(&ExtraRecordsLock);
        if (uint8_t* extra = FindExtraRecordLocked(id))
            return extra;
    }
    if (id >= 0x8000 && id < kFirstMadeId)
        return FindInMainBlock(id);
    if (id >= kFirstMadeId)
        return FindImported(id);
    return RecordIndex[id];
}

RecordCursor& GetRecordCursor(uint16_t id)
{
    static RecordCursor cursor;
    cursor.record = id >= kFirstMadeId ? FindImported(id) : FindInMainBlock(id);
    cursor.count = 0;
    return cursor;
}

uint16_t NewImportedId()
{
    std::vector<bool> used(0x1000, false);
    for (RecordListNode* node = ImportedItemList; node; node = node->next)
        if (node->record && RecordId(node->record) >= kFirstMadeId)
            used[RecordId(node->record) - kFirstMadeId] = true;
    for (uint32_t id = kFirstMadeId; id <= 0xFFFE; ++id)
        if (!used[id - kFirstMadeId])
            return uint16_t(id);
    return 0;
}

int CountSubRecords(const uint8_t* record)
{
    int n = 1;
    for (const uint8_t* sub = FirstSubRecord(record); SubRecordLength(sub) != 0; sub += SubRecordLength(sub))
        ++n;
    return n;
}

std::string_view GetRecordName(const uint8_t* record)
{
    std::string_view text(reinterpret_cast<const char*>(record + RecordLayout::Text),
                          record[RecordLayout::TextLength]);
    return text.substr(0, text.find('\0'));
}

std::string FormatShareTitle(const RecordCursor& entry)
{
    static const char kLetters[] = "AIZPWVNUMCO";
    std::string title(GetRecordName(entry.record));
    if (!MarketLettersOption || ListTableTitleFlag)
        return title;
    const uint8_t* sub = GetSubRecord(entry, entry.count);
    uint8_t kind = sub ? SubRecordKindOf(sub) : 0xFF;
    if (kind > 10)
        return title;
    return std::string(1, kLetters[kind]) + " - " + title;
}

bool GetShareFileCode(const RecordCursor& cursor, std::string& out, bool forFileName)
{
    out.clear();
    std::string code;
    if (!cursor.record || !RawShareCode(cursor, code))
        return true;
    for (char& c : code) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
        if (forFileName && c == '.')
            c = '_';
    }
    size_t keep = 0;
    while (keep < code.size() && KeptInCode(code[keep]))
        ++keep;
    code.resize(keep);
    if (forFileName && (code == "AUX" || code == "CON" || code == "PRN" || code == "NUL"))
        code = "_" + code;
    out = code;
    return out.empty();
}

std::string GetListFieldText(const RecordCursor& cursor)
{
    const uint8_t* descriptor = nullptr;
    const uint8_t* value = GetFieldDescriptor(117, &descriptor, &cursor, 0);
    if (!value || !descriptor || (descriptor[1] & 0xF0) != 0x00)
        return {};
    std::string out;
    for (uint8_t i = 0; i < value[0]; ++i) {
        char c = char(value[1 + i]);
        if (c == '|')
            out += ", ";
        else
            out += c;
    }
    return out;
}

} // namespace qv
