// Tests of the portfolio chooser, the new-name dialog and the group's adjust dialog, driven by control id.
#include "portfolio/ui/PortfolioChooser.h"

#include "core/ShareList.h"
#include "devtools/lib/ShareListChain.h"
#include "portfolio/PortfolioChooserRules.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioMaking.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/ui/PortfolioNameDlgs.h"
#include "shell/ui/ModalDialog.h"
#include "support/FakeMessageBox.h"
#include "support/ui/ControlById.h"
#include "support/ui/Render.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>

using namespace qv;
using namespace qv::test;

namespace {

class Chooser : public ::testing::Test {
protected:
    void SetUp() override
    {
        FreePortfolioChain();
        Add(0, "Growth", kUserPortfolio);
        Add(0xFF03, "Alarms", kPresetList);
        Add(0xFF05, "Data Mining Results", kFilterPreset);
        Add(2, "Income", kUserPortfolio);
        Portfolio* group = Add(5, "Everything", kGroupPortfolio);
        SetGroupMemberKeys(*group, {3}); // Income
        list_ = CreateShareList(0, 0, kFamilyShares, nullptr, true);
        CurrentShareList() = list_;
        SetChooserFilterNames([] { return std::vector<std::string>{"Value shares", "Momentum"}; });
        dialogs_.askName = [this](const Portfolio&, int mode, std::string& name) {
            askedModes_.push_back(mode);
            if (names_.empty())
                return false;
            name = names_.front();
            names_.erase(names_.begin());
            return true;
        };
        SetPortfolioDialogHooks(dialogs_);
        ChooserAdvanced() = false;
    }
    void TearDown() override
    {
        SetPortfolioDialogHooks({});
        SetChooserFilterNames({});
        SetModalDialogRunner(nullptr);
        FreePortfolioChain();
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
        ChosenPortfolio() = nullptr;
        ChooserAdvanced() = false;
    }
    static Portfolio* Add(uint16_t number, const char* name, uint8_t type)
    {
        auto* p = new Portfolio;
        p->number = number;
        p->name = name;
        p->type = type;
        ResetPortfolioEntries(*p);
        AppendToChain(p);
        return p;
    }
    static std::vector<std::string> Texts(QListWidget* list)
    {
        std::vector<std::string> out;
        for (int i = 0; i < list->count(); ++i)
            out.push_back(list->item(i)->text().toStdString());
        return out;
    }
    static void Select(QListWidget* list, const char* text)
    {
        auto found = list->findItems(QString::fromLatin1(text), Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << text;
        list->clearSelection();
        list->setCurrentItem(found.front());
        found.front()->setSelected(true);
    }
    ShareList* list_ = nullptr;
    PortfolioDialogHooks dialogs_;
    std::vector<std::string> names_;
    std::vector<int> askedModes_;
    FakeMessageBox boxes_;
};

TEST_F(Chooser, EachModeListsItsPortfoliosAndNewEntries)
{
    list_->source = FindPortfolioByNumber(2); // Income is the current list's portfolio
    using V = std::vector<std::string>;
    const V groupAndNew = {"Growth", "Income", "Everything (Group)", " << new >>", " << new group >>"};
    struct Case {
        int mode;
        V expected;
    } cases[] = {
        {0, groupAndNew},
        {1, {"Growth", "Income", "Everything (Group)"}},
        {2, {"Growth", "Income"}},
        {3, {"Growth", "Income"}},
        {4, {"Growth"}}, // never the portfolio merged into
        {5, {"Growth", "Income"}},
        {6, {"Growth", "Income"}},
        {7, {"Growth", "Income", " << new >>"}},
        {8, {"Growth", "Income", " << new >>"}},
        {9, {"Growth", "Income", "Everything (Group)"}},
    };
    for (const Case& c : cases) {
        CPortfolioChooser chooser;
        chooser.SetPortfolioChooserMode(c.mode);
        EXPECT_EQ(Texts(Control<QListWidget>(chooser, 1061)), c.expected) << "mode " << c.mode;
        EXPECT_EQ(chooser.extended(), c.mode == 0 || c.mode == 3 || c.mode == 6) << c.mode;
        const bool offersNewFilter = c.mode == 0 || c.mode == 7 || c.mode == 8;
        EXPECT_EQ(Texts(Control<QListWidget>(chooser, 1063)).front() == " << new >>", offersNewFilter) << c.mode;
    }
    // A group as the current portfolio narrows mode 9 to its members.
    list_->source = FindPortfolioByNumber(5);
    CPortfolioChooser chooser;
    chooser.SetPortfolioChooserMode(9);
    EXPECT_EQ(Texts(chooser.portfolioList()), V{"Income"});
    EXPECT_EQ(chooser.windowTitle().toStdString(), "Portfolio ");
}

TEST_F(Chooser, OkIsOfferedOnlyForAListedEntry)
{
    FreePortfolioChain();
    CPortfolioChooser chooser;
    chooser.SetPortfolioChooserMode(1); // nothing to list, nothing to choose
    EXPECT_EQ(chooser.portfolioList()->count(), 0);
    EXPECT_FALSE(Control<QPushButton>(chooser, 1)->isEnabled());
    chooser.accept();
    EXPECT_EQ(chooser.result(), QDialog::Rejected);
    EXPECT_EQ(ChosenPortfolio(), nullptr);
}

TEST_F(Chooser, ANewPortfolioTakesTheLowestFreeNumberAndAGroupAsksItsMembers)
{
    names_ = {"Pension"};
    CPortfolioChooser chooser;
    chooser.SetPortfolioChooserMode(0);
    Select(chooser.portfolioList(), " << new >>");
    chooser.accept();
    ASSERT_EQ(chooser.result(), QDialog::Accepted);
    ASSERT_NE(chooser.chosen(), nullptr);
    EXPECT_EQ(chooser.chosen()->number, 1); // 0 and 2 are taken
    EXPECT_EQ(chooser.chosen()->name.str(), "Pension");
    EXPECT_EQ(askedModes_, std::vector<int>{kNameNewPortfolio});

    // A new group whose members are not chosen ends as cancelled.
    names_ = {"Both"};
    CPortfolioChooser second;
    second.SetPortfolioChooserMode(0);
    Select(second.portfolioList(), " << new group >>");
    second.accept();
    EXPECT_EQ(second.result(), QDialog::Rejected);
    EXPECT_EQ(ChosenPortfolio(), nullptr);
}

TEST_F(Chooser, NoPortfolioIsMadeOnceEveryNumberIsTaken)
{
    for (uint16_t n = 1; n <= kHighestPortfolioNumber; ++n)
        if (!FindPortfolioByNumber(n))
            Add(n, "Full", kUserPortfolio);
    names_ = {"One too many"};
    EXPECT_EQ(NewPortfolio(""), nullptr);
    ASSERT_EQ(boxes_.texts().size(), 1u);
    EXPECT_EQ(boxes_.texts()[0], kNoMorePortfolios);
    EXPECT_TRUE(askedModes_.empty());
}

TEST_F(Chooser, AFilterPickedTwiceReusesTheOneFilterDrivenPortfolio)
{
    Portfolio* first = nullptr;
    for (const char* filter : {"Value shares", "Momentum"}) {
        ChooserAdvanced() = true;
        CPortfolioChooser chooser;
        chooser.SetPortfolioChooserMode(0);
        ASSERT_TRUE(chooser.filterList()->isVisibleTo(&chooser));
        Select(chooser.filterList(), filter);
        chooser.portfolioList()->clearSelection();
        chooser.accept();
        ASSERT_EQ(chooser.result(), QDialog::Accepted) << filter;
        Portfolio* p = chooser.chosen();
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->type, kFilterPreset);
        EXPECT_EQ(p->name.str(), filter);
        EXPECT_EQ(p->changed, 1);
        if (!first)
            first = p;
        EXPECT_EQ(p, first);
    }
    int filterPortfolios = 0;
    for (const Portfolio* p = PortfolioChain(); p; p = p->next)
        filterPortfolios += p->type == kFilterPreset;
    EXPECT_EQ(filterPortfolios, 1);
}

TEST_F(Chooser, PresetButtonsAnswerTheirPortfolioOrNothing)
{
    ChooserAdvanced() = true;
    CPortfolioChooser chooser;
    chooser.SetPortfolioChooserMode(0);
    Control<QPushButton>(chooser, 18119)->click(); // New Highs: not in this chain
    EXPECT_EQ(chooser.result(), 0);
    Control<QPushButton>(chooser, 18117)->click(); // Alarms
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(ChosenPortfolio(), FindPortfolioByNumber(0xFF03));
}

TEST_F(Chooser, CancelAfterDeletingTheCurrentPortfolioMovesTheListToTheFirstUserPortfolio)
{
    Portfolio* growth = FindPortfolioByNumber(0);
    list_->source = growth;
    CPortfolioChooser chooser;
    chooser.SetPortfolioChooserMode(0);
    chooser.SetShowDelete(true);
    // The Delete button's own chooser (mode 1) answers Growth, and the question Yes.
    SetModalDialogRunner([&](QDialog& d) {
        auto& inner = static_cast<CPortfolioChooser&>(d);
        EXPECT_EQ(inner.mode(), 1);
        Select(inner.portfolioList(), "Growth");
        inner.accept();
        return inner.result();
    });
    boxes_.queue(MsgAnswer::Yes);
    Control<QPushButton>(chooser, 3)->click();
    ASSERT_EQ(boxes_.shown().size(), 1u);
    EXPECT_EQ(boxes_.shown()[0].text, "Are you sure you want to delete the portfolio Growth?");
    EXPECT_EQ(boxes_.shown()[0].defaultButton, 1); // No
    EXPECT_EQ(FindPortfolioByNumber(0), nullptr);
    EXPECT_EQ(Texts(chooser.portfolioList()).front(), "Income");
    chooser.reject();
    EXPECT_EQ(list_->source, FindPortfolioByNumber(2));
    EXPECT_EQ(ChosenPortfolio(), nullptr);
}

TEST_F(Chooser, TheNewNameDialogRefusesOnlyAnExactDuplicate)
{
    struct Case {
        const char* text;
        bool ok;
    } cases[] = {{"", false}, {"Income", false}, {"income", true}, {"INCOME ", true}, {"Savings", true}};
    CNewName dialog(QStringLiteral("Choose a name for the portfolio"), QString(), "", false);
    for (const Case& c : cases) {
        Control<QLineEdit>(dialog, 1060)->setText(QString::fromLatin1(c.text));
        EXPECT_EQ(Control<QPushButton>(dialog, 1)->isEnabled(), c.ok) << c.text;
    }
    EXPECT_EQ(Control<QLineEdit>(dialog, 1060)->maxLength(), 50);
    EXPECT_EQ(PortfolioNameLine(kRenamePortfolio, "Income"), "Previous name: Income");
    EXPECT_EQ(PortfolioNameTitle(kNameNewGroup), "Choose a name for the group portfolio");
}

TEST_F(Chooser, TheAdjustDialogEditsMembersInPlaceAndCancelPutsThemBack)
{
    Portfolio* group = FindPortfolioByNumber(5);
    {
        CAdjustPortfolios dialog(*group);
        EXPECT_EQ(Texts(dialog.excluded()), std::vector<std::string>{"Growth"});
        EXPECT_EQ(Texts(dialog.included()), std::vector<std::string>{"Income"});
        Control<QPushButton>(dialog, 1602)->click(); // >> adds Growth
        EXPECT_EQ(GroupMemberKeys(*group), (std::vector<uint16_t>{3, 1}));
        dialog.reject();
    }
    EXPECT_EQ(GroupMemberKeys(*group), std::vector<uint16_t>{3});
    CAdjustPortfolios dialog(*group);
    Control<QPushButton>(dialog, 1605)->click(); // << removes all
    Control<QPushButton>(dialog, 1603)->click(); // > adds the selected (Growth)
    group->changed = 0;
    dialog.accept();
    EXPECT_EQ(GroupMemberKeys(*group), std::vector<uint16_t>{1});
    EXPECT_EQ(group->changed, 1);
}

TEST_F(Chooser, RendersOfEveryModeAndTheSmallDialogs)
{
    ASSERT_TRUE(FontsAvailable());
    for (int mode = 0; mode < kChooserModes; ++mode) {
        ChooserAdvanced() = mode == 0;
        CPortfolioChooser chooser;
        chooser.SetPortfolioChooserMode(mode);
        chooser.SetShowDelete(mode == 0);
        EXPECT_FALSE(SaveRender(RenderWidget(chooser), QString("portfolio-chooser-mode-%1").arg(mode)).isEmpty());
    }
    CNewName name(QString::fromStdString(PortfolioNameTitle(kRenamePortfolio)),
                  QString::fromStdString(PortfolioNameLine(kRenamePortfolio, "Income")), "Income", false);
    EXPECT_FALSE(SaveRender(RenderWidget(name), "portfolio-new-name").isEmpty());
    CAdjustPortfolios adjust(*FindPortfolioByNumber(5));
    EXPECT_FALSE(SaveRender(RenderWidget(adjust), "portfolio-adjust-group").isEmpty());
}

} // namespace

