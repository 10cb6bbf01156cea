#include "shell/ui/MainFrame.h"

#include "core/Memory.h"
#include "core/ShareList.h"
#include "lists/ui/ViewBaseWindow.h"
#include "platform/ByteOrder.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "shell/FrameState.h"
#include "shell/KeyRouting.h"
#include "shell/KeyTable.h"
#include "shell/StatusPaneTexts.h"
#include "shell/ViewGroups.h"
#include "shell/ViewKinds.h"
#include "shell/ui/StatusBarEx.h"
#include "support/ui/Render.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace qv;

namespace {

// Share records with an id at byte 2.
class Shares {
public:
    uint8_t* make(uint16_t id)
    {
        auto& r = store_.emplace_back(std::make_unique<uint8_t[]>(24));
        std::fill_n(r.get(), 24, uint8_t(0));
        StoreU16(&r[0], 24);
        StoreU16(&r[2], id);
        return r.get();
    }

private:
    std::vector<std::unique_ptr<uint8_t[]>> store_;
};

class Frame : public ::testing::Test {
protected:
    Frame()
    {
        KeyTable().clear();
        AddDefaultAccelerators(KeyTable(), true);
        MainWindowCreated = 1;
        frame = std::make_unique<CMainFrame>();
        frame->show();
        a = MakeList(0x4001);
        b = MakeList(0x4101);
    }
    ~Frame() override
    {
        frame.reset();
        DeliverPostedMessages();
        KeyTable().clear();
        SetFindShareDialog(nullptr);
        MainWindowCreated = 0;
        BusyFlag = DeferredFlag = 0;
        ModalCount = 0;
        while (ShareList* l = ShareListChain()) {
            ShareListChain() = l->next;
            ProFree(l->entries);
            ProFree(l);
        }
    }

    // A list of four shares from firstId up.
    ShareList* MakeList(uint16_t firstId)
    {
        ShareList* list = CreateShareList(8, 0, kFamilyShares, nullptr, true);
        for (int32_t i = 0; i < 4; ++i)
            list->entries[i] = RecordCursor{shares.make(uint16_t(firstId + i)), 0};
        list->last = 3;
        return list;
    }
    CViewBaseWnd* Open(int32_t kind, ShareList* list) { return OpenViewBaseWindow(*frame, kind, list); }
    void Activate(CViewBaseWnd* view)
    {
        frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(view->parentWidget()));
        QApplication::processEvents();
    }

    Shares shares;
    std::unique_ptr<CMainFrame> frame;
    ShareList* a = nullptr;
    ShareList* b = nullptr;
};

TEST_F(Frame, StatusBarPanesAndTheMenuBarFollowTheActiveKind)
{
    CStatusBarEx* status = frame->statusBarEx();
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->PaneCount(), 4);
    EXPECT_EQ(status->PaneText(0), QStringLiteral("Ready"));
    EXPECT_EQ(status->Pane(2)->width(), 130);
    EXPECT_EQ(frame->MenuTitles(), (QStringList{"&File", "&Edit", "&View", "&Tools", "&Portfolio", "&Update",
                                                "&Window", "&Help"}));

    CViewBaseWnd* list = Open(kViewList, a);
    Activate(list);
    EXPECT_EQ(MainFrameState().activeView, list);
    EXPECT_EQ(frame->MenuTitles(), (QStringList{"&File", "&Edit", "&View", "&List", "&Portfolio", "List &Tables",
                                                "&Tools", "&Update", "&Window", "&Help"}));
    CViewBaseWnd* portfolio = Open(kViewPortfolio, b);
    Activate(portfolio);
    EXPECT_EQ(frame->MenuTitles(), (QStringList{"&File", "&Edit", "&View", "&Portfolio", "List &Tables", "&Tools",
                                                "&Update", "&Window", "&Help"}));
    CViewBaseWnd* details = Open(kViewDetails, b);
    Activate(details);
    EXPECT_EQ(frame->SlotMenu(6)->title(), QStringLiteral("&Details"));
    EXPECT_EQ(frame->SlotMenu(7), nullptr);
    EXPECT_EQ(frame->SlotMenu(5)->title(), QStringLiteral("&Portfolio"));
    EXPECT_EQ(frame->SlotMenu(7), nullptr);
}

