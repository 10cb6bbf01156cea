// The news files: the lock functions, update-file dates, the catalogue image with its thresholds,
// upgrades and damaged counts, the decode trees, and update files written by the test writer and
// read back, whole and damaged.
#include "news/NewsCatalogue.h"
#include "news/NewsCoding.h"
#include "news/NewsLock.h"
#include "news/NewsUpdateFile.h"

#include "core/ReadersWriterLock.h"
#include "devtools/lib/NewsUpdateWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

namespace qv {
namespace {

namespace nh = news_header;

TEST(NewsLockTest, ReadAndWriteTakeTheProgramWideNewsLock)
{
    NewsLock().Create();
    AcquireNewsRead();
    AcquireNewsRead();
    EXPECT_EQ(NewsLock().Readers(), 2);
    ReleaseNewsRead();
    ReleaseNewsRead();
    EXPECT_EQ(NewsLock().Readers(), 0);
    AcquireNewsWrite();
    EXPECT_TRUE(NewsLock().WriterHolds());
    ReleaseNewsWrite();
    EXPECT_FALSE(NewsLock().WriterHolds());
    NewsLock().Destroy();
}

TEST(NewsUpdateFileDateTest, SixDigitsAfterTheLetterAreYearMonthDay)
{
    struct Case {
        const char* name;
        std::optional<PackedDate> date;
    } cases[] = {
        {"N991231.UPD", PackDate(31, 12, 1999)},
        {"N050102.UPD", PackDate(2, 1, 2005)},
        {"N270101.UPD", PackDate(1, 1, 2027)},
        {"N600101.UPD", PackDate(1, 1, 1960)},
        {"N050230.UPD", std::nullopt}, // 30 February
        {"N05A102.UPD", std::nullopt},
        {"N0501.UPD", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NewsUpdateFileDate(c.name), c.date) << c.name;
}

NewsStory StoryOn(PackedDate date, uint32_t share)
{
    NewsStory s;
    s.state = 1;
    s.storyDate = date;
    s.dayDate = date;
    s.time = 1234;
    s.titleSymbols = 7;
    s.codeTable = 2;
    s.country = 3;
    s.shareIds = {share, 0, 0};
    s.reserved16 = {5, 6, 7};
    return s;
}

NewsCatalogue SampleCatalogue()
{
    NewsCatalogue c = EmptyNewsCatalogue();
    c.stories = {StoryOn(PackDate(2, 1, 2025), 0x1234), StoryOn(PackDate(3, 1, 2025), 0x00AB5678)};
    NewsDay day;
    day.date = PackDate(3, 1, 2025);
    day.storyCount = 2;
    day.blockOffset = 48;
    day.blockLength = 500;
    c.days = {day};
    c.hashTable[17] = (5u << 24) | 128;
    return c;
}

TEST(NewsCatalogueTest, ImageRoundTripsFieldByField)
{
    NewsCatalogue c = SampleCatalogue();
    std::vector<uint8_t> image = NewsCatalogueImage(c);
    NewsCatalogue back;
    ASSERT_EQ(ParseNewsCatalogue(image, true, back).status, NewsCatalogueStatus::Loaded);
    EXPECT_EQ(back.header.bytes().size(), c.header.bytes().size());
    ASSERT_EQ(back.stories.size(), 2u);
    EXPECT_EQ(back.stories[1].shareIds[0], 0x00AB5678u) << "a current catalogue keeps whole ids";
    EXPECT_EQ(back.stories[1].reserved16[2], 7u);
    EXPECT_EQ(back.stories[0].time, 1234);
    ASSERT_EQ(back.days.size(), 1u);
    EXPECT_EQ(back.days[0].blockLength, 500u);
    EXPECT_EQ(back.hashTable.size(), kNewsDictionaryPrimes[2]);
    EXPECT_EQ(back.hashTable[17], c.hashTable[17]);
    EXPECT_EQ(back.header.u16(nh::kLatestDate), PackDate(3, 1, 2025)) << "raised to the newest story";
    c.header.setU16(nh::kLatestDate, PackDate(3, 1, 2025));
    image = NewsCatalogueImage(c);
    EXPECT_EQ(back.header.u32(nh::kOptions), 0x802011u);
    EXPECT_EQ(back.header.u32(nh::kOptionValue), 400u);
    EXPECT_EQ(NewsCatalogueImage(back), image);
}

TEST(NewsCatalogueTest, ThresholdAndDamagedFieldsAreRefused)
{
    NewsCatalogue c = SampleCatalogue();
    std::vector<uint8_t> good = NewsCatalogueImage(c);
    auto statusOf = [](std::vector<uint8_t> image) {
        NewsCatalogue out;
        return ParseNewsCatalogue(image, true, out).status;
    };
    const size_t header = 8;
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
        NewsCatalogueStatus status;
    } cases[] = {
        {"76 bytes", [](auto& i) { i.resize(76); }, NewsCatalogueStatus::TooShort},
        {"77 bytes", [](auto& i) { i.resize(77); }, NewsCatalogueStatus::Damaged},
        {"major 0", [&](auto& i) { i[header + nh::kMajor] = 0; }, NewsCatalogueStatus::Damaged},
        {"major 3", [&](auto& i) { i[header + nh::kMajor] = 3; }, NewsCatalogueStatus::Damaged},
        {"major 1", [&](auto& i) { i[header + nh::kMajor] = 1; }, NewsCatalogueStatus::Loaded},
        {"size class 7", [&](auto& i) { i[header + nh::kSizeClass] = 7; }, NewsCatalogueStatus::Damaged},
        {"day count beyond the file", [&](auto& i) { i[header + nh::kDayCount] = 2; },
         NewsCatalogueStatus::Damaged},
        {"header size beyond the file", [](auto& i) { StoreU32(&i[4], uint32_t(i.size())); },
         NewsCatalogueStatus::Damaged},
        {"one byte short", [](auto& i) { i.pop_back(); }, NewsCatalogueStatus::Damaged},
    };
    for (const Case& k : cases) {
        std::vector<uint8_t> image = good;
        k.damage(image);
        EXPECT_EQ(statusOf(image), k.status) << k.what;
    }
    // The story count beyond the story bytes.
    std::vector<uint8_t> image = good;
    size_t storyCountAt = header + c.header.size() + 4 * c.hashTable.size() + c.searchTexts.size();
    StoreU32(&image[storyCountAt], 3);
    EXPECT_EQ(statusOf(image), NewsCatalogueStatus::Damaged);
}

TEST(NewsCatalogueTest, OldMinorVersionsAreUpgradedOnLoading)
{
    struct Case {
        uint8_t minor;
        uint32_t shareId;
        uint32_t reserved;
        uint16_t weeks;
        bool limitFlag;
    } cases[] = {
        {4, 0x00AB5678, 7, 9, true},
        {3, 0x5678, 0, 9, true},
        {1, 0x5678, 0, 1, false},
    };
    for (const Case& k : cases) {
        NewsCatalogue c = SampleCatalogue();
        c.header.setU16(nh::kLimitWeeks, 9);
        c.header.setU8(nh::kLimitFlagByte, c.header.u8(nh::kLimitFlagByte) | nh::kLimitFlagBit);
        std::vector<uint8_t> image = NewsCatalogueImage(c);
        image[8 + nh::kMinor] = k.minor;
        NewsCatalogue back;
        ASSERT_EQ(ParseNewsCatalogue(image, true, back).status, NewsCatalogueStatus::Loaded);
        EXPECT_EQ(back.stories[1].shareIds[0], k.shareId) << int(k.minor);
        EXPECT_EQ(back.stories[1].reserved16[2], k.reserved) << int(k.minor);
        EXPECT_EQ(back.header.u16(nh::kLimitWeeks), k.weeks) << int(k.minor);
        EXPECT_EQ((back.header.u8(nh::kLimitFlagByte) & nh::kLimitFlagBit) != 0, k.limitFlag) << int(k.minor);
        EXPECT_EQ(back.header.u8(nh::kMinor), 4);
    }
}

TEST(NewsCatalogueTest, WithoutTheStoryFileTheTablesStartEmpty)
{
    NewsCatalogue c = SampleCatalogue();
    NewsCatalogue back;
    ASSERT_EQ(ParseNewsCatalogue(NewsCatalogueImage(c), false, back).status, NewsCatalogueStatus::Loaded);
    EXPECT_TRUE(back.stories.empty());
    EXPECT_TRUE(back.days.empty());
    EXPECT_EQ(back.searchTexts.size(), 8u);
    EXPECT_EQ(back.hashTable[17], 0u);
}

TEST(NewsCatalogueTest, SearchTextsWithOffsetsOutsideTheBlockAreDropped)
{
    NewsCatalogue c = SampleCatalogue();
    // "acme", "beta", then four entries: the first text, one far past the block, the second text,
    // and the empty text at the second one's end.
    ByteWriter block;
    block.cString("acme");
    block.cString("beta");
    auto pair = [&block](uint32_t id, uint32_t offset) {
        block.u32(id);
        block.u32(offset);
    };
    pair(11, 0);
    pair(12, 4000);
    pair(13, 5);
    pair(14, 9);
    c.searchTexts = block.take();
    c.header.setU32(nh::kSearchTextCount, 4);
    NewsCatalogue back;
    NewsCatalogueLoad load = ParseNewsCatalogue(NewsCatalogueImage(c), true, back);
    ASSERT_EQ(load.status, NewsCatalogueStatus::Loaded);
    EXPECT_EQ(load.droppedSearchTexts, 1);
    std::vector<NewsSearchText> texts = NewsSearchTexts(back);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "acme");
    EXPECT_EQ(texts[1].shareId, 13u);
    EXPECT_EQ(texts[1].text, "beta");
    EXPECT_EQ(texts[2].text, "");
}

std::optional<NewsDecodeTree> TreeOf(std::vector<uint8_t> bytes)
{
    NewsBitReader in(bytes);
    return ReadNewsDecodeTree(in);
}

TEST(NewsCodingTest, DecodeTreesAreBoundedByTheirAllotment)
{
    // Widths 1 and 4; allotment 1; run 0; leaf 9: a single leaf.
    std::optional<NewsDecodeTree> leaf = TreeOf({0x14, 0x01, 0x00, 0b0'1001'000});
    ASSERT_TRUE(leaf);
    ASSERT_EQ(leaf->entries.size(), 1u);
    std::vector<uint8_t> none;
    NewsBitReader empty(none);
    EXPECT_EQ(DecodeNewsSymbol(leaf->entries, empty), 9) << "a single leaf reads no bits";
    // Run 1, leaf 2, then run 0 and leaf 3: three entries; refused with an allotment of 2.
    EXPECT_TRUE(TreeOf({0x14, 0x03, 0x00, 0b1'0010'0'00, 0b11'000000}));
    EXPECT_FALSE(TreeOf({0x14, 0x02, 0x00, 0b1'0010'0'00, 0b11'000000}));
    EXPECT_FALSE(TreeOf({0x14, 0x03, 0x00, 0b1'0010'0'00})) << "the runs end early";
}

std::string Random(std::mt19937& rng, const std::vector<std::string>& pool, int words)
{
    std::string text;
    for (int i = 0; i < words; ++i)
        text += pool[rng() % pool.size()] + (rng() % 5 == 0 ? ", " : " ");
    return text;
}

std::string DecodedText(const NewsUpdate& u, size_t story)
{
    const NewsUpdateStory& s = u.stories[story];
    size_t end = story + 1 < u.stories.size() ? NewsStartBit(u.stories[story + 1].start) : u.textBits;
    NewsStorySymbols symbols = DecodeNewsStory(u.trees[s.codeTable].entries, u.text, s.start, end, 1 << 20);
    std::string text;
    for (uint16_t symbol : symbols.symbols)
        text += u.words.at(symbol);
    return text;
}

TEST(NewsUpdateFileTest, TheTwelveBitTableDecodesAsTheTreeDoes)
{
    // Two thousand words make codes longer than the table's twelve bits.
    std::mt19937 rng(12);
    std::vector<std::string> pool;
    for (int i = 0; i < 2000; ++i)
        pool.push_back("w" + std::to_string(i * 7919 % 100000));
    dev::NewsUpdateInput input;
    for (int s = 0; s < 40; ++s)
        input.stories.push_back({PackDate(1, 3, 2025), 0, "GBR " + Random(rng, pool, 5 + int(rng() % 200))});
    std::vector<uint8_t> bytes = dev::WriteNewsUpdate(input);
    NewsUpdateRead read = ReadNewsUpdate(bytes, PackDate(1, 3, 2025));
    ASSERT_EQ(read.status, NewsUpdateStatus::Read);
    const NewsUpdate& u = read.update;
    for (size_t i = 0; i < u.stories.size(); ++i) {
        const NewsUpdateStory& s = u.stories[i];
        size_t end = i + 1 < u.stories.size() ? NewsStartBit(u.stories[i + 1].start) : u.textBits;
        const std::vector<uint16_t>& tree = u.trees[s.codeTable].entries;
        NewsDecodeTable table = MakeNewsDecodeTable(tree);
        NewsStorySymbols walked = DecodeNewsStory(tree, u.text, s.start, end, 1 << 20);
        NewsStorySymbols looked = DecodeNewsStory(tree, u.text, s.start, end, 1 << 20, &table);
        ASSERT_TRUE(walked.ok) << i;
        EXPECT_TRUE(looked.ok) << i;
        EXPECT_EQ(looked.symbols, walked.symbols) << i;
        // A story cut short fails the same way both ways, and so does one of more symbols than allowed.
        EXPECT_EQ(DecodeNewsStory(tree, u.text, s.start, end - 1, 1 << 20, &table).ok,
                  DecodeNewsStory(tree, u.text, s.start, end - 1, 1 << 20).ok) << i;
        const size_t n = walked.symbols.size();
        EXPECT_TRUE(DecodeNewsStory(tree, u.text, s.start, end, n, &table).ok) << i;
        EXPECT_FALSE(DecodeNewsStory(tree, u.text, s.start, end, n - 1, &table).ok) << i;
    }
    // Distances that leave the tree are left to the tree walk, which refuses them.
    std::vector<uint16_t> wild = {0x8000 | 0x7FFF, 0x8000 | 2, 5, 6};
    NewsDecodeTable table = MakeNewsDecodeTable(wild);
    std::vector<uint8_t> zeros(8, 0), ones(8, 0xFF);
    EXPECT_FALSE(DecodeNewsStory(wild, zeros, 0, 64, 100, &table).ok);
    EXPECT_EQ(DecodeNewsStory(wild, ones, 0, 64, 100, &table).symbols,
              DecodeNewsStory(wild, ones, 0, 64, 100).symbols);
}

TEST(NewsUpdateFileTest, WrittenUpdatesReadBackStoryForStory)
{
    std::mt19937 rng(62);
    std::vector<std::string> pool = {"Acme", "HOLDINGS", "profit", "rises", "12345", "plc", "BoE", "rate", "x"};
    for (int tables : {1, 3, 5, 8}) {
        dev::NewsUpdateInput input;
        input.codeTables = tables;
        for (int i = 0; i < 1 + int(rng() % 20); ++i) {
            std::string text = "GBRFIN12345 " + Random(rng, pool, 4) + "\n" + Random(rng, pool, 1 + int(rng() % 40));
            input.stories.push_back({PackDate(2, 1, 2025), uint16_t(i * 30), text});
        }
        std::vector<uint8_t> bytes = dev::WriteNewsUpdate(input);
        NewsUpdateRead read = ReadNewsUpdate(bytes, PackDate(2, 1, 2025));
        ASSERT_EQ(read.status, NewsUpdateStatus::Read) << read.fault;
        ASSERT_EQ(read.update.stories.size(), input.stories.size());
        ASSERT_EQ(read.update.trees.size(), size_t(tables));
        for (size_t i = 0; i < input.stories.size(); ++i) {
            EXPECT_EQ(DecodedText(read.update, i), input.stories[i].text) << tables << " tables, story " << i;
            std::vector<std::string> words = dev::NewsTextWords(input.stories[i].text);
            size_t title = std::find(words.begin(), words.end(), "\n") - words.begin();
            EXPECT_EQ(read.update.stories[i].titleSymbols, title) << "symbols before the line feed";
        }
    }
}

TEST(NewsUpdateFileTest, DamagedUpdatesAreRefusedWhole)
{
    dev::NewsUpdateInput input;
    input.stories = {{PackDate(2, 1, 2025), 0, "GBR Acme up\nProfit rises."},
                     {PackDate(2, 1, 2025), 10, "USA Beta down\nLoss widens."}};
    std::vector<uint8_t> good = dev::WriteNewsUpdate(input);
    ASSERT_EQ(ReadNewsUpdate(good, 0).status, NewsUpdateStatus::Read);
    std::vector<uint8_t> version = good;
    version[4] = 2;
    EXPECT_EQ(ReadNewsUpdate(version, 0).status, NewsUpdateStatus::WrongVersion);
    for (size_t n = 0; n < good.size(); ++n) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + n);
        EXPECT_EQ(ReadNewsUpdate(cut, 0).status, NewsUpdateStatus::Damaged) << "cut to " << n;
    }
    // Every single-byte change either still reads or is refused; none reads out of bounds.
    for (size_t at = 0; at < good.size(); ++at) {
        std::vector<uint8_t> changed = good;
        changed[at] ^= 0x5A;
        NewsUpdateRead read = ReadNewsUpdate(changed, 0);
        if (read.status == NewsUpdateStatus::Read)
            for (size_t i = 0; i < read.update.stories.size(); ++i)
                DecodedText(read.update, i);
    }
}

} // namespace
} // namespace qv
