// Column commands on a share list: the new layout reaches every list of the setting, the sort column
// follows and the stored sort byte is rewritten.
#include "lists/ListColumnCommands.h"

#include "ListFixture.h"
#include "core/ColumnDef.h"
#include "core/ConfigState.h"
#include "lists/ColumnCatalogues.h"
#include "lists/ListSettings.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class ListColumnCommands : public ListFixture {
protected:
    void SetUp() override
    {
        saved_ = Config();
        a_ = Chained(0);
        b_ = Chained(4);
        SelectColumnSetting(a_, kListKindShares, 1, false, false);
        SelectColumnSetting(b_, kListKindShares, 1, false, false);
        a_->sortColumn = 6;
        a_->sortDirection = -1;
    }
    void TearDown() override
    {
        ShareListChain() = nullptr;
        FreeSettingLayouts();
        Config() = saved_;
    }
    ShareList* Chained(int32_t number)
    {
        ShareList* list = NewList(number);
        list->next = ShareListChain();
        ShareListChain() = list;
        return list;
    }
    int Code(int column) const { return ColumnDefCode(GetColumnDef(a_->columnLayout, column)); }

    ConfigState saved_;
    ShareList* a_ = nullptr;
    ShareList* b_ = nullptr;
};

} // namespace

TEST_F(ListColumnCommands, AColumnAddedLeftOfTheSortColumnKeepsTheSameColumnSorted)
{
    const int before = ListColumnCount(a_, kListKindShares);
    const int sortedCode = Code(6);
    AddColumnRequest request;
    request.insertAt = 2;
    request.pointSize = 12;
    ASSERT_TRUE(AddListColumn(a_, kListKindShares, CatalogueTemplate(Catalogue::Shares, 21), request));
    EXPECT_EQ(ListColumnCount(a_, kListKindShares), before + 1);
    EXPECT_EQ(b_->columnLayout, a_->columnLayout);
    EXPECT_EQ(Code(2), 21);
    EXPECT_EQ(ColumnDefWidth(GetColumnDef(a_->columnLayout, 2)), 80);
    EXPECT_EQ(a_->sortColumn, 7);
    EXPECT_EQ(Code(7), sortedCode);
    EXPECT_EQ(GetSettingSort(kListKindShares, 1), -8);

    // Right of the sort column: the sort stays.
    request.insertAt = -1;
    ASSERT_TRUE(AddListColumn(a_, kListKindShares, CatalogueTemplate(Catalogue::Shares, 22), request));
    EXPECT_EQ(GetSettingSort(kListKindShares, 1), -8);
}

TEST_F(ListColumnCommands, RemovingTheSortedColumnLeavesColumnZeroAscendingAndUnsorted)
{
    ASSERT_TRUE(RemoveListColumn(a_, kListKindShares, 6));
    EXPECT_EQ(GetSettingSort(kListKindShares, 1), 1);
    EXPECT_EQ(a_->sortColumn, -1);

    a_->sortColumn = 4;
    a_->sortDirection = 1;
    ASSERT_TRUE(RemoveListColumn(a_, kListKindShares, 1));
    EXPECT_EQ(GetSettingSort(kListKindShares, 1), 4);
}

TEST_F(ListColumnCommands, MovingRetitlingAndSizing)
{
    const int sortedCode = Code(6);
    ASSERT_TRUE(MoveListColumn(a_, kListKindShares, 6, 0));
    EXPECT_EQ(Code(0), sortedCode);
    EXPECT_EQ(GetSettingSort(kListKindShares, 1), -1);
    EXPECT_FALSE(MoveListColumn(a_, kListKindShares, 2, 2));

    ASSERT_TRUE(RetitleListColumn(a_, kListKindShares, 1, "My name", "Name"));
    EXPECT_STREQ(ColumnDefOwnTitle(GetColumnDef(b_->columnLayout, 1)), "My name");

    ASSERT_TRUE(SetListColumnWidth(a_, kListKindShares, 1, 3));
    EXPECT_EQ(ColumnDefWidth(GetColumnDef(a_->columnLayout, 1)), 10);
}

