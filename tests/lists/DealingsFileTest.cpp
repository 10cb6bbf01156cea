// Reading the dealings file: the header checks, the coding table, the item-to-entry conversion and
// the damaged files that must load safely.
#include "lists/DirectorsDealings.h"

#include "core/CodedText.h"
#include "devtools/lib/DealingsFileWriter.h"
#include "devtools/lib/TempFolder.h"
#include "lists/DealingItem.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "support/DealingsSample.h"
#include "support/FakeMessageBox.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::dev;

namespace {

struct Parsed {
    DealingsParse result = DealingsParse::Short;
    std::vector<uint8_t> block;
    DealingsFileInfo info;
    CodingTables tables;
    std::vector<const uint8_t*> entries() const
    {
        std::vector<const uint8_t*> out;
        for (const uint8_t* e = block.data(); !block.empty() && e[0] != 0; e += e[0])
            out.push_back(e);
        return out;
    }
};

Parsed Parse(const std::vector<uint8_t>& bytes)
{
    Parsed p;
    p.result = ParseDealingsFile(bytes, p.block, p.info, p.tables);
    return p;
}

TEST(DealingsFile, ReadsEntriesWithInvestorLinksAndFields)
{
    const DealingsFileBytes file = WriteDealingsFile(test::DealingsSample());
    const Parsed p = Parse(file.bytes);
    ASSERT_EQ(p.result, DealingsParse::Ok);
    EXPECT_EQ(p.info.capacity, 14);
    EXPECT_EQ(p.info.date, PackDate(4, 12, 2026));
    auto entries = p.entries();
    ASSERT_EQ(entries.size(), 4u);
    // Each entry is its item plus six bytes; a follower links back to its head.
    EXPECT_EQ(entries[0][0], (file.bytes[file.itemOffsets[0]] & 0x7F) + 6);
    EXPECT_TRUE(IsDealingHead(entries[0]));
    EXPECT_FALSE(IsDealingHead(entries[1]));
    EXPECT_EQ(LoadU16(entries[1] + 1), entries[1] - entries[0]);
    EXPECT_EQ(DealingHeadEntry(entries[1]), entries[0]);

    const DealingFields sale = DecodeDealing(entries[0], p.info, p.tables);
    EXPECT_TRUE(sale.complete);
    EXPECT_EQ(sale.shareId, 0x4001);
    EXPECT_EQ(sale.investor, "Margaret Oakley");
    EXPECT_EQ(sale.shareText, "Ord 10p");
    EXPECT_EQ(sale.date, PackDate(3, 3, 2025));
    EXPECT_DOUBLE_EQ(sale.value, 125000);
    EXPECT_EQ(sale.dealType, "Sale");
    EXPECT_EQ(sale.dealTypeCode, kDealSaleCodeA);
    EXPECT_EQ(sale.role, "Chairman");
    EXPECT_DOUBLE_EQ(sale.dealSize, 50000);
    EXPECT_NEAR(sale.dealPercent, 0.002, 1e-12);
    EXPECT_DOUBLE_EQ(sale.holdSize, 1200000);

    const DealingFields holding = DecodeDealing(entries[1], p.info, p.tables);
    EXPECT_TRUE(holding.holding && holding.complete);
    EXPECT_EQ(holding.investor, "Margaret Oakley");
    const DealingFields purchase = DecodeDealing(entries[2], p.info, p.tables);
    EXPECT_EQ(purchase.investor, "Northgate Capital");
    EXPECT_EQ(purchase.dealTypeCode, kDealPurchaseCode);
    EXPECT_EQ(purchase.value, 0);
    EXPECT_TRUE(purchase.majorHolder && purchase.superseded);
}

TEST(DealingsFile, HeadBitOffsetCountsTheHeadersBitIndex)
{
    // Coded fields from item byte 8, bit 3: the names are still found through the stored position.
    DealingsFileSpec spec = test::DealingsSample();
    spec.codedStart = 8 << 3 | 3;
    const Parsed p = Parse(WriteDealingsFile(spec).bytes);
    ASSERT_EQ(p.result, DealingsParse::Ok);
    auto entries = p.entries();
    EXPECT_EQ(DecodeDealing(entries[1], p.info, p.tables).investor, "Margaret Oakley");
    EXPECT_EQ(DecodeDealing(entries[2], p.info, p.tables).role, "Chairman");
    EXPECT_EQ(DecodeDealing(entries[3], p.info, p.tables).investor, "Northgate Capital");
}

TEST(DealingsFile, RefusesOtherVersionsAndMagic)
{
    for (int version : {0, 2}) {
        DealingsFileSpec spec = test::DealingsSample();
        spec.version = uint8_t(version);
        const Parsed p = Parse(WriteDealingsFile(spec).bytes);
        EXPECT_EQ(p.result, DealingsParse::Incompatible);
        EXPECT_TRUE(p.block.empty());
    }
    auto bytes = WriteDealingsFile(test::DealingsSample()).bytes;
    bytes[3] = 'X';
    EXPECT_EQ(Parse(bytes).result, DealingsParse::Incompatible);
}

TEST(DealingsFile, SevenGroupsReadTwentyTableEntries)
{
    // Seven groups of one-byte entries: 7 group words, 20 entries (the seventh group cut after its
    // second), then the body.
    std::vector<uint8_t> bytes(32, 0);
    std::copy_n("ZQDB", 4, bytes.begin());
    bytes[4] = 1;
    bytes[7] = 7;
    bytes[20] = 7 << 3;
    for (int i = 0; i < 20; ++i) {
        if (i % 3 == 0)
            bytes.insert(bytes.end(), {0, 0});
        bytes.insert(bytes.end(), {1, 0, uint8_t(i)});
    }
    bytes.push_back(0);
    StoreU32(bytes.data() + 12, 1);
    const Parsed p = Parse(bytes);
    ASSERT_EQ(p.result, DealingsParse::Ok);
    EXPECT_EQ(p.tables.loadedCount(), 20);
    EXPECT_EQ(p.tables.block(19)[0], 19);
    EXPECT_EQ(p.block, std::vector<uint8_t>{0});
}

// Each damaged file loads without a block and without reading outside its bytes.
TEST(DealingsFile, DamagedFilesLoadNoBlock)
{
    const DealingsFileBytes good = WriteDealingsFile(test::DealingsSample());
    const size_t first = good.itemOffsets[0], second = good.itemOffsets[1];
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
        DealingsParse expected;
    };
    const Case cases[] = {
        {"item length 0 with the head flag", [&](auto& b) { b[first] = 0x80; }, DealingsParse::Damaged},
        {"item length below 7", [&](auto& b) { b[second] = 5; }, DealingsParse::Damaged},
        {"item past the body", [&](auto& b) { b[second] = 127; }, DealingsParse::Damaged},
        {"item before any head", [&](auto& b) { b[first] &= 0x7F; }, DealingsParse::Damaged},
        {"body cut short", [&](auto& b) { b.resize(b.size() - 3); }, DealingsParse::Short},
        {"table cut short", [&](auto& b) { b.resize(40); }, DealingsParse::Short},
        {"header cut short", [&](auto& b) { b.resize(20); }, DealingsParse::Short},
        {"header item count too small", [&](auto& b) { StoreU32(b.data() + 8, 0); }, DealingsParse::Ok},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = good.bytes;
        c.damage(bytes);
        const Parsed p = Parse(bytes);
        EXPECT_EQ(p.result, c.expected);
        EXPECT_EQ(p.block.empty(), c.expected != DealingsParse::Ok);
    }
}

