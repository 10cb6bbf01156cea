// Tests of reading the image of "Quorva.cfg" into the settings, whole or one slot.
#include "core/ConfigFormat.h"
#include "core/ConfigWriter.h"

#include "core/ConfigFamilies.h"
#include "core/ConfigItem.h"
#include "devtools/lib/ConfigFixture.h"
#include "support/ConfigSamples.h"

#include <gtest/gtest.h>

using namespace qv;
using qv::test::SampleConfig;

namespace {

struct Part {
    std::string section;
    size_t offset;
    size_t size;
    int type;
};

std::vector<Part> Parts(std::span<const uint8_t> image)
{
    std::vector<Part> parts;
    ConfigState scratch;
    ReadConfigImage(scratch, image, kWholeConfig,
                    [&](const ConfigPartSeen& p) { parts.push_back({p.section, p.offset, p.size, p.type}); });
    return parts;
}

// The n-th item (from 0) of a section.
Part ItemOf(std::span<const uint8_t> image, const std::string& section, size_t n)
{
    for (const auto& p : Parts(image))
        if (p.section == section && n-- == 0)
            return p;
    ADD_FAILURE() << "no item " << n << " in " << section;
    return {};
}

// The state after the cascade from a family on: that family and every later one at defaults.
ConfigState ResetFrom(ConfigState state, ConfigFamily first, bool trailing)
{
    bool on = false;
    for (auto family : kConfigFileOrder) {
        on = on || family == first;
        if (on)
            ResetConfigFamily(state, family);
    }
    if (trailing)
        ResetIntradayAlarms(state);
    return state;
}

bool SameFamily(const ConfigState& a, const ConfigState& b, ConfigFamily family)
{
    if (auto* tables = TableFamilyOf(a, family))
        return family == ConfigFamily::ListTables
                   ? tables->designs == TableFamilyOf(b, family)->designs && a.currentSettings == b.currentSettings
                   : *tables == *TableFamilyOf(b, family);
    switch (family) {
    case ConfigFamily::DailyGraphs: return a.dailyGraphs == b.dailyGraphs;
    case ConfigFamily::IntradayGraphs: return a.intradayGraphs == b.intradayGraphs;
    case ConfigFamily::DataMiningGraphs: return a.dataMiningGraphs == b.dataMiningGraphs;
    case ConfigFamily::ListStyles: return a.listTables.styles == b.listTables.styles;
    case ConfigFamily::Tickers: return a.tickers == b.tickers;
    default: {
        size_t base = size_t(TradeKindOf(family)) * kSettingSlots;
        return std::equal(a.tradeTables.begin() + long(base), a.tradeTables.begin() + long(base + kSettingSlots),
                          b.tradeTables.begin() + long(base));
    }
    }
}

std::vector<uint8_t> Widened(const std::vector<uint8_t>& chain) { return *WidenColumnChain(chain); }

} // namespace

TEST(ConfigFormat, WholeImageRoundTripsByteForByte)
{
    for (uint32_t seed : {1u, 2u, 3u}) {
        ConfigState original = SampleConfig(seed);
        auto image = WriteConfigImage(original, kWholeConfig);
        // An independent writer of the same layout gives the same bytes.
        EXPECT_EQ(image, dev::WriteConfigFixture(original, {}));
        EXPECT_EQ(LoadU32(image.data() + 12), image.size());

        ConfigState loaded;
        auto result = ReadConfigImage(loaded, image, kWholeConfig);
        EXPECT_EQ(result.header, HeaderVerdict::Accepted);
        EXPECT_FALSE(result.failed);
        EXPECT_FALSE(result.corrupted);
        EXPECT_TRUE(loaded == original) << seed;
        EXPECT_EQ(WriteConfigImage(loaded, kWholeConfig), image) << seed;
    }
}

