// The InfoCentre index file: a fresh file's layout, appending and walking entries, the flag rule,
// the category tree, the mode and number checks that leave the file untouched, and damaged offsets.
#include "infocentre/InCIndex.h"

#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qv;

namespace {

std::array<uint8_t, 16> Header()
{
    return {'Z', 'Q', 'I', 'D', 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

InCEntryHead Head(uint16_t number, uint16_t flags = 0x20)
{
    InCEntryHead head;
    head.number = number;
    head.flags = flags;
    head.tail = {1, 2, 3, 4, 5, 6, 7, 8};
    return head;
}

// A committed index with documents 3 ("Results"/"Shares"), 7 ("Results", done) and 9 ("Guides").
struct IndexFixture : ::testing::Test {
    dev::TempFolder folder{"incindex"};
    std::filesystem::path file = folder / "index.dat";

    void SetUp() override
    {
        CInCIndex index = CInCIndex::Create(folder / "index.tem");
        ASSERT_EQ(index.GetStatus(), CInCIndex::kGood);
        auto header = Header();
        ASSERT_TRUE(index.WriteHeader(header));
        ASSERT_TRUE(index.AppendEntry(Head(3), {"Interim figures", "Results", "Shares"}));
        ASSERT_TRUE(index.AppendEntry(Head(7, 0x90), {"Final figures", "Results", ""}));
        ASSERT_TRUE(index.AppendEntry(Head(9, 0x40), {"How to read a chart", "Guides", ""}));
        ASSERT_TRUE(index.CommitAs(file));
    }

    std::vector<uint8_t> Bytes() const { return *ReadFileBytes(file); }
};

} // namespace

TEST(InCIndex, AFreshIndexHasItsFullSizeAndEmptyTables)
{
    dev::TempFolder folder{"incindex"};
    CInCIndex index = CInCIndex::Create(folder / "index.tem");
    ASSERT_EQ(index.GetStatus(), CInCIndex::kGood);
    ASSERT_TRUE(index.CommitAs(folder / "index.dat"));
    EXPECT_FALSE(std::filesystem::exists(folder / "index.tem"));
    std::vector<uint8_t> bytes = *ReadFileBytes(folder / "index.dat");
    ASSERT_EQ(bytes.size(), 270348u);
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; }));

    // Without the header's tag the file is refused and closed.
    CInCIndex opened(folder / "index.dat");
    EXPECT_EQ(opened.GetStatus(), CInCIndex::kBadHeader);
    InCEntryHead head;
    EXPECT_FALSE(opened.ReadEntryHead(1, head));
    EXPECT_EQ(opened.GetStatus(), CInCIndex::kClosed);
    EXPECT_EQ(CInCIndex(folder / "missing.dat").GetStatus(), CInCIndex::kCannotOpen);
}

TEST_F(IndexFixture, EntriesAreAppendedAfterTheTablesAndFoundThroughTheirSlots)
{
    std::vector<uint8_t> bytes = Bytes();
    EXPECT_EQ(LoadU32(bytes.data() + 8204 + 4 * 3), 270348u);
    EXPECT_EQ(LoadU32(bytes.data() + 8204 + 4 * 7), 270348u + 24 + 1 + 15 + 1 + 7 + 1 + 6);
    EXPECT_EQ(LoadU32(bytes.data() + 8204 + 4 * 4), 0u);

    CInCIndex index(file);
    ASSERT_EQ(index.GetStatus(), CInCIndex::kGood);
    InCEntryHead head;
    ASSERT_TRUE(index.ReadEntryHead(7, head));
    EXPECT_EQ(head.flags, 0x90);
    EXPECT_EQ(head.tail, Head(7).tail);
    EXPECT_FALSE(index.ReadEntryHead(4, head));
    EXPECT_EQ(index.GetStatus(), CInCIndex::kNoEntry);

    // The walk visits 3, 7, 9 with their categories and ends with 0.
    InCEntryHead walk;
    std::string category;
    std::vector<std::pair<uint16_t, std::string>> seen;
    while (index.ReadNextEntry(walk, &category))
        seen.emplace_back(walk.number, category);
    EXPECT_EQ(seen, (std::vector<std::pair<uint16_t, std::string>>{{3, "Results"}, {7, "Results"}, {9, "Guides"}}));
    EXPECT_EQ(walk.number, 0);
}

