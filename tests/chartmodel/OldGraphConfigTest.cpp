// Tests of the older graph settings file.
#include "chartmodel/OldGraphConfig.h"

#include "core/LinesAndTextFiles.h"
#include "core/SettingRecordStore.h"
#include "core/SettingRecordsV4.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>
#include <random>

using namespace qv;

namespace {

struct InFolder {
    InFolder()
    {
        SetProgramFolder(dir.path());
        SettingRecords().load({});
    }
    ~InFolder()
    {
        SetProgramFolder(previous);
        SettingRecords().load({});
        LinesAndTextStore().FreeItems();
    }
    fs::path previous = ProgramFolder();
    dev::TempFolder dir;
};

std::vector<uint8_t> OldGraphFile(const char* tag, uint8_t version, std::span<const uint8_t> body,
                                  uint32_t length)
{
    ByteWriter w;
    w.bytes(tag, 4);
    w.u8(version);
    w.zeros(7);
    w.u32(length);
    w.bytes(body.data(), body.size());
    return w.take();
}

// A block holding one record (key 0x4002, sub-key 1) with a sub-record of id 3 and data {7, 8}.
std::vector<uint8_t> SmallBlock()
{
    return {12, 0, 0x02, 0x40, 1, 5, 0, 3, 7, 8, 0, 0, 0, 0};
}

} // namespace

TEST(OldGraphConfig, OlderFileFillsTheSettingRecords)
{
    InFolder folder;
    test::FakeMessageBox boxes;
    auto block = SmallBlock();
    WriteFileBytes(folder.dir / "Graph.cfg", OldGraphFile("ZQAC", 1, block, uint32_t(block.size())));
    LoadGraphConfig();
    uint8_t* data = GetSettingRecord(0x4002, 1, 3);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data[0], 7);
    EXPECT_EQ(data[1], 8);
    EXPECT_TRUE(boxes.shown().empty());

    // A body shorter than its length word: what is there is read, the rest is zeros.
    SettingRecords().load({});
    WriteFileBytes(folder.dir / "Graph.cfg", OldGraphFile("ZQAC", 0, block, 5000));
    LoadGraphConfig();
    EXPECT_NE(GetSettingRecord(0x4002, 1, 3), nullptr);
}

TEST(OldGraphConfig, OtherHeadersAreReportedOrLeftAlone)
{
    InFolder folder;
    struct Case {
        const char* tag;
        uint8_t version;
        uint32_t length;
        const char* message; // null: nothing shown
    };
    for (auto c : {Case{"ZQAN", 9, 0, nullptr}, Case{"ZQAC", 2, 0, "Quorvantis is too old to load Graph.cfg"},
                   Case{"ZQXX", 1, 0, "Graph.cfg is badly formatted"},
                   Case{"ZQXX", 2, 0, "Quorvantis is too old to load Graph.cfg"},
                   Case{"ZQAC", 1, kMaxOldGraphBody + 1, "Serious Error: Graph configuration file is corrupted"}}) {
        test::FakeMessageBox boxes;
        auto block = SmallBlock();
        WriteFileBytes(folder.dir / "Graph.cfg", OldGraphFile(c.tag, c.version, block, c.length));
        LoadGraphConfig();
        EXPECT_EQ(boxes.texts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{})
            << c.tag << int(c.version);
        EXPECT_EQ(GetSettingRecord(0x4002, 1, 3), nullptr);
    }
    test::FakeMessageBox boxes;
    fs::remove(folder.dir / "Graph.cfg");
    LoadGraphConfig();
    EXPECT_TRUE(boxes.shown().empty());
}

TEST(OldGraphConfig, RepairCutsSubRecordsThatReachTheirRecordsEnd)
{
    // Record of 16 bytes: sub-records of 5 and 6 bytes; the second reaches the record's end.
    std::vector<uint8_t> block = {16, 0, 1, 0, 0, 5, 0, 1, 9, 9, 6, 0, 2, 9, 9, 9, 0, 0};
    RepairSettingRecords(block);
    EXPECT_EQ(LoadU16(&block[5]), 5);
    EXPECT_EQ(LoadU16(&block[10]), 0);
    // A record running past the block is left alone and ends the walk.
    std::vector<uint8_t> wild = {200, 0, 1, 0, 0, 250, 0};
    RepairSettingRecords(wild);
    EXPECT_EQ(wild[5], 250);
}

TEST(OldGraphConfig, RunTimeRecordsAreDroppedBeforeTheStoreIsSaved)
{
    InFolder folder;
    uint8_t data[3] = {1, 2, 3};
    SetSettingRecord(0x4001, 0, 2, data, 3);
    SetSettingRecord(0x4001, 0, 150, data, 3);
    SetSettingRecord(0x4003, 0, 207, data, 3);
    DeleteGraphSettingRecords();
    uint8_t* blob = LinesAndTextStore().GetItem(0, 2, 0);
    ASSERT_NE(blob, nullptr);
    EXPECT_EQ(LoadU32(blob + 4), 0u);
    // One record of 5 + 6 + 2 bytes, then the block's end word.
    EXPECT_EQ(LoadU32(blob), 8u + 13u + 2u);
    EXPECT_EQ(LoadU16(blob + 8), 13);
    EXPECT_EQ(blob[8 + 7], 2);
}

TEST(OldGraphConfig, RandomBlocksAreRepairedAndConvertedWithinBounds)
{
    std::mt19937 rng(1142);
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> block(rng() % 200);
        for (auto& b : block)
            b = uint8_t(rng() % 4 == 0 ? rng() % 40 : rng());
        RepairSettingRecords(block);
        auto converted = ConvertSettingBlockV4(block);
        ASSERT_GE(converted.size(), 2u);
        EXPECT_EQ(LoadU16(&converted[converted.size() - 2]), 0);
    }
}
