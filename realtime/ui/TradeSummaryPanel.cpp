// The summary of trades' table.
#include "realtime/ui/TradeSummaryPanel.h"

#include "platform/qt/QtText.h"

#include <QFontMetrics>
#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>
#include <array>

namespace qv {
namespace {

constexpr int kEdge = 2;          // the sunken edge
constexpr int kPad = 6;           // between the edge and the texts inside it
constexpr int kColumnGap = 14;    // between a column and the next
constexpr int kPercentGap = 3;    // between a figure and its percentage
constexpr QSize kMessageArea(260, 80);

} // namespace

TradeSummaryPanel::TradeSummaryPanel(QWidget* parent) : QWidget(parent) {}

void TradeSummaryPanel::SetTable(const TradeSummaryTable& table)
{
    texts_.clear();
    message_ = !table.message.empty();
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    // The percentages: Arial at the dialog font's height less the screen's pixels per point, so a
    // little smaller than the figures.
    percentFont_ = QFont(QStringLiteral("Arial"));
    percentFont_.setPixelSize(std::max(QFontInfo(font()).pixelSize() - std::max(logicalDpiY() / 72, 1), 6));
    const QFontMetrics small(percentFont_);

    if (message_) {
        data_ = QRect(QPoint(0, 0), kMessageArea);
        const QString message = FromCp1252(table.message);
        const QRect box(QPoint(0, 0), QSize(metrics.horizontalAdvance(message), line));
        data_.setWidth(std::max(data_.width(), box.width() + 2 * (kEdge + kPad)));
        texts_.push_back({message, box.translated(data_.center() - box.center()), Qt::AlignCenter, false});
        size_ = data_.size();
        updateGeometry();
        update();
        return;
    }

    // Column widths: the label column holds the widest row name; each figure column the wider of
    // its heading and its widest figure, then room for its widest percentage.
    int labelWidth = 0;
    for (const char* row : kTradeSummaryRows)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(FromCp1252(row)));
    std::array<int, 3> figureWidth{}, percentWidth{};
    for (size_t c = 0; c < 3; ++c) {
        figureWidth[c] = metrics.horizontalAdvance(FromCp1252(table.headings[c]));
        for (size_t r = 0; r < 4; ++r) {
            figureWidth[c] = std::max(figureWidth[c], metrics.horizontalAdvance(FromCp1252(table.cells[r][c])));
            if (!table.percents[r][c].empty())
                percentWidth[c] = std::max(percentWidth[c],
                                           kPercentGap + small.horizontalAdvance(FromCp1252(table.percents[r][c])));
        }
    }

    const int inner = kEdge + kPad;
    const int dataTop = line + kPad;
    int x = inner + labelWidth;
    std::array<int, 3> figureRight{};
    for (size_t c = 0; c < 3; ++c) {
        x += kColumnGap + figureWidth[c];
        figureRight[c] = x;
        x += percentWidth[c];
    }
    data_ = QRect(0, dataTop, x + inner, 2 * inner + 4 * line);

    for (size_t c = 0; c < 3; ++c)
        texts_.push_back({FromCp1252(table.headings[c]), QRect(figureRight[c] - figureWidth[c], 0, figureWidth[c], line),
                          Qt::AlignRight | Qt::AlignVCenter, false});
    for (size_t r = 0; r < 4; ++r) {
        const int top = dataTop + inner + int(r) * line;
        texts_.push_back({FromCp1252(kTradeSummaryRows[r]), QRect(inner, top, labelWidth, line),
                          Qt::AlignLeft | Qt::AlignVCenter, false});
        for (size_t c = 0; c < 3; ++c) {
            texts_.push_back({FromCp1252(table.cells[r][c]), QRect(figureRight[c] - figureWidth[c], top, figureWidth[c], line),
                              Qt::AlignRight | Qt::AlignVCenter, false});
            if (table.percents[r][c].empty())
                continue;
            const QString percent = FromCp1252(table.percents[r][c]);
            texts_.push_back({percent, QRect(figureRight[c] + kPercentGap, top, small.horizontalAdvance(percent), line),
                              Qt::AlignLeft | Qt::AlignVCenter, true});
        }
    }
    size_ = QSize(data_.right() + 1, data_.bottom() + 1);
    updateGeometry();
    update();
}

void TradeSummaryPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!message_) {
        painter.fillRect(data_, palette().color(QPalette::Base));
        qDrawShadePanel(&painter, data_, palette(), true, kEdge);
    }
    for (const PlacedText& t : texts_) {
        painter.setFont(t.percent ? percentFont_ : font());
        painter.setPen(palette().color(!message_ && data_.contains(t.box) ? QPalette::Text : QPalette::WindowText));
        painter.drawText(t.box, int(t.align), t.text);
    }
}

} // namespace qv
