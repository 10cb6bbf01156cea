// Tests of the imports file "data\Imports.dat".
#include "core/ImportsFile.h"

#include "core/CashAccounts.h"
#include "core/DatabaseNeighbours.h"
#include "core/RecordAccess.h"
#include "core/RecordLists.h"
#include "core/TaggedFile.h"
#include "devtools/lib/PriceStreamEncoder.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "portfolio/UserDataFiles.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace qv;

namespace {

constexpr size_t kSub = 40;

// The coded closes 12, 4 and 8 at scale 1.
std::vector<uint8_t> Stream()
{
    dev::PriceHistory history;
    history.firstDate = 0x3000;
    for (int close : {12, 4, 8}) {
        dev::HistoryDay day;
        day.close = close;
        history.days.push_back(day);
    }
    std::vector<uint8_t> out;
    dev::EncodePriceStream(history, out);
    return out;
}

// An imported item with one price sub-record (the last, so stored with length 0) of `subSize`
// bytes (0: the 80-byte head and the stream), statistics at 32-59 as given.
std::vector<uint8_t> Record(uint16_t id, size_t subSize = 0, float periodHigh = 10, float periodLow = 5,
                            float streamHigh = 12, float streamLow = 4)
{
    std::vector<uint8_t> stream = Stream();
    std::vector<uint8_t> r(kSub + (subSize ? subSize : 80 + stream.size()), 0);
    if (!subSize)
        std::copy(stream.begin(), stream.end(), r.end() - ptrdiff_t(stream.size()));
    StoreU16(&r[0], uint16_t(r.size()));
    StoreU16(&r[2], id);
    StoreU16(&r[22], kSub);
    StoreU32(&r[24], 0xDEADBEEF); // a stale link, cleared on load
    r[30] = 5;
    std::memcpy(&r[31], "Alpha", 5);
    uint8_t* sub = &r[kSub];
    sub[2] = SubRecordKind::Ordinary;
    StoreI16(sub + 8, 1);
    StoreU16(sub + 10, 0x3000);
    StoreF32(sub + 32, periodHigh);
    StoreF32(sub + 36, periodLow);
    StoreF32(sub + 52, streamHigh);
    StoreF32(sub + 56, streamLow);
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
    }
    dev::TempFolder dir;
    test::FakeMessageBox box;
};

} // namespace

TEST_F(Imports, CurrentRecordsLoadMarkedAndSaveBackByteExact)
{
    std::vector<uint8_t> a = Record(0xF000), b = Record(0xF001, 84);
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
    struct Case {
        uint8_t version, subVersion;
        std::vector<uint8_t> record;
        size_t growth;
    } cases[] = {
        {1, 0, Record(0xF000), 28},
        {2, 1, Record(0xF000), 24},                // extremes match the decoded closes: already current
        {2, 1, Record(0xF000, 0, 10, 5, 11, 4), 32}, // they do not: widened by 8
        {2, 0, Record(0xF000, 0, 10, 5, 9, 4), 32},  // below the period high: widened without decoding
        {2, 2, Record(0xF000), 24},
    };
    for (const Case& c : cases) {
        LoadImportsImage(Image(c.version, c.subVersion, {c.record}));
        ASSERT_EQ(ImportedItemCount, 1);
        const uint8_t* r = ImportedItemList->record;
        EXPECT_EQ(RecordLength(r), c.record.size() + c.growth) << int(c.version) << "." << int(c.subVersion);
        EXPECT_EQ(LoadU16(r + 22), kSub + 4);
        // The stream's bytes end the record as they ended it before.
        EXPECT_EQ(r[RecordLength(r) - 1], ' ');
        EXPECT_EQ(LoadU32(r + kSub + 4 + 76), 0u);
    }
    // The statistics are worked out again from the stream: last close 8, extremes 12 and 4.
    LoadImportsImage(Image(2, 3, {Record(0xF000, 0, 0, 0, 0, 0)}));
    const uint8_t* sub = ImportedItemList->record + kSub;
    EXPECT_EQ(LoadF32(sub + 24), 8.0f);
    EXPECT_EQ(LoadF32(sub + 52), 12.0f);
    EXPECT_EQ(LoadF32(sub + 56), 4.0f);
}

