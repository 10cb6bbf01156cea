// Tests of "View.cfg" and the older "Views.cfg": the window layouts on disk.
#include "core/WindowLayoutFile.h"

#include "core/ConfigRecords.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

LayoutWindowRecord Record(uint8_t seed, uint32_t viewKind = 1, int32_t right = 400, int32_t bottom = 300)
{
    LayoutWindowRecord r;
    for (size_t i = 0; i < r.size(); ++i)
        r[i] = uint8_t(seed + i);
    StoreU32(r.data() + 20, viewKind);
    StoreI32(r.data() + 80, right);
    StoreI32(r.data() + 84, bottom);
    return r;
}

WindowLayoutSet SampleSet()
{
    WindowLayoutSet set;
    for (int slot = 0; slot < kLayoutSlotCount; ++slot) {
        set.layouts[slot].name = "Layout name " + std::to_string(slot);
        for (int w = 0; w < slot % 4; ++w)
            set.layouts[slot].windows.push_back(Record(uint8_t(slot * 16 + w)));
    }
    set.layouts[kSingleWindowLayout].windows = {Record(200, 3)};
    set.current = 5;
    return set;
}

// A file as an older program wrote it: the header, then the given layouts.
std::vector<uint8_t> OlderFile(uint8_t subVersion, uint8_t current, const std::vector<WindowLayout>& layouts,
                               uint32_t headerCount = 0)
{
    ByteWriter out;
    out.bytes("ZQAI", 4);
    out.u8(1);
    out.u8(subVersion);
    out.u8(current);
    out.u8(0);
    out.u32(headerCount);
    out.u32(0);
    out.zeros(12);
    for (const WindowLayout& layout : layouts) {
        if (subVersion > 0) {
            out.u32(uint32_t(layout.windows.size()));
            out.u32(uint32_t(layout.name.size() + 1));
            out.cString(layout.name);
        }
        for (const LayoutWindowRecord& r : layout.windows)
            out.bytes(r.data(), r.size());
    }
    return out.take();
}

std::vector<WindowLayout> Layouts(int count)
{
    std::vector<WindowLayout> layouts(count);
    for (int i = 0; i < count; ++i) {
        layouts[i].name = "Old " + std::to_string(i);
        layouts[i].windows = {Record(uint8_t(i)), Record(uint8_t(i + 100))};
    }
    return layouts;
}

LayoutLoadContext Context()
{
    LayoutLoadContext context;
    context.singleWindowRecord = Record(77, 6);
    context.tradeListMode = 9;
    return context;
}

} // namespace

TEST(WindowLayoutFile, RoundTripIsByteExact)
{
    WindowLayoutSet set = SampleSet();
    std::vector<uint8_t> image = BuildLayoutFile(set, -1, std::nullopt);
    EXPECT_EQ(LoadU32(image.data() + 8), 19u); // windows of all 13 layouts
    EXPECT_EQ(LoadU32(image.data() + 12), 28u + 156 * 19);
    EXPECT_EQ(image[6], 5);

    WindowLayoutSet loaded;
    LayoutLoadOutcome outcome = ApplyLayoutFile(image, -1, Context(), loaded);
    EXPECT_EQ(outcome.answer, -1);
    EXPECT_FALSE(outcome.rewrite);
    EXPECT_EQ(loaded.current, 5);
    for (int slot = 0; slot < kLayoutSlotCount; ++slot) {
        EXPECT_EQ(loaded.layouts[slot].name, set.layouts[slot].name);
        EXPECT_EQ(loaded.layouts[slot].windows, set.layouts[slot].windows) << slot;
    }
    EXPECT_EQ(BuildLayoutFile(loaded, -1, std::nullopt), image);
}

TEST(WindowLayoutFile, SavingOneLayoutCopiesTheOthersFromTheOldFile)
{
    WindowLayoutSet onDisk = SampleSet();
    std::vector<uint8_t> old = BuildLayoutFile(onDisk, -1, std::nullopt);
    WindowLayoutSet memory = SampleSet();
    for (WindowLayout& slot : memory.layouts) {
        slot.name += " changed";
        slot.windows.push_back(Record(1));
    }
    memory.current = 3;
    std::vector<uint8_t> image = BuildLayoutFile(memory, 3, old);

    WindowLayoutSet loaded;
    ApplyLayoutFile(image, -1, Context(), loaded);
    for (int slot = 0; slot < kLayoutSlotCount; ++slot) {
        const WindowLayoutSet& expected = slot == 3 ? memory : onDisk;
        EXPECT_EQ(loaded.layouts[slot].name, expected.layouts[slot].name) << slot;
        EXPECT_EQ(loaded.layouts[slot].windows, expected.layouts[slot].windows) << slot;
    }
    // Without an old file every layout comes from memory.
    EXPECT_EQ(BuildLayoutFile(memory, 3, std::nullopt), BuildLayoutFile(memory, -1, std::nullopt));
    // An old file of twelve layouts gives the single-window layout from memory.
    std::vector<uint8_t> twelve = OlderFile(2, 0, Layouts(12));
    ApplyLayoutFile(BuildLayoutFile(memory, 3, twelve), -1, Context(), loaded);
    EXPECT_EQ(loaded.layouts[0].name, "Old 0");
    EXPECT_EQ(loaded.layouts[kSingleWindowLayout].name, memory.layouts[kSingleWindowLayout].name);
}

