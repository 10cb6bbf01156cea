// The share details view on a demo share: made by the view-class registry for kind 3, its page with
// results and growth chart, scrolling, "Not enough data" without rows, and renders.
#include "lists/ui/ViewDetailWindow.h"

#include "core/ConfigState.h"
#include "core/RecordAccess.h"
#include "core/ShareNotes.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareListChain.h"
#include "lists/ColumnCatalogues.h"
#include "lists/DetailPage.h"
#include "lists/ui/DetailDialogs.h"
#include "lists/ui/ListDialogCommands.h"
#include "lists/ui/ListPagePrinter.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StyleButton.h"
#include "support/DatabaseFixture.h"
#include "support/PrivateRegistry.h"
#include "support/ui/Render.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QFile>
#include <QPrinter>
#include <gtest/gtest.h>
#include <cstring>
#include <functional>
#include <memory>

#include "lists/ListViewOptions.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "support/RecordingTarget.h"
#include "views/FrameState.h"

#include <QTest>

#include <unistd.h>

using namespace qv;
using namespace qv::test;

namespace {

class ViewDetailWindow : public DatabaseFixture {
protected:
    ViewDetailWindow()
    {
        static const dev::DemoDatabase demo =
            dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8});
        std::vector<uint8_t> comp = dev::WriteCompDat(dev::DemoCompFile(demo));
        Load(dev::WriteQuorvaDat(dev::DemoDbFile(demo)), &comp);
        for (const auto& r : demo.records)
            if (r.results.size() > 4 && !withResults)
                withResults = FindShareRecord(r.id);
        InstallDetailViewClass();
        InstallColumnCatalogues(); // as the program does when it registers the list views
        view.reset(dynamic_cast<CViewDetailWnd*>(CreateViewWindowForKind(kViewDetails)));
        view->setAttribute(Qt::WA_DeleteOnClose, false);
        view->list = CreateListSource(view.get(), 16, kFamilyShares, nullptr);
        view->resize(760, 900);
        MainFrameState().activeView = view.get();
    }
    ~ViewDetailWindow() override
    {
        MainFrameState().activeView = nullptr;
        view.reset();
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
    }
    void Show(uint8_t* record)
    {
        view->list->entries[0] = {record, 0};
        view->list->entries[1] = {nullptr, 0};
        view->list->current = 0;
        view->list->last = 0;
    }
    uint8_t* withResults = nullptr;
    std::unique_ptr<CViewDetailWnd> view;
};

TEST_F(ViewDetailWindow, ADemoSharesPage)
{
    ASSERT_NE(view, nullptr);
    ASSERT_NE(withResults, nullptr);
    Show(withResults);
    SaveRender(RenderWidget(*view), QStringLiteral("details-view"));
    // The page is longer than the window: keys scroll it within its range.
    view->resize(760, 300);
    RenderWidget(*view);
    ASSERT_GT(view->scrollMaximum(), 0);
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(view.get(), &end);
    EXPECT_GT(view->scrollPosition(), 0);
    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
    QApplication::sendEvent(view.get(), &home);
    EXPECT_EQ(view->scrollPosition(), 0);
    view->ScrollTo(-5);
    EXPECT_EQ(view->scrollPosition(), 0);
    SaveRender(RenderWidget(*view), QStringLiteral("details-view-short"));

    CommandUi ui{26548, false, std::nullopt, std::nullopt};
    EXPECT_TRUE(view->UpdateCommand(ui));
    EXPECT_TRUE(ui.enabled);
    EXPECT_TRUE(view->Title().endsWith(QStringLiteral("Details - List: All - All sectors - Portfolio: None selected")))
        << view->Title().toStdString();
}

