// The older installations' line files merged into a store below version 4: "RTLines.cfg" entries
// appended to their items, "RTGraph.cfg" lines of held days made intraday line studies, and
// "EODGraph.cfg" taken when there is no "RTGraph.cfg"; a damaged file loses nothing it holds whole.
#include "chartmodel/OlderLineFiles.h"

#include "chartmodel/ChartCalendar.h"
#include "chartmodel/LineObjects.h"
#include "core/KeyedItemStore.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

struct InFolder {
    InFolder() { SetProgramFolder(dir.path()); }
    ~InFolder() { SetProgramFolder(previous); }
    fs::path previous = ProgramFolder();
    dev::TempFolder dir;
};

const PackedDate kDay = PackDate(5, 3, 2026);

std::vector<uint8_t> OldEntry(uint8_t fill, uint32_t word, uint8_t flag, uint8_t last)
{
    std::vector<uint8_t> entry(kOldLineEntryBytes, fill);
    StoreU32(entry.data() + 16, word);
    entry[20] = flag;
    entry[21] = last;
    entry[22] = entry[23] = 0xEE;
    return entry;
}

std::vector<uint8_t> RTLinesFile(bool withSubKeys, const std::vector<std::vector<uint8_t>>& bodies, uint32_t shortBy = 0)
{
    ByteWriter w;
    w.u32(withSubKeys ? 1 : 0);
    w.u32(0);
    uint32_t share = 0x4001;
    for (const auto& body : bodies) {
        w.u32(share++);
        w.u16(4);
        if (withSubKeys)
            w.u32(0x01000000);
        w.u32(uint32_t(body.size()) + shortBy);
        w.bytes(body.data(), body.size());
    }
    return w.take();
}

// A line of "RTGraph.cfg": two times of day and values, its pen and subtype.
std::vector<uint8_t> GraphLine(uint32_t t1, float v1, uint32_t t2, float v2, uint32_t pen, uint32_t subtype)
{
    ByteWriter w;
    w.u32(t1);
    w.f32(v1);
    w.u32(t2);
    w.f32(v2);
    w.u32(pen);
    w.u32(subtype);
    return w.take();
}

std::vector<uint8_t> RTGraphFile(PackedDate day, const std::vector<uint8_t>& lines)
{
    ByteWriter w;
    w.u32(kRTGraphVersion);
    w.u32(0);
    w.u32(0x4001);
    w.u16(day);
    w.u32(0x01000000);
    w.u32(uint32_t(lines.size()) + 4);
    w.bytes(lines.data(), lines.size());
    return w.take();
}

TEST(OlderLineFiles, RTLinesEntriesAreAppendedToTheirItemsAsTheNewLayout)
{
    for (bool subKeys : {false, true}) {
        SCOPED_TRACE(subKeys);
        InFolder folder;
        KeyedItemStore store;
        const uint32_t subKey = subKeys ? 0x01000000 : 0;
        // The first share already holds an entry of the new layout: the old ones go after it.
        store.SetItem(0x4001, 4, subKey, MakeBlob(std::vector<uint8_t>(kMergedLineEntryBytes, 0x11)));
        std::vector<uint8_t> two = OldEntry(0xAB, 0x12345678, 5, 9);
        const std::vector<uint8_t> second = OldEntry(0xCD, 7, 0, 3);
        two.insert(two.end(), second.begin(), second.end());
        WriteFileBytes(folder.dir / "RTLines.cfg", RTLinesFile(subKeys, {two, OldEntry(1, 2, 1, 4)}));
        MergeOlderLineFiles(store, {});
        const uint8_t* first = store.GetItem(0x4001, 4, subKey);
        ASSERT_NE(first, nullptr);
        ASSERT_EQ(BlobLength(first), 4 + 3 * kMergedLineEntryBytes);
        const uint8_t* merged = first + 4 + kMergedLineEntryBytes;
        EXPECT_EQ(merged[0], 0xAB);
        EXPECT_EQ(merged[15], 0xAB);
        EXPECT_EQ(LoadU32(merged + 16), 0u);
        EXPECT_EQ(LoadU32(merged + 20), 0x12345678u);
        EXPECT_EQ(merged[24], 1) << "the old flag byte as 0 or 1";
        EXPECT_EQ(merged[25], 9);
        EXPECT_EQ(LoadU16(merged + 26), 1) << "the chart slot's bit";
        EXPECT_EQ((merged + kMergedLineEntryBytes)[24], 0);
        const uint8_t* other = store.GetItem(0x4002, 4, subKey);
        ASSERT_NE(other, nullptr);
        EXPECT_EQ(BlobLength(other), 4 + kMergedLineEntryBytes);
        EXPECT_FALSE(fs::exists(folder.dir / "RTLines.cfg")) << "merged once";
    }
}