TEST(ConfigFormat, HeaderVerdictsFollowTheVersionByte)
{
    auto image = WriteConfigImage(*std::make_unique<ConfigState>(SampleConfig(4)), kWholeConfig);
    struct Case {
        char tagLetter;
        uint8_t version;
        HeaderVerdict verdict;
    };
    for (auto c : {Case{'A', 2, HeaderVerdict::Accepted}, Case{'B', 2, HeaderVerdict::BadlyFormatted},
                   Case{'B', 0, HeaderVerdict::TooOld}, Case{'A', 0, HeaderVerdict::TooOld},
                   Case{'B', 7, HeaderVerdict::ProgramTooOld},
                   Case{'A', 4, HeaderVerdict::ProgramTooOld}}) {
        auto copy = image;
        copy[3] = uint8_t(c.tagLetter);
        copy[4] = c.version;
        EXPECT_EQ(TestConfigHeader(copy), c.verdict) << c.tagLetter << int(c.version);
    }
    EXPECT_EQ(TestConfigHeader(std::span(image).first(15)), HeaderVerdict::BadlyFormatted);

    // A rejected header leaves every setting as it was.
    image[4] = 9;
    ConfigState state = SampleConfig(5);
    ConfigState before = state;
    EXPECT_EQ(ReadConfigImage(state, image, kWholeConfig).header, HeaderVerdict::ProgramTooOld);
    EXPECT_TRUE(state == before);
}

TEST(ConfigFormat, SingleSlotSaveReplacesOnlyThatSlot)
{
    ConfigState onDisk = SampleConfig(6);
    auto oldImage = WriteConfigImage(onDisk, kWholeConfig);
    oldImage[8] = 0x12; // identity words of the file on disk are kept
    oldImage[10] = 0x34;
    ConfigState memory = SampleConfig(7);

    auto image = WriteConfigImage(memory, int32_t(config_mask::kListTables | 5), oldImage);
    EXPECT_EQ(image[8], 0x12);
    EXPECT_EQ(image[10], 0x34);
    EXPECT_EQ(LoadU32(image.data() + 12), image.size());

    // The slot written from memory follows the eleven copied ones.
    std::vector<int> order;
    for (const auto& p : Parts(image))
        if (p.section == "list tables")
            order.push_back(p.type);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 5}));

    ConfigState expected = onDisk;
    expected.listTables.designs[5] = memory.listTables.designs[5];
    expected.listTables.styles[5] = memory.listTables.styles[5];
    expected.optionsA = memory.optionsA;
    expected.optionsB = memory.optionsB;
    expected.currentSettings = memory.currentSettings;
    expected.dataMining = memory.dataMining;
    expected.intradayAlarms = memory.intradayAlarms;
    ConfigState loaded;
    EXPECT_FALSE(ReadConfigImage(loaded, image, kWholeConfig).failed);
    EXPECT_TRUE(loaded == expected);
}

TEST(ConfigFormat, SingleSlotSaveOverAnOlderOrDamagedFileWritesTheWholeFile)
{
    ConfigState memory = SampleConfig(8);
    auto whole = WriteConfigImage(memory, kWholeConfig);
    ConfigState older = SampleConfig(9, true);
    auto olderImage = dev::WriteConfigFixture(older, {3, 31});
    EXPECT_EQ(WriteConfigImage(memory, int32_t(config_mask::kNewsTables | 2), olderImage), whole);

    auto damaged = WriteConfigImage(older, kWholeConfig);
    damaged.resize(damaged.size() / 2);
    EXPECT_EQ(WriteConfigImage(memory, int32_t(config_mask::kNewsTables | 2), damaged), whole);
    EXPECT_EQ(WriteConfigImage(memory, int32_t(config_mask::kNewsTables | 2), {}), whole);
}