TEST_F(Frame, MovingTheCurrentShareTellsTheOtherViewsOfItsGroupOnly)
{
    CViewBaseWnd* listA = Open(kViewList, a);
    CViewBaseWnd* chartA = Open(kViewDailyChart, a);
    CViewBaseWnd* detailsA = Open(kViewDetails, a);
    CViewBaseWnd* listB = Open(kViewList, b);
    CViewBaseWnd* chartB = Open(kViewDailyChart, b);
    CViewBaseWnd* news = Open(kViewNews, nullptr);
    std::vector<CViewBaseWnd*> all{listA, chartA, detailsA, listB, chartB, news};
    auto resyncs = [&] {
        std::vector<int> n;
        for (auto* v : all)
            n.push_back(v->resyncs());
        return n;
    };
    auto refreshes = [&] {
        std::vector<int> n;
        for (auto* v : all)
            n.push_back(v->refreshes());
        return n;
    };
    EXPECT_EQ(news->list->family, kFamilyNews);
    EXPECT_EQ(listA->list, a);
    EXPECT_EQ(chartB->list, b);

    a->current = 2;
    listA->InvalidateLinkedViews(true, false);
    EXPECT_EQ(resyncs(), (std::vector<int>{0, 1, 1, 0, 0, 0}));

    // The refresh of the charts reaches both groups' charts and nothing else.
    UpdateAllViewGroups(kViewDailyChart, false, nullptr, false, false);
    DeliverPostedMessages();
    EXPECT_EQ(refreshes(), (std::vector<int>{0, 1, 0, 0, 1, 0}));

    // Held during a reload: nothing arrives, then or later.
    {
        RefreshHold hold;
        UpdateAllViewGroups(-1, true, nullptr, true, false);
    }
    DeliverPostedMessages();
    QApplication::processEvents();
    EXPECT_EQ(refreshes(), (std::vector<int>{0, 1, 0, 0, 1, 0}));
    UpdateAllViewGroups(-1, false, nullptr, false, false);
    DeliverPostedMessages();
    EXPECT_EQ(refreshes(), (std::vector<int>{1, 2, 1, 1, 2, 1}));

    // A window closed is gone from its group.
    delete chartA->parentWidget();
    int views = 0;
    for (CViewBase* v = a->views; v; v = v->nextInList)
        ++views;
    EXPECT_EQ(views, 2);
}

TEST_F(Frame, TypedKeysPostAcceleratorsOrFindAShare)
{
    CViewBaseWnd* listA = Open(kViewList, a);
    CViewBaseWnd* chartA = Open(kViewDailyChart, a);
    Activate(listA);
    listA->setFocus();

    QTest::keyClick(listA, Qt::Key_D, Qt::ControlModifier);
    DeliverPostedMessages();
    EXPECT_EQ(frame->commands(), QList<uint32_t>{25002});
    QTest::keyClick(listA, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    DeliverPostedMessages();
    EXPECT_EQ(frame->commands().size(), 1) << "Ctrl+Shift with no accelerator posts nothing";

    uint32_t seeded = 0;
    SetFindShareDialog([&](const std::string&, uint32_t character, bool seed, ShareList*) -> std::optional<int32_t> {
        seeded = seed ? character : 0;
        return 3;
    });
    QTest::keyClick(listA, Qt::Key_7);
    EXPECT_EQ(seeded, uint32_t('7'));
    EXPECT_EQ(a->current, 3);
    EXPECT_EQ(chartA->resyncs(), 1) << "the linked chart follows the share found";

    QTest::keyClick(listA, Qt::Key_F1);
    EXPECT_EQ(frame->lastHelpText(), QStringLiteral("Help topic 0x2012E: List window"));
}

TEST_F(Frame, ALetterWithNoWindowOpenDoesNothing)
{
    bool asked = false;
    SetFindShareDialog([&](const std::string&, uint32_t, bool, ShareList*) -> std::optional<int32_t> {
        asked = true;
        return 0;
    });
    QTest::keyClick(frame->mdiArea(), Qt::Key_K);
    DeliverPostedMessages();
    EXPECT_FALSE(asked);
    EXPECT_TRUE(frame->commands().isEmpty());
    QTest::keyClick(frame->mdiArea(), Qt::Key_BracketRight);
    DeliverPostedMessages();
    EXPECT_EQ(frame->commands(), QList<uint32_t>{20618});
}

TEST_F(Frame, CloseAndViewRequestsWaitWhileBusyAndBeepWhileModal)
{
    ModalCount = 1;
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(frame->beeps(), 1);
    ModalCount = 0;

    BusyFlag = 1;
    EXPECT_EQ(frame->ShowViewKind(kViewDailyChart, a->number), nullptr);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 0);
    // Still busy: the close comes back and waits again.
    DeliverPostedMessages();
    EXPECT_TRUE(frame->isVisible());
    ASSERT_EQ(frame->mdiArea()->subWindowList().size(), 0);

    BusyFlag = 0;
    DeliverPostedMessages();
    ASSERT_EQ(frame->mdiArea()->subWindowList().size(), 1);
    auto* view = dynamic_cast<CViewBase*>(frame->mdiArea()->subWindowList()[0]->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->kind, kViewDailyChart);
    EXPECT_EQ(view->list, a);
    EXPECT_FALSE(frame->isVisible()) << "the close happened by itself";
}