TEST(DealingsFile, BackDistanceThatReadsAsAHeadIsRefused)
{
    // More than 0x8000 bytes of items behind one head: the last links would read as heads.
    DealingsFileSpec spec = test::DealingsSample();
    const DealingItemSpec follower = spec.items[1];
    spec.items.resize(2);
    while (spec.items.size() < 0x8000 / 10)
        spec.items.push_back(follower);
    EXPECT_EQ(Parse(WriteDealingsFile(spec).bytes).result, DealingsParse::Damaged);
    spec.items.resize(100);
    EXPECT_EQ(Parse(WriteDealingsFile(spec).bytes).result, DealingsParse::Ok);
}

class DealingsLoad : public ::testing::Test {
protected:
    DealingsLoad() : previous_(ProgramFolder())
    {
        SetProgramFolder(folder.path());
        std::filesystem::create_directories(folder / "data");
    }
    ~DealingsLoad() override
    {
        FreeDirDealBlocks();
        SetProgramFolder(previous_);
    }
    TempFolder folder;
    test::FakeMessageBox box;

private:
    std::filesystem::path previous_;
};

TEST_F(DealingsLoad, LoadsTheFileAndReportsAnIncompatibleOne)
{
    WriteFileBytes(folder / "data" / "DirDeal.dat", WriteDealingsFile(test::DealingsSample()).bytes);
    LoadDirDeal();
    ASSERT_NE(DealingsMainBlock, nullptr);
    EXPECT_EQ(DealingsInfo().entryCount, 4);
    EXPECT_TRUE(box.shown().empty());

    DealingsFileSpec old = test::DealingsSample();
    old.version = 2;
    WriteFileBytes(folder / "data" / "DirDeal.dat", WriteDealingsFile(old).bytes);
    LoadDirDeal();
    EXPECT_EQ(DealingsMainBlock, nullptr);
    ASSERT_EQ(box.shown().size(), 1u);
    EXPECT_EQ(box.shown()[0].text, "The data file DirDeal.dat is not compatible with this version of the program\n\n"
                                   "Directors's dealings will not be avaible.");
    EXPECT_EQ(box.shown()[0].icon, MsgIcon::Stop);
}

TEST_F(DealingsLoad, OldCopyMovesInOnlyWhenTheFileIsAbsent)
{
    const auto bytes = WriteDealingsFile(test::DealingsSample()).bytes;
    WriteFileBytes(folder / "data" / "DirDeal.old", bytes);
    LoadDirDeal();
    EXPECT_NE(DealingsMainBlock, nullptr);
    EXPECT_FALSE(std::filesystem::exists(folder / "data" / "DirDeal.old"));

    // A name that exists but cannot be read (here a folder) is never replaced.
    std::filesystem::remove(folder / "data" / "DirDeal.dat");
    std::filesystem::create_directory(folder / "data" / "DirDeal.dat");
    WriteFileBytes(folder / "data" / "DirDeal.old", bytes);
    LoadDirDeal();
    EXPECT_EQ(DealingsMainBlock, nullptr);
    EXPECT_TRUE(std::filesystem::exists(folder / "data" / "DirDeal.old"));
    EXPECT_TRUE(box.shown().empty());
}

} // namespace
