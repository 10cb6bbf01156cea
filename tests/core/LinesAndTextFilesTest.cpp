// Tests of the three program-wide keyed item stores and their start-up loading.
#include "core/LinesAndTextFiles.h"

#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {
struct InFolder {
    InFolder() { SetProgramFolder(dir.path()); }
    ~InFolder()
    {
        SetProgramFolder(previous);
        LinesAndTextStore().FreeItems();
        PriceCorrectionStore().FreeItems();
    }
    fs::path previous = qv::ProgramFolder();
    dev::TempFolder dir;
};
} // namespace

TEST(LinesAndTextFiles, GraphConfigIsTriedThreeTimesWhenAsked)
{
    InFolder folder;
    test::FakeMessageBox boxes;
    KeyedItemStore source;
    source.SetItem(1, 0, 0, MakeBlob(9));
    WriteFileBytes(folder.dir / "Graph.cfg", source.WriteImage());

    ExclusiveFile holder; // another opener holds the file
    ASSERT_TRUE(holder.open(folder.dir / "Graph.cfg", ExclusiveFile::Mode::Read));
    std::vector<int> waits;
    LoadGraphConfigRetry(false, [&](int ms) { waits.push_back(ms); });
    EXPECT_TRUE(waits.empty());
    EXPECT_TRUE(boxes.shown().empty());
    LoadGraphConfigRetry(true, [&](int ms) { waits.push_back(ms); });
    EXPECT_EQ(waits, (std::vector<int>{1000, 1000}));
    EXPECT_EQ(boxes.texts(),
              std::vector<std::string>{"Quorvantis has encountered a problem reading (Graph.cfg). Please contact Support."});

    holder.close();
    LoadGraphConfigRetry(true, [&](int) { FAIL() << "no wait when the file opens"; });
    EXPECT_NE(LinesAndTextStore().GetItem(1, 0, 0), nullptr);
}

TEST(LinesAndTextFiles, PriceCorrectionsAreFoundUnderTheShareKey)
{
    InFolder folder;
    PriceCorrectionStore().SetItem(ShareItemKey(0x4010, 0), kPriceCorrectionKind, 0, MakeBlob(8));
    EXPECT_EQ(FindPriceCorrections(0x4010, 0), nullptr); // only the 8-byte head

    Blob blob = MakeBlob(8 + 36 + 36);
    StoreU16(blob.get() + 8 + 24, 0x5421);
    PriceCorrectionStore().SetItem(ShareItemKey(0x4010, 3), kPriceCorrectionKind, 0, std::move(blob));
    uint8_t* first = FindPriceCorrections(0x4010, 3);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoadU16(first + 24), 0x5421);
    EXPECT_EQ(FindPriceCorrections(0x4011, 3), nullptr);
}
