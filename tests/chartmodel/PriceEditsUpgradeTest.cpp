// Stores older than version 8 keep corrections equal to the database's: the start-up pass drops them and
// keeps real ones.
#include "chartmodel/PriceEdits.h"

#include "core/LinesAndTextFiles.h"
#include "core/Memory.h"
#include "core/PriceSubRecords.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/TempFolder.h"
#include "platform/Paths.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace qv;

namespace {

constexpr PackedDate kMonday = PackDate(2, 1, 2023);

dev::DbRecord PricedShare(uint16_t id, std::vector<int32_t> closes)
{
    dev::PriceHistory history;
    history.scale = 1;
    history.firstDate = kMonday;
    for (int32_t c : closes) {
        dev::HistoryDay day;
        day.mode = 1;
        day.open = day.high = day.low = day.close = c;
        history.days.push_back(day);
    }
    dev::DbRecord record = dev::ShareRecord(id, "Alpha", 'O', "Alpha");
    record.subRecords[0] = dev::PriceSubRecord(SubRecordKind::Ordinary, 1, history);
    return record;
}

class PriceEditsUpgrade : public test::DatabaseFixture {
protected:
    PriceEditsUpgrade() { SetProgramFolder(folder.path()); }
    ~PriceEditsUpgrade() override
    {
        PriceCorrectionStore().FreeItems();
        SetProgramFolder(previous);
    }

    // Writes the store with the version byte given and loads it as start-up does.
    void LoadStoreOfVersion(uint8_t version)
    {
        std::vector<uint8_t> image = PriceCorrectionStore().WriteImage();
        image[4] = version;
        PriceCorrectionStore().FreeItems();
        std::ofstream(folder.path() / "EditPrice.cfg", std::ios::binary).write(reinterpret_cast<const char*>(image.data()),
                                                                               std::streamsize(image.size()));
        ASSERT_TRUE(PriceCorrectionStore().Load("EditPrice.cfg"));
    }

    std::filesystem::path previous = ProgramFolder();
    dev::TempFolder folder;
};

} // namespace

TEST_F(PriceEditsUpgrade, EqualCorrectionsAreDroppedOnceRealOnesKept)
{
    Load(dev::WriteQuorvaDat(test::OneEntry({PricedShare(0x4001, {10, 11, 12, 13})})));
    RecordCursor cursor = FindRecordById(0x4001, 0);
    DayRecord* days = nullptr;
    ASSERT_EQ(DecodePriceHistory(&cursor, &days, 0, false, false), 4);
    // Two stored days: Tuesday as the database has it, Wednesday corrected.
    DayRecord same = days[1];
    DayRecord changed = days[2];
    changed.close = 99;
    ProFree(days);
    std::vector<uint8_t> body(4, 0);
    for (const DayRecord& d : {same, changed}) {
        uint8_t bytes[kDayRecordSize];
        StoreDayRecord(bytes, d);
        body.insert(body.end(), bytes, bytes + kDayRecordSize);
    }
    body.resize(body.size() + kDayRecordSize);
    PriceCorrectionStore().SetItem(0x4001, kPriceCorrectionKind, 0, MakeBlob(body));

    LoadStoreOfVersion(7);
    UpgradeOldPriceEdits();
    uint8_t* blob = PriceCorrectionStore().GetItem(0x4001, kPriceCorrectionKind, 0);
    ASSERT_NE(blob, nullptr);
    ASSERT_EQ(BlobLength(blob), 8u + 2 * kDayRecordSize);
    EXPECT_FLOAT_EQ(LoadDayRecord(blob + 8).close, 99);

    // A current store is left as it is.
    PriceCorrectionStore().SetItem(0x4001, kPriceCorrectionKind, 0, MakeBlob(body));
    LoadStoreOfVersion(9);
    UpgradeOldPriceEdits();
    EXPECT_EQ(BlobLength(PriceCorrectionStore().GetItem(0x4001, kPriceCorrectionKind, 0)), 4u + body.size());
}