namespace {

// Answers the boxes in turn and records their texts.
class ScriptedBoxes : public MessageBoxHost {
public:
    explicit ScriptedBoxes(std::vector<MsgAnswer> answers) : answers_(std::move(answers)) { previous_ = SetMessageBoxHost(this); }
    ~ScriptedBoxes() override { SetMessageBoxHost(previous_); }
    MsgAnswer show(const MessageRequest& request) override
    {
        texts.push_back(request.text);
        return answers_.at(texts.size() - 1);
    }
    std::vector<std::string> texts;

private:
    std::vector<MsgAnswer> answers_;
    MessageBoxHost* previous_ = nullptr;
};

} // namespace

TEST(ListNotesQuestions, AnswersDecideWhetherNotesGo)
{
    struct Case { int others; std::vector<MsgAnswer> answers; NotesAnswer expected; size_t asked; };
    const Case cases[] = {
        {0, {MsgAnswer::Yes}, NotesAnswer::Delete, 1},
        {0, {MsgAnswer::No}, NotesAnswer::Keep, 1},
        {0, {MsgAnswer::Cancel}, NotesAnswer::Cancel, 1},
        {2, {MsgAnswer::Yes, MsgAnswer::Yes}, NotesAnswer::Delete, 2},
        {2, {MsgAnswer::Yes, MsgAnswer::No}, NotesAnswer::Keep, 2},
        {2, {MsgAnswer::Yes, MsgAnswer::Cancel}, NotesAnswer::Cancel, 2},
    };
    for (const Case& c : cases) {
        ScriptedBoxes boxes(c.answers);
        EXPECT_EQ(AskNotesRemoval(c.others), c.expected);
        ASSERT_EQ(boxes.texts.size(), c.asked);
        if (c.asked == 2) {
            EXPECT_EQ(boxes.texts[1], "This will delete notes used in 2 other columns.\n\nAre you sure you want to delete these notes?");
        }
    }
}

TEST_F(ListColumnCommands, ResultsAndHighLowColumnsFromTheirDialogsAnswers)
{
    ASSERT_TRUE(AddListRecord(a_, kListKindShares, ResultsColumnRecord(3, 5, 1), 1));
    const uint8_t* results = GetColumnDef(a_->columnLayout, 1);
    EXPECT_EQ(ColumnDefKind(results), kColumnResults);
    EXPECT_EQ(ColumnDefCode(results), 0x35);
    EXPECT_EQ(ColumnDefWidth(results), 60) << "results columns keep width 60 unscaled";
    EXPECT_EQ(results[ColumnDefLayout::FormatB], 1);
    EXPECT_EQ(ColumnDefYear(results), 1);
    EXPECT_EQ(ResultsColumnRecord(8, 2, 0)[ColumnDefLayout::FormatB], 2);

    AddColumnRequest request;
    request.insertAt = 1;
    ASSERT_TRUE(AddHighLowColumn(a_, kListKindShares, {0, 2, 1, 7, 9}, request));
    EXPECT_EQ(Code(1), 55);
    EXPECT_EQ(ColumnDefKind(GetColumnDef(a_->columnLayout, 1)), kColumnFormula);
    ASSERT_TRUE(AddHighLowColumn(a_, kListKindShares, {1, 3, 1, 2, 250}, request));
    const uint8_t* highLow = GetColumnDef(a_->columnLayout, 1);
    EXPECT_EQ(ColumnDefCode(highLow), 94);
    EXPECT_EQ(highLow[ColumnDefLayout::SubKind], 7);
    EXPECT_EQ(highLow[ColumnDefLayout::FirstUnit], 2);
    EXPECT_EQ(highLow[ColumnDefLayout::FirstCount], 250);
    EXPECT_NE(highLow[ColumnDefLayout::Align] & 0x10, 0);
}