TEST_F(Imports, ADamagedRecordStopsTheLoadAndKeepsTheRecordsBeforeIt)
{
    std::vector<uint8_t> good = Record(0xF000);
    std::vector<uint8_t> shortRecord(20, 0);
    StoreU16(&shortRecord[0], 20);
    std::vector<uint8_t> offsetPast = Record(0xF002);
    StoreU16(&offsetPast[22], 500);
    std::vector<uint8_t> lengthDiffers = Record(0xF003);
    StoreU16(&lengthDiffers[0], 40);
    std::vector<uint8_t> tooShortForVersion1 = Record(0xF004, 60);
    std::vector<uint8_t> noRoomForStatistics = Record(0xF005, 70);
    for (auto [version, bad] : {std::pair{2, shortRecord}, std::pair{2, offsetPast}, std::pair{2, lengthDiffers},
                                std::pair{1, tooShortForVersion1}, std::pair{2, noRoomForStatistics}}) {
        std::vector<uint8_t> image = Image(uint8_t(version), 3, {good, bad, good});
        EXPECT_EQ(LoadImportsImage(image), ImportsRead::Damaged);
        EXPECT_EQ(ImportedItemCount, 1);
        // A body cut short anywhere keeps what came before it.
        for (size_t cut = 16; cut < image.size() - 2; cut += 7)
            EXPECT_EQ(LoadImportsImage(std::span(image).first(cut)), ImportsRead::Damaged);
    }
    EXPECT_TRUE(box.texts().empty());
    WriteFileBytes(AppPath("data\\Imports.dat", MakeFolders::Yes), Image(3, 0, {good}));
    LoadImports();
    EXPECT_EQ(ImportedItemCount, 0);
    EXPECT_EQ(box.texts().back(), "Quorvantis is too old to load Imports.dat");
    EXPECT_TRUE(ReadFileBytes(AppPath("data\\Imports.bad")));
}

TEST_F(Imports, ADamagedFileIsSetAsideWholeBeforeAnySaveAndTheUserIsTold)
{
    // Record 2 of 3 damaged: the file is moved aside untouched, the first item is kept and saved.
    std::vector<uint8_t> bad = Record(0xF001);
    StoreU16(&bad[22], 500);
    std::vector<uint8_t> damagedFile = Image(2, 3, {Record(0xF000), bad, Record(0xF002)});
    std::filesystem::path file = AppPath("data\\Imports.dat", MakeFolders::Yes);
    ASSERT_TRUE(WriteFileBytes(file, damagedFile));
    ASSERT_TRUE(WriteFileBytes(AppPath("data\\Imports.old"), damagedFile));
    LoadImports();
    EXPECT_EQ(ImportedItemCount, 1);
    ASSERT_EQ(box.texts().size(), 1u);
    EXPECT_NE(box.texts()[0].find("Imports.dat is damaged"), std::string::npos) << box.texts()[0];
    EXPECT_NE(box.texts()[0].find("could read only the first imported item."), std::string::npos);
    EXPECT_NE(box.texts()[0].find("Imports.bad"), std::string::npos);
    ASSERT_TRUE(SaveImports(false));
    ASSERT_TRUE(SaveImports(true));
    EXPECT_EQ(*ReadFileBytes(AppPath("data\\Imports.bad")), damagedFile);
    // The next start reads the one kept item without complaint.
    LoadImports();
    EXPECT_EQ(ImportedItemCount, 1);
    EXPECT_EQ(box.texts().size(), 1u);
}

TEST_F(Imports, APeriodicSavePutsTheFileInPlaceAndKeepsTheList)
{
    LoadImports();
    EXPECT_EQ(ImportedItemCount, 0);
    LoadImportsImage(Image(2, 3, {Record(0xF000)}));
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
    LoadImportsImage(Image(2, 3, {Record(0xF000), Record(0xF001)}));
    GetDatabaseNeighbours().saveBeforeReload();
    GetDatabaseNeighbours().loadImports();
    EXPECT_EQ(ImportedItemCount, 2);
    GetDatabaseNeighbours() = DatabaseNeighbours{};
    FreeCashAccounts();
}