TEST(WindowLayoutFile, OlderSubVersionsAreConvertedAndRewritten)
{
    WindowLayoutSet set;
    LayoutLoadOutcome outcome = ApplyLayoutFile(OlderFile(1, 4, Layouts(12)), -1, Context(), set);
    EXPECT_TRUE(outcome.rewrite);
    EXPECT_EQ(set.current, 4);
    EXPECT_EQ(set.layouts[11].name, "Old 11");
    const uint8_t* r = set.layouts[2].windows[0].data();
    EXPECT_EQ(r[101], 9);                 // trade-list mode from the options
    EXPECT_EQ(LoadU32(r + 108), 0u);
    EXPECT_EQ(r[93] | r[94] | r[95], 0);
    EXPECT_EQ(r[151], 0);
    EXPECT_EQ(r[68], 1);
    EXPECT_EQ(LoadU16(r + 102), 0);
    EXPECT_EQ(LoadU32(r + 116) | LoadU32(r + 120), 0u);
    EXPECT_EQ(r[0], 2);                   // the rest untouched
    // Twelve layouts only: the single-window layout is rebuilt.
    EXPECT_EQ(set.layouts[kSingleWindowLayout].name, "EOD Layout");
    EXPECT_EQ(set.layouts[kSingleWindowLayout].windows, std::vector<LayoutWindowRecord>{Record(77, 6)});

    // Sub-version 3 only has the newer conversion.
    ApplyLayoutFile(OlderFile(3, 0, Layouts(13)), -1, Context(), set);
    r = set.layouts[2].windows[0].data();
    EXPECT_EQ(r[101], 101 + 2);
    EXPECT_EQ(r[68], 1);
    EXPECT_EQ(set.layouts[kSingleWindowLayout].name, "Old 12");
}

TEST(WindowLayoutFile, SubVersionZeroAndNoFileGiveDefaultNames)
{
    WindowLayoutSet set = SampleSet();
    std::vector<WindowLayout> first = {WindowLayout{"", {Record(1), Record(2), Record(3)}}};
    LayoutLoadOutcome outcome = ApplyLayoutFile(OlderFile(0, 7, first, 3), -1, Context(), set);
    EXPECT_TRUE(outcome.rewrite);
    EXPECT_EQ(set.current, 0);
    EXPECT_EQ(set.layouts[0].windows.size(), 3u);
    EXPECT_EQ(set.layouts[0].name, "Main layout");
    EXPECT_EQ(set.layouts[4].name, "Data Mining");
    EXPECT_EQ(set.layouts[11].name, "Layout 12");
    EXPECT_TRUE(set.layouts[1].windows.empty());
    // Sub-version 0 keeps the single-window layout it had (its rectangle is usable).
    EXPECT_EQ(set.layouts[kSingleWindowLayout].windows, std::vector<LayoutWindowRecord>{Record(200, 3)});

    set = SampleSet();
    outcome = ApplyLayoutFile(std::nullopt, -1, Context(), set);
    EXPECT_FALSE(outcome.rewrite);
    EXPECT_EQ(set.current, 0);
    EXPECT_EQ(set.layouts[2].name, "One Share");
    EXPECT_TRUE(set.layouts[3].windows.empty());
    EXPECT_EQ(set.layouts[kSingleWindowLayout].name, "EOD Layout");
    ASSERT_EQ(set.layouts[kSingleWindowLayout].windows.size(), 1u);
}

