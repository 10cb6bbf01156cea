// The list table's printed pages.
#include "lists/ui/ListPagePrinter.h"

#include "lists/ListPrinting.h"
#include "platform/qt/PrintJobName.h"
#include "platform/qt/QtText.h"
#include "shell/ui/ModalDialog.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>

namespace qv {

namespace {

// The footer's font: 12-point Arial on the device.
QFont FooterFont(QPainter& painter)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(12);
    return QFont(font, painter.device());
}

int TextHeight(QPainter& painter) { return QFontMetrics(FooterFont(painter), painter.device()).height(); }

// The table's left edge: 100 device units in from the page's left.
constexpr int kLeftOffset = 100;

QRect TableRect(const PrintPageGeometry& g, int top)
{
    return QRect(kLeftOffset, top, g.tableRight - kLeftOffset, g.tableBottom - top);
}

} // namespace

int DevicePixels(const QPainter& painter, int screenPixels)
{
    constexpr int kScreenPixelsPerInch = 96;
    const QPaintDevice* device = painter.device();
    if (!device || device->logicalDpiY() <= kScreenPixelsPerInch)
        return screenPixels;
    return screenPixels * device->logicalDpiY() / kScreenPixelsPerInch;
}

int CListPagePrinter::headingHeight(QPainter& painter) const
{
    return source_.heading.empty() ? 0 : 2 * TextHeight(painter);
}

QRect CListPagePrinter::tablePlace(QPainter& painter, QSize page) const
{
    return TableRect(ComputePrintPage(page.width(), page.height(), TextHeight(painter), source_.detailsView),
                     headingHeight(painter));
}

int CListPagePrinter::pageCount(QPainter& painter, QSize page) const
{
    if (source_.detailsView || !source_.layout)
        return 1;
    return std::max(1, source_.layout(painter, tablePlace(painter, page)));
}

void CListPagePrinter::drawPage(QPainter& painter, QSize page, int n) const
{
    const PrintPageGeometry g = ComputePrintPage(page.width(), page.height(), TextHeight(painter), source_.detailsView);
    painter.save();
    painter.setFont(FooterFont(painter));
    painter.setPen(Qt::black);
    const QString footer = QString::fromStdString(PrintFooterText(n, source_.now ? source_.now() : NowLocal()));
    const int width = painter.fontMetrics().horizontalAdvance(footer);
    painter.drawText(g.footerX - width / 2, g.footerY, footer);
    if (!source_.heading.empty())
        painter.drawText(QRect(kLeftOffset, 0, g.tableRight - kLeftOffset, TextHeight(painter)),
                         Qt::AlignLeft | Qt::AlignVCenter, FromCp1252(source_.heading));
    painter.restore();

    if (source_.drawPage) {
        const QRect table = tablePlace(painter, page);
        painter.save();
        painter.setClipRect(table);
        source_.drawPage(painter, table, n);
        painter.restore();
    }
}

bool CListPagePrinter::print(QPrinter& printer) const
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QSize page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    int last = pageCount(painter, page);
    int first = 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = std::min(last, printer.toPage());
    }
    if (source_.detailsView)
        first = last = 1;
    for (int n = first; n <= last; ++n) {
        if (n > first)
            printer.newPage();
        drawPage(painter, page, n);
    }
    painter.end();
    return true;
}

void CListPagePrinter::preview(QWidget* parent) const
{
    QPrinter printer(QPrinter::HighResolution);
    NamePrintJob(printer);
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this](QPrinter* p) { print(*p); });
    RunModalDialog(dialog);
}

} // namespace qv
