#include "core/ImportsFile.h"

#include "core/CashAccounts.h"
#include "core/DatabaseNeighbours.h"
#include "core/RecordAccess.h"
#include "core/RecordLists.h"
#include "core/TaggedFile.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "portfolio/UserDataFiles.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace qv;

namespace {

constexpr size_t kSub = 40;

// An imported item with one price sub-record (the last, so stored with length 0) of `subSize`
// bytes: statistics at 32-59 as given, the stream from the sub-record's end less two bytes.
std::vector<uint8_t> Record(uint16_t id, size_t subSize, float periodHigh = 10, float periodLow = 5,
                            float streamHigh = 12, float streamLow = 4)
{
    std::vector<uint8_t> r(kSub + subSize, 0);
    StoreU16(&r[0], uint16_t(r.size()));
    StoreU16(&r[2], id);
    StoreU16(&r[22], kSub);
    StoreU32(&r[24], 0xDEADBEEF); // a stale link, cleared on load
    r[30] = 5;
    std::memcpy(&r[31], "Alpha", 5);
    uint8_t* sub = &r[kSub];
    sub[2] = SubRecordKind::Ordinary;
    StoreF32(sub + 32, periodHigh);
    StoreF32(sub + 36, periodLow);
    StoreF32(sub + 52, streamHigh);
    StoreF32(sub + 56, streamLow);
    r[r.size() - 2] = 'A';
    r[r.size() - 1] = ' ';
    return r;
}

std::vector<uint8_t> Image(uint8_t version, uint8_t subVersion, const std::vector<std::vector<uint8_t>>& records)
{
    ByteWriter out;
    TaggedFileHeader h;
    h.tag = file_tag::kImports;
    h.version = version;
    h.subVersion = subVersion;
    h.write(out);
    for (const auto& r : records) {
        out.u16(uint16_t(r.size()));
        out.bytes(r.data(), r.size());
    }
    out.u16(0);
    return out.take();
}

std::vector<std::vector<uint8_t>> Loaded()
{
    std::vector<std::vector<uint8_t>> out;
    for (RecordListNode* n = ImportedItemList; n; n = n->next)
        out.emplace_back(n->record, n->record + RecordLength(n->record));
    return out;
}

class Imports : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolder(dir.path()); }
    void TearDown() override
    {
        FreeRecordList(&ImportedItemList, &ImportedItemCount);
        GetImportsPriceHooks() = ImportsPriceHooks{};
    }
    dev::TempFolder dir;
    test::FakeMessageBox box;
};

} // namespace

TEST_F(Imports, CurrentRecordsLoadMarkedAndSaveBackByteExact)
{
    std::vector<uint8_t> a = Record(0xF000, 90), b = Record(0xF001, 84);
    LoadImportsImage(Image(2, 3, {a, b}));
    ASSERT_EQ(ImportedItemCount, 2);
    std::vector<std::vector<uint8_t>> loaded = Loaded();
    EXPECT_EQ(loaded[0].size(), a.size());
    EXPECT_EQ(LoadU32(&loaded[0][24]), 0u);
    EXPECT_EQ(loaded[0][5], 0x30);
    EXPECT_EQ(loaded[0][7], 0xFF);
    EXPECT_EQ(loaded[0][kSub + 3], 0xFF);
    EXPECT_EQ(FindRecordById(0xF001, 0).record, ImportedItemList->next->record);

    std::vector<uint8_t> image = BuildImportsImage();
    EXPECT_EQ(LoadU32(&image[8]), 2u);
    EXPECT_EQ(LoadU32(&image[12]), image.size());
    LoadImportsImage(image);
    EXPECT_EQ(Loaded(), loaded);
    EXPECT_EQ(BuildImportsImage(), image);
}

