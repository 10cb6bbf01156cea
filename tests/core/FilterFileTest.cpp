// Tests of "Filter.cfg": the data-mining filters with their criteria.
#include "core/FilterFile.h"

#include "core/ConfigState.h"
#include "core/SaveProtocol.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

using FilterVector = std::vector<std::unique_ptr<DMFilter>>;

struct RawCriterion {
    uint8_t kind = 0, selector = 0, mode = 2, inverted = 0;
    uint32_t setting = 0;
    uint16_t secondSetting = 0;
    float upper = 10, lower = 1;
};

// Writes one filter record the way any older program did, criteria as given.
void WriteRawFilter(ByteWriter& out, const std::string& name, const std::string& note,
                    const std::vector<RawCriterion>& criteria, std::array<uint32_t, 3> axes, uint8_t flags = 0)
{
    out.u32(uint32_t(30 + name.size() + note.size()));
    out.u8('F');
    out.u8(flags);
    out.u16(uint16_t(criteria.size()));
    out.u16(1);
    out.u16(0);
    out.u32(0xDEADBEEF);
    for (uint32_t a : axes)
        out.u32(a);
    out.u8(uint8_t(name.size()));
    out.bytes(name.data(), name.size());
    out.u8(uint8_t(note.size()));
    out.bytes(note.data(), note.size());
    for (const RawCriterion& c : criteria) {
        out.u32(28);
        out.u8('C');
        out.u8(c.kind);
        out.u8(c.selector);
        out.u8(c.mode);
        out.u32(c.setting);
        out.u16(c.secondSetting);
        out.u8(0);
        out.u8(c.inverted);
        out.f32(c.upper);
        out.f32(c.lower);
        out.u32(0x10014);
        out.u32(0xD0E1);
    }
}

std::optional<FilterFileContents> Read(const std::vector<uint8_t>& body, FilterFileFormat format)
{
    ByteReader in(body);
    return ReadFilterBody(in, format);
}

FilterVector SampleFilters()
{
    FilterVector filters;
    auto a = std::make_unique<DMFilter>();
    a->name = "Cheap growth";
    a->note = "P/E below 10, rising";
    a->flags = kFilterPortfolioSource;
    a->sourceKind = 0;
    a->portfolioNumber = 3;
    for (uint8_t k = 0; k < 4; ++k) {
        DMCriterion c;
        c.kind = k;
        c.parameter = uint8_t(k + 1);
        c.mode = k % 3;
        c.inverted = k == 2;
        c.setting = 0xFFFFFFFF - k;
        c.secondSetting = 65535;
        c.upper = 9e37f;
        c.lower = -1.5f * k;
        c.firstDate = PeriodWord(PeriodUnit::Days, 20);
        c.secondDate = PeriodWord(PeriodUnit::Date, 0xD0E1);
        a->criteria.push_back(c);
    }
    a->axes = {2, 4, 0};
    filters.push_back(std::move(a));
    auto readOnly = std::make_unique<DMFilter>();
    readOnly->name = "Predefined";
    readOnly->flags = kFilterReadOnly | kFilterEdition;
    readOnly->criteria.resize(2);
    filters.push_back(std::move(readOnly));
    auto empty = std::make_unique<DMFilter>();
    empty->name = "";
    empty->sourceKind = 4;
    filters.push_back(std::move(empty));
    return filters;
}

FilterFileFormat CurrentFormat(uint16_t count)
{
    FilterFileFormat format;
    format.filterCount = count;
    return format;
}

} // namespace

TEST(FilterFile, BodyRoundTripIsByteExactAndSkipsReadOnlyFilters)
{
    FilterVector filters = SampleFilters();
    ByteWriter out;
    WriteFilterBody(out, filters);
    EXPECT_EQ(SavedFilterCount(filters), 2);
    EXPECT_EQ(FilterFileLength(filters), 16 + out.size());

    auto loaded = Read(out.data(), CurrentFormat(2));
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->filters.size(), 2u);
    const DMFilter& a = *loaded->filters[0];
    EXPECT_EQ(a.name, "Cheap growth");
    EXPECT_EQ(a.note, "P/E below 10, rising");
    EXPECT_EQ(a.flags, kFilterPortfolioSource);
    EXPECT_EQ(a.portfolioNumber, 3);
    EXPECT_EQ(a.axes, (std::array<uint32_t, 3>{2, 4, 0}));
    ASSERT_EQ(a.criteria.size(), 4u);
    EXPECT_EQ(a.criteria[2].inverted, 1);
    EXPECT_EQ(a.criteria[3].lower, -4.5f);
    EXPECT_EQ(a.criteria[3].setting, 0xFFFFFFFC);
    EXPECT_EQ(a.criteria[0].dataMax, -9e-37f); // working values start unset
    EXPECT_EQ(loaded->filters[1]->sourceKind, 4);
    EXPECT_FALSE(loaded->legacy);

    ByteWriter again;
    WriteFilterBody(again, loaded->filters);
    EXPECT_EQ(again.data(), out.data());
}

