// Fuzzes the database loader. The first byte chooses how the rest is read: as the raw bytes of
// Quorva.dat and Comp.dat, or as patches to a valid pair made by the writer (which reaches deep
// into the record streams quickly). Whatever loads is then walked through the record access.
#include "core/CompanyData.h"
#include "core/Database.h"
#include "core/RecordAccess.h"
#include "devtools/lib/DatabaseDump.h"
#include "devtools/lib/DatabaseWriter.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"
#include "platform/ProgramExit.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

using namespace qv;
using namespace qv::dev;

namespace {

class SilentBoxes : public MessageBoxHost {
public:
    MsgAnswer show(const MessageRequest& request) override { return DefaultAnswer(request); }
};

struct Pair {
    std::vector<uint8_t> quorva;
    std::vector<uint8_t> comp;
};

Pair ValidPair()
{
    DbFile file;
    DbEntry& main = file.entries.emplace_back();
    for (uint16_t i = 0; i < 4; ++i) {
        DbRecord r = ShareRecord(uint16_t(0x4001 + i), "Share", 'O', "SH");
        r.items = {MakeItem(0, 1.0f, 2)};
        r.subRecords[0].body = {1, 2, 3};
        r.subRecords.push_back(DbSubRecord{});
        r.subRecords.back().kind = uint8_t(i * 4);
        main.records.push_back(r);
    }
    main.extra.assign(40, 8);
    DbEntry& small = file.entries.emplace_back();
    small.oneByteLengths = true;
    small.records = {ShareRecord(0x9000, "S", 'O', "S")};
    CompFile comp;
    comp.records.descriptors = {{1, 0x00, {}}, {115, 0xE0, {}}, {20, 0x83, {}}};
    comp.records.items = {{0x4001, 0, {{1, Text("A")}, {115, {1}}}}, {0x4003, 0, {{115, {2}}}}};
    comp.streams.descriptors = {{129, 0xE0, {}}, {130, 0xD0, {}}};
    comp.streams.items = {{0x4002, 1, {{129, {3}}}}};
    return {WriteQuorvaDat(file), WriteCompDat(comp)};
}

void Walk()
{
    for (uint16_t id : {uint16_t(0x4001), uint16_t(0x4002), uint16_t(0x4004), uint16_t(0x9000), uint16_t(0xC00D)}) {
        for (uint32_t count = 0; count < 3; ++count) {
            RecordCursor cursor = FindRecordById(id, count);
            if (RecordLength(cursor.record) == 0)
                continue;
            SkipSubRecords(&cursor);
            GetRecordClass(&cursor);
            GetShareFieldType(&cursor, 0);
            GetFieldByte115(&cursor, 0);
            for (uint32_t field : {1u, 20u, 115u, 129u, 130u, 200u})
                GetFieldDescriptor(field, nullptr, &cursor, 0);
        }
        DescribeRecord(id);
    }
    DescribeDatabase();
}

void Load(std::span<const uint8_t> quorva, const std::span<const uint8_t>* comp)
{
    try {
        LoadDatabaseFromMemory(quorva, comp);
        Walk();
    } catch (const ProgramEnded&) {
    }
    FreeDatabase(true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static SilentBoxes boxes;
    static bool ready = [] {
        SetMessageBoxHost(&boxes);
        SetExitHandler([](int code) { throw ProgramEnded(code); });
        return true;
    }();
    (void)ready;
    if (size < 3)
        return 0;
    uint8_t mode = data[0];
    std::span<const uint8_t> rest(data + 1, size - 1);

    if (mode & 1) {
        // Raw: a u16 gives the length of Comp.dat at the end (0xFFFF: no Comp.dat).
        uint16_t compLength = LoadU16(rest.data());
        rest = rest.subspan(2);
        if (compLength == 0xFFFF) {
            Load(rest, nullptr);
            return 0;
        }
        size_t split = rest.size() - std::min<size_t>(compLength, rest.size());
        std::span<const uint8_t> comp = rest.subspan(split);
        Load(rest.first(split), &comp);
        return 0;
    }
    // Patches: 4-byte steps {u16 offset, u8 value, u8 what}; what bit 0 picks Comp.dat, bit 1
    // truncates at the offset instead of writing.
    Pair pair = ValidPair();
    for (size_t i = 0; i + 4 <= rest.size(); i += 4) {
        std::vector<uint8_t>& target = rest[i + 3] & 1 ? pair.comp : pair.quorva;
        size_t offset = LoadU16(rest.data() + i);
        if (target.empty())
            continue;
        if (rest[i + 3] & 2)
            target.resize(offset % target.size());
        else
            target[offset % target.size()] = rest[i + 2];
    }
    std::span<const uint8_t> comp(pair.comp);
    Load(pair.quorva, mode & 2 ? nullptr : &comp);
    return 0;
}
