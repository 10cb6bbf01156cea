// The intraday files: history names, the index in every minor format, day files of every version,
// tick blocks, damaged counts, sizes, purges, the backup, the recording and the sample dumps.
#include "realtime/store/RTStoreFiles.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/ExtraRecords.h"
#include "core/ReadersWriterLock.h"
#include "platform/ByteOrder.h"
#include "realtime/IntradayState.h"
#include "realtime/store/RTDaySummary.h"
#include "support/FakeMessageBox.h"
#include "tests/realtime/store/RTStoreFixture.h"

namespace qv {
namespace {

using test::kFri4;
using test::kMon7;
using test::kTue8;
using test::kWed9;

// Reads a file image as the day-file reader reads a file.
RTFileReader ReaderOf(const std::vector<uint8_t>& image)
{
    return [&image](uint64_t at, size_t n, uint8_t* out) {
        if (at + n > image.size())
            return false;
        std::copy_n(image.begin() + at, n, out);
        return true;
    };
}

TEST(RTHistoryNameTest, OnlyWeekdayFilesOfTheRightShapeAreDays)
{
    struct Case {
        const char* name;
        PackedDate day;
    } cases[] = {
        {"Hist261207.dat", kMon7},  {"HIST261207.DAT", kMon7},  {"Hist261207.Dat", kMon7},
        {"Hist261205.dat", 0},      // a Saturday
        {"Hist2612070.dat", 0},     // 15 characters
        {"Hist26120.dat", 0},       {"Hist26a207.dat", 0},      {"Xist261207.dat", 0},
        {"Hist261207.txt", 0},      {"Hist261332.dat", 0},      {"Hist280103.dat", 0}, // beyond 2027
    };
    for (const Case& c : cases)
        EXPECT_EQ(RTHistoryFileDay(c.name), c.day) << c.name;
    EXPECT_EQ(RTHistoryFileName(kMon7), "Hist261207.dat");
}

class RTFilesTest : public test::RTStoreTest {};

TEST_F(RTFilesTest, TheScanTakesDaysInOrderWithTheirSizes)
{
    WriteDay(MakeDay(kTue8, {0x4001}));
    WriteDay(MakeDay(kFri4, {0x4001, 0x4002}));
    ASSERT_TRUE(WriteFileBytes(dir.path() / "data" / "RT" / "Hist261205.dat", std::vector<uint8_t>(300)));
    ASSERT_TRUE(WriteFileBytes(dir.path() / "data" / "RT" / "Hist2612080.dat", std::vector<uint8_t>(300)));
    ScanRTHistoryFiles();
    const RTStore& s = TheRTStore();
    EXPECT_EQ(s.days, (std::vector<PackedDate>{kFri4, kTue8}));
    EXPECT_EQ(s.latestDay, kTue8);
    uint64_t expected = std::filesystem::file_size(dir.path() / "data" / "RT" / "Hist261204.dat") +
                        std::filesystem::file_size(dir.path() / "data" / "RT" / "Hist261208.dat");
    EXPECT_EQ(s.historyBytes, expected);
}

// Today's day and a backfilled day live in memory only (the program writes no day files): the
// purge dialog's size query and list, and a new day's freeing of older records, keep them listed
// and held, so that charts still find them.
TEST_F(RTFilesTest, DaysHeldInMemoryStayListedWhateverRescansTheFolder)
{
    WriteDay(MakeDay(kFri4, {0x4001}));
    ScanRTHistoryFiles();
    ASSERT_NE(GetRTDay(kMon7, true), nullptr);  // a backfilled day
    ASSERT_NE(GetRTDay(kWed9, true), nullptr);  // today, the head of the chain
    ASSERT_NE(GetRTDay(kFri4, false), nullptr); // a stored day, loaded from its file
    const std::vector<PackedDate> all = {kFri4, kMon7, kWed9};
    int64_t size = 0;
    int32_t days = 0;
    GetRTHistorySize(size, days);
    EXPECT_EQ(TheRTStore().days, all) << "after the size query";
    EXPECT_EQ(days, 3);
    std::vector<PackedDate> listed;
    for (const auto& [day, bytes] : ListRTHistory())
        listed.push_back(day);
    EXPECT_EQ(listed, all) << "the purge dialog's list";
    EXPECT_EQ(TheRTStore().latestDay, kWed9);
    PurgeOldRTDays(false);
    ScanRTHistoryFiles();
    EXPECT_EQ(TheRTStore().days, all) << "after older records were freed";
    EXPECT_EQ(CurrentRTDay()->day, kWed9);
    EXPECT_NE(GetRTDay(kMon7, false), nullptr) << "the backfilled day is still held";
    EXPECT_EQ(GetRTDayOfAge(0)->day, kWed9);
}

TEST_F(RTFilesTest, EveryIndexFormatReadsBack)
{
    MakeDay(kMon7, {0x4005, 0x4001});
    dev::IntradayShareSpec instrument{MakeRTKey(1, 0x7F03), Prices(80.0f), "HRB", "Harbourline Energy"};
    dev::MakeIntradayDay(kMon7, table, {instrument});
    for (uint8_t minor = 0; minor <= 3; ++minor) {
        RTIndexHeader h;
        auto parsed = ParseRTIndex(dev::RtIndexImage(table, kMon7, 1, 5000, {1, minor, 1010}), &h);
        ASSERT_TRUE(parsed) << int(minor);
        EXPECT_EQ(h.minor, minor);
        EXPECT_EQ(h.latestDay, kMon7);
        EXPECT_EQ(h.historyBytes, minor < 2 ? 0u : 5000u);
        EXPECT_EQ(parsed->keyCount, 3);
        EXPECT_EQ(parsed->KeyAtSlot(0), MakeRTKey(0, 0x4001));
        EXPECT_EQ(parsed->KeyAtSlot(2), MakeRTKey(1, 0x7F03));
        const RTInstrument* x = parsed->Instrument(parsed->keys[2].instrument);
        ASSERT_NE(x, nullptr) << int(minor);
        EXPECT_EQ(parsed->NameAt(x->longName), "Harbourline Energy");
        EXPECT_FLOAT_EQ(x->previousClose, 80.0f * 0.99f);
    }
}

TEST_F(RTFilesTest, RefusedIndexesAndDamagedCounts)
{
    MakeDay(kMon7, {0x4001, 0x4002, 0x4003});
    auto image = dev::RtIndexImage(table, kMon7, 1, 0);
    EXPECT_FALSE(ParseRTIndex(dev::RtIndexImage(table, kMon7, 1, 0, {2, 3, 1010}))) << "major format 2";
    EXPECT_FALSE(ParseRTIndex(dev::RtIndexImage(table, kMon7, 1, 0, {1, 3, 1009}))) << "build below 1010";
    EXPECT_FALSE(ParseRTIndex(std::span(image).first(image.size() - 1))) << "a table cut short";

    auto low = image;
    StoreU16(low.data() + 56 + 2, 1); // key capacity below the count
    auto parsed = ParseRTIndex(low);
    ASSERT_TRUE(parsed);
    EXPECT_GE(parsed->keyCapacity, parsed->keyCount);
    EXPECT_TRUE(FindRTKeySlot(*parsed, MakeRTKey(0, 0x4003)).found);

    auto bad = image;
    size_t keysAt = 56 + 64;
    StoreU16(bad.data() + keysAt + 4, 40);                   // an instrument number past the records
    StoreU32(bad.data() + keysAt + 3 * 8, 7);                // a slot naming no entry
    parsed = ParseRTIndex(bad);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->keys[0].instrument, kRTNoInstrument);
    for (uint16_t s : {0x4001, 0x4002, 0x4003})
        EXPECT_TRUE(FindRTKeySlot(*parsed, MakeRTKey(0, s)).found) << "the slot index is rebuilt";
}

TEST_F(RTFilesTest, TheIndexFallsBackToTheBackupAndThenToDefaults)
{
    MakeDay(kMon7, {0x4001});
    auto good = dev::RtIndexImage(table, kMon7, 1, 0);
    ASSERT_TRUE(WriteFileBytes(dir.path() / "data" / "RT.old", good));
    ASSERT_TRUE(WriteFileBytes(dir.path() / "data" / "RT.dat", std::vector<uint8_t>(30, 0xFF)));
    LoadRTIndex();
    EXPECT_EQ(TheRTStore().table.keyCount, 1);

    BackupRTIndex();
    EXPECT_EQ(ReadFileBytes(dir.path() / "data" / "RT.old"), good) << "a refused index does not replace the backup";

    std::filesystem::remove(dir.path() / "data" / "RT.old");
    ResetRTStore();
    LoadRTIndex();
    EXPECT_EQ(TheRTStore().table.keyCount, 0);
    EXPECT_EQ(TheRTStore().table.keyCapacity, 1000);

    ASSERT_TRUE(WriteFileBytes(dir.path() / "data" / "RT.dat", good));
    BackupRTIndex();
    EXPECT_EQ(ReadFileBytes(dir.path() / "data" / "RT.old"), good);
}

TEST_F(RTFilesTest, LoadingTheIndexOpensTheLatestStoredDay)
{
    WriteDay(MakeDay(kFri4, {0x4001}));
    WriteDay(MakeDay(kMon7, {0x4001, 0x4002}));
    WriteIndex();
    LoadRTIndex();
    RTDayRecord* current = GetRTDay(0, false);
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->day, kMon7);
    EXPECT_EQ(current->entries.size(), 2u);
    EXPECT_EQ(TheRTStore().newestDaySeen, kMon7);
    EXPECT_EQ(TheRTStore().dayChain.size(), 1u) << "older days stay on disk until asked for";
}

