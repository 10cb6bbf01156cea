// The find-a-share name index and the list filling over a written database, with extra and imported items.
#include "shell/FindShareIndex.h"

#include "core/ConfigState.h"
#include "core/ExtraRecords.h"
#include "core/Memory.h"
#include "core/RecordLists.h"
#include "core/RecordLookup.h"
#include "core/StringPrintf.h"
#include "core/TableLock.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::dev;

namespace {

class FindShareIndexTest : public test::DatabaseFixture {
protected:
    FindShareIndexTest() { CreateDataLock(); }

    // Shares in name order: Alpha, Beta (ordinary and preference lines), Delta (renamed from "Old
    // Delta" and before that "Older Delta"), Gamma Gold (excluded class), and the EPICs ABC and ABCD.
    void LoadSmall()
    {
        DbRecord alpha = ShareRecord(0x4001, "Alpha", 'O', "ABC");
        DbRecord beta = ShareRecord(0x4002, "Beta", 'O', "BET");
        beta.subRecords.resize(2);
        beta.subRecords[1].kind = SubRecordKind::Preference;
        DbRecord delta = ShareRecord(0x4003, "Delta", 'O', "ABCD");
        DbRecord gamma = ShareRecord(0x4004, "Gamma Gold", 'O', "GAM");
        gamma.head[0] = 0x18;
        CompFile comp;
        comp.records.descriptors = {{117, 0x00, {}}};
        comp.records.items.push_back({0x4003, 0, {{117, Text("Old Delta|Older Delta")}}});
        auto compBytes = WriteCompDat(comp);
        Load(WriteQuorvaDat(test::OneEntry({alpha, beta, delta, gamma})), &compBytes);
    }

    void LoadMany(int count)
    {
        std::vector<DbRecord> records;
        for (int i = 0; i < count; ++i)
            records.push_back(ShareRecord(uint16_t(0x4001 + i), StringPrintf("Share %03d", i), 'O',
                                          StringPrintf("S%03d", i)));
        Load(WriteQuorvaDat(test::OneEntry(records)));
    }

    // An imported item: a record with its name and the EPIC after its class byte.
    void AddImported(uint16_t id, std::string_view name, std::string_view epic)
    {
        auto* record = static_cast<uint8_t*>(ProCalloc(96, 1, "test"));
        StoreU16(record, 96);
        StoreU16(record + 2, id);
        std::string text = std::string(name) + '\0' + 'O' + std::string(epic) + '\0';
        record[RecordLayout::TextLength] = uint8_t(text.size());
        std::copy(text.begin(), text.end(), record + RecordLayout::Text);
        StoreU16(record + RecordLayout::FirstSubRecord, 80);
        RecordListNode* node = NewListNode(record, 0);
        node->next = ImportedItemList;
        ImportedItemList = node;
        ++ImportedItemCount;
    }

    void AddExtra(uint16_t id, std::string_view name, std::string_view code, uint8_t market)
    {
        ExtraShare share;
        share.id = id;
        share.name = name;
        share.code = code;
        share.second = "second text";
        share.streamKind = 10;
        share.marketCode = market;
        BuildShareRecord(share);
    }

    static std::vector<std::string> Texts(const FindShareFill& fill)
    {
        std::vector<std::string> texts;
        for (const FindShareLine& line : fill.lines)
            texts.push_back(line.text);
        return texts;
    }

    FindShareFill Fill(const std::string& text, bool useEpic, bool firstLetter, int mode = 0, bool markets = false)
    {
        FindShareQuery query;
        query.text = text;
        query.useEpic = useEpic;
        query.firstLetter = firstLetter;
        query.mode = mode;
        query.marketsInUse = markets;
        return FillFindShareList(BuildNameIndex(), query);
    }
};

} // namespace

TEST_F(FindShareIndexTest, MergesTheThreeSourcesInNameOrderDatabaseFirst)
{
    LoadSmall();
    AddImported(0xF001, "Beta", "BETI");
    AddImported(0xF002, "Aardvark", "AAR");
    AddExtra(0x7001, "Beta", "BETX", 1);
    AddExtra(0x7002, "Zulu", "ZUL", 1);

    std::vector<NameIndexItem> index = BuildNameIndex();
    std::vector<std::pair<uint16_t, uint32_t>> order;
    for (const NameIndexItem& item : index)
        order.push_back({RecordId(item.cursor.record), item.cursor.count});
    std::vector<std::pair<uint16_t, uint32_t>> expected = {
        {0xF002, 0}, {0x4001, 0}, {0x4002, 0}, {0x4002, 1}, {0x7001, 0},
        {0xF001, 0}, {0x4003, 0}, {0x4004, 0}, {0x7002, 0}};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(index[4].source, ItemSource::Extra);
    EXPECT_EQ(index[5].source, ItemSource::Imported);
    // Nothing is marked in the records: a second build gives the same index.
    EXPECT_EQ(BuildNameIndex().size(), index.size());
}

TEST_F(FindShareIndexTest, KeepsEachPairOnceWhenSourcesRepeatIt)
{
    LoadSmall();
    std::vector<NameIndexItem> database = BuildNameIndex();
    std::vector<NameIndexItem> merged = MergeNameSources(database, {database[0]}, {database[1], database[0]});
    EXPECT_EQ(merged.size(), database.size());
}

