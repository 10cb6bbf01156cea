// Tests of linking windows: the dialog's names and texts, the rules of the link commands, moving a
// view into another group and the lines of the window chooser.
#include "shell/WindowLinking.h"

#include "core/ShareList.h"
#include "devtools/lib/ShareListChain.h"
#include "shell/ViewGroups.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace qv {
namespace {

TEST(WindowLinkingTexts, NamesFromTitles)
{
    EXPECT_EQ(WindowNameFromTitle("Vodafone - Graph"), "\"Vodafone\"");
    EXPECT_EQ(WindowNameFromTitle("Quorvantis - List: All"), "\"List: All\"");
    EXPECT_EQ(WindowNameFromTitle("01 List: All (Linked)"), "\"\"") << "no \"-\": an empty name";
    EXPECT_EQ(WindowNameFromTitle("-x"), "\"\"");
}

TEST(WindowLinkingTexts, MaximisedFrameTitleSaysTheProgramOnce)
{
    const struct {
        const char* title;
        const char* expected;
    } cases[] = {
        {"Quorvantis Pro - [Quorvantis Pro - Graph: Vodafone]", "Quorvantis Pro - [Graph: Vodafone]"},
        {"Quorvantis Pro - [01 List: All (Linked)]", "Quorvantis Pro - [01 List: All (Linked)]"},
        {"Quorvantis Pro", "Quorvantis Pro"},
        {"Quorvantis Pro - [Quorvantis Pro]", "Quorvantis Pro - [Quorvantis Pro]"},
        {"Quorvantis Pro - [Quorvantis Pro - ]", "Quorvantis Pro - []"},
        {" - [ - x]", " - [ - x]"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MaximisedFrameTitle(c.title), c.expected) << c.title;
    // Applied twice it changes nothing more.
    EXPECT_EQ(MaximisedFrameTitle(MaximisedFrameTitle(cases[0].title)), cases[0].expected);
}

TEST(WindowLinkingTexts, TextsForOneTwoAndThreeWindows)
{
    EXPECT_EQ(OthersClause(0), "");
    EXPECT_EQ(OthersClause(1), " and 1 other window");
    EXPECT_EQ(OthersClause(2), " and 2 other windows");
    // A source of two windows (the active one and one other) and a target of one.
    LinkDialogTexts two = MakeLinkDialogTexts("\"A\"", "\"B\"", "\"T\"", 2, 1, false);
    EXPECT_EQ(two.situation, "The selected window \"A\" is currently linked to \"B\".\nYou have two choices.  Click on "
                             "one of the buttons at the bottom or Cancel.");
    EXPECT_EQ(two.breakLink,
              "Press below to break that link and connect the selected window \"A\" to the target window \"T\".");
    EXPECT_EQ(two.linkTogether,
              "Press below to keep that link and to connect the window \"T\" to \"A\" and 1 other window.");
    // Three in the source, two in the target.
    LinkDialogTexts three = MakeLinkDialogTexts("\"A\"", "\"B\"", "\"T\"", 3, 2, false);
    EXPECT_EQ(three.situation.rfind("The selected window \"A\" is currently linked to \"B\" and 1 other window.\n", 0), 0u);
    EXPECT_NE(three.breakLink.find("\"T\" and 1 other window."), std::string::npos);
    EXPECT_NE(three.linkTogether.find("\"A\" and 3 other windows."), std::string::npos);
    LinkDialogTexts conflict = MakeLinkDialogTexts("\"A\"", "\"B\"", "\"T\"", 2, 1, true);
    EXPECT_EQ(conflict.situation, "The selected window \"A\" is currently linked to \"B\".\nIt is not possible to keep "
                                  "this link as this would create a conflict.  Click on the break link button to "
                                  "continue or Cancel.");
}

class Linking : public ::testing::Test {
protected:
    ~Linking() override
    {
        views.clear();
        dev::FreeShareListChain();
    }
    ShareList* NewList(int32_t family = kFamilyShares)
    {
        ShareList* list = CreateShareList(8, 0, family, nullptr, true);
        list->number = nextNumber++;
        return list;
    }
    CViewBase& Open(int32_t kind, ShareList* list)
    {
        auto& view = *views.emplace_back(std::make_unique<CViewBase>(kind));
        view.list = list;
        view.nextInList = list->views;
        list->views = &view;
        return view;
    }
    std::vector<std::unique_ptr<CViewBase>> views;
    int32_t nextNumber = 0;
};

TEST_F(Linking, AViewJoinsTheTargetGroup)
{
    ShareList* a = NewList();
    ShareList* b = NewList();
    ShareList* dealings = NewList(kFamilyDealings);
    CViewBase& list = Open(kViewList, a);
    CViewBase& chart = Open(kViewDailyChart, b);
    CViewBase& deals = Open(kViewDealings, dealings);
    b->word = 7;
    LinkViewToGroup(&list, b, 7);
    EXPECT_EQ(list.list, b);
    EXPECT_EQ(list.secondList, nullptr);
    EXPECT_EQ(GetViewGroupFields(b).builtFor, 7);
    EXPECT_EQ(GroupViewCount(b), 2);
    EXPECT_EQ(GroupViewCount(a), 0);
    // Another family follows as a linked view and keeps its own list, marked as linked.
    LinkViewToGroup(&deals, b, 7);
    EXPECT_EQ(deals.list, dealings);
    EXPECT_EQ(deals.secondList, b);
    EXPECT_TRUE(dealings->viewState2 & 0x40);
    EXPECT_EQ(GroupViewCount(b), 3);
    LinkViewToGroup(&deals, b, 7);
    EXPECT_EQ(GroupViewCount(b), 3) << "a view already in the chain is not added twice";
    (void)chart;
}

TEST_F(Linking, CommandRules)
{
    ShareList* a = NewList();
    ShareList* b = NewList();
    ShareList* t = NewList(kFamilyTicker);
    CViewBase& list = Open(kViewList, a);
    CViewBase& ticker = Open(kViewTicker, t);
    EXPECT_FALSE(CanLinkWindow(&list)) << "only a ticker elsewhere";
    EXPECT_FALSE(CanUnlinkWindow(&list));
    CViewBase& chart = Open(kViewDailyChart, b);
    EXPECT_TRUE(CanLinkWindow(&list));
    EXPECT_FALSE(CanLinkWindow(&ticker));
    LinkViewToGroup(&list, b, 0);
    EXPECT_FALSE(CanLinkWindow(&list)) << "the other view is linked to it already";
    EXPECT_TRUE(CanUnlinkWindow(&list));
    EXPECT_TRUE(CanUnlinkWindow(&chart));
    EXPECT_FALSE(CanUnlinkWindow(&ticker));
    EXPECT_FALSE(CanLinkWindow(nullptr));
}

std::string KindTitle(const CViewBase* view) { return "Quorvantis - " + std::string(ViewKindClassName(view->kind)); }

TEST_F(Linking, ChooserLinesNameOtherGroups)
{
    ShareList* own = NewList();
    ShareList* single = NewList();
    ShareList* three = NewList();
    ShareList* mining = NewList();
    CViewBase& active = Open(kViewList, own);
    Open(kViewDailyChart, single);
    Open(kViewDetails, three);
    Open(kViewList, three);
    Open(kViewDailyChart, three);
    Open(kViewDataMining, mining);
    std::vector<LinkCandidate> lines = LinkWindowCandidates(&active, &KindTitle);
    ASSERT_EQ(lines.size(), 2u);
    const LinkCandidate& one = lines[0].list == single ? lines[0] : lines[1];
    const LinkCandidate& many = lines[0].list == three ? lines[0] : lines[1];
    EXPECT_EQ(one.line, "View 02 - \"" + std::string(ViewKindClassName(kViewDailyChart)) + "\"");
    // Named by its last table view (chains put the newest first).
    EXPECT_EQ(many.line, "View 03 - \"" + std::string(ViewKindClassName(kViewList)) + "\" and 2 other windows");
    // From list 100 on the number takes three digits.
    three->number = 99;
    lines = LinkWindowCandidates(&active, &KindTitle);
    EXPECT_EQ((lines[0].list == three ? lines[0] : lines[1]).line.substr(0, 11), "View 100 - ");

    // With one list open the chooser is empty.
    views.clear();
    dev::FreeShareListChain();
    CViewBase& alone = Open(kViewList, NewList());
    EXPECT_TRUE(LinkWindowCandidates(&alone, &KindTitle).empty());
}

} // namespace
} // namespace qv