// Every version's entries and ticks read back; versions 0-3 take the pound flag from the fixed list.
TEST_F(RTFilesTest, DayFilesOfEveryVersionReadBack)
{
    RTDayRecord day = MakeDay(kMon7, {0x4001, 0x4002});
    day.entries[1].key = 0x0000077B; // a key of the pound list
    day.slotMap.assign(4, 0);
    day.slotMap[0] = 1;
    day.slotMap[1] = 2;
    day.coverage.assign(kRTCoverageBytes, 0x5A);
    day.extra = {1, 2, 3};
    for (uint8_t version = 0; version <= 5; ++version) {
        auto image = dev::RtDayFileImage(day, version);
        RTFileReader read = ReaderOf(image);
        auto back = ParseRTDayFile(read, image.size());
        ASSERT_TRUE(back) << int(version);
        EXPECT_EQ(back->version, version);
        EXPECT_EQ(back->day, kMon7);
        ASSERT_EQ(back->entries.size(), 2u);
        EXPECT_EQ(back->slotMap, day.slotMap);
        EXPECT_EQ(back->coverage.size(), version >= 2 ? kRTCoverageBytes : 0u);
        EXPECT_EQ(back->extra.size(), version >= 2 ? 3u : 0u);
        for (size_t i = 0; i < 2; ++i) {
            RTDayShareEntry& e = back->entries[i];
            const RTDayShareEntry& w = day.entries[i];
            EXPECT_EQ(e.key, w.key);
            EXPECT_EQ(e.tickCount, w.tickCount);
            EXPECT_EQ(e.tickCapacity, w.tickCount + 1);
            EXPECT_EQ(e.streamOffset, w.streamOffset) << int(version);
            EXPECT_EQ(e.registers[0], w.registers[0]);
            EXPECT_EQ(e.classes[4], w.classes[4]);
            EXPECT_EQ(e.loadFlags & (kRTLoadSummary | kRTLoadAllTicks), 0);
            EXPECT_EQ(bool(e.loadFlags & kRTLoadRebuildSummary), version == 0);
            EXPECT_EQ(bool(e.loadFlags & kRTLoadPounds), version <= 3 && i == 1) << int(version);
            ASSERT_EQ(LoadRTShareTicks(read, image.size(), e, kRTLoadAllTicks), 0);
            EXPECT_TRUE(std::equal(w.ticks.begin(), w.ticks.begin() + w.tickCount, e.ticks.begin())) << int(version);
        }
    }
}