TEST(FilterFile, LongTextsAreCutTo255BytesOnSave)
{
    FilterVector filters;
    filters.push_back(std::make_unique<DMFilter>());
    filters[0]->name = std::string(300, 'n');
    filters[0]->note = std::string(256, 't');
    ByteWriter out;
    WriteFilterBody(out, filters);
    EXPECT_EQ(out.size(), 28u + 2 + 255 + 255);
    auto loaded = Read(out.data(), CurrentFormat(1));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->filters[0]->name, std::string(255, 'n'));
}

TEST(FilterFile, DamagedBodiesAreRefused)
{
    ByteWriter out;
    WriteFilterBody(out, SampleFilters());
    const std::vector<uint8_t> good = out.data();
    // Every cut short of the whole body fails; none reads past its end.
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(Read(std::vector<uint8_t>(good.begin(), good.begin() + n), CurrentFormat(2))) << n;
    EXPECT_FALSE(Read(good, CurrentFormat(3))); // more filters than stored

    std::vector<uint8_t> badMark = good;
    badMark[4] = 'G';
    EXPECT_FALSE(Read(badMark, CurrentFormat(2)));

    std::vector<uint8_t> badLength = good;
    StoreU32(badLength.data(), LoadU32(badLength.data()) + 1);
    EXPECT_FALSE(Read(badLength, CurrentFormat(2)));

    std::vector<uint8_t> hugeCount = good;
    StoreU16(hugeCount.data() + 6, 0xFFFF);
    EXPECT_FALSE(Read(hugeCount, CurrentFormat(2)));
}

TEST(FilterFile, RangesAxesAndFlagsAreRepairedOnLoad)
{
    ByteWriter out;
    RawCriterion reversed;
    reversed.upper = 1;
    reversed.lower = 5;
    WriteRawFilter(out, "f", "", std::vector<RawCriterion>(5, reversed), {7, 5, 0xFFFFFFFF},
                   kFilterReadOnly | kFilterEdition | kFilterOutOfDate);
    auto loaded = Read(out.data(), CurrentFormat(1));
    ASSERT_TRUE(loaded);
    const DMFilter& f = *loaded->filters[0];
    EXPECT_EQ(f.axes, (std::array<uint32_t, 3>{0, 5, 0}));
    EXPECT_EQ(f.criteria[0].upper, 5);
    EXPECT_EQ(f.criteria[0].lower, 1);
    // A file never makes a filter read-only (the filter would be lost at the next save).
    EXPECT_EQ(f.flags, kFilterOutOfDate);

    FilterFileFormat level101 = CurrentFormat(1);
    level101.level = 101;
    loaded = Read(out.data(), level101);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->filters[0]->criteria[0].upper, 0);
    EXPECT_EQ(loaded->filters[0]->criteria[0].lower, 0);
}

