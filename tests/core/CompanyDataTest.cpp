// Comp.dat: sections, links from records and sub-records to their items, and field lookups.
#include "core/CompanyData.h"

#include "core/RecordAccess.h"
#include "support/DatabaseFixture.h"

#include <random>

using namespace qv;
using namespace qv::dev;
using qv::test::OneEntry;

namespace {

class CompanyData : public test::DatabaseFixture {};

DbRecord Record(uint16_t id, std::vector<uint8_t> kinds)
{
    DbRecord r = ShareRecord(id, "Name", 'O', "EP");
    r.subRecords.clear();
    for (uint8_t k : kinds) {
        DbSubRecord s;
        s.kind = k;
        r.subRecords.push_back(s);
    }
    return r;
}

// Record fields: 1 text, 115 byte, 20 four bytes, 21 three bytes, 22 no bytes, 23 two bytes.
CompFile Fields()
{
    CompFile comp;
    comp.records.descriptors = {{1, 0x00, {}}, {115, 0xE0, {9, 9}}, {20, 0xD0, {}}, {21, 0x83, {}}, {22, 0x40, {}},
                                {23, 0xF0, {}}};
    comp.streams.descriptors = {{129, 0xE0, {}}, {130, 0xF0, {}}};
    return comp;
}

uint8_t* RecordById(uint16_t id) { return FindRecordById(id, 0).record; }

} // namespace

TEST_F(CompanyData, FieldsAreFoundByTheirDescriptorsWidths)
{
    CompFile comp = Fields();
    comp.records.items.push_back(
        {0x4001, 0, {{1, Text("Alpha plc")}, {115, {3}}, {20, {1, 2, 3, 4}}, {21, {5, 6, 7}}, {23, {8, 9}}}});
    comp.streams.items.push_back({0x4001, 1, {{129, {4}}, {130, {0x34, 0x12}}}});
    std::vector<uint8_t> compDat = WriteCompDat(comp);
    Load(WriteQuorvaDat(OneEntry({Record(0x4001, {10, 11})})), &compDat);

    RecordCursor cursor{RecordById(0x4001), 0};
    const uint8_t* descriptor = nullptr;
    const uint8_t* text = GetFieldDescriptor(1, &descriptor, &cursor, 0);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text + 1), text[0]), "Alpha plc");
    EXPECT_EQ(descriptor, RecordFieldDescriptors.bytes);
    EXPECT_EQ(*GetFieldDescriptor(115, &descriptor, &cursor, 0), 3);
    EXPECT_EQ(descriptor[0], 5); // a descriptor with two extra bytes
    EXPECT_EQ(LoadU32(GetFieldDescriptor(20, nullptr, &cursor, 0)), 0x04030201u);
    EXPECT_EQ(GetFieldDescriptor(21, nullptr, &cursor, 0)[2], 7);
    EXPECT_EQ(LoadU16(GetFieldDescriptor(23, nullptr, &cursor, 0)), 0x0908);
    EXPECT_EQ(GetFieldDescriptor(22, nullptr, &cursor, 0), GetFieldDescriptor(23, nullptr, &cursor, 0));
    EXPECT_EQ(GetFieldDescriptor(99, &descriptor, &cursor, 0), nullptr);
    EXPECT_EQ(descriptor[2], 0); // the walk reached the ending descriptor
    EXPECT_EQ(GetFieldByte115(&cursor, 0), 3u);
    for (uint32_t source = 1; source <= 5; ++source)
        EXPECT_EQ(GetFieldDescriptor(1, nullptr, &cursor, source), nullptr);
    EXPECT_NE(GetFieldDescriptor(1, nullptr, &cursor, 6), nullptr);

    // Sub-record fields come from the cursor's sub-record; the first has no item.
    EXPECT_EQ(GetFieldDescriptor(129, nullptr, &cursor, 0), nullptr);
    cursor.count = 1;
    EXPECT_EQ(*GetFieldDescriptor(129, nullptr, &cursor, 0), 4);
    EXPECT_EQ(LoadU16(GetFieldDescriptor(130, nullptr, &cursor, 0)), 0x1234);
    EXPECT_EQ(GetFieldDescriptor(1, nullptr, nullptr, 0), nullptr);
}

