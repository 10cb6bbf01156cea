// A real share list printed: the print dialog to PDF and the preview, the current row and first row
// put back; the pages laid out at the printer's resolution with every row once, in normal and in
// banded tables; and the printed pages rendered for a person to look at.
#include "lists/ui/ListDialogCommands.h"
#include "lists/ui/ListPagePrinter.h"
#include "lists/ui/ViewList.h"

#include "core/ConfigRecords.h"
#include "lists/ListOptions.h"
#include "lists/ListViewOptions.h"
#include "lists/ListRows.h"
#include "lists/ListSettings.h"
#include "shell/ui/ModalDialog.h"
#include "support/ui/Render.h"
#include "../ListFixture.h"
#include "devtools/lib/DemoDatabase.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <gtest/gtest.h>

#include <map>

#include <unistd.h>

using namespace qv;
using namespace qv::test;

namespace {

constexpr int kShares = 30;
constexpr int kPageDpi = 150;

class ListViewPrint : public ListFixture {
protected:
    void SetUp() override
    {
        std::vector<FixtureShare> shares;
        for (uint32_t i = 0; i < kShares; ++i)
            shares.push_back({uint16_t(0x4001 + i), "Share " + std::to_string(i), {11}, MakeRecordFlags(kMarketMain, kIndexFtse100)});
        LoadShares(shares);
        list = NewList(0, kShares + 4);
        list->windowSlot = -1;
        SelectColumnSetting(list, kListKindShares, 0, false, false);
        RefreshListRows(list, true, true);
        view = std::make_unique<CViewList>(1);
        view->list = list;
        view->SetFixedFontPixels(12);
    }
    void TearDown() override
    {
        SetModalDialogRunner(nullptr);
        view.reset();
        ForgetListRows();
    }
    static QImage Page() { return PrintedPageImage(); }
    // The share names the last paint wrote, with the height of their cells.
    std::vector<std::pair<std::string, int>> NamesPainted() const
    {
        std::vector<std::pair<std::string, int>> names;
        for (const PaintOp& op : view->lastOps())
            if (op.step == PaintStep::Text && op.text.starts_with("Share "))
                names.push_back({op.text, op.y1 - op.y0});
        return names;
    }
    // Every page of a table of this size: each share's name counted.
    std::map<std::string, int> PrintAll(const QRect& table, int& pages, int& cellHeight)
    {
        QImage page = Page();
        QPainter painter(&page);
        pages = view->CountPrintPages(painter, table);
        std::map<std::string, int> seen;
        for (int n = 1; n <= pages; ++n) {
            view->DrawPrintPage(painter, table, n);
            for (const auto& [name, height] : NamesPainted()) {
                ++seen[name];
                cellHeight = height;
            }
        }
        return seen;
    }

    ShareList* list = nullptr;
    std::unique_ptr<CViewList> view;
};

} // namespace

TEST_F(ListViewPrint, PrintsToPdfAndRestoresTheView)
{
    list->current = 2;
    list->firstVisible = 1;
    view->RenderImage(QSize(600, 200));
    const int screenFirst = view->grid().firstRow();

    const QString path = QStringLiteral("/tmp/qv-list-view-print-%1.pdf").arg(::getpid());
    SetModalDialogRunner([&](QDialog& d) {
        auto* dialog = qobject_cast<QPrintDialog*>(&d);
        if (!dialog)
            return int(QDialog::Rejected);
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(path);
        return int(QDialog::Accepted);
    });
    PrintListView(*view, false, nullptr);
    EXPECT_EQ(PdfPageCount(path), 1) << "thirty rows fit one page";
    EXPECT_EQ(list->current, 2);
    EXPECT_EQ(list->firstVisible, 1);
    EXPECT_EQ(view->grid().firstRow(), screenFirst) << "the screen layout is not the printer's";
    QFile::remove(path);

    // The preview closes as Cancel would in an unattended run.
    SetModalDialogRunner([](QDialog&) { return int(QDialog::Rejected); });
    PrintListView(*view, true, nullptr);
    EXPECT_EQ(list->current, 2);
}

TEST_F(ListViewPrint, PagesAtThePrinterResolutionHoldEveryRowOnce)
{
    view->RenderImage(QSize(900, 700));
    const int screenCell = NamesPainted().at(0).second;

    // A table rectangle short enough for several pages.
    int pages = 0;
    int printedCell = 0;
    const auto seen = PrintAll(QRect(100, 0, 1000, 400), pages, printedCell);
    EXPECT_GE(pages, 3);
    EXPECT_EQ(int(seen.size()), kShares);
    for (const auto& [name, count] : seen)
        EXPECT_EQ(count, 1) << name;
    // The fonts and white space were made again for 150 dots per inch: rows are taller in proportion.
    EXPECT_NEAR(printedCell, screenCell * kPageDpi / 96.0, 3.0);
}

