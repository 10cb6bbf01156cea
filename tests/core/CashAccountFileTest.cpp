// Tests of the cash-account file "Data\Cash.dat".
#include "core/CashAccountFile.h"

#include "core/CashAccounts.h"

#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace qv;

namespace {

// An entry of `length` bytes whose bytes count up from 1 after the length byte.
std::vector<uint8_t> Entry(uint8_t length)
{
    std::vector<uint8_t> e(length);
    e[0] = length;
    for (size_t i = 1; i < e.size(); ++i)
        e[i] = uint8_t(i);
    return e;
}

std::vector<uint8_t> Block(std::vector<std::vector<uint8_t>> entries, size_t spare)
{
    std::vector<uint8_t> block;
    for (auto& e : entries)
        block.insert(block.end(), e.begin(), e.end());
    block.resize(block.size() + spare, 0);
    return block;
}

std::vector<uint8_t> WithVersion(std::vector<uint8_t> image, uint8_t version)
{
    image[4] = version;
    return image;
}

class CashFile : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolder(dir.path()); }
    dev::TempFolder dir;
    test::FakeMessageBox box;
};

} // namespace

TEST_F(CashFile, AccountsRoundTripByteExact)
{
    StoredCashAccount a{3, 7, 0, Block({Entry(50), Entry(60)}, 40), "Broker"};
    StoredCashAccount b = DefaultCashAccount();
    std::vector<uint8_t> image = WriteCashFile({b, a});
    EXPECT_EQ(LoadU32(&image[0]), 0x4741515Au); // "ZQAG"
    EXPECT_EQ(image[4], 2);
    EXPECT_EQ(LoadU32(&image[8]), 2u);
    EXPECT_EQ(LoadU32(&image[16]), 15u); // "Global Account" and its zero
    CashFileContents read = ReadCashFile(image);
    ASSERT_EQ(read.verdict, HeaderVerdict::Accepted);
    EXPECT_EQ(read.accounts, (std::vector<StoredCashAccount>{b, a}));
    EXPECT_EQ(WriteCashFile(read.accounts), image);
}

TEST_F(CashFile, AVersion1AccountWidensEveryEntryBy20Bytes)
{
    std::vector<uint8_t> v1 = Block({Entry(50), Entry(60)}, 10);
    std::vector<uint8_t> image = WithVersion(WriteCashFile({{1, -1, 0, v1, "Old"}}), 1);
    CashFileContents read = ReadCashFile(image);
    ASSERT_EQ(read.accounts.size(), 1u);
    const std::vector<uint8_t>& wide = read.accounts[0].data;
    EXPECT_EQ(wide.size(), v1.size() + 60);
    EXPECT_EQ(wide[0], 70);
    EXPECT_EQ(wide[23], 23);
    EXPECT_EQ(wide[24], 0);
    EXPECT_EQ(wide[44], 24);
    EXPECT_EQ(wide[70], 80);
    EXPECT_EQ(wide[150], 0);
}

TEST_F(CashFile, AChainWithoutItsEndIsCutBeforeItsLastEntry)
{
    std::vector<uint8_t> block = Block({Entry(50), Entry(60)}, 0);
    block.push_back(90); // an entry running past the block
    block.resize(block.size() + 20, 7);
    RepairCashBlock(block);
    ASSERT_EQ(block.size(), 110u + 48);
    EXPECT_EQ(block[110], 0);
    std::vector<uint8_t> sound = Block({Entry(50)}, 5);
    RepairCashBlock(sound);
    EXPECT_EQ(sound.size(), 55u);
}

TEST_F(CashFile, AnAccountRunningPastTheFileIsDroppedAndReadingStops)
{
    StoredCashAccount a{1, -1, 0, Block({Entry(50)}, 20), "First"};
    StoredCashAccount b{2, -1, 0, Block({Entry(50)}, 20), "Second"};
    std::vector<uint8_t> image = WriteCashFile({a, b, a});
    size_t second = 16 + 24 + 6 + a.data.size();
    for (auto [offset, value] : {std::pair{second + 16, 0x7FFFFFF0u}, std::pair{second, 0xFFFFFF00u}, std::pair{second, 0u}}) {
        std::vector<uint8_t> damaged = image;
        StoreU32(&damaged[offset], value);
        CashFileContents read = ReadCashFile(damaged);
        EXPECT_TRUE(read.truncated);
        EXPECT_EQ(read.accounts, std::vector<StoredCashAccount>{a});
    }
}