TEST_F(CompanyData, ItemsLinkAtTheRunningCursorElseTheFirstWithTheId)
{
    CompFile comp = Fields();
    auto item = [](uint16_t id, uint8_t v) { return CompanyItem{id, 0, {{115, {v}}}}; };
    comp.records.items = {item(0x4001, 1), item(0x4002, 2), item(0x4001, 3), item(0x4003, 4)};
    std::vector<uint8_t> compDat = WriteCompDat(comp);
    // Order 0x4002 (found by search, cursor behind it), 0x4001 (the cursor's item: the second
    // 0x4001), 0x4005 (none), 0x4003 (cursor), and an id of 0x8000 or more is never linked.
    Load(WriteQuorvaDat(OneEntry({Record(0x4002, {10}), Record(0x4001, {10}), Record(0x4005, {10}),
                                  Record(0x4003, {10}), Record(0x8003, {10})})),
         &compDat);
    auto byte115 = [](uint16_t id) {
        RecordCursor c{RecordById(id), 0};
        return GetFieldByte115(&c, 0);
    };
    EXPECT_EQ(byte115(0x4002), 2u);
    EXPECT_EQ(byte115(0x4001), 3u);
    EXPECT_EQ(byte115(0x4005), 0u);
    EXPECT_EQ(LoadU32(RecordById(0x4005) + RecordLayout::CompanyData), 0u);
    EXPECT_EQ(byte115(0x4003), 4u);
    EXPECT_EQ(LoadU32(RecordById(0x8003) + RecordLayout::CompanyData), 0u);
}

TEST_F(CompanyData, ShareFieldTypeFollowsTheRecordKind)
{
    CompFile comp = Fields();
    comp.streams.items = {{0x8001, 0, {{129, {5}}}}, {0x8002, 0, {{129, {4}}}}, {0x8002, 1, {{129, {6}}}}};
    std::vector<uint8_t> compDat = WriteCompDat(comp);
    DbRecord share = Record(0x4001, {10});
    share.head[0] = 0xF3;
    DbRecord made = Record(0xF001, {10});
    made.head[0] = 0x05;
    Load(WriteQuorvaDat(OneEntry({share, made, Record(0x8001, {14}), Record(0x8002, {1, 1}), Record(0x8003, {1})})),
         &compDat);

    struct Case {
        uint16_t id;
        uint32_t count;
        uint32_t source;
        uint32_t type;
    } cases[] = {
        {0x4001, 0, 0, 3}, // bits 0-2 of byte 4
        {0xF001, 0, 0, 5},
        {0x4001, 0, 1, 7}, // any source: unknown
        {0x8001, 0, 0, 0}, // a unit trust is in pounds whatever its field says
        {0x8002, 0, 0, 4}, // field 129 of the cursor's sub-record
        {0x8002, 1, 0, 6},
        {0x8003, 0, 0, 7}, // no field: unknown
    };
    for (const Case& c : cases) {
        RecordCursor cursor{RecordById(c.id), c.count};
        EXPECT_EQ(GetShareFieldType(&cursor, c.source), c.type) << std::hex << c.id << " " << c.count;
    }
    EXPECT_EQ(GetShareFieldType(nullptr, 0), 7u);
}

