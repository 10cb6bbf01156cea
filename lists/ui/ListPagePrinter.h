// Printing a list table page by page: the footer font, the page geometry and the footer line, on a
// printer (or PDF) and on an image for a person to look at. The view hands in its own page code:
// how many pages the table fills in the page's table rectangle and the drawing of each.
#pragma once

#include "platform/Clock.h"

#include <QSize>

#include <functional>

class QPainter;
class QPrinter;
class QRect;
class QWidget;

namespace qv {

struct ListPrintSource {
    bool detailsView = false;      // one page, whatever the range asks
    // Lays the table out for the painter's device in the table rectangle; the number of pages.
    std::function<int(QPainter& painter, const QRect& table)> layout;
    // Draws page n (from 1) into the table rectangle, laid out as `layout` does.
    std::function<void(QPainter& painter, const QRect& table, int page)> drawPage;
    // The heading of every page (the list's title and its date, Windows-1252); none when empty. The
    // table starts two footer lines below it.
    std::string heading;
    // The clock of the footer (tests inject one).
    std::function<LocalDateTime()> now = NowLocal;
};

// Screen pixels of a view's layout as units of the painter's device: scaled to a printer's
// resolution, the same on a screen-resolution device.
int DevicePixels(const QPainter& painter, int screenPixels);

class CListPagePrinter {
public:
    explicit CListPagePrinter(ListPrintSource source) : source_(std::move(source)) {}

    // How many pages the table fills on a page of this size.
    int pageCount(QPainter& painter, QSize page) const;
    // Draws page n (from 1) on a page of this size: the heading, the table and the footer.
    void drawPage(QPainter& painter, QSize page, int n) const;
    // Every page in the printer's range; false when the printer cannot be started.
    bool print(QPrinter& printer) const;
    // Print preview (26117): a preview dialog through the program's modal runner.
    void preview(QWidget* parent) const;

private:
    int headingHeight(QPainter& painter) const;
    QRect tablePlace(QPainter& painter, QSize page) const;

    ListPrintSource source_;
};

} // namespace qv