TEST_F(ListViewPrint, BandedPagesHoldEveryRowOnce)
{
    TableStyle* style = SettingStyle(kListKindShares, 0, 0);
    ASSERT_NE(style, nullptr);
    const uint8_t wrap = style->data()[TableStyle::kWrapColumns];
    style->data()[TableStyle::kWrapColumns] = 1;
    int pages = 0;
    int cell = 0;
    const auto seen = PrintAll(QRect(100, 0, 1000, 260), pages, cell);
    QImage page = Page();
    QPainter painter(&page);
    view->DrawPrintPage(painter, QRect(100, 0, 1000, 260), 1);
    painter.end();
    SaveRender(page, QStringLiteral("list-printed-banded-page1"));
    style->data()[TableStyle::kWrapColumns] = wrap;
    EXPECT_GE(pages, 2);
    EXPECT_EQ(int(seen.size()), kShares);
    for (const auto& [name, count] : seen)
        EXPECT_EQ(count, 1) << name;
}

TEST_F(ListViewPrint, PrintedPagesRender)
{
    ListPrintSource source = PrintSourceOf(*view);
    source.now = [] {
        LocalDateTime t;
        t.year = 2004;
        t.month = 3;
        t.day = 2;
        t.hour = 9;
        t.minute = 5;
        return t;
    };
    CListPagePrinter printer(source);
    QImage page = Page();
    QPainter painter(&page);
    // Thirty rows fit one page down; the columns wider than the page go on a second page across.
    ASSERT_EQ(printer.pageCount(painter, page.size()), 2);
    for (int n = 1; n <= 2; ++n) {
        page.fill(Qt::white);
        printer.drawPage(painter, page.size(), n);
        SaveRender(page, QStringLiteral("list-printed-page%1").arg(n));
    }
}

namespace {

class DemoListPrint : public ListFixture {
protected:
    void SetUp() override
    {
        static const dev::DemoDatabase demo =
            dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8});
        std::vector<uint8_t> comp = dev::WriteCompDat(dev::DemoCompFile(demo));
        Load(dev::WriteQuorvaDat(dev::DemoDbFile(demo)), &comp);
    }
    void TearDown() override { ForgetListRows(); }
};

} // namespace

// The demo's share list printed to a PDF kept beside the renders (rasterise it to look at the
// pages), and its pages drawn by the same code to PNG.
TEST_F(DemoListPrint, TheDemoListPrintsOnPages)
{
    ShareList* list = NewList(0, 400);
    list->windowSlot = -1;
    SelectColumnSetting(list, kListKindShares, 0, false, false);
    RefreshListRows(list, true, true);
    ASSERT_GT(ShareListCount(list), 60);
    CViewList view(1);
    view.list = list;

    const QString path = QDir(QStringLiteral(QV_RENDER_DIR)).filePath(QStringLiteral("list-printed.pdf"));
    QDir().mkpath(QStringLiteral(QV_RENDER_DIR));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    CListPagePrinter pages(PrintSourceOf(view));
    ASSERT_TRUE(pages.print(printer));
    EXPECT_GE(PdfPageCount(path), 2);

    QImage page = PrintedPageImage();
    QPainter painter(&page);
    const int count = pages.pageCount(painter, page.size());
    EXPECT_GE(count, 2);
    for (int n = 1; n <= std::min(count, 2); ++n) {
        page.fill(Qt::white);
        pages.drawPage(painter, page.size(), n);
        SaveRender(page, QStringLiteral("list-printed-demo-page%1").arg(n));
    }
}

namespace {

// A data-mining view with a first page of its own, which it marks.
class OwnPageView : public CViewList {
public:
    OwnPageView() : CViewBase(6), CViewList(6) {}
    int ownPages = 0;

protected:
    bool HasOwnPrintPage() const override { return true; }
    void DrawOwnPrintPage(QPainter&, const QRect&) override { ++ownPages; }
};

} // namespace

TEST_F(ListViewPrint, DataMiningOwnFirstPageAndRowsByTheOptions)
{
    OwnPageView mining;
    mining.list = list;
    mining.SetFixedFontPixels(12);
    const QRect table(100, 0, 1000, 400);
    QImage page = Page();
    QPainter painter(&page);
    const int rowPages = view->CountPrintPages(painter, table);
    ListViewOptions& options = CurrentListViewOptions();
    const ListViewOptions saved = options;

    EXPECT_EQ(mining.CountPrintPages(painter, table), rowPages) << "the own page is off by default";
    options.dataMiningOwnPrintPage = true;
    ASSERT_EQ(mining.CountPrintPages(painter, table), rowPages + 1);
    mining.DrawPrintPage(painter, table, 1);
    EXPECT_EQ(mining.ownPages, 1);
    // Page 2 holds the first rows.
    view->DrawPrintPage(painter, table, 1);
    std::vector<std::string> first;
    for (const PaintOp& op : view->lastOps())
        if (op.step == PaintStep::Text)
            first.push_back(op.text);
    mining.DrawPrintPage(painter, table, 2);
    std::vector<std::string> second;
    for (const PaintOp& op : mining.lastOps())
        if (op.step == PaintStep::Text)
            second.push_back(op.text);
    EXPECT_EQ(second, first);
    EXPECT_EQ(mining.ownPages, 1);

    options.dataMiningPrintRows = false;
    EXPECT_EQ(mining.CountPrintPages(painter, table), 1);
    options = saved;
}
