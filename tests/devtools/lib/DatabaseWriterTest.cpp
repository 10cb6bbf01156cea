// Written databases load back into exactly what was described.
#include "devtools/lib/DatabaseWriter.h"

#include "core/CompanyData.h"
#include "support/DatabaseFixture.h"

#include <cstring>
#include <random>

using namespace qv;
using namespace qv::dev;

namespace {

class DatabaseWriter : public test::DatabaseFixture {};

std::vector<uint8_t> RandomBytes(std::mt19937& random, size_t n)
{
    std::vector<uint8_t> bytes(n);
    for (uint8_t& b : bytes)
        b = uint8_t(random());
    return bytes;
}

DbRecord RandomRecord(std::mt19937& random, uint16_t id, bool small)
{
    DbRecord r;
    r.id = id;
    for (uint8_t& b : r.head)
        b = uint8_t(random());
    std::vector<uint8_t> text = RandomBytes(random, random() % (small ? 20 : 120));
    r.text.assign(text.begin(), text.end());
    for (size_t i = random() % (small ? 3 : 6); i > 0; --i) {
        DbItem item;
        std::vector<uint8_t> bytes = RandomBytes(random, 20);
        std::memcpy(item.bytes.data(), bytes.data(), 20);
        r.items.push_back(item);
    }
    for (size_t i = 1 + random() % (small ? 2 : 5); i > 0; --i) {
        DbSubRecord s;
        s.kind = uint8_t(random() % 20);
        s.byte3 = uint8_t(random());
        s.issueFigure = float(random() % 1000) / 4.0f;
        s.priceScale = int16_t(int(random() % 9) - 4);
        s.firstDate = uint16_t(random());
        s.body = RandomBytes(random, random() % (small ? 30 : 900));
        r.subRecords.push_back(s);
    }
    return r;
}

void ExpectLoadedAs(const uint8_t* m, const DbRecord& r, bool oneByte)
{
    ASSERT_EQ(RecordLength(m), EncodeRecord(r, oneByte).size() + 20 + 64 * r.subRecords.size());
    ASSERT_EQ(RecordId(m), r.id);
    EXPECT_EQ(std::memcmp(m + 4, r.head.data(), oneByte ? 7 : 6), 0);
    ASSERT_EQ(m[30], r.text.size());
    EXPECT_EQ(std::memcmp(m + 31, r.text.data(), r.text.size()), 0);
    const uint8_t* items = m + 31 + r.text.size();
    ASSERT_EQ(items[0], r.items.size());
    for (size_t i = 0; i < r.items.size(); ++i)
        EXPECT_EQ(std::memcmp(items + 1 + 20 * i, r.items[i].bytes.data(), 20), 0);
    const uint8_t* sub = FirstSubRecord(m);
    ASSERT_EQ(sub, items + 1 + 20 * r.items.size());
    for (size_t j = 0; j < r.subRecords.size(); ++j) {
        const DbSubRecord& s = r.subRecords[j];
        bool last = j + 1 == r.subRecords.size();
        ASSERT_EQ(SubRecordLength(sub), last ? 0u : 80 + s.body.size());
        EXPECT_EQ(sub[2], s.kind);
        EXPECT_EQ(sub[3], s.byte3);
        EXPECT_EQ(LoadF32(sub + 4), s.issueFigure);
        EXPECT_EQ(LoadI16(sub + 8), s.priceScale);
        EXPECT_EQ(LoadU16(sub + 10), s.firstDate);
        if (!s.body.empty()) {
            EXPECT_EQ(std::memcmp(sub + 80, s.body.data(), s.body.size()), 0);
        }
        if (last) {
            EXPECT_EQ(sub + 80 + s.body.size(), m + RecordLength(m));
        }
        sub += SubRecordLength(sub);
    }
}

} // namespace

TEST_F(DatabaseWriter, RandomDatabasesLoadBackAsDescribed)
{
    std::mt19937 random(21);
    for (int round = 0; round < 30; ++round) {
        DbFile file;
        file.formatVersion = uint8_t(random() % 2);
        file.databaseVersion = uint8_t(random());
        file.wordA = uint16_t(random());
        file.date = uint16_t(random());
        size_t entries = 1 + random() % 4;
        for (size_t e = 0; e < entries; ++e) {
            DbEntry& entry = file.entries.emplace_back();
            entry.oneByteLengths = e > 0 && random() % 2;
            entry.extra = RandomBytes(random, random() % 3 == 0 ? 0 : random() % 500);
            for (size_t i = random() % 12; i > 0; --i)
                entry.records.push_back(RandomRecord(random, uint16_t(random()), entry.oneByteLengths));
        }
        Load(WriteQuorvaDat(file));
        EXPECT_EQ(DatabaseMinorVersion, file.databaseVersion);
        EXPECT_EQ(DatabaseWordA, file.wordA);
        ASSERT_EQ(DatabaseBlockCount(), int(entries));
        for (size_t e = 0; e < entries; ++e) {
            const DbEntry& entry = file.entries[e];
            const DatabaseBlock& block = GetDatabaseBlock(int(e));
            ASSERT_EQ(block.recordCount, entry.records.size());
            ASSERT_EQ(block.extraSize, entry.extra.size());
            if (!entry.extra.empty()) {
                EXPECT_EQ(std::memcmp(block.extra, entry.extra.data(), entry.extra.size()), 0);
            }
            const uint8_t* m = block.records;
            for (const DbRecord& r : entry.records) {
                ExpectLoadedAs(m, r, entry.oneByteLengths);
                m += RecordLength(m);
            }
            EXPECT_EQ(m + 2, block.records + block.size);
        }
    }
}