TEST(WindowLayoutFile, SingleWindowOptionMakesLayout12Current)
{
    LayoutLoadContext context = Context();
    context.multipleWindows = false;
    WindowLayoutSet set = SampleSet();
    std::vector<uint8_t> image = BuildLayoutFile(set, -1, std::nullopt);
    WindowLayoutSet loaded;
    EXPECT_EQ(ApplyLayoutFile(image, -1, context, loaded).answer, 3);
    EXPECT_EQ(loaded.current, kSingleWindowLayout);

    // A single window without a usable rectangle is dropped: the answer is then 0.
    set.layouts[kSingleWindowLayout].windows = {Record(5, 8, 0, 100)};
    EXPECT_EQ(ApplyLayoutFile(BuildLayoutFile(set, -1, std::nullopt), -1, context, loaded).answer, 0);
    EXPECT_TRUE(loaded.layouts[kSingleWindowLayout].windows.empty());

    // With the option on, a stored current layout of 12 becomes 0.
    set.current = 12;
    ApplyLayoutFile(BuildLayoutFile(set, -1, std::nullopt), -1, Context(), loaded);
    EXPECT_EQ(loaded.current, 0);
    // Configuration files older than version 3 rebuild the single window.
    context.configVersion = 2;
    EXPECT_EQ(ApplyLayoutFile(image, -1, context, loaded).answer, 6);
}

TEST(WindowLayoutFile, ReloadingOneLayoutLeavesTheOthersAlone)
{
    WindowLayoutSet onDisk = SampleSet();
    std::vector<uint8_t> image = BuildLayoutFile(onDisk, -1, std::nullopt);
    WindowLayoutSet memory = SampleSet();
    memory.layouts[2].name = "edited";
    memory.layouts[3].name = "edited too";
    memory.layouts[3].windows.clear();
    memory.current = 3;
    ApplyLayoutFile(image, 3, Context(), memory);
    EXPECT_EQ(memory.layouts[2].name, "edited");
    EXPECT_EQ(memory.layouts[3].name, onDisk.layouts[3].name);
    EXPECT_EQ(memory.layouts[3].windows, onDisk.layouts[3].windows);
    EXPECT_EQ(memory.current, 3);
}

TEST(WindowLayoutFile, DamagedFilesLoseOnlyWhatIsDamaged)
{
    std::vector<WindowLayout> layouts = Layouts(13);
    std::vector<uint8_t> good = OlderFile(4, 13, layouts);
    // A window count in layout 2 larger than the data: layouts 0-1 load, the rest stay empty.
    std::vector<uint8_t> bad = good;
    size_t entry = 28;
    for (int i = 0; i < 2; ++i)
        entry += 8 + layouts[i].name.size() + 1 + 2 * kLayoutWindowRecordSize;
    StoreU32(bad.data() + entry, 0x7FFFFFFF);
    WindowLayoutSet set;
    ApplyLayoutFile(bad, -1, Context(), set);
    EXPECT_EQ(set.current, 0); // 13 is no layout
    EXPECT_EQ(set.layouts[1].name, "Old 1");
    EXPECT_EQ(set.layouts[2].name, "One Share");
    EXPECT_TRUE(set.layouts[2].windows.empty());
    EXPECT_EQ(set.layouts[11].name, "Layout 12");

    // A name length running past the end likewise.
    bad = good;
    StoreU32(bad.data() + 28 + 4, 0xFFFFFFFF);
    ApplyLayoutFile(bad, -1, Context(), set);
    EXPECT_EQ(set.layouts[0].name, "Main layout");

    // Every cut of the file loads without reading past its end; a header shorter than 28 bytes
    // counts as no file.
    for (size_t n = 0; n < good.size(); n += 13) {
        WindowLayoutSet cut;
        LayoutLoadOutcome outcome =
            ApplyLayoutFile(std::vector<uint8_t>(good.begin(), good.begin() + n), -1, Context(), cut);
        EXPECT_EQ(outcome.rewrite, false) << n;
    }
    WindowLayoutSet shortHeader;
    ApplyLayoutFile(std::vector<uint8_t>(good.begin(), good.begin() + 27), -1, Context(), shortHeader);
    EXPECT_EQ(shortHeader.layouts[0].name, "Main layout");
}