TEST_F(CompanyData, SectionsThatAreMissingNewerOrDamagedKeepWhatCanBeRead)
{
    std::vector<uint8_t> db = WriteQuorvaDat(OneEntry({Record(0x4001, {10})}));
    CompFile comp = Fields();
    comp.records.items.push_back({0x4001, 0, {{115, {7}}}});
    comp.streams.items.push_back({0x4001, 0, {{129, {2}}}});
    auto check = [&](uint32_t byte115, uint32_t field129) {
        RecordCursor c{RecordById(0x4001), 0};
        EXPECT_EQ(GetFieldByte115(&c, 0), byte115);
        EXPECT_EQ(GetFieldDescriptor(129, nullptr, &c, 0) ? *GetFieldDescriptor(129, nullptr, &c, 0) : 0xFF,
                  field129);
    };

    Load(db);
    EXPECT_TRUE(box.shown().empty());
    check(0, 0xFF);

    // A newer first section is skipped by its sizes; the second is still read where it lies.
    CompFile newer = comp;
    newer.records.version = 2;
    std::vector<uint8_t> bytes = WriteCompDat(newer);
    Load(db, &bytes);
    ASSERT_EQ(box.texts(), std::vector<std::string>{"Comp.dat can not be understood"});
    EXPECT_EQ(box.shown()[0].icon, MsgIcon::None);
    check(0, 2);

    // A second section without its tag: the first section's tables stay.
    bytes = WriteCompDat(comp);
    size_t second = EncodeCompSection(comp.records, false).size();
    bytes[second] = 'X';
    Load(db, &bytes);
    EXPECT_EQ(box.texts().back(), "Comp.dat badly formatted");
    check(7, 0xFF);

    // Shorter than its sizes say: read as far as it goes, without a message.
    size_t boxes = box.shown().size();
    bytes = WriteCompDat(comp);
    bytes.resize(bytes.size() - 3);
    Load(db, &bytes);
    EXPECT_EQ(box.shown().size(), boxes);
    check(7, 0xFF);
    bytes.resize(second + 10);
    Load(db, &bytes);
    check(7, 0xFF);
    EXPECT_EQ(box.shown().size(), boxes + 1); // the second header is unreadable
}

TEST_F(CompanyData, LyingSizesAndZeroLengthsStayInsideTheTables)
{
    std::vector<uint8_t> db = WriteQuorvaDat(OneEntry({Record(0x4001, {10, 10}), Record(0x4002, {10})}));
    CompFile comp = Fields();
    comp.records.items = {{0x4001, 0, {{1, Text("Alpha")}, {115, {7}}}}, {0x4002, 0, {{115, {8}}}}};
    comp.streams.items = {{0x4001, 1, {{129, {2}}}}};
    const std::vector<uint8_t> valid = WriteCompDat(comp);
    size_t dataStart = 16 + 2 + LoadU16(valid.data() + 16); // behind the first descriptor table
    std::vector<uint8_t> zeroItem = valid;
    StoreU16(zeroItem.data() + dataStart, 0); // the first item's length
    std::vector<uint8_t> hugeSizes = valid;
    StoreU32(hugeSizes.data() + 12, 0xFFFFFFF0u);
    StoreU16(hugeSizes.data() + 16, 0xFFFF);

    for (const auto* bytes : {&zeroItem, &hugeSizes}) {
        Load(db, bytes);
        RecordCursor c{RecordById(0x4001), 1};
        for (uint32_t field = 0; field < 256; ++field)
            GetFieldDescriptor(field, nullptr, &c, 0);
    }
    Load(db, &zeroItem);
    RecordCursor c{RecordById(0x4002), 0};
    EXPECT_EQ(GetFieldByte115(&c, 0), 0u); // the chain ends at a zero length

    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> bytes = valid;
        for (int i = 0; i < 3; ++i)
            bytes[random() % bytes.size()] = uint8_t(random());
        Load(db, &bytes);
        for (uint16_t id : {0x4001, 0x4002}) {
            for (uint32_t count : {0u, 1u}) {
                RecordCursor cursor{RecordById(id), count};
                for (uint32_t field : {1u, 20u, 21u, 22u, 23u, 115u, 129u, 130u})
                    GetFieldDescriptor(field, nullptr, &cursor, 0);
                GetShareFieldType(&cursor, 0);
            }
        }
    }
}