TEST_F(DatabaseWriter, CompanyDataItemsGiveBackEveryFieldValue)
{
    std::mt19937 random(8);
    const uint8_t types[] = {0x00, 0x81, 0x83, 0x8F, 0xD0, 0xE0, 0xF0, 0x40};
    for (int round = 0; round < 20; ++round) {
        CompFile comp;
        std::vector<DbRecord> records;
        for (uint8_t field = 1; field < 40; ++field) {
            uint8_t type = types[random() % 8];
            comp.records.descriptors.push_back({field, type, RandomBytes(random, random() % 3)});
            comp.streams.descriptors.push_back({uint8_t(field + 128), type, {}});
        }
        auto width = [](uint8_t type) -> size_t {
            switch (type & 0xF0) {
            case 0x80:
                return type & 0x0F;
            case 0xD0:
                return 4;
            case 0xE0:
                return 1;
            case 0xF0:
                return 2;
            default:
                return 0;
            }
        };
        for (uint16_t id = 0x4001; id < 0x4010; ++id) {
            records.push_back(ShareRecord(id, "S", 'O', "S"));
            records.back().subRecords.resize(2);
            CompanyItem item{id, 0, {}};
            CompanyItem stream{id, 1, {}};
            for (const FieldDescriptor& d : comp.records.descriptors) {
                if (random() % 4 == 0)
                    continue; // missing: zeros
                size_t n = d.type == 0x00 ? random() % 30 : width(d.type);
                item.values[d.field] = RandomBytes(random, n);
                stream.values[uint8_t(d.field + 128)] = item.values[d.field];
            }
            comp.records.items.push_back(item);
            comp.streams.items.push_back(stream);
        }
        std::vector<uint8_t> compDat = WriteCompDat(comp);
        Load(WriteQuorvaDat(test::OneEntry(records)), &compDat);

        for (const CompanyItem& item : comp.records.items) {
            RecordCursor cursor{RecordIndex[item.id], 1};
            for (const FieldDescriptor& d : comp.records.descriptors) {
                for (uint32_t field : {uint32_t(d.field), uint32_t(d.field) + 128}) {
                    const uint8_t* value = GetFieldDescriptor(field, nullptr, &cursor, 0);
                    ASSERT_NE(value, nullptr) << field;
                    auto given = item.values.find(d.field);
                    if (d.type == 0x00) {
                        size_t n = given == item.values.end() ? 0 : given->second.size();
                        ASSERT_EQ(value[0], n);
                        if (n) {
                            EXPECT_EQ(std::memcmp(value + 1, given->second.data(), n), 0);
                        }
                    } else if (given != item.values.end() && width(d.type)) {
                        EXPECT_EQ(std::memcmp(value, given->second.data(), width(d.type)), 0);
                    }
                }
            }
        }
    }
}

TEST(DatabaseWriterLimits, DescriptionsTheFormatCannotHoldAreRefused)
{
    DbRecord noSub = ShareRecord(1, "A", 'O', "A");
    noSub.subRecords.clear();
    EXPECT_THROW(EncodeRecord(noSub, false), std::length_error);
    DbRecord tooLongForOneByte = ShareRecord(1, std::string(200, 'x'), 'O', "A");
    tooLongForOneByte.subRecords[0].body.resize(100);
    EXPECT_THROW(EncodeRecord(tooLongForOneByte, true), std::length_error);
    EXPECT_NO_THROW(EncodeRecord(tooLongForOneByte, false));

    CompSection section;
    section.descriptors = {{5, 0xE0, {}}};
    section.items = {{1, 0, {{5, {1, 2}}}}};
    EXPECT_THROW(EncodeCompSection(section, false), std::invalid_argument);
    section.items = {{1, 0, {{5, {1}}}}};
    EXPECT_EQ(EncodeCompSection(section, false).size(), 16u + 2 + 6 + 5);
}