TEST_F(CashFile, LoadingFallsBackToTheTemporaryFileThenToTheGlobalAccount)
{
    auto loaded = LoadCashFile();
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->size(), 1u);
    EXPECT_EQ((*loaded)[0].name, "Global Account");
    EXPECT_EQ((*loaded)[0].data, std::vector<uint8_t>(1024, 0));
    EXPECT_EQ((*loaded)[0].second, -1);

    StoredCashAccount a{4, 2, 0, Block({Entry(48)}, 30), "Pending"};
    WriteFileBytes(AppPath("Data\\Cash.tem", MakeFolders::Yes), WriteCashFile({a}));
    EXPECT_EQ(LoadCashFile(), std::vector<StoredCashAccount>{a});

    ASSERT_TRUE(SaveCashFile({a, a}));
    EXPECT_EQ(LoadCashFile()->size(), 2u);
    EXPECT_TRUE(box.texts().empty());
}

TEST_F(CashFile, ARejectedFileGivesItsMessageAndIsSetAside)
{
    StoredCashAccount a{4, 2, 0, Block({Entry(48)}, 30), "Kept"};
    WriteFileBytes(AppPath("Data\\Cash.dat", MakeFolders::Yes), WithVersion(WriteCashFile({a}), 5));
    EXPECT_FALSE(LoadCashFile());
    EXPECT_EQ(box.texts(), std::vector<std::string>{"Quorvantis is too old to load Cash account file"});
    EXPECT_FALSE(ReadFileBytes(AppPath("Data\\Cash.dat")));
    EXPECT_TRUE(ReadFileBytes(AppPath("Data\\Cash.bad")));
}

TEST_F(CashFile, TheAccountListLoadsAndSavesThroughTheFile)
{
    LoadCashAccounts();
    ASSERT_TRUE(CashAccounts().head);
    EXPECT_EQ(CashAccounts().current, CashAccounts().head);
    EXPECT_EQ(CashAccounts().head->name, "Global Account");
    EXPECT_EQ(CashAccounts().head->dataSize, 1024u);
    CashAccount* second = NewCashAccount("Broker");
    ASSERT_TRUE(second);
    second->data[0] = 50;
    ASSERT_TRUE(SaveCashAccounts());
    std::vector<uint8_t> saved = *ReadFileBytes(AppPath("Data\\Cash.dat"));

    // A reload replaces the whole list rather than adding to it.
    LoadCashAccounts();
    int count = 0;
    for (CashAccount* a = CashAccounts().head; a; a = a->next)
        ++count;
    EXPECT_EQ(count, 2);
    EXPECT_EQ(CashAccounts().head->next->number, 2u);
    EXPECT_EQ(CashAccounts().head->next->data[0], 50);
    ASSERT_TRUE(SaveCashAccounts());
    EXPECT_EQ(*ReadFileBytes(AppPath("Data\\Cash.dat")), saved);
    FreeCashAccounts();
}

TEST_F(CashFile, ADamagedFileIsSetAsideWholeBeforeAnySaveAndTheUserIsTold)
{
    StoredCashAccount a{1, -1, 0, Block({Entry(50)}, 20), "First"};
    StoredCashAccount b{2, -1, 0, Block({Entry(50)}, 20), "Second"};
    std::vector<uint8_t> damagedFile = WriteCashFile({a, b, a});
    StoreU32(&damagedFile[16 + 24 + 6 + a.data.size() + 16], 0x7FFFFFF0u); // the second block runs past the end
    ASSERT_TRUE(WriteFileBytes(AppPath("Data\\Cash.dat", MakeFolders::Yes), damagedFile));
    LoadCashAccounts();
    ASSERT_EQ(box.texts().size(), 1u);
    EXPECT_NE(box.texts()[0].find("Cash.dat is damaged"), std::string::npos) << box.texts()[0];
    EXPECT_NE(box.texts()[0].find("could read only the first cash account."), std::string::npos);
    EXPECT_NE(box.texts()[0].find("Cash.bad"), std::string::npos);
    ASSERT_TRUE(SaveCashAccounts());
    ASSERT_TRUE(SaveCashAccounts());
    EXPECT_EQ(*ReadFileBytes(AppPath("Data\\Cash.bad")), damagedFile);
    EXPECT_EQ(LoadCashFile(), std::vector<StoredCashAccount>{a});

    // Damage in the very first account still leaves an account to book cash to.
    std::vector<uint8_t> firstBad = WriteCashFile({a});
    StoreU32(&firstBad[16 + 16], 0x7FFFFFF0u);
    ASSERT_TRUE(WriteFileBytes(AppPath("Data\\Cash.dat"), firstBad));
    auto loaded = LoadCashFile();
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->size(), 1u);
    EXPECT_EQ((*loaded)[0].name, "Global Account");
    EXPECT_NE(box.texts().back().find("could read none of its cash accounts"), std::string::npos) << box.texts().back();
    EXPECT_TRUE(ReadFileBytes(AppPath("Data\\Cash1.bad")));
    FreeCashAccounts();
}