TEST(ConfigFormat, SingleSlotLoadRestoresOnlyThatSlot)
{
    ConfigState onDisk = SampleConfig(10);
    auto image = WriteConfigImage(onDisk, kWholeConfig);
    struct Case {
        uint32_t selector;
        std::function<void(ConfigState&, const ConfigState&)> apply;
    };
    std::vector<Case> cases = {
        {config_mask::kQuoteTables | 3, [](ConfigState& s, const ConfigState& d) { s.tradeTables[15] = d.tradeTables[15]; }},
        {config_mask::kListTables | 11,
         [](ConfigState& s, const ConfigState& d) {
             s.listTables.designs[11] = d.listTables.designs[11];
             s.listTables.styles[11] = d.listTables.styles[11];
         }},
        {config_mask::kDailyGraphs | 0,
         [](ConfigState& s, const ConfigState& d) {
             s.dailyGraphs.names[0] = d.dailyGraphs.names[0];
             s.dailyGraphs.records[0] = d.dailyGraphs.records[0];
         }},
        {config_mask::kTickers | 7,
         [](ConfigState& s, const ConfigState& d) {
             s.tickers.names[7] = d.tickers.names[7];
             s.tickers.records[7] = d.tickers.records[7];
         }},
    };
    for (const auto& c : cases) {
        ConfigState memory = SampleConfig(11);
        ConfigState expected = memory;
        c.apply(expected, onDisk);
        auto result = ReadConfigImage(memory, image, int32_t(c.selector));
        EXPECT_FALSE(result.failed);
        EXPECT_TRUE(memory == expected) << std::hex << c.selector;
    }
}

TEST(ConfigFormat, DamagedDealingTablesResetEveryLaterFamilyEvenForAnotherSlot)
{
    ConfigState onDisk = SampleConfig(12);
    auto image = WriteConfigImage(onDisk, kWholeConfig);
    image[ItemOf(image, "dealing tables", 4).offset + 2] = 12; // type outside the slots

    ConfigState memory = SampleConfig(13);
    ConfigState expected = ResetFrom(memory, ConfigFamily::DealTables, false);
    auto result = ReadConfigImage(memory, image, int32_t(config_mask::kNewsTables | 3));
    EXPECT_TRUE(result.failed);
    EXPECT_TRUE(memory == expected);
    EXPECT_EQ(memory.newsTables.designs[3].name, "News table 4");
    EXPECT_EQ(memory.dealTables.designs[0].name, "Deal table 1");
    EXPECT_EQ(memory.tradeTables[24].name, "T & Q table 1");
    EXPECT_EQ(LoadU16(memory.tickers.records[0].data()), 173);
    EXPECT_EQ(memory.tickers.records[0].bytes[3], 4);
    EXPECT_EQ(memory.optionsA.dataMiningWord() & 0x7FF, kDefaultDataMiningWord);
    EXPECT_TRUE(memory.intradayAlarms == SampleConfig(13).intradayAlarms); // read with -1 only
}