TEST_F(RTFilesTest, OldEntriesMapFieldByField)
{
    // One 72-byte entry of a version-2 file, every mapped field distinct.
    std::vector<uint8_t> image(256 + 72 + 2 + 1 + 2, 0);
    image[5] = 2;
    StoreU16(image.data() + 8, kMon7);
    StoreU16(image.data() + 10, 1);
    StoreU32(image.data() + 20, 1);
    StoreU32(image.data() + 216, 256 + 72 + 2 + 1);
    uint8_t* e = image.data() + 256;
    for (int i = 0; i < 24; ++i)
        e[i] = uint8_t(i + 1);
    e[24] = 0xE1;                      // exchange
    e[25] = 0x21;                      // flags
    StoreU16(e + 26, 0xBEEF);          // seventh register
    StoreU32(e + 28, 0x44332211);      // byte, classes 1, 2, 7
    e[32] = 0x55;
    e[33] = 0x66;
    e[34] = 0x77;                      // second source
    StoreU32(e + 36, 0);               // no tick block
    StoreU32(e + 44, 50);              // tick words
    e[48] = 1;                         // kept
    StoreU16(e + 60, 36);
    StoreU16(image.data() + 256 + 72, 1);
    RTFileReader read = ReaderOf(image);
    auto day = ParseRTDayFile(read, image.size());
    ASSERT_TRUE(day);
    const RTDayShareEntry& x = day->entries[0];
    EXPECT_EQ(x.key, 0x04030201u);
    EXPECT_EQ(x.registers[3], 0x18171615u);
    EXPECT_EQ(x.seventhRegister, 0xBEEF);
    EXPECT_EQ(x.bitsInLastWord, 0x11);
    EXPECT_EQ(x.classes[0], 0x22);
    EXPECT_EQ(x.classes[2], 0x44);
    EXPECT_EQ(x.classes[3], 0x55);
    EXPECT_EQ(x.classes[4], 0x66);
    EXPECT_EQ(x.exchange, 0xE1);
    EXPECT_EQ(x.source, 0x77);
    EXPECT_EQ(x.flags, 0x21) << "bits 1 and 4 cleared";
    EXPECT_EQ(x.keptMarker, 1);
    EXPECT_EQ(x.tickCount, 50u);
    EXPECT_EQ(x.tickCapacity, 51u);
    EXPECT_EQ(x.streamOffset, 36);
}

