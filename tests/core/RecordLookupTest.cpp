// Record lookups, names, titles, file codes and the list field text over a loaded database.
#include "core/RecordLookup.h"

#include "core/ExtraRecords.h"
#include "core/Memory.h"
#include "core/RecordLists.h"
#include "core/TableLock.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::dev;

namespace {

class RecordLookupTest : public test::DatabaseFixture {
protected:
    RecordLookupTest() { CreateDataLock(); }

    void AddImported(uint16_t id)
    {
        auto* record = static_cast<uint8_t*>(ProCalloc(64, 1, "test"));
        StoreU16(record, 64);
        StoreU16(record + 2, id);
        RecordListNode* node = NewListNode(record, 0);
        node->next = ImportedItemList;
        ImportedItemList = node;
        ++ImportedItemCount;
    }

    // A database of one share, with field 128 of its first sub-record and field 117 when given.
    void LoadShare(std::string_view epic, const std::optional<std::string>& code128,
                   const std::optional<std::string>& field117 = std::nullopt)
    {
        DbRecord share = ShareRecord(0x4001, "Alpha Mining", 'O', epic);
        share.subRecords[0].kind = SubRecordKind::Ordinary;
        DbRecord other = ShareRecord(0x8001, "Market Calendar", 0, "");
        other.subRecords.resize(3);
        other.subRecords[1].kind = 1;
        CompFile comp;
        comp.records.descriptors = {{117, 0x00, {}}};
        comp.streams.descriptors = {{128, 0x00, {}}};
        if (field117)
            comp.records.items.push_back({0x4001, 0, {{117, Text(*field117)}}});
        if (code128)
            comp.streams.items.push_back({0x4001, 0, {{128, Text(*code128)}}});
        auto compBytes = WriteCompDat(comp);
        Load(WriteQuorvaDat(test::OneEntry({share, other})), &compBytes);
    }
};

} // namespace

TEST_F(RecordLookupTest, FindsByIdRangeWithExtraRecordsFirst)
{
    LoadShare("ALM", std::nullopt);
    AddImported(0xF000);
    AddImported(0xF001);
    uint8_t* main = RecordIndex[0x4001];
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(FindShareRecord(0x4001), main);
    EXPECT_EQ(RecordId(FindShareRecord(0x8001)), 0x8001);
    EXPECT_EQ(RecordId(FindShareRecord(0xF001)), 0xF001);
    EXPECT_EQ(FindShareRecord(0xF005), nullptr);
    EXPECT_EQ(FindShareRecord(0x4002), nullptr);
    EXPECT_EQ(FindShareRecord(0x9000), nullptr);

    ExtraShare extra;
    extra.id = 0x4001;
    extra.name = "Alpha Mining (intraday)";
    extra.date = PackDate(3, 5, 2005);
    uint8_t* built = BuildShareRecord(extra);
    EXPECT_EQ(FindShareRecord(0x4001), built) << "extra records come before the database";

    EXPECT_EQ(RecordId(GetRecordCursor(0x8001).record), 0x8001);
    EXPECT_EQ(RecordId(GetRecordCursor(0xF000).record), 0xF000);
    EXPECT_EQ(GetRecordCursor(0xF007).record, nullptr) << "an imported id that is not listed";
    EXPECT_EQ(&GetRecordCursor(1), &GetRecordCursor(2)) << "one cursor for all callers";

    EXPECT_EQ(NewImportedId(), 0xF002);
    EXPECT_EQ(CountSubRecords(main), 1);
    EXPECT_EQ(CountSubRecords(FindShareRecord(0x8001)), 3);
}

TEST_F(RecordLookupTest, NamesAndTitles)
{
    LoadShare("ALM", std::nullopt);
    RecordCursor entry{RecordIndex[0x4001], 0};
    EXPECT_EQ(GetRecordName(entry.record), "Alpha Mining");
    EXPECT_EQ(FormatShareTitle(entry), "Alpha Mining");
    MarketLettersOption = true;
    EXPECT_EQ(FormatShareTitle(entry), "O - Alpha Mining");
    ListTableTitleFlag = true;
    EXPECT_EQ(FormatShareTitle(entry), "Alpha Mining");
    ListTableTitleFlag = false;
    RecordCursor calendar{FindShareRecord(0x8001), 1};
    EXPECT_EQ(FormatShareTitle(calendar), "I - Market Calendar");
    MarketLettersOption = false;
}

TEST_F(RecordLookupTest, ShareFileCodes)
{
    struct Case {
        const char* epic;
        std::optional<std::string> field128;
        const char *display, *file;
    } cases[] = {
        {"X", "BT.A", "BT.A", "BT_A"}, {"X", "PRN", "PRN", "_PRN"},  {"X", "AB-C", "AB", "AB"},
        {"X", "vod", "VOD", "VOD"},    {"X", "nul.x", "NUL.X", "NUL_X"}, {"X", "", "", ""},
        {"bt.a", std::nullopt, "BT.A", "BT_A"}, {"-", std::nullopt, "", ""},
    };
    for (const auto& c : cases) {
        LoadShare(c.epic, c.field128);
        RecordCursor cursor{RecordIndex[0x4001], 0};
        std::string display, file;
        EXPECT_EQ(GetShareFileCode(cursor, display, false), std::string(c.display).empty()) << c.epic;
        EXPECT_EQ(display, c.display);
        GetShareFileCode(cursor, file, true);
        EXPECT_EQ(file, c.file);
        FreeDatabase(true);
    }
    LoadShare("ALM", std::nullopt);
    std::string code = "stale";
    EXPECT_TRUE(GetShareFileCode(RecordCursor{FindShareRecord(0x8001), 0}, code, true)) << "not a share";
    EXPECT_EQ(code, "");
}

TEST_F(RecordLookupTest, ListFieldTextShowsSeparators)
{
    LoadShare("ALM", std::nullopt, "Mining|Metals|Gold");
    EXPECT_EQ(GetListFieldText(RecordCursor{RecordIndex[0x4001], 0}), "Mining, Metals, Gold");
    FreeDatabase(true);
    LoadShare("ALM", std::nullopt);
    EXPECT_EQ(GetListFieldText(RecordCursor{RecordIndex[0x4001], 0}), "");
}