TEST(FilterFile, OlderLevelsAndSubVersionsAreConverted)
{
    struct Case {
        uint8_t level, subVersion;
        RawCriterion stored;
        uint8_t kind, selector, mode, inverted;
        uint32_t setting;
        uint16_t secondSetting;
    };
    auto raw = [](uint8_t kind, uint8_t selector, uint32_t setting = 0, uint16_t second = 0) {
        RawCriterion c;
        c.kind = kind;
        c.selector = selector;
        c.setting = setting;
        c.secondSetting = second;
        c.mode = 1;
        c.inverted = 1;
        return c;
    };
    const Case cases[] = {
        // Level 100: price selectors remapped, kind kept at 0, then renumbered (0 stays 0).
        {100, 5, raw(0, 2), 0, 8, 1, 1, 0, 0},
        {100, 5, raw(0, 11), 0, 11, 1, 1, 0, 0}, // selector beyond the table: unchanged
        {100, 5, raw(1, 1), 0, 6, 1, 1, 0, 0},
        {100, 5, raw(1, 3), 0, 3, 1, 1, 0, 0},
        {100, 5, raw(12, 2, 0x5003), 11, 11, 1, 1, 0x3 + 0x5, 0},
        {100, 5, raw(12, 2, 0xFFFFF002), 11, 11, 1, 1, uint32_t(2 - 1), 0}, // sign kept in the shift
        {100, 5, raw(3, 0, 0, 7), 2, 0, 1, 1, 0, 10},
        {100, 5, raw(9, 4), 8, 4, 1, 1, 0, 0},
        // Sub-version 4: kinds renumbered.
        {102, 4, raw(1, 0), 11, 0, 1, 1, 0, 0},
        {102, 4, raw(13, 0), 2, 0, 1, 1, 0, 0},
        {102, 4, raw(11, 0), 1, 0, 1, 1, 0, 0},
        {102, 4, raw(20, 0), 20, 0, 1, 1, 0, 0},
        // Sub-version 2: no inversion, an enabled mode becomes "fully filter".
        {102, 2, raw(5, 0), 5, 0, 2, 0, 0, 0},
        // Level 100 and sub-version 4 together: kind 14 becomes 13, then 2.
        {100, 4, raw(14, 0), 2, 0, 1, 1, 0, 0},
    };
    for (const Case& c : cases) {
        ByteWriter out;
        WriteRawFilter(out, "old", "", {c.stored}, {1, 0, 0});
        FilterFileFormat format = CurrentFormat(1);
        format.level = c.level;
        format.subVersion = c.subVersion;
        std::vector<uint8_t> body = out.take();
        if (c.subVersion < 4) {
            // Older files carry the data-mining block and items first.
            ByteWriter legacy;
            legacy.zeros(kLegacyDataMiningBlockSize);
            for (uint8_t slot = 0; slot < 12; ++slot) {
                legacy.u16(3);
                legacy.u8(slot);
                legacy.u8(2);
                legacy.bytes("T\0", 2);
                legacy.u8(0);
            }
            for (uint8_t slot = 0; slot < 12; ++slot) {
                legacy.u16(2);
                legacy.u8(slot);
                legacy.u8(2);
                legacy.bytes("G\0", 2);
            }
            legacy.bytes(body.data(), body.size());
            body = legacy.take();
        }
        auto loaded = Read(body, format);
        ASSERT_TRUE(loaded) << int(c.level) << "." << int(c.subVersion) << " kind " << int(c.stored.kind);
        const DMCriterion& got = loaded->filters[0]->criteria[0];
        SCOPED_TRACE(testing::Message() << "level " << int(c.level) << " sub " << int(c.subVersion) << " kind "
                                        << int(c.stored.kind) << " selector " << int(c.stored.selector));
        EXPECT_EQ(got.kind, c.kind);
        EXPECT_EQ(got.parameter, c.selector);
        EXPECT_EQ(got.mode, c.mode);
        EXPECT_EQ(got.inverted, c.inverted);
        EXPECT_EQ(got.setting, c.setting);
        EXPECT_EQ(got.secondSetting, c.secondSetting);
    }
}

TEST(FilterFile, SubVersionZeroGetsDefaultAxes)
{
    ByteWriter legacy;
    legacy.zeros(kLegacyDataMiningBlockSize);
    for (int family = 0; family < 2; ++family)
        for (uint8_t slot = 0; slot < 12; ++slot) {
            legacy.u16(family == 0 ? 1 : 0);
            legacy.u8(slot);
            legacy.u8(0);
            if (family == 0)
                legacy.u8(2);
        }
    WriteRawFilter(legacy, "two", "", std::vector<RawCriterion>(2), {0, 0, 0});
    WriteRawFilter(legacy, "one", "", std::vector<RawCriterion>(1), {0, 0, 0});
    FilterFileFormat format = CurrentFormat(2);
    format.subVersion = 0;
    auto loaded = Read(legacy.data(), format);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->filters[0]->axes, (std::array<uint32_t, 3>{1, 2, 0}));
    EXPECT_EQ(loaded->filters[1]->axes, (std::array<uint32_t, 3>{1, 0, 0}));
}