TEST_F(RTFilesTest, ShortBlocksWithoutAMarkerCarryNoTicks)
{
    RTDayRecord day = MakeDay(kMon7, {0x4001, 0x4002, 0x4003});
    day.entries[0].tickCount = 37;  // the summary and one word
    day.entries[1].tickCount = 37;
    day.entries[1].keptMarker = 1;
    day.entries[2].tickCount = 38;
    WriteDay(day);
    auto back = LoadRTDayFile(kMon7);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->entries[0].tickCount, 0u);
    EXPECT_EQ(back->entries[0].fileOffset, 0u);
    EXPECT_EQ(LoadRTShareTicks(*back, back->entries[0], nullptr, kRTLoadSummary), -1);
    EXPECT_EQ(back->entries[1].tickCount, 37u);
    EXPECT_EQ(back->entries[2].tickCount, 38u);
    EXPECT_EQ(LoadRTDaySummaries(*back), 2) << "the two entries with blocks";
    EXPECT_TRUE(back->entries[2].HasSummary());
    EXPECT_EQ(back->entries[2].loadFlags & kRTLoadAllTicks, 0) << "the summary alone";
}

TEST_F(RTFilesTest, TickBlocksThatDoNotFitAreNotRead)
{
    RTDayRecord day = MakeDay(kMon7, {0x4001});
    auto image = dev::RtDayFileImage(day);
    RTFileReader read = ReaderOf(image);
    auto back = ParseRTDayFile(read, image.size());
    ASSERT_TRUE(back);
    RTDayShareEntry e = back->entries[0];
    struct Case {
        uint32_t offset, count;
        uint16_t kind;
        int result;
    } cases[] = {
        {0, 100, kRTLoadAllTicks, -1},                       // no block
        {e.fileOffset, e.tickCount, kRTLoadSummary, 0},
        {e.fileOffset, e.tickCount + 1, kRTLoadAllTicks, -1}, // one word past the end
        {0xFFFFFFF0u, 0x40000000u, kRTLoadAllTicks, -1},     // wraps in 32 bits
        {e.fileOffset, 20, kRTLoadSummary, -1},               // too short for a summary
        {e.fileOffset, 20, kRTLoadAllTicks, 0},
    };
    for (const Case& c : cases) {
        RTDayShareEntry x = e;
        x.fileOffset = c.offset;
        x.tickCount = c.count;
        EXPECT_EQ(LoadRTShareTicks(read, image.size(), x, c.kind), c.result) << c.offset << " " << c.count;
        if (c.result == 0) {
            EXPECT_GE(x.ticks.size(), kRTSummaryWords);
        }
    }
}