TEST_F(FindShareIndexTest, FillsNamesModeByNeighbourhoodContainsAndFormerNames)
{
    LoadSmall();
    FindShareFill all = Fill("", false, true);
    // Beta's two classes are told apart by their share types.
    EXPECT_EQ(Texts(all), (std::vector<std::string>{"Alpha", "Beta - Ordinary", "Beta - Preference",
                                                     "Delta (was Old Delta)", "Gamma Gold"}));
    EXPECT_EQ(all.selection, 0);

    FindShareFill prefix = Fill("de", false, true);
    EXPECT_EQ(prefix.lines.size(), 5u) << "the neighbourhood is not filtered";
    EXPECT_EQ(prefix.selection, 3);

    FindShareFill past = Fill("zz", false, true);
    EXPECT_EQ(past.selection, 4) << "past the last name the last line is selected";

    EXPECT_EQ(Texts(Fill("WAS OLD", false, false)), std::vector<std::string>{"Delta (was Old Delta)"});
    EXPECT_EQ(Texts(Fill("gold", false, false, 2)), std::vector<std::string>{}) << "mode 2 leaves out class 0x18";
    EXPECT_TRUE(Fill("nothing like it", false, false).lines.empty());
}

TEST_F(FindShareIndexTest, FillsEpicModeByPrefixExactAndMarketLabel)
{
    LoadSmall();
    AddExtra(0x7001, "Yankee Corp", "YNK", 1);
    AddExtra(0x7002, "Far Market", "FAR", 40);

    EXPECT_EQ(Texts(Fill("abc", true, true)),
              (std::vector<std::string>{"ABC  Alpha", "ABCD  Delta (was Old Delta)"}));
    FindShareFill exact = Fill("abc ", true, true);
    EXPECT_TRUE(exact.exact);
    EXPECT_EQ(Texts(exact), std::vector<std::string>{"ABC  Alpha"});

    EXPECT_EQ(Texts(Fill("NYSE:", true, true, 0, true)), std::vector<std::string>{"NYSE:YNK  Yankee Corp"});
    EXPECT_EQ(Texts(Fill("LSE:F", true, true, 0, true)), std::vector<std::string>{"LSE:FAR  Far Market"})
        << "a market outside the table is London's";
    EXPECT_EQ(Texts(Fill("YNK", true, true)), std::vector<std::string>{"YNK  Yankee Corp"});
}

TEST_F(FindShareIndexTest, ListsAtMostOneHundredLinesFromElevenBeforeTheName)
{
    LoadMany(150);
    FindShareFill first = Fill("", false, true);
    ASSERT_EQ(first.lines.size(), kFindShareLines);
    EXPECT_EQ(first.lines.front().text, "Share 000");

    FindShareFill middle = Fill("Share 050", false, true);
    ASSERT_EQ(middle.lines.size(), kFindShareLines);
    EXPECT_EQ(middle.lines.front().text, "Share 039");
    EXPECT_EQ(middle.lines[size_t(middle.selection)].text, "Share 050");

    FindShareFill tail = Fill("Share 120", false, true);
    EXPECT_EQ(tail.lines.size(), 150u - 109u);
    EXPECT_EQ(Fill("S", true, true).lines.size(), kFindShareLines);
    EXPECT_EQ(Fill("hare", false, false).lines.size(), kFindShareLines);
}

TEST_F(FindShareIndexTest, FastEpicTakesOnlyAWholeSingleMatch)
{
    LoadSmall();
    AddExtra(0x7001, "Nyse Thing", "NY", 0);
    struct Case {
        const char* text;
        bool fast;
        bool markets;
        bool takes;
    } cases[] = {
        {"ABCD", true, false, true},      // one line, whole EPIC
        {"ABCD", false, false, false},    // Fast EPIC off
        {"ABC", true, false, false},      // two lines match
        {"ABC ", true, false, true},      // exact: one line
        {"BE", true, false, false},       // one record, two lines
        {"LSE:GAM", true, true, true},    // label typed with ":"
        {"LSE:GA", true, true, false},    // shorter than the line's key
        {"NY", true, false, true},
    };
    for (const Case& c : cases) {
        FindShareQuery query;
        query.text = c.text;
        query.useEpic = true;
        query.marketsInUse = c.markets;
        FindShareFill fill = FillFindShareList(BuildNameIndex(), query);
        EXPECT_EQ(FastEpicTakes(fill, query, c.fast), c.takes) << c.text;
    }
    // While markets are in use, a text that starts a label does not take even a whole key.
    FindShareFill fake;
    fake.typed = "NYS";
    fake.lines.push_back({"NYS", "NYS", {}});
    FindShareQuery query;
    query.useEpic = true;
    query.marketsInUse = true;
    EXPECT_FALSE(FastEpicTakes(fake, query, true));
}

TEST_F(FindShareIndexTest, SameShareLinesGatherEqualNames)
{
    LoadSmall();
    std::vector<NameIndexItem> index = BuildNameIndex();
    EXPECT_EQ(SameShareLines(index, index[2].cursor).size(), 2u);
    EXPECT_EQ(SameShareLines(index, index[0].cursor).size(), 1u);
    EXPECT_EQ(FindShareItemData(index[2].cursor), 0x10000u | 0x4002u);
}

TEST(FindShareChoicesTest, RoundTripThroughTheOptionBlock)
{
    Config() = ConfigState{};
    FindShareChoices fresh = LoadFindShareChoices();
    EXPECT_TRUE(fresh.firstLetter) << "a new configuration starts from the first letter";
    EXPECT_FALSE(fresh.useEpic);
    FindShareChoices set{true, false, true, true, true};
    StoreFindShareChoices(set);
    FindShareChoices back = LoadFindShareChoices();
    EXPECT_TRUE(back.useEpic && !back.firstLetter && back.fastEpic && back.fastEpicQuestionSuppressed && back.showAlphabet);
    EXPECT_EQ(Config().optionsA.bytes[OptionBlockA::kFindFastEpic], 3);
    Config() = ConfigState{};
}
