// Printing a list table page by page: the footer font, the page geometry, the rows of each page and
// the footer line, on a printer (or PDF) and on an image for a person to look at. The list view hands
// in what it draws: its row count, its row height on the page and the code that draws rows.
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
    int rows = 0;
    bool detailsView = false;      // one page, whatever the range asks
    // The row height of the table on the page, for the device's resolution; or, when given, the
    // rows that fit the table's rectangle (headings left out).
    std::function<int(QPainter& painter)> rowHeight;
    std::function<int(const QRect& table)> rowsPerPage;
    // Draws the headings and rows [first, first + count) into the table rectangle.
    std::function<void(QPainter& painter, const QRect& table, int first, int count)> drawRows;
    // The clock of the footer (tests inject one).
    std::function<LocalDateTime()> now = NowLocal;
};

class CListPagePrinter {
public:
    explicit CListPagePrinter(ListPrintSource source) : source_(std::move(source)) {}

    // How many pages the rows fill on a page of this size.
    int pageCount(QPainter& painter, QSize page) const;
    // Draws page n (from 1) on a page of this size: the rows and the footer.
    void drawPage(QPainter& painter, QSize page, int n) const;
    // Every page in the printer's range; false when the printer cannot be started.
    bool print(QPrinter& printer) const;
    // Print preview (26117): a preview dialog through the program's modal runner.
    void preview(QWidget* parent) const;

private:
    int rowsPerPage(QPainter& painter, QSize page) const;

    ListPrintSource source_;
};

} // namespace qv