TEST(ConfigFormat, DamagedItemsFailTheReadAndKeepDefaults)
{
    ConfigState onDisk = SampleConfig(14);
    const auto clean = WriteConfigImage(onDisk, kWholeConfig);
    struct Case {
        const char* what;
        ConfigFamily first; // the first family that falls back to defaults
        bool corrupted;
        std::function<void(std::vector<uint8_t>&)> damage;
    };
    auto at = [&](const char* section, size_t n) { return ItemOf(clean, section, n); };
    std::vector<Case> cases = {
        {"short item", ConfigFamily::Tickers, false,
         [&](auto& b) { b.resize(at("ticker settings", 6).offset + 3); }},
        {"name length past its item", ConfigFamily::ListTables, false,
         [&](auto& b) { b[at("list tables", 3).offset + 3] = 255; }},
        {"list table without a name", ConfigFamily::ListTables, false,
         [&](auto& b) {
             auto p = at("list tables", 2);
             StoreU16(&b[p.offset], uint16_t(LoadU16(&b[p.offset]) - b[p.offset + 3]));
             b.erase(b.begin() + long(p.offset + 4), b.begin() + long(p.offset + 4 + b[p.offset + 3]));
             b[p.offset + 3] = 0;
         }},
        {"data longer than its record", ConfigFamily::DealTables, false,
         [&](auto& b) {
             auto p = at("dealing tables", 5); // a style record
             StoreU16(&b[p.offset], 201);
             b.insert(b.begin() + long(p.offset + p.size), 0);
         }},
        {"column chain without its terminator", ConfigFamily::NewsTables, true,
         [&](auto& b) {
             auto p = at("news tables", 2);
             b[p.offset + p.size - 1] = 1;
         }},
        {"item type 12", ConfigFamily::TranTables, false,
         [&](auto& b) { b[at("transaction tables", 0).offset + 2] = 12; }},
        {"ticker of 80 bytes", ConfigFamily::Tickers, false,
         [&](auto& b) {
             auto p = at("ticker settings", 1);
             StoreU16(&b[p.offset], uint16_t(LoadU16(&b[p.offset]) - 28));
             b.erase(b.begin() + long(p.offset + p.size - 28), b.begin() + long(p.offset + p.size));
         }},
        {"current-setting table of 141 bytes", ConfigFamily::ListTables, false,
         [&](auto& b) {
             StoreU16(&b[16 + 452], 141);
             b.insert(b.begin() + 16 + 452 + 2, 0);
         }},
    };
    for (const auto& c : cases) {
        auto image = clean;
        c.damage(image);
        ConfigState memory = SampleConfig(15);
        ConfigState expected = ResetFrom(memory, c.first, true);
        auto result = ReadConfigImage(memory, image, kWholeConfig);
        EXPECT_TRUE(result.failed) << c.what;
        EXPECT_EQ(result.corrupted, c.corrupted) << c.what;
        // What lies before the damage is loaded; the damaged family and all later ones are defaults.
        bool reset = false;
        for (auto family : kConfigFileOrder) {
            reset = reset || family == c.first;
            EXPECT_TRUE(SameFamily(memory, reset ? expected : onDisk, family)) << c.what << int(family);
        }
        EXPECT_TRUE(memory.intradayAlarms == expected.intradayAlarms) << c.what;
        // The file names of the configuration loaded before do not outlive the reset.
        EXPECT_EQ(memory.intradayAlarms.logFile, "") << c.what;
        EXPECT_EQ(memory.intradayAlarms.soundFile, "") << c.what;
    }
}

TEST(ConfigFormat, DataMiningGraphItemsReadAtMostTheirRecord)
{
    ConfigState onDisk = SampleConfig(16);
    auto image = WriteConfigImage(onDisk, kWholeConfig);
    // Slot 2's item grows by 6 bytes past its 84-byte record: the reader keeps its place.
    auto p = ItemOf(image, "data-mining graphs", 2);
    StoreU16(&image[p.offset], uint16_t(LoadU16(&image[p.offset]) + 6));
    image.insert(image.begin() + long(p.offset + p.size), 6, 0xEE);
    StoreU32(image.data() + 12, uint32_t(image.size()));

    ConfigState loaded;
    auto result = ReadConfigImage(loaded, image, kWholeConfig);
    EXPECT_FALSE(result.failed);
    EXPECT_TRUE(loaded == onDisk);
}

TEST(ConfigFormat, GraphMarkerWordsOfFFFFAreStoredAsZero)
{
    ConfigState state = SampleConfig(17);
    StoreU16(state.dailyGraphs.records[3].data() + 962, 0xFFFF);
    StoreU16(state.intradayGraphs.records[0].data() + 1034, 0xFFFF);
    StoreU16(state.dailyGraphs.records[3].data() + 963 + 24, 0xFFFF); // not an entry start
    auto image = WriteConfigImage(state, kWholeConfig);
    EXPECT_EQ(LoadU16(state.dailyGraphs.records[3].data() + 962), 0);
    EXPECT_EQ(LoadU16(state.intradayGraphs.records[0].data() + 1034), 0);
    EXPECT_EQ(LoadU16(state.dailyGraphs.records[3].data() + 987), 0xFFFF);
    ConfigState loaded;
    ReadConfigImage(loaded, image, kWholeConfig);
    EXPECT_TRUE(loaded.dailyGraphs.records[3] == state.dailyGraphs.records[3]);
}