// The details page prints one page, from its top whatever the scroll position, in fonts made for the
// printer; the page is rendered by the same code for a person to look at.
TEST_F(ViewDetailWindow, PrintsOnePageFromItsTop)
{
    Show(withResults);
    view->resize(760, 300);
    RenderWidget(*view);
    view->ScrollTo(3);
    CListPagePrinter pages(PrintSourceOf(*view));

    const QString path = QStringLiteral("/tmp/qv-details-print-%1.pdf").arg(::getpid());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 4);
    ASSERT_TRUE(pages.print(printer));
    EXPECT_EQ(PdfPageCount(path), 1);
    QFile::remove(path);
    EXPECT_EQ(view->scrollPosition(), 3);

    // An A4 page at 150 dots per inch: the page's heading, the share's name, stands near the top.
    QImage page = PrintedPageImage();
    QPainter painter(&page);
    EXPECT_EQ(pages.pageCount(painter, page.size()), 1);
    pages.drawPage(painter, page.size(), 1);
    painter.end();
    bool inkAtTop = false;
    for (int y = 0; y < 60 && !inkAtTop; ++y)
        for (int x = 100; x < 600 && !inkAtTop; ++x)
            inkAtTop = page.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_TRUE(inkAtTop);
    SaveRender(page, QStringLiteral("details-view-printed"));
}

TEST_F(ViewDetailWindow, WithoutRowsNotEnoughData)
{
    view->list->entries[0] = {nullptr, 0};
    const QImage image = RenderWidget(*view);
    SaveRender(image, QStringLiteral("details-view-no-rows"));
    CommandUi ui{26548, false, std::nullopt, std::nullopt};
    EXPECT_TRUE(view->UpdateCommand(ui));
    EXPECT_FALSE(ui.enabled);
}

// A double click hands the window back to the previous view kind (505) when the double-click and
// loop options are on and the page has a share; otherwise it sends nothing.
TEST_F(ViewDetailWindow, ADoubleClickLoopsBack)
{
    test::RecordingTarget frame(1);
    MainFrameTarget() = &frame;
    ListViewOptions& options = CurrentListViewOptions();
    // Restored however the test ends: a failed assertion must not leave the frame pointing at a
    // destroyed target or the options changed for the tests after it.
    struct Restore {
        ListViewOptions& options;
        ListViewOptions saved;
        ~Restore()
        {
            options = saved;
            MainFrameTarget() = nullptr;
        }
    } restore{options, options};
    struct Case {
        bool doubleClick, loop, share;
        size_t posted;
    };
    for (const Case& c : {Case{true, true, true, 1}, Case{false, true, true, 0}, Case{true, false, true, 0},
                          Case{true, true, false, 0}}) {
        options.doubleClickOpens = c.doubleClick;
        options.loopViews = c.loop;
        if (c.share)
            Show(withResults);
        else
            view->list->entries[0] = {nullptr, 0};
        frame.received.clear();
        QTest::mouseDClick(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
        DeliverPostedMessages();
        ASSERT_EQ(frame.received.size(), c.posted) << c.doubleClick << c.loop << c.share;
        if (c.posted) {
            EXPECT_EQ(frame.received[0].message, WM_COMMAND);
            EXPECT_EQ(frame.received[0].wParam, ID_PREVIOUS_VIEW);
        }
    }
}

} // namespace