namespace {

TEST_F(Chooser, ANewGroupTakesItsMembersHoldings)
{
    names_ = {"Both"};
    dialogs_.adjustMembers = [](Portfolio& group) {
        SetGroupMemberKeys(group, {1, 3});
        return true;
    };
    SetPortfolioDialogHooks(dialogs_);
    Portfolio* group = NewGroupPortfolio();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->number, 1);
    EXPECT_EQ(group->type, kGroupPortfolio);
    EXPECT_EQ(GroupMemberKeys(*group), (std::vector<uint16_t>{1, 3}));
    EXPECT_EQ(askedModes_, std::vector<int>{kNameNewGroup});
}

} // namespace

TEST_F(Chooser, OneClickOnAnEntryChoosesItFromEitherList)
{
    struct Case {
        int list;
        const char* entry;
        uint16_t chosenNumber; // the portfolio answered
    };
    for (const Case& c : {Case{1061, "Income", 2}, Case{1063, "Momentum", 0xFF05}}) {
        ChooserAdvanced() = true;
        CPortfolioChooser chooser;
        chooser.SetPortfolioChooserMode(0);
        chooser.show();
        QApplication::processEvents();
        QListWidget* list = Control<QListWidget>(chooser, c.list);
        const QList<QListWidgetItem*> found = list->findItems(QString::fromLatin1(c.entry), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << c.entry;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
        EXPECT_EQ(chooser.result(), QDialog::Accepted) << c.entry;
        ASSERT_NE(ChosenPortfolio(), nullptr) << c.entry;
        EXPECT_EQ(ChosenPortfolio()->number, c.chosenNumber) << c.entry;
    }
}
