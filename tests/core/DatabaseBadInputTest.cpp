// Damaged database files end with the file's message and exit code 1, never out of bounds.
#include "core/Database.h"

#include "support/DatabaseFixture.h"

#include <functional>
#include <random>

using namespace qv;
using namespace qv::dev;
using qv::test::OneEntry;

namespace {

const char* kBadlyFormatted = "The data file Quorva.dat is badly formatted\n\nQuorvantis is unable to continue\n\n"
                              "Please refer to User Guide for help";
const char* kNotCompatible = "The data file Quorva.dat is not compatible with this version of the program\n\n"
                             "Quorvantis is unable to continue\n\nPlease refer to User Guide for help";

// In a one-entry file the record stream starts behind the header, L and two directory entries.
constexpr size_t kStream = 16 + 4 + 40;

class DatabaseBadInput : public test::DatabaseFixture {};

std::vector<uint8_t> ValidFile()
{
    DbRecord r = ShareRecord(0x4001, "Alpha", 'O', "ALP");
    r.items = {MakeItem(0, 1.0f, 2)};
    r.subRecords[0].body = {1, 2, 3, 4};
    r.subRecords.push_back(DbSubRecord{});
    r.subRecords.back().body = {5, 6};
    return WriteQuorvaDat(OneEntry({r, ShareRecord(0x4002, "Beta", 'O', "BET")}));
}

struct Damage {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> apply;
    const char* message;
};

} // namespace

TEST_F(DatabaseBadInput, EachDamageEndsWithItsMessage)
{
    // Record 1: head at kStream, text length at +10 (n = 11), item count at +22, items at +23,
    // first sub-record head at +43.
    const Damage cases[] = {
        {"wrong tag", [](auto& f) { f[0] = 'X'; }, kBadlyFormatted},
        {"newer format", [](auto& f) { f[4] = 2; }, kNotCompatible},
        {"directory size past the file", [](auto& f) { StoreU32(f.data() + 16, 1u << 30); }, kBadlyFormatted},
        {"directory without its ending entry", [](auto& f) { StoreU32(f.data() + 16, 20); }, kBadlyFormatted},
        {"directory with no entries", [](auto& f) { StoreU32(f.data() + 20, 0); }, kBadlyFormatted},
        {"head size not 10", [](auto& f) { f[20 + 16] = 12; }, kBadlyFormatted},
        {"record length past the file", [](auto& f) { StoreU16(f.data() + kStream + 81, 0xFFF0); },
         kBadlyFormatted},
        {"record length shorter than its parts", [](auto& f) { StoreU16(f.data() + kStream, 30); },
         kBadlyFormatted},
        {"text length past the record", [](auto& f) { f[kStream + 10] = 250; }, kBadlyFormatted},
        {"item count past the record", [](auto& f) { f[kStream + 22] = 200; }, kBadlyFormatted},
        {"sub-record length below 48", [](auto& f) { StoreU16(f.data() + kStream + 43, 47); }, kBadlyFormatted},
        {"sub-record length of 1", [](auto& f) { StoreU16(f.data() + kStream + 43, 1); }, kBadlyFormatted},
        {"sub-record length past the record", [](auto& f) { StoreU16(f.data() + kStream + 43, 400); },
         kBadlyFormatted},
        {"records stated past the stream", [](auto& f) { StoreU16(f.data() + 20 + 8, 3); }, kBadlyFormatted},
    };
    for (const Damage& damage : cases) {
        SCOPED_TRACE(damage.what);
        std::vector<uint8_t> file = ValidFile();
        damage.apply(file);
        test::FakeMessageBox box;
        EXPECT_EQ(LoadEndCode(file), 1);
        ASSERT_EQ(box.shown().size(), 1u);
        EXPECT_EQ(box.shown()[0].text, damage.message);
        EXPECT_EQ(box.shown()[0].icon, MsgIcon::Stop);
    }
}

TEST_F(DatabaseBadInput, EveryTruncationIsBadlyFormatted)
{
    std::vector<uint8_t> file = ValidFile();
    Load(file);
    for (size_t length = 0; length < file.size(); ++length) {
        std::vector<uint8_t> cut(file.begin(), file.begin() + long(length));
        EXPECT_EQ(LoadEndCode(cut), 1) << length;
    }
    EXPECT_EQ(box.shown().size(), file.size());
}

TEST_F(DatabaseBadInput, ARecordTooLongForItsLoadedLengthIsRefused)
{
    // Stored within its u16 length, but 20 + 64 x sub-records more in memory would pass 65,535.
    std::vector<uint8_t> stored = EncodeRecord(ShareRecord(0x4003, "Big", 'O', "BIG"), false);
    std::vector<uint8_t> body(65535 - 20 - 64 + 1 - stored.size(), 0);
    DbRecord big = ShareRecord(0x4003, "Big", 'O', "BIG");
    big.subRecords[0].body = body;
    EXPECT_THROW(EncodeRecord(big, false), std::length_error);
    // The same bytes from another producer are refused; one byte less loads.
    auto fileWithBody = [&](size_t bodySize) {
        std::vector<uint8_t> record = stored;
        record.resize(stored.size() + bodySize);
        StoreU16(record.data(), uint16_t(record.size()));
        std::vector<uint8_t> bytes = WriteQuorvaDat(OneEntry({}));
        bytes.resize(kStream);
        StoreU32(bytes.data() + 20, uint32_t(record.size()));
        StoreU16(bytes.data() + 20 + 8, 1);
        bytes.insert(bytes.end(), record.begin(), record.end());
        return bytes;
    };
    EXPECT_EQ(LoadEndCode(fileWithBody(body.size())), 1);
    EXPECT_EQ(LoadEndCode(fileWithBody(body.size() - 1)), -1);
    EXPECT_EQ(RecordLength(MainRecordBlock), 65535);
}

TEST_F(DatabaseBadInput, RandomDamageNeverEscapesTheFile)
{
    std::vector<uint8_t> valid = ValidFile();
    std::mt19937 random(4);
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> file = valid;
        int flips = 1 + int(random() % 4);
        for (int i = 0; i < flips; ++i)
            file[random() % file.size()] = uint8_t(random());
        if (LoadEndCode(file) == -1) {
            ++loaded;
            // Whatever loaded must walk cleanly to its end marks.
            for (int b = 0; b < DatabaseBlockCount(); ++b) {
                const DatabaseBlock& block = GetDatabaseBlock(b);
                uint8_t* r = block.records;
                while (RecordLength(r) != 0)
                    r = NextRecord(r);
                ASSERT_EQ(r + 2, block.records + block.size);
            }
        }
    }
    EXPECT_GT(loaded, 0);
}
