// Printed list pages: the rows split over pages of a PDF, the details view on one page, and the pages
// drawn to images with the footer of an injected clock.
#include "lists/ui/ListPagePrinter.h"

#include "support/ui/Render.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace qv;
using namespace qv::test;

namespace {

// A table of `rows` rows that fills its pages by the device's font height.
ListPrintSource Source(int rows, std::vector<std::pair<int, int>>* drawn)
{
    ListPrintSource s;
    const auto lineHeight = [](QPainter& p) { return QFontMetrics(p.font(), p.device()).height() + 4; };
    const auto perPage = [lineHeight](QPainter& p, const QRect& table) { return std::max(1, table.height() / lineHeight(p) - 1); };
    s.layout = [rows, perPage](QPainter& p, const QRect& table) { return (rows + perPage(p, table) - 1) / perPage(p, table); };
    s.drawPage = [rows, drawn, perPage, lineHeight](QPainter& p, const QRect& table, int page) {
        const int n = perPage(p, table);
        const int first = n * (page - 1);
        const int count = std::clamp(rows - first, 0, n);
        if (drawn)
            drawn->push_back({first, count});
        const int h = lineHeight(p);
        p.drawText(table.left(), h, QStringLiteral("EPIC      Price"));
        for (int i = 0; i < count; ++i)
            p.drawText(table.left(), h * (i + 2), QStringLiteral("SHR%1     %2.5").arg(first + i).arg(100 + first + i));
    };
    s.now = [] {
        LocalDateTime t;
        t.year = 2004;
        t.month = 3;
        t.day = 2;
        t.hour = 9;
        t.minute = 5;
        return t;
    };
    return s;
}

} // namespace

TEST(ListPagePrinter, RowsFlowOverPdfPagesAndDetailsPrintOne)
{
    const QString path = QStringLiteral("/tmp/qv-list-print-%1.pdf").arg(::getpid());
    std::vector<std::pair<int, int>> drawn;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    CListPagePrinter pages(Source(300, &drawn));
    ASSERT_TRUE(pages.print(printer));
    ASSERT_GE(drawn.size(), 2u);
    EXPECT_EQ(PdfPageCount(path), int(drawn.size()));
    // Every row once, in order, page after page.
    int next = 0;
    for (const auto& [first, count] : drawn) {
        EXPECT_EQ(first, next);
        next += count;
    }
    EXPECT_EQ(next, 300);

    ListPrintSource details = Source(300, nullptr);
    details.detailsView = true;
    QPrinter one(QPrinter::HighResolution);
    one.setOutputFormat(QPrinter::PdfFormat);
    one.setOutputFileName(path);
    // Whatever the range asks.
    one.setPrintRange(QPrinter::PageRange);
    one.setFromTo(2, 3);
    ASSERT_TRUE(CListPagePrinter(details).print(one));
    EXPECT_EQ(PdfPageCount(path), 1);
    QFile::remove(path);
}

TEST(ListPagePrinter, PagesRenderToImages)
{
    CListPagePrinter pages(Source(120, nullptr));
    const QSize size(850, 1100);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const int count = pages.pageCount(painter, size);
    painter.end();
    EXPECT_GE(count, 2);
    for (int n = 1; n <= std::min(count, 2); ++n) {
        QImage page(size, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter p(&page);
        pages.drawPage(p, size, n);
        p.end();
        // The footer sits in the band below the table.
        bool inked = false;
        for (int y = size.height() - 160; y < size.height() && !inked; ++y)
            for (int x = 300; x < 550 && !inked; ++x)
                inked = page.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_TRUE(inked) << n;
        SaveRender(page, QStringLiteral("list-print-page%1").arg(n));
    }
}

// The list's title and date head every page, above the table (which starts below them), not only the
// first.
TEST(ListPagePrinter, EveryPageCarriesTheHeadingAboveTheTable)
{
    std::vector<int> tops;
    ListPrintSource source = Source(200, nullptr);
    const auto draw = source.drawPage;
    source.drawPage = [&](QPainter& p, const QRect& table, int page) {
        tops.push_back(table.top());
        draw(p, table, page);
    };
    source.heading = "List: All  (Table 1)  31/12/26";
    CListPagePrinter pages(source);
    QImage image(1240, 1754, QImage::Format_RGB32);
    image.setDotsPerMeterX(5906);
    image.setDotsPerMeterY(5906);
    QPainter painter(&image);
    const int count = pages.pageCount(painter, image.size());
    ASSERT_GE(count, 2);
    for (int page = 1; page <= count; ++page) {
        image.fill(Qt::white);
        pages.drawPage(painter, image.size(), page);
        bool inked = false;
        for (int y = 0; y < tops.back() && !inked; ++y)
            for (int x = 0; x < image.width() && !inked; ++x)
                inked = (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_TRUE(inked) << "page " << page << " has its heading";
        EXPECT_GT(tops.back(), 0) << "page " << page;
        if (page == 2)
            SaveRender(image, "list-print-page-2-heading");
    }
    painter.end();
}