TEST(FilterFile, OlderFilesHandOverTheirDataMiningSettings)
{
    ByteWriter out;
    std::vector<uint8_t> block(kLegacyDataMiningBlockSize);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = uint8_t(i);
    out.bytes(block.data(), block.size());
    for (uint8_t slot = 0; slot < 12; ++slot) {
        std::string name = "Table " + std::to_string(slot + 1);
        out.u16(uint16_t(name.size() + 1 + 1 + 3)); // name, sort byte and three column bytes
        out.u8(uint8_t(11 - slot));
        out.u8(uint8_t(name.size() + 1));
        out.cString(name);
        out.i8(-2);
        out.bytes("\x02\x07\x00", 3);
    }
    for (uint8_t slot = 0; slot < 12; ++slot) {
        std::string name = "Graph " + std::to_string(slot + 1);
        out.u16(uint16_t(name.size() + 1));
        out.u8(slot);
        out.u8(uint8_t(name.size() + 1));
        out.cString(name);
    }
    FilterFileFormat format = CurrentFormat(0);
    format.subVersion = 3;
    auto loaded = Read(out.data(), format);
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(loaded->legacy);
    const LegacyDataMiningSettings& legacy = *loaded->legacy;
    EXPECT_EQ(legacy.optionBytes, (std::array<uint8_t, 6>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(legacy.graphs[0][0], 60);
    EXPECT_EQ(legacy.graphs[11][83], uint8_t(60 + 11 * 84 + 83));
    ASSERT_EQ(legacy.tables.size(), 12u);
    EXPECT_EQ(legacy.tables[0].slot, 11);
    EXPECT_EQ(legacy.tables[0].name, "Table 1");
    EXPECT_EQ(legacy.tables[0].sortByte, -2);
    EXPECT_EQ(legacy.tables[0].columns, (std::vector<uint8_t>{2, 7, 0}));
    EXPECT_EQ(legacy.graphNames[11], "Graph 12");

    // The configuration takes them over; slots the file does not name keep their names.
    ConfigState config;
    config.dataMiningGraphs.names[0] = "Kept";
    LegacyDataMiningSettings partial = legacy;
    partial.graphNames[0].reset();
    ApplyLegacyDataMiningSettings(partial, config);
    EXPECT_EQ(config.dataMining.bytes, legacy.optionBytes);
    EXPECT_EQ(config.optionsA.dataMiningWord(), config.dataMining.pack());
    EXPECT_EQ(config.dataMiningGraphs.records[11].bytes, legacy.graphs[11]);
    EXPECT_EQ(config.dataMiningGraphs.names[0], "Kept");
    EXPECT_EQ(config.dataMiningGraphs.names[1], "Graph 2");
    EXPECT_EQ(config.dataMiningTables.designs[11].name, "Table 1");
    EXPECT_EQ(config.dataMiningTables.designs[11].sort, -2);
    EXPECT_EQ(config.dataMiningTables.designs[11].chain, (std::vector<uint8_t>{2, 7, 0}));

    // A slot of 12 or more lies outside the twelve slots: the file is refused.
    std::vector<uint8_t> badSlot = out.data();
    badSlot[kLegacyDataMiningBlockSize + 2] = 12;
    EXPECT_FALSE(Read(badSlot, format));
    // A length word too small for the name and sort byte is refused rather than wrapping.
    std::vector<uint8_t> badLength = out.data();
    StoreU16(badLength.data() + kLegacyDataMiningBlockSize, 3);
    EXPECT_FALSE(Read(badLength, format));
    for (size_t n = 0; n < out.size(); n += 7)
        EXPECT_FALSE(Read(std::vector<uint8_t>(out.data().begin(), out.data().begin() + n), format)) << n;
}

TEST(FilterFile, LoadedFiltersFollowThePredefinedOnesAndTheCurrentIsRestored)
{
    SetEditionOptionByte(2);
    FilterFileContents contents;
    for (const char* name : {"a", "b"}) {
        contents.filters.push_back(std::make_unique<DMFilter>());
        contents.filters.back()->name = name;
    }
    contents.currentPosition = 4; // positions count the three edition filters at the head
    InstallLoadedFilters(std::move(contents));
    ASSERT_EQ(FilterList().size(), 5u);
    EXPECT_EQ(FilterList()[3]->name, "a");
    EXPECT_EQ(CurrentFilter()->name, "b");

    FilterFileContents beyond;
    beyond.currentPosition = 40;
    InstallLoadedFilters(std::move(beyond));
    EXPECT_EQ(FilterList().size(), 3u);
    EXPECT_EQ(CurrentFilter(), FilterList()[0].get());

    SetEditionOptionByte(0);
    InstallLoadedFilters(std::nullopt);
    EXPECT_TRUE(FilterList().empty());
    EXPECT_EQ(CurrentFilter(), nullptr);
}

namespace {

class FilterFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = ProgramFolder();
        SetProgramFolder(dir_.path());
        SetEditionOptionByte(2);
        LoadEditionFilters();
        for (auto& filter : SampleFilters())
            if (!filter->readOnly())
                InsertFilter(std::move(filter));
        SetCurrentFilter(FilterList()[4].get());
    }
    void TearDown() override
    {
        SetFreeSpaceHook({});
        SetEditionOptionByte(0);
        ClearFilterList();
        SetProgramFolder(previous_);
    }
    std::optional<std::vector<uint8_t>> file(const char* name) const { return ReadFileBytes(dir_.path() / name); }

    dev::TempFolder dir_;
    fs::path previous_;
};

} // namespace