TEST_F(RTFilesTest, DamagedDayFilesAreRefusedOrBounded)
{
    RTDayRecord day = MakeDay(kMon7, {0x4001, 0x4002});
    auto image = dev::RtDayFileImage(day);
    auto parse = [](const std::vector<uint8_t>& bytes) { return ParseRTDayFile(ReaderOf(bytes), bytes.size()); };
    auto many = image;
    StoreU16(many.data() + 10, 60000);
    EXPECT_FALSE(parse(many)) << "entries past the end";
    auto version = image;
    version[5] = 9;
    EXPECT_FALSE(parse(version));
    EXPECT_FALSE(parse(std::vector<uint8_t>(image.begin(), image.begin() + 100)));
    auto slotBytes = image;
    StoreU32(slotBytes.data() + 20, 0x7FFFFFFF);
    StoreU16(slotBytes.data() + 256 + 2 * 88, 9); // a map value past the entries
    auto bounded = parse(slotBytes);
    ASSERT_TRUE(bounded);
    EXPECT_LE(bounded->slotMap.size() * 2, slotBytes.size());
    EXPECT_EQ(bounded->slotMap[0], 0);
    auto extra = image;
    StoreU32(extra.data() + 232, 0xFFFFFF00u);
    auto noExtra = parse(extra);
    ASSERT_TRUE(noExtra);
    EXPECT_TRUE(noExtra->extra.empty());
}

TEST_F(RTFilesTest, HistorySizesInEveryMode)
{
    for (PackedDate d : {kFri4, kMon7, kTue8, kWed9})
        ASSERT_TRUE(WriteFileBytes(dir.path() / "data" / "RT" / RTHistoryFileName(d), std::vector<uint8_t>(size_t(d % 7 + 1) * 4096)));
    auto kb = [](PackedDate d) { return int64_t(d % 7 + 1) * 4; };
    struct Case {
        int64_t size;
        int32_t days;
        int64_t sizeOut;
        int32_t daysOut;
    } cases[] = {
        {0, 0, kb(kFri4) + kb(kMon7) + kb(kTue8) + kb(kWed9), 4},
        {0, -2, kb(kFri4) + kb(kMon7), -2},
        {0, kTue8, kb(kTue8) + kb(kWed9), kTue8},
        {(kb(kFri4) + kb(kMon7)) * 1024 + 1, 0, kb(kFri4) + kb(kMon7), 2},
        {(kb(kFri4) + kb(kMon7)) * 1024, 0, kb(kFri4), 1},
    };
    for (const Case& c : cases) {
        int64_t size = c.size;
        int32_t days = c.days;
        GetRTHistorySize(size, days);
        EXPECT_EQ(size, c.sizeOut) << c.size << " " << c.days;
        EXPECT_EQ(days, c.daysOut) << c.size << " " << c.days;
    }
}