TEST(WindowLayouts, SingleWindowRecordComesFromTheOptions)
{
    OptionBlockA a;
    OptionBlockB b;
    for (size_t offset = 0; offset + 4 <= b.kSize; offset += 4)
        StoreU32(b.data() + offset, uint32_t(offset));
    StoreU32(b.data() + 120, 2);
    StoreU32(a.data() + 120, 7);
    StoreU32(a.data() + 440, 8);
    StoreU32(a.data() + 392, 9);
    LayoutWindowRecord r = FillSingleWindowRecord(a, b, 0x5A);
    const std::pair<size_t, uint32_t> expected[] = {
        {0, 140}, {4, 144}, {12, 1002}, {16, 2}, {20, 2}, {24, 132}, {28, 112}, {32, 136}, {36, 124},
        {40, 128}, {44, 148}, {60, 164}, {64, 7}, {104, 8}, {112, 9}};
    for (auto [offset, value] : expected)
        EXPECT_EQ(LoadU32(r.data() + offset), value) << offset;
    EXPECT_EQ(r[92], 0x5A);
    EXPECT_EQ(LoadU32(r.data() + 8), 0u);

    StoreU32(b.data() + 120, 4); // transactions: the portfolio byte, not the word
    StoreU32(b.data() + 116, 0x1234);
    EXPECT_EQ(LoadU32(FillSingleWindowRecord(a, b, 0).data() + 28), 0x34u);
}

TEST(WindowLayouts, DefaultNamesAndFreeing)
{
    EXPECT_EQ(DefaultLayoutName(0), "Main layout");
    EXPECT_EQ(DefaultLayoutName(1), "9 Graphs");
    EXPECT_EQ(DefaultLayoutName(5), "Layout 6");
    EXPECT_EQ(DefaultLayoutName(12), "EOD Layout");
    WindowLayoutSet set = SampleSet();
    FreeLayouts(set, 12);
    EXPECT_FALSE(set.layouts[12].windows.empty());
    FreeLayouts(set, 2);
    EXPECT_TRUE(set.layouts[2].windows.empty());
    EXPECT_FALSE(set.layouts[3].windows.empty());
    FreeLayouts(set, -1);
    EXPECT_TRUE(set.layouts[3].windows.empty());
    EXPECT_FALSE(set.layouts[12].windows.empty());
}

namespace {

class WindowLayoutFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = ProgramFolder();
        SetProgramFolder(dir_.path());
        WindowLayouts() = WindowLayoutSet{};
    }
    void TearDown() override
    {
        SetBeforeLayoutSaveHook({});
        WindowLayouts() = WindowLayoutSet{};
        SetProgramFolder(previous_);
    }
    std::optional<std::vector<uint8_t>> file(const char* name) const { return ReadFileBytes(dir_.path() / name); }

    dev::TempFolder dir_;
    fs::path previous_;
};

} // namespace

TEST_F(WindowLayoutFileOnDisk, OnlyTheOlderNameExists)
{
    std::vector<uint8_t> older = OlderFile(2, 1, Layouts(12));
    WriteFileBytes(dir_.path() / "Views.cfg", older);
    EXPECT_EQ(LoadViews(-1, Context()), -1);
    EXPECT_EQ(WindowLayouts().current, 1);
    EXPECT_EQ(WindowLayouts().layouts[7].name, "Old 7");
    EXPECT_EQ(WindowLayouts().layouts[kSingleWindowLayout].name, "EOD Layout");

    // Written back at once in the current form; the older file is left as it was.
    auto rewritten = file("View.cfg");
    ASSERT_TRUE(rewritten);
    EXPECT_EQ((*rewritten)[5], kLayoutFileSubVersion);
    EXPECT_EQ(*rewritten, BuildLayoutFile(WindowLayouts(), -1, std::nullopt));
    EXPECT_EQ(*file("Views.cfg"), older);
}

TEST_F(WindowLayoutFileOnDisk, SaveLoadSaveIsByteExactAndOneLayoutSaveKeepsTheRest)
{
    int hookCalls = 0;
    SetBeforeLayoutSaveHook([&] { ++hookCalls; });
    WindowLayouts() = SampleSet();
    ASSERT_TRUE(SaveViews(-1));
    std::vector<uint8_t> first = *file("View.cfg");
    WindowLayouts() = WindowLayoutSet{};
    EXPECT_EQ(LoadViews(-1, Context()), -1);
    ASSERT_TRUE(SaveViews(-1));
    EXPECT_EQ(*file("View.cfg"), first);
    EXPECT_FALSE(file("View.tem"));

    // "Save just this layout" with layout 3 current: every other layout comes from the disk.
    for (WindowLayout& layout : WindowLayouts().layouts)
        layout.name = "changed";
    WindowLayouts().current = 3;
    ASSERT_TRUE(SaveViews(3));
    EXPECT_EQ(hookCalls, 3);
    WindowLayouts() = WindowLayoutSet{};
    LoadViews(-1, Context());
    for (int slot = 0; slot < kLayoutSlotCount; ++slot)
        EXPECT_EQ(WindowLayouts().layouts[slot].name, slot == 3 ? "changed" : SampleSet().layouts[slot].name) << slot;
    EXPECT_EQ(WindowLayouts().current, 3);
}