TEST_F(Frame, ProgressTextAndTheFrameTimer)
{
    frame->ShowProgress(QStringLiteral("Sorting shares"), 7, true);
    EXPECT_EQ(frame->statusBarEx()->PaneText(0), QStringLiteral("Sorting"));
    frame->ShowProgress(QString(), 0, false);
    EXPECT_EQ(frame->statusBarEx()->PaneText(0), QStringLiteral("Ready"));

    MainFrameTimerCallback(0, 25000);
    DeliverPostedMessages();
    EXPECT_EQ(frame->commands(), QList<uint32_t>{25000});
}

TEST_F(Frame, ViewsKeepOneCtrlTimerAndTheFrameKnowsTheActiveView)
{
    CViewBaseWnd* listA = Open(kViewList, a);
    CViewBaseWnd* chartA = Open(kViewDailyChart, a);
    Activate(listA);
    EXPECT_EQ(GetActiveChildView(*frame), listA);
    QTest::keyPress(listA, Qt::Key_Control);
    EXPECT_TRUE(listA->ctrlTimerRunning());
    QTest::keyRelease(listA, Qt::Key_Control);
    EXPECT_FALSE(listA->ctrlTimerRunning());
    QTest::keyPress(listA, Qt::Key_Control);
    QTest::keyClick(listA, Qt::Key_Space);
    EXPECT_FALSE(listA->ctrlTimerRunning()) << "another key stops it";
    QTest::keyPress(chartA, Qt::Key_Control);
    EXPECT_FALSE(chartA->ctrlTimerRunning()) << "charts keep their own keys";
    QTest::keyRelease(chartA, Qt::Key_Control);

    // The current share's texts go to panes 1 and 2.
    SetPaneTextSource(PaneTextSource{[](ShareList*, int32_t code) { return code == 5 ? std::string("Main") : "Oil"; },
                                     nullptr});
    ShowDetailStatusPanes(a, *frame->statusBarEx(), 2, false);
    EXPECT_EQ(frame->statusBarEx()->PaneText(1), QStringLiteral("Oil"));
    EXPECT_EQ(frame->statusBarEx()->PaneText(2), QStringLiteral("Main, Oil"));
    SetPaneTextSource({});
}

TEST_F(Frame, CommandsReachTheActiveViewFirstAndTheInfoCentreItemFollowsTheBrowser)
{
    CViewBaseWnd* listA = Open(kViewList, a);
    Activate(listA);
    frame->OnCommand(ID_REFRESH);
    EXPECT_EQ(listA->refreshes(), 1);
    frame->OnCommand(26119);
    EXPECT_EQ(frame->commands(), QList<uint32_t>{26119}) << "not a view's command";

    frame->CheckBrowserVersion(std::string("11.0"), true);
    EXPECT_TRUE(frame->MenuTitles().contains(QStringLiteral("&InfoCentre")));
    frame->CheckBrowserVersion(std::string("3.0"), true);
    EXPECT_FALSE(frame->MenuTitles().contains(QStringLiteral("&InfoCentre")));
    frame->CheckBrowserVersion(std::string("11.0"), false);
    EXPECT_FALSE(frame->MenuTitles().contains(QStringLiteral("&InfoCentre")));
}

TEST_F(Frame, BarsAreLaidOutUnlessTheToolbarsAreLocked)
{
    EXPECT_FALSE(frame->barsNotYetDocked());
    SetToolbarsLockedQuery([] { return true; });
    EXPECT_FALSE(frame->RecalcBars(false));
    EXPECT_TRUE(frame->RecalcBars(true));
    SetToolbarsLockedQuery(nullptr);
    EXPECT_TRUE(frame->RecalcBars(false));
}

TEST(RecolourBitmap, ReplacesOneColourOrThatOfTheTopLeftPixel)
{
    QImage image(4, 2, QImage::Format_ARGB32);
    image.fill(qRgb(192, 192, 192));
    image.setPixel(1, 1, qRgb(0, 0, 0));
    RecolourBitmap(image, kTopLeftColour, qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(3, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 0));
    RecolourBitmap(image, qRgb(0, 0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
}

TEST_F(Frame, RendersWithChildWindowsAndStatusBar)
{
    ASSERT_TRUE(test::FontsAvailable()) << "no font: install fonts-dejavu-core and fontconfig";
    WindowNumberingOption = 1;
    Open(kViewList, a);
    Open(kViewDailyChart, a);
    Open(kViewPortfolio, b);
    CViewBaseWnd* details = Open(kViewDetails, b);
    frame->mdiArea()->tileSubWindows();
    Activate(details);
    frame->statusBarEx()->SetPaneText(1, QStringLiteral("Shell plc"));
    frame->statusBarEx()->SetPaneText(2, QStringLiteral("Oil & Gas"));
    frame->statusBarEx()->SetPaneText(3, QStringLiteral("Close 2,345.5p"));
    EXPECT_EQ(details->Title(), QStringLiteral("02 List: All (Linked)"));
    QImage image = test::RenderWidget(*frame);
    EXPECT_EQ(image.size(), frame->size());
    test::SaveRender(image, QStringLiteral("main-frame"));
    WindowNumberingOption = 0;
}

} // namespace