TEST_F(FilterFileOnDisk, SaveAndLoadRoundTripIsByteExact)
{
    ASSERT_TRUE(SaveFilters(false));
    std::vector<uint8_t> first = *file("Filter.cfg");
    EXPECT_EQ(std::string(first.begin(), first.begin() + 4), "ZQAE");
    EXPECT_EQ(first[4], 1);
    EXPECT_EQ(first[5], 5);
    EXPECT_EQ(first[6], 102);
    EXPECT_EQ(LoadU16(first.data() + 8), 2);  // the edition filters are not saved
    EXPECT_EQ(LoadU16(first.data() + 10), 4); // position in the whole list
    EXPECT_EQ(LoadU32(first.data() + 12), first.size());

    ClearFilterList();
    ASSERT_TRUE(LoadFilters("Filter.cfg"));
    ASSERT_EQ(FilterList().size(), 5u);
    EXPECT_EQ(CurrentFilter()->name, "Cheap growth");
    ASSERT_TRUE(SaveFilters(true));
    EXPECT_EQ(*file("Filter.cfg"), first);
    EXPECT_TRUE(FilterList().empty());
    EXPECT_EQ(CurrentFilter(), nullptr);
}

TEST_F(FilterFileOnDisk, EverySaveKeepsThePreviousFileAsFilterOld)
{
    ASSERT_TRUE(SaveFilters(false));
    std::vector<uint8_t> first = *file("Filter.cfg");
    FilterList()[3]->name = "Renamed";
    ASSERT_TRUE(SaveFilters(false));
    std::vector<uint8_t> second = *file("Filter.cfg");
    EXPECT_EQ(*file("Filter.old"), first);
    FilterList()[3]->name = "Renamed again";
    ASSERT_TRUE(SaveFilters(false));
    EXPECT_EQ(*file("Filter.old"), second);
    EXPECT_FALSE(file("Filter.tem"));
}

TEST_F(FilterFileOnDisk, HeaderIsJudgedByLevelAndVersionNotTag)
{
    ASSERT_TRUE(SaveFilters(false));
    std::vector<uint8_t> good = *file("Filter.cfg");
    std::vector<uint8_t> wrongTag = good;
    wrongTag[2] = 'X';
    EXPECT_TRUE(ReadFilterFile(wrongTag));
    std::vector<uint8_t> level98 = good;
    level98[6] = 98;
    EXPECT_FALSE(ReadFilterFile(level98));
    std::vector<uint8_t> version6 = good;
    version6[4] = 6;
    EXPECT_FALSE(ReadFilterFile(version6));
    EXPECT_FALSE(ReadFilterFile(std::vector<uint8_t>(good.begin(), good.begin() + 15)));
    EXPECT_FALSE(LoadFilters("Missing.cfg"));
    EXPECT_EQ(FilterList().size(), 3u); // only the predefined filters
}

TEST_F(FilterFileOnDisk, DamagedFileIsSetAsideAndTheOlderCopyLoads)
{
    ASSERT_TRUE(SaveFilters(false));
    ASSERT_TRUE(SaveFilters(false)); // now "Filter.old" holds the same filters
    std::vector<uint8_t> damaged = *file("Filter.cfg");
    damaged.resize(damaged.size() - 1);
    WriteFileBytes(dir_.path() / "Filter.cfg", damaged);

    EXPECT_TRUE(LoadFiltersAtStartUp());
    EXPECT_EQ(FilterList().size(), 5u);
    EXPECT_FALSE(file("Filter.cfg"));
    EXPECT_EQ(*file("Filter.bad"), damaged);

    // The next save writes "Filter.cfg" again and leaves the good "Filter.old" alone.
    std::vector<uint8_t> older = *file("Filter.old");
    ASSERT_TRUE(SaveFilters(false));
    EXPECT_EQ(*file("Filter.old"), older);
    EXPECT_TRUE(file("Filter.cfg"));
}

TEST_F(FilterFileOnDisk, LowDiskSpaceGivesUpTheSave)
{
    SetFreeSpaceHook([] { return std::optional<uint64_t>(19999); });
    test::FakeMessageBox box; // Cancel, the default answer
    EXPECT_FALSE(SaveFilters(false));
    EXPECT_FALSE(file("Filter.cfg"));
    EXPECT_EQ(FilterList().size(), 5u);
}