TEST(OlderLineFiles, ADamagedRTLinesKeepsTheRecordsBeforeTheDamage)
{
    InFolder folder;
    KeyedItemStore store;
    // The second record claims more bytes than the file holds.
    std::vector<uint8_t> file = RTLinesFile(false, {OldEntry(1, 2, 0, 0)});
    const std::vector<uint8_t> bad = RTLinesFile(false, {OldEntry(3, 4, 0, 0)}, 1000);
    file.insert(file.end(), bad.begin() + 8, bad.end());
    WriteFileBytes(folder.dir / "RTLines.cfg", file);
    MergeOlderLineFiles(store, {});
    const uint8_t* item = store.GetItem(0x4001, 4, 0);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(BlobLength(item), 4 + kMergedLineEntryBytes) << "the first record alone";
}

TEST(OlderLineFiles, RTGraphLinesOfHeldDaysBecomeIntradayLineStudies)
{
    InFolder folder;
    KeyedItemStore store;
    std::vector<uint8_t> lines = GraphLine(36000, 101.5f, 43200, 99.25f, 0x0000FF, 4);
    const std::vector<uint8_t> second = GraphLine(30000, 100, 31000, 102, 0x00FF00, 0);
    lines.insert(lines.end(), second.begin(), second.end());
    WriteFileBytes(folder.dir / "RTGraph.cfg", RTGraphFile(kDay, lines));
    WriteFileBytes(folder.dir / "EODGraph.cfg", std::vector<uint8_t>(8, 0));
    const PackedDate held[] = {PreviousWeekday(kDay, false), kDay};
    MergeOlderLineFiles(store, held);
    EXPECT_EQ(store.version(), 3);
    const uint8_t* item = store.GetItem(0x4001, 1, 0x01000000);
    ASSERT_NE(item, nullptr);
    LineObjectList list;
    UnpackLineObjects(list, std::span(item, BlobLength(item)));
    std::vector<const LineObject*> objects;
    for (const LineObject* o = list.head; o; o = o->next)
        objects.push_back(o);
    ASSERT_EQ(objects.size(), 2u);
    const int32_t base = int32_t(DateToCalendarIndex(kDay));
    const LineObject* regression = objects[0]->subtype() == 4 ? objects[0] : objects[1];
    EXPECT_EQ(regression->pointTime(0), base + 36000) << "the time of day on the day's place in the calendar";
    EXPECT_EQ(regression->pointTime(1), base + 43200);
    EXPECT_EQ(regression->penOrTime(), 0x0000FFu);
    LineObject copy = *regression;
    EXPECT_FLOAT_EQ(LoadF32(copy.point(1) + 4), 99.25f);
    FreeLineObjectList(list);
    EXPECT_FALSE(fs::exists(folder.dir / "RTGraph.cfg"));
    EXPECT_TRUE(fs::exists(folder.dir / "EODGraph.cfg")) << "only without RTGraph.cfg";
}

TEST(OlderLineFiles, DaysNoLongerHeldAreDroppedAndWithoutDaysTheFileWaits)
{
    InFolder folder;
    KeyedItemStore store;
    WriteFileBytes(folder.dir / "RTGraph.cfg", RTGraphFile(kDay, GraphLine(36000, 1, 37000, 2, 0, 0)));
    MergeOlderLineFiles(store, {});
    EXPECT_TRUE(fs::exists(folder.dir / "RTGraph.cfg")) << "no intraday days yet";
    const PackedDate other[] = {PreviousWeekday(kDay, false)};
    MergeOlderLineFiles(store, other);
    EXPECT_TRUE(store.empty());
    EXPECT_FALSE(fs::exists(folder.dir / "RTGraph.cfg"));
}

TEST(OlderLineFiles, WithoutRTGraphTheDailyFileIsTaken)
{
    InFolder folder;
    KeyedItemStore store;
    ByteWriter w;
    w.u32(3);
    w.u32(1);
    w.u32(0x4005);
    w.u16(0);
    w.u32(77);
    w.u32(6);
    w.u8(1);
    w.u8(2);
    WriteFileBytes(folder.dir / "EODGraph.cfg", w.take());
    MergeOlderLineFiles(store, {});
    EXPECT_EQ(store.version(), 3);
    EXPECT_NE(store.GetItem(0x4005, 0, 77), nullptr);
    EXPECT_FALSE(fs::exists(folder.dir / "EODGraph.cfg"));
}

} // namespace
} // namespace qv