TEST_F(Imports, OlderRecordsAreWidenedToTheCurrentLayout)
{
    int decoded = 0;
    GetImportsPriceHooks().closeRange = [&](const uint8_t*, const uint8_t*) {
        ++decoded;
        return std::optional<std::pair<float, float>>({12.0f, 4.0f});
    };
    struct Case {
        uint8_t version, subVersion;
        std::vector<uint8_t> record;
        size_t growth;
        int decodes;
    } cases[] = {
        {1, 0, Record(0xF000, 80), 28, 0},
        {2, 1, Record(0xF000, 80), 24, 1},              // extremes match the closes: already current
        {2, 1, Record(0xF000, 80, 10, 5, 11, 4), 32, 1}, // they do not: widened by 8
        {2, 0, Record(0xF000, 80, 10, 5, 9, 4), 32, 0},  // below the period high: no decoding
        {2, 2, Record(0xF000, 80), 24, 0},
    };
    for (const Case& c : cases) {
        decoded = 0;
        LoadImportsImage(Image(c.version, c.subVersion, {c.record}));
        ASSERT_EQ(ImportedItemCount, 1);
        const uint8_t* r = ImportedItemList->record;
        EXPECT_EQ(RecordLength(r), c.record.size() + c.growth) << int(c.version) << "." << int(c.subVersion);
        EXPECT_EQ(LoadU16(r + 22), kSub + 4);
        EXPECT_EQ(decoded, c.decodes);
        // The stream's bytes end the record as they ended it before.
        EXPECT_EQ(r[RecordLength(r) - 2], 'A');
        EXPECT_EQ(LoadU32(r + kSub + 4 + 76), 0u);
    }
}

TEST_F(Imports, ADamagedRecordStopsTheLoadAndKeepsTheRecordsBeforeIt)
{
    std::vector<uint8_t> good = Record(0xF000, 80);
    std::vector<uint8_t> shortRecord(20, 0);
    StoreU16(&shortRecord[0], 20);
    std::vector<uint8_t> offsetPast = Record(0xF002, 80);
    StoreU16(&offsetPast[22], 500);
    std::vector<uint8_t> lengthDiffers = Record(0xF003, 80);
    StoreU16(&lengthDiffers[0], 40);
    std::vector<uint8_t> tooShortForVersion1 = Record(0xF004, 60);
    std::vector<uint8_t> noRoomForStatistics = Record(0xF005, 70);
    for (auto [version, bad] : {std::pair{2, shortRecord}, std::pair{2, offsetPast}, std::pair{2, lengthDiffers},
                                std::pair{1, tooShortForVersion1}, std::pair{2, noRoomForStatistics}}) {
        std::vector<uint8_t> image = Image(uint8_t(version), 3, {good, bad, good});
        LoadImportsImage(image);
        EXPECT_EQ(ImportedItemCount, 1);
        // A body cut short anywhere keeps what came before it.
        for (size_t cut = 16; cut < image.size(); cut += 7)
            LoadImportsImage(std::span(image).first(cut));
    }
    EXPECT_EQ(box.texts().front(), "Imports.dat is badly formatted");
    WriteFileBytes(AppPath("data\\Imports.dat", MakeFolders::Yes), Image(3, 0, {good}));
    LoadImports();
    EXPECT_EQ(ImportedItemCount, 0);
    EXPECT_EQ(box.texts().back(), "Quorvantis is too old to load Imports.dat");
    EXPECT_TRUE(ReadFileBytes(AppPath("data\\Imports.bad")));
}

TEST_F(Imports, APeriodicSavePutsTheFileInPlaceAndKeepsTheList)
{
    LoadImports();
    EXPECT_EQ(ImportedItemCount, 0);
    LoadImportsImage(Image(2, 3, {Record(0xF000, 80)}));
    ASSERT_TRUE(SaveImports(false));
    EXPECT_EQ(ImportedItemCount, 1);
    EXPECT_FALSE(ReadFileBytes(AppPath("data\\Imports.new")));
    std::vector<uint8_t> saved = *ReadFileBytes(AppPath("data\\Imports.dat"));
    LoadImports();
    EXPECT_EQ(ImportedItemCount, 1);
    ASSERT_TRUE(SaveImports(true));
    EXPECT_EQ(ImportedItemList, nullptr);
    EXPECT_EQ(*ReadFileBytes(AppPath("data\\Imports.old")), saved);
    EXPECT_EQ(*ReadFileBytes(AppPath("data\\Imports.dat")), saved);
}

TEST_F(Imports, AReloadKeepsTheItemsImportedSinceTheLastSave)
{
    InstallUserDataSteps();
    LoadImportsImage(Image(2, 3, {Record(0xF000, 80), Record(0xF001, 80)}));
    GetDatabaseNeighbours().saveBeforeReload();
    GetDatabaseNeighbours().loadImports();
    EXPECT_EQ(ImportedItemCount, 2);
    GetDatabaseNeighbours() = DatabaseNeighbours{};
    FreeCashAccounts();
}