TEST_F(IndexFixture, TheWalkAndTheCursorEndAtTheLastNumber)
{
    CInCIndex index(file);
    InCEntryHead head;
    head.number = 65534;
    EXPECT_FALSE(index.ReadNextEntry(head, nullptr));
    EXPECT_EQ(head.number, 0);
    head.number = 65535;
    EXPECT_FALSE(index.ReadNextEntry(head, nullptr));
    EXPECT_EQ(head.number, 0);

    // NextUsedId also counts numbers that only the table names.
    CInCIndex::SetTableBit(index.GetTable(), 5, true);
    CInCIndex::SetTableBit(index.GetTable(), 65535, true);
    std::vector<uint16_t> used;
    while (uint16_t n = index.NextUsedId())
        used.push_back(n);
    EXPECT_EQ(used, (std::vector<uint16_t>{3, 5, 7, 9, 65535}));
    EXPECT_EQ(index.NextUsedId(), 0);
}

TEST(InCIndex, FlagUpdateRule)
{
    struct Case {
        uint16_t stored;
        uint8_t flags;
        uint16_t expectFlags;
        int64_t expectTime;
        const char* why;
    };
    const Case cases[] = {
        {0x0022, 0x40, 0x0142, 99, "new, deferred by the user: the time is kept"},
        {0x0042, 0x80, 0x0182, 0, "deferred, then done: the time is cleared"},
        {0x0062, 0x20, 0x0162, 5, "a new state that is new again changes nothing but bit 8"},
        {0x0012, 0x80, 0x0182, 5, "not auto-viewed, then done"},
        {0x0012, 0x40, 0x0112, 5, "not auto-viewed and not done: kept"},
        {0x0082, 0x40, 0x0182, 5, "done stays done"},
    };
    for (const Case& c : cases) {
        InCEntryHead head = Head(1, c.stored);
        head.time = 5;
        ApplyEntryFlagUpdate(head, c.flags, 99);
        EXPECT_EQ(head.flags, c.expectFlags) << c.why;
        EXPECT_EQ(head.time, c.expectTime) << c.why;
    }
    InCEntryHead negative = Head(1, 0x20);
    ApplyEntryFlagUpdate(negative, 0x40, -2);
    EXPECT_EQ(negative.time, -2) << "the time is sign-extended";
}

TEST_F(IndexFixture, FlagsAreUpdatedInPlace)
{
    {
        CInCIndex index(file);
        ASSERT_TRUE(index.UpdateEntryFlags(3, 0x40, 1234567));
    }
    std::vector<uint8_t> bytes = Bytes();
    const uint8_t* entry = bytes.data() + 270348;
    EXPECT_EQ(LoadU16(entry + 2), 0x140);
    EXPECT_EQ(LoadU32(entry + 8), 1234567u);
    EXPECT_EQ(LoadU32(entry + 12), 0u);
    EXPECT_EQ(entry[16], 1) << "the rest of the head is kept";
}

TEST_F(IndexFixture, RefusedOperationsLeaveTheFileByteForByte)
{
    const std::vector<uint8_t> before = Bytes();
    {
        CInCIndex index(file);
        // Number 0's slot would lie inside the bit table; a number without an entry has nothing.
        EXPECT_FALSE(index.UpdateEntryFlags(0, 0x40, 1));
        EXPECT_EQ(index.GetStatus(), CInCIndex::kNoEntry);
        EXPECT_FALSE(index.UpdateEntryFlags(4, 0x40, 1));
        EXPECT_EQ(index.GetStatus(), CInCIndex::kNoEntry);
        // Writing belongs to a new index.
        auto header = Header();
        EXPECT_FALSE(index.WriteHeader(header));
        EXPECT_EQ(index.GetStatus(), CInCIndex::kWrongMode);
        EXPECT_FALSE(index.AppendEntry(Head(11), {}));
        EXPECT_EQ(index.GetStatus(), CInCIndex::kWrongMode);
        EXPECT_FALSE(index.DeleteEntry(3));
        EXPECT_EQ(index.GetStatus(), CInCIndex::kWrongMode);
        EXPECT_FALSE(index.CommitAs(file));
        EXPECT_EQ(index.GetStatus(), CInCIndex::kWrongMode);
        EXPECT_TRUE(index.Close());
        EXPECT_FALSE(index.UpdateEntryFlags(3, 0x40, 1));
        EXPECT_EQ(index.GetStatus(), CInCIndex::kClosed);
    }
    EXPECT_EQ(Bytes(), before);

    // And the other way: a new index neither reads nor updates, nor files number 0.
    dev::TempFolder other{"incindex"};
    CInCIndex fresh = CInCIndex::Create(other / "index.tem");
    InCEntryHead head;
    EXPECT_FALSE(fresh.ReadEntryHead(3, head));
    EXPECT_EQ(fresh.GetStatus(), CInCIndex::kWrongMode);
    EXPECT_FALSE(fresh.AppendEntry(Head(0), {"t", "c", ""}));
    EXPECT_EQ(fresh.GetStatus(), CInCIndex::kNoEntry);
    EXPECT_FALSE(fresh.DeleteEntry(0));
    EXPECT_EQ(fresh.GetStatus(), CInCIndex::kNoEntry);
    ASSERT_TRUE(fresh.CommitAs(other / "index.dat"));
    EXPECT_EQ(ReadFileBytes(other / "index.dat")->size(), 270348u);
}