TEST_F(RTFilesTest, PurgesAskKeepTheNewestDayAndDeleteTheOldest)
{
    for (PackedDate d : {kFri4, kMon7, kTue8})
        WriteDay(MakeDay(d, {0x4001}));
    WriteIndex();
    LoadRTIndex();
    RTActiveShare* a = CreateRTActiveShare(ShareRef{nullptr, 0, 0x4001});
    a->days.push_back(std::make_unique<RTShareDayBlock>());
    test::FakeMessageBox box;

    box.queue(MsgAnswer::No);
    PurgeRTHistory(1, false, 1);
    EXPECT_EQ(TheRTStore().days.size(), 3u);

    box.queue(MsgAnswer::Yes);
    PurgeRTHistory(3, true, 3);
    EXPECT_EQ(TheRTStore().days.size(), 3u) << "keeping every day deletes nothing";
    EXPECT_EQ(box.texts().back(), "Intraday auto purge - Do you wish to purge the share history down to 3 days?");

    GetRTDay(kFri4, false);
    box.queue(MsgAnswer::Yes);
    PurgeRTHistory(2, false, 2);
    EXPECT_EQ(TheRTStore().days, (std::vector<PackedDate>{kMon7, kTue8}));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "data" / "RT" / RTHistoryFileName(kFri4)));
    EXPECT_EQ(TheRTStore().dayChain.size(), 1u) << "the deleted day left memory too";
    EXPECT_TRUE(a->days.empty());

    box.queue(MsgAnswer::Yes);
    PurgeRTHistory(0, false, 0);
    EXPECT_EQ(TheRTStore().days, (std::vector<PackedDate>{kTue8})) << "the newest day is never purged";
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "data" / "RT" / RTHistoryFileName(kTue8)));

    // Nothing while a backfill runs (step 8 and above), even with the engine running.
    RTConnectionStep() = 8;
    RTEngineState = 1;
    size_t asked = box.shown().size();
    PurgeRTHistory(0, false, 0);
    EXPECT_EQ(box.shown().size(), asked);
    RTConnectionStep() = 0;
    RTEngineState = 0;
}

TEST_F(RTFilesTest, RecordingsAndSamplesAreWrittenWhole)
{
    RTStore& s = TheRTStore();
    s.recording = true;
    s.recordingBuffer = {1, 2, 3, 4, 5};
    EXPECT_TRUE(StopRecordingRT());
    EXPECT_FALSE(s.recording);
    EXPECT_TRUE(s.recordingBuffer.empty());
    ASSERT_TRUE(LoadPlaybackRT());
    EXPECT_EQ(s.playbackBuffer, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(s.playbackPace, 32u);

    std::filesystem::remove(dir.path() / "Demo.dat");
    RTEngineState = 1;
    EXPECT_FALSE(LoadPlaybackRT());
    EXPECT_FALSE(s.playback);
    EXPECT_EQ(RTEngineState, 0);

    s.samples[3] = {0x01020304, 7};
    DumpRTSamples();
    EXPECT_EQ(ReadFileBytes(dir.path() / "Sample03.dat"), (std::vector<uint8_t>{4, 3, 2, 1, 7, 0, 0, 0}));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "Sample00.dat"));
    EXPECT_TRUE(s.samples[3].empty());
}

TEST_F(RTFilesTest, WithTheRealTimeOptionInstrumentsBecomeExtraItems)
{
    dev::IntradayShareSpec nvx{MakeRTKey(0, 0x7F01), Prices(120.0f), "NVX", "Novarex Holdings"};
    WriteDay(dev::MakeIntradayDay(kMon7, table, {nvx}));
    WriteIndex();
    DestroyRTStoreObjects();
    InitRTStore();
    EXPECT_FALSE(ExtraRecordExists(0x7F01)) << "the option is off";
    CloseRTStore();
    Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 1;
    InitRTStore();
    EXPECT_TRUE(ExtraRecordExists(0x7F01));
    EXPECT_EQ(TheRTStore().table.instruments[1].registeredExtra, 1);
    RemoveExtraRecord(0x7F01);
    CloseRTStore();
}

TEST_F(RTFilesTest, CloseDumpsTheSamplesAndFreesTheStore)
{
    WriteDay(MakeDay(kMon7, {0x4001}));
    WriteIndex();
    DestroyRTStoreObjects();
    InitRTStore();
    EXPECT_TRUE(RTStoreExists());
    EXPECT_TRUE(IntradayStoreLock().Exists());
    EXPECT_TRUE(NewsLock().Exists());
    TheRTStore().samples[0] = {9};
    CloseRTStore();
    EXPECT_FALSE(RTStoreExists());
    EXPECT_FALSE(IntradayStoreLock().Exists());
    EXPECT_EQ(IntradayLockFlag, 0);
    EXPECT_TRUE(TheRTStore().dayChain.empty());
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "Sample00.dat"));
}

} // namespace
} // namespace qv