TEST(ConfigFormat, OlderLayoutsLoadIntoTheCurrentForm)
{
    ConfigState old = SampleConfig(18, true);
    old.listTables.designs[0].sort = 5;
    old.listTables.designs[1].sort = -5;

    // Version 1.2: sort byte counted in the length and shifted, narrow columns, graph lengths of
    // 4 + data, no style records, no dealing, cash, news or data-mining tables, nothing newer.
    {
        ConfigState memory = SampleConfig(19);
        auto result = ReadConfigImage(memory, dev::WriteConfigFixture(old, {1, 2}), kWholeConfig);
        EXPECT_FALSE(result.failed);
        EXPECT_EQ(memory.version, 1);
        EXPECT_EQ(memory.subVersion, 2);
        EXPECT_EQ(memory.listTables.designs[0].sort, 6);
        EXPECT_EQ(memory.listTables.designs[1].sort, -6);
        EXPECT_EQ(memory.listTables.designs[4].chain, Widened(old.listTables.designs[4].chain));
        EXPECT_EQ(memory.listTables.designs[4].name, old.listTables.designs[4].name);
        EXPECT_EQ(memory.tranTables.designs[3].chain, Widened(old.tranTables.designs[3].chain));
        EXPECT_TRUE(memory.tranTables.styles == SampleConfig(19).tranTables.styles); // absent: kept
        EXPECT_TRUE(memory.dailyGraphs == old.dailyGraphs);
        OptionBlockA options = old.optionsA; // the absent data-mining graphs reset the packed word
        options.setDataMiningWord(kDefaultDataMiningWord);
        EXPECT_TRUE(memory.optionsA == options);
        EXPECT_EQ(memory.intradayGraphs.names[0], "Setting 1");
        EXPECT_EQ(memory.dealTables.designs[0].name, "Deal table 1");
        EXPECT_EQ(memory.dataMiningGraphs.names[11], "Graph 12");
        EXPECT_EQ(memory.tradeTables[12].name, "Quote table 1");

        // Saved again it is a current file that loads as it was.
        auto image = WriteConfigImage(memory, kWholeConfig);
        ConfigState again;
        EXPECT_FALSE(ReadConfigImage(again, image, kWholeConfig).failed);
        EXPECT_EQ(again.subVersion, 34);
        again.version = memory.version;
        again.subVersion = memory.subVersion;
        EXPECT_TRUE(again == memory);

    }
    // Version 2.21: present dealing to data-mining tables without style records.
    {
        ConfigState memory = SampleConfig(20);
        auto result = ReadConfigImage(memory, dev::WriteConfigFixture(old, {2, 21}), kWholeConfig);
        EXPECT_FALSE(result.failed);
        EXPECT_EQ(memory.listTables.designs[0].sort, 5);
        EXPECT_EQ(memory.newsTables.designs[6].chain, Widened(old.newsTables.designs[6].chain));
        EXPECT_TRUE(memory.newsTables.styles == SampleConfig(20).newsTables.styles);
        EXPECT_TRUE(memory.dataMiningGraphs == old.dataMiningGraphs);
        EXPECT_TRUE(memory.dailyGraphs == old.dailyGraphs);
        EXPECT_EQ(memory.tickers.names[3], "Setting 4");
    }
    // Version 3.31: short ticker and alarm records, narrow columns.
    {
        ConfigState memory = SampleConfig(21);
        auto result = ReadConfigImage(memory, dev::WriteConfigFixture(old, {3, 31, 76, 124}), kWholeConfig);
        EXPECT_FALSE(result.failed);
        EXPECT_EQ(memory.tradeTables[30].chain, Widened(old.tradeTables[30].chain));
        EXPECT_TRUE(memory.newsTables.styles == old.newsTables.styles);
        const auto& ticker = memory.tickers.records[2].bytes;
        const auto before = SampleConfig(21).tickers.records[2].bytes;
        EXPECT_TRUE(std::equal(ticker.begin(), ticker.begin() + 76, old.tickers.records[2].bytes.begin()));
        for (size_t i : {76, 78, 79, 80, 81, 84, 90, 99})
            EXPECT_EQ(ticker[i], 0) << i;
        for (size_t i : {77, 82, 83, 100, 107})
            EXPECT_EQ(ticker[i], before[i]) << i;
        const auto& alarms = memory.intradayAlarms.settings.bytes;
        EXPECT_TRUE(std::equal(alarms.begin(), alarms.begin() + 124, old.intradayAlarms.settings.bytes.begin()));
        EXPECT_EQ(memory.intradayAlarms.logFile, "alarms.log");
    }
    // Version 3.32: the columns are already wide.
    {
        ConfigState wide = SampleConfig(22);
        ConfigState memory;
        EXPECT_FALSE(ReadConfigImage(memory, dev::WriteConfigFixture(wide, {3, 32}), kWholeConfig).failed);
        memory.subVersion = 34;
        EXPECT_TRUE(memory == wide);
    }
}