TEST_F(IndexFixture, DamagedOffsetsFailWithoutReadingBeyondTheFile)
{
    std::vector<uint8_t> bytes = Bytes();
    StoreU32(bytes.data() + 8204 + 4 * 3, uint32_t(bytes.size() - 10)); // a head cut by the end
    StoreU32(bytes.data() + 8204 + 4 * 7, 100);                         // inside the tables
    StoreU32(bytes.data() + 8204 + 4 * 20, 0xFFFFFFF0u);                // far beyond
    const size_t document9 = 270348 + 55 + 47;
    bytes[document9 + 24] = 250;                                       // document 9's title overruns
    bytes.resize(bytes.size() - 10);
    ASSERT_TRUE(WriteFileBytes(file, bytes));

    CInCIndex index(file);
    InCEntryHead head;
    for (uint16_t number : {3, 7, 20}) {
        EXPECT_FALSE(index.ReadEntryHead(number, head)) << number;
        EXPECT_EQ(index.GetStatus(), CInCIndex::kReadFailed) << number;
        EXPECT_FALSE(index.UpdateEntryFlags(number, 0x40, 1)) << number;
    }
    head.number = 8;
    std::string category;
    EXPECT_FALSE(index.ReadNextEntry(head, &category));
    EXPECT_EQ(index.GetStatus(), CInCIndex::kReadFailed);
    EXPECT_EQ(head.number, 0);
    std::map<std::string, CInCCategory> categories;
    EXPECT_FALSE(index.ReadCategories(categories));
    EXPECT_TRUE(categories.empty()) << "a damaged entry adds nothing";
    index.Close();
    EXPECT_EQ(*ReadFileBytes(file), bytes);
}

TEST_F(IndexFixture, CategoriesCollectTheDocumentsThatAreNotWithdrawn)
{
    CInCIndex index(file);
    std::map<std::string, CInCCategory> categories;
    ASSERT_TRUE(index.ReadCategories(categories));
    ASSERT_EQ(categories.size(), 2u);
    const CInCCategory& results = categories.at("Results");
    EXPECT_EQ(results.name, "Results");
    ASSERT_EQ(results.documents.size(), 1u);
    EXPECT_EQ(results.documents[0].title, "Final figures");
    EXPECT_EQ(results.documents[0].done, 1);
    EXPECT_EQ(results.doneCount, 1);
    ASSERT_EQ(results.subCategories.count("Shares"), 1u);
    EXPECT_EQ(results.subCategories.at("Shares").documents[0].number, 3);
    EXPECT_FALSE(results.subCategoryFlag);

    // A withdrawn document (its table bit set) is left out.
    CInCIndex::SetTableBit(index.GetTable(), 9, true);
    std::map<std::string, CInCCategory> again;
    ASSERT_TRUE(index.ReadCategories(again));
    EXPECT_EQ(again.count("Guides"), 0u);
}

TEST_F(IndexFixture, TheTableIsWrittenBackAndTheFileCanBeRemoved)
{
    {
        CInCIndex index(file);
        CInCIndex::SetTableBit(index.GetTable(), 9, true);
        ASSERT_TRUE(index.WriteTable());
    }
    EXPECT_EQ(Bytes()[16 + 1], 0x02) << "document 9 is bit 1 of byte 1";
    CInCIndex index(file);
    EXPECT_TRUE(CInCIndex::TableBit(index.GetTable(), 9));
    EXPECT_TRUE(index.RemoveFile());
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(InCIndex, LongTextsKeepTheirFirst255Bytes)
{
    dev::TempFolder folder{"incindex"};
    CInCIndex index = CInCIndex::Create(folder / "index.tem");
    ASSERT_TRUE(index.AppendEntry(Head(1), {std::string(300, 't'), "C", ""}));
    ASSERT_TRUE(index.CommitAs(folder / "index.dat"));
    std::vector<uint8_t> bytes = *ReadFileBytes(folder / "index.dat");
    EXPECT_EQ(bytes.size(), 270348u + 24 + 1 + 255 + 1 + 1 + 1);
    EXPECT_EQ(bytes[270348 + 24], 255);
}
