// The news dictionary: case modes and variants, one-character words, the resize and its size
// classes, many words surviving probing and resizes, and the code-number table.
#include "news/NewsDictionary.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

namespace nh = news_header;

TEST(NewsDictionaryTest, WordsKeepTheirCaseThroughModesAndVariants)
{
    NewsCatalogue c = EmptyNewsCatalogue();
    NewsDictionary d(c);
    uint32_t acme = d.add("acme", 0);
    EXPECT_EQ(acme & kNewsCaseMask, 0u);
    struct Case {
        const char* word;
        uint32_t mode;
    } cases[] = {{"ACME", 1}, {"Acme", 2}, {"AcMe", 3}, {"aCME", 3}, {"acme", 0}};
    for (const Case& k : cases) {
        uint32_t id = d.add(k.word, 0);
        EXPECT_EQ(id & kNewsCaseMask, k.mode) << k.word;
        EXPECT_EQ(d.text(id, true).text, k.word);
        EXPECT_EQ(d.text(id, false).text, "acme");
        if (k.mode < 3) {
            EXPECT_EQ(id & ~kNewsCaseMask, acme) << k.word;
        }
    }
    uint32_t newest = d.add("aCME", 0);
    EXPECT_EQ(d.add("aCME", 0), newest) << "the newest variant is reused";
    uint32_t older = d.add("AcMe", 0);
    EXPECT_NE(older, newest) << "only the newest variant is compared";
    EXPECT_EQ(d.text(older, true).text, "AcMe");
    EXPECT_EQ(c.header.u32(nh::kOccupied), 1u) << "variants take no hash slot";
}

TEST(NewsDictionaryTest, OneCharacterWordsAreTheCharacterItself)
{
    NewsCatalogue c = EmptyNewsCatalogue();
    NewsDictionary d(c);
    EXPECT_EQ(d.add("a", 0), uint32_t('a'));
    EXPECT_EQ(d.add("\n", 0), uint32_t('\n'));
    EXPECT_EQ(d.add(std::string(1, char(232)), 0), uint32_t(' '));
    EXPECT_EQ(d.text('7', true).wordClass, 1);
    EXPECT_EQ(d.text('\t', true).wordClass, 2);
    EXPECT_EQ(d.text(',', true).wordClass, 3);
    EXPECT_EQ(d.text('\n', true).wordClass, 4);
    uint32_t longWord = d.add(std::string(40, 'q'), 0);
    EXPECT_EQ(d.text(longWord, false).text, std::string(30, 'q'));
    EXPECT_EQ(c.header.u32(nh::kOccupied), 1u);
}

TEST(NewsDictionaryTest, ResizeChoosesTheSizeClass)
{
    struct Case {
        bool indexed;
        size_t stories;
        uint32_t occupied;
        bool force;
        uint16_t sizeClass;
    } cases[] = {
        {false, 50000, 100, false, 1}, {true, 1999, 100, false, 2},   {true, 2000, 100, false, 3},
        {true, 10000, 100, false, 4},  {true, 20000, 100, false, 5},  {true, 20000, 260000, false, 6},
        {true, 1999, 70000, false, 4}, {false, 20000, 100, true, 2},
    };
    for (const Case& k : cases) {
        NewsCatalogue c = EmptyNewsCatalogue();
        c.stories.resize(k.stories);
        NewsDay day;
        day.indexLength = k.indexed ? 1 : 0;
        c.days = {day};
        c.header.setU32(nh::kOccupied, k.occupied);
        NewsDictionary d(c);
        EXPECT_EQ(d.resize(k.force), k.indexed) << "a resize of an indexed database asks for a reindex";
        EXPECT_EQ(c.header.u16(nh::kSizeClass), k.sizeClass) << k.stories << " stories, " << k.occupied;
        EXPECT_EQ(c.hashTable.size(), kNewsDictionaryPrimes[k.sizeClass]);
    }
}

TEST(NewsDictionaryTest, AHalfFullTableIsResizedBeforeTheNextWord)
{
    for (uint32_t occupied : {8208u, 8209u}) {
        NewsCatalogue c = EmptyNewsCatalogue();
        c.header.setU16(nh::kSizeClass, 0);
        c.hashTable.assign(kNewsDictionaryPrimes[0], 0);
        c.header.setU32(nh::kOccupied, occupied);
        NewsDictionary d(c);
        d.add("word", 0);
        EXPECT_EQ(d.resized(), occupied == 8209) << occupied;
    }
}

std::string WordNumber(int i)
{
    std::string word = std::to_string(i * 7919);
    word.push_back('w');
    return word;
}

TEST(NewsDictionaryTest, ManyWordsAreFoundAgainAcrossResizes)
{
    NewsCatalogue c = EmptyNewsCatalogue();
    c.header.setU16(nh::kSizeClass, 0);
    c.hashTable.assign(kNewsDictionaryPrimes[0], 0);
    NewsDictionary d(c);
    std::vector<uint32_t> ids;
    for (int i = 0; i < 20000; ++i)
        ids.push_back(d.add(WordNumber(i), 0));
    EXPECT_TRUE(d.resized());
    EXPECT_GE(c.header.u16(nh::kSizeClass), 1);
    for (int i = 0; i < 20000; ++i) {
        std::string word = WordNumber(i);
        NewsDictionary::Lookup at = d.find(word);
        ASSERT_TRUE(at.found) << word;
        EXPECT_EQ(d.slotId(at.slot), ids[i]);
        EXPECT_EQ(d.text(ids[i], false).text, word);
    }
    EXPECT_EQ(c.header.u32(nh::kOccupied), 20000u);
}

TEST(NewsCodeTableTest, ListsAreNumberedInOneRun)
{
    NewsCatalogue c = EmptyNewsCatalogue();
    NewsDictionary d(c);
    NewsCodeTable codes;
    codes.build(d, c);
    const uint32_t totals[] = {83, 108, 119, 125, 140, 145, 149, 159};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(c.header.u32(nh::kCodeTotals + 4 * k), totals[k]) << "list " << k + 1;
    EXPECT_EQ(c.header.u32(nh::kCodesBuilt), 1u);
    struct Case {
        const char* word;
        uint32_t number;
    } cases[] = {{"afg", 1}, {"gbr", 30}, {"col", 22}, {"air", 83}, {"tst", 107}, {"ite", 157}, {"xyz", 0}};
    for (const Case& k : cases)
        EXPECT_EQ(codes.number(d.add(k.word, 0)), k.number) << k.word;
    EXPECT_EQ(NewsCodeTable::Code(158), "col");
    EXPECT_EQ(NewsCodeTable::Name(22), "Colombia");
    EXPECT_EQ(NewsCodeTable::Name(158), "Contributed data");
}

} // namespace
} // namespace qv