// "Select items" and "Display design" open their dialogs on the stored settings: OK stores what the
// dialog was left with, Cancel changes nothing.
TEST_F(ViewDetailWindow, DesignAndItemDialogsStoreTheirSettings)
{
    Show(withResults);
    PrivateRegistry registry;
    const ConfigState saved = Config();
    const DetailSettings stored = ReadDetailSettings(Config().optionsB);
    const std::vector<int> items = DetailItemIndexes(stored.items.data());
    ASSERT_GT(items.size(), 2u);
    struct Case {
        uint32_t command;
        const char* dialog;
        std::function<void(QDialog&)> script;
    } cases[] = {
        {26224, "CSelectDetailsDlg",
         [](QDialog& d) {
             auto& dialog = static_cast<CSelectDetailsDlg&>(d);
             // Every item is offered once, under the heading the page shows it with.
             QStringList names;
             for (auto* list : d.findChildren<QListWidget*>())
                 for (int i = 0; i < list->count(); ++i)
                     names << list->item(i)->text();
             EXPECT_EQ(names.size(), kDetailItemCount);
             EXPECT_TRUE(names.contains(QStringLiteral("Volatility")));
             dialog.selectRight(0);
             dialog.moveLeft();
         }},
        {25002, "CDisplayDesignDlg",
         [](QDialog& d) {
             auto& dialog = static_cast<CDisplayDesignDlg&>(d);
             dialog.setWhiteSpacePosition(1);
             dialog.setBoxBackground(0x123456);
             dialog.setFont(QStringLiteral("Courier"), 11, false, false, false);
             // A dashed green EPS pen, two wide.
             auto* eps = d.findChild<CStyleButton*>(QStringLiteral("eps"));
             eps->SetColourAndStyle(0x1100FF00, 0x123456);
             emit eps->styleChosen();
         }},
    };
    for (const Case& c : cases) {
        for (const bool ok : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.command << (ok ? " OK" : " Cancel"));
            const OptionBlockB before = Config().optionsB;
            QString opened;
            SetModalDialogRunner([&](QDialog& dialog) {
                opened = QString::fromUtf8(dialog.metaObject()->className()).section(QStringLiteral("::"), -1);
                if (!ok)
                    return int(QDialog::Rejected);
                c.script(dialog);
                dialog.accept();
                return dialog.result();
            });
            CommandUi ui;
            ui.command = c.command;
            EXPECT_TRUE(view->UpdateCommand(ui));
            EXPECT_TRUE(ui.enabled);
            EXPECT_TRUE(view->RunCommand(c.command));
            SetModalDialogRunner(nullptr);
            EXPECT_EQ(opened.toStdString(), c.dialog);
            if (!ok) {
                EXPECT_EQ(std::memcmp(&before, &Config().optionsB, sizeof before), 0);
            }
        }
    }
    const DetailSettings after = ReadDetailSettings(Config().optionsB);
    EXPECT_EQ(DetailItemIndexes(after.items.data()), std::vector<int>(items.begin() + 1, items.end()));
    EXPECT_EQ(after.whiteSpace, 3);
    EXPECT_EQ(after.boxBack, 0x123456u);
    // The pens and the face are kept too, beside the option block.
    const DetailSettings program = ProgramDetailSettings();
    EXPECT_EQ(program.pens[1], 0x1100FF00u);
    EXPECT_EQ(program.pens[0], stored.pens[0]);
    EXPECT_EQ(program.face, "Courier");
    EXPECT_EQ(program.fontPoints, 11);
    Config() = saved;
}

TEST_F(ViewDetailWindow, TheMenuSwitchesChangeThePageAndShowTheirTicks)
{
    ASSERT_NE(withResults, nullptr);
    Show(withResults);
    PrivateRegistry registry;
    const ConfigState saved = Config();
    ASSERT_TRUE(SetShareNote(uint16_t(RecordId(withResults)), 0, 1, "Watch the dividend"));
    view->resize(760, 2400); // the whole page, results table included
    for (const uint32_t command : {25098u, 25099u, 26650u}) {
        SCOPED_TRACE(command);
        CommandUi ui{command, false, std::nullopt, std::nullopt};
        ASSERT_TRUE(view->UpdateCommand(ui));
        EXPECT_TRUE(ui.enabled);
        const bool was = ui.checked.value_or(false);
        const QImage before = RenderWidget(*view);
        EXPECT_TRUE(view->RunCommand(command));
        ASSERT_TRUE(view->UpdateCommand(ui));
        EXPECT_EQ(ui.checked.value_or(was), !was);
        EXPECT_EQ(ReadDetailSettings(Config().optionsB).showNotes, command != 26650u || !was) << "kept in the settings";
        EXPECT_NE(RenderWidget(*view), before) << "the page changes: " << command;
        EXPECT_TRUE(view->RunCommand(command));
        EXPECT_EQ(RenderWidget(*view), before) << "and comes back";
    }
    Config() = saved;
}