TEST(ConfigFormat, ANarrowColumnOfTenBytesMarksTheFileCorrupted)
{
    ConfigState old = SampleConfig(23, true);
    old.cashTables.designs[6].chain = {10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
    ConfigState memory = SampleConfig(24);
    ConfigState expected = ResetFrom(memory, ConfigFamily::CashTables, true);
    auto result = ReadConfigImage(memory, dev::WriteConfigFixture(old, {3, 31}), kWholeConfig);
    EXPECT_TRUE(result.failed);
    EXPECT_TRUE(result.corrupted);
    EXPECT_TRUE(memory.cashTables == expected.cashTables);
    EXPECT_TRUE(memory.tickers == expected.tickers);
    EXPECT_EQ(memory.dealTables.designs[2].chain, Widened(old.dealTables.designs[2].chain));
}

TEST(ConfigFormat, CorruptedImagesNeverReadOutOfBounds)
{
    std::mt19937 rng(2026);
    std::vector<std::vector<uint8_t>> sources = {
        WriteConfigImage(*std::make_unique<ConfigState>(SampleConfig(30)), kWholeConfig),
        dev::WriteConfigFixture(SampleConfig(31, true), {1, 2}),
        dev::WriteConfigFixture(SampleConfig(32, true), {3, 31, 76, 124}),
    };
    const int32_t selectors[] = {kWholeConfig, int32_t(config_mask::kNewsTables | 3),
                                 int32_t(config_mask::kTradeQuoteTables | 11), int32_t(config_mask::kListTables | 0)};
    for (int round = 0; round < 600; ++round) {
        auto image = sources[size_t(round) % sources.size()];
        int flips = 1 + int(rng() % 8);
        for (int i = 0; i < flips; ++i)
            image[16 + rng() % (image.size() - 16)] = uint8_t(rng());
        if (round % 5 == 0)
            image.resize(rng() % image.size());
        ConfigState state;
        auto selector = selectors[size_t(round) % 4];
        ReadConfigImage(state, image, selector);
        auto saved = WriteConfigImage(state, selector, image);
        EXPECT_EQ(LoadU32(saved.data() + 12), saved.size());
    }
}

TEST(ConfigFormat, SlotsWithoutNamesOrChainsStillSaveEveryItem)
{
    auto blank = std::make_unique<ConfigState>();
    auto image = WriteConfigImage(*blank, kWholeConfig);
    auto loaded = std::make_unique<ConfigState>();
    auto result = ReadConfigImage(*loaded, image, kWholeConfig);
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(loaded->listTables.designs[0].name, "");
    EXPECT_EQ(loaded->listTables.designs[0].chain, std::vector<uint8_t>{0});
    EXPECT_FALSE(loaded->tranTables.designs[0].name);
}
