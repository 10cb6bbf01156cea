// The weekly dealing statistics dialog and its graph.
#include "lists/ui/DealingsStatsDlg.h"

#include "core/DateText.h"
#include "core/FormatNumber.h"
#include "lists/HoldList.h"
#include "platform/qt/QtText.h"
#include "shell/ui/DialogHelp.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>

namespace qv {
namespace {

constexpr uint32_t kStatsHelpTopic = 83658;
const QColor kSalesColour(255, 64, 64);
const QColor kPurchasesColour(64, 64, 255);
const QColor kBandA(242, 242, 255);
const QColor kBandB(230, 230, 255);
constexpr int kMinZoomWeeks = 10;

template <typename T>
T* Named(T* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

QString AxisLabel(double value, bool numbers, double step)
{
    if (numbers) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return QString::fromLatin1(text);
    }
    return FromCp1252(FormatMoney(value, step < 1, false) + "m");
}

} // namespace

CDealingsGraph::CDealingsGraph(const WeeklyTables& tables, QWidget* parent) : QWidget(parent), tables_(tables)
{
    setMinimumSize(460, 260);
    showWholeSpan();
}

void CDealingsGraph::showWholeSpan()
{
    request_.first = tables_.first;
    request_.last = tables_.last;
    update();
}

void CDealingsGraph::setRequest(const WeeklySeriesRequest& request)
{
    request_ = request;
    update();
}

QRect CDealingsGraph::plotRect() const { return rect().adjusted(64, 12, -16, -34); }

int CDealingsGraph::weekAt(int x) const
{
    const QRect plot = plotRect();
    const int clamped = std::clamp(x, plot.left(), plot.right());
    return request_.first + (clamped - plot.left()) * (request_.last - request_.first) / std::max(1, plot.width());
}

void CDealingsGraph::paintEvent(QPaintEvent*)
{
    QPixmap picture(size());
    picture.fill(Qt::white);
    {
        QPainter p(&picture);
        draw(p);
    }
    QPainter window(this);
    window.drawPixmap(0, 0, picture);
}

void CDealingsGraph::draw(QPainter& p)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    p.setFont(font);
    const QRect plot = plotRect();
    const int weeks = request_.last - request_.first + 1;
    const WeeklySeries series = BuildWeeklySeries(tables_, request_);
    const WeeklyScale scale = ScaleWeeklySeries(series);
    if ((!request_.directors && !request_.majorHolders) || weeks < 2 || !tables_.hasData() || !scale.valid) {
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("No data to graph"));
        return;
    }
    const double top = scale.top();
    const double lineHeight = double(plot.height()) / scale.lines;
    for (int i = 0; i < scale.lines; ++i) {
        const int y1 = plot.bottom() - int(std::lround(lineHeight * (i + 1)));
        const int y0 = plot.bottom() - int(std::lround(lineHeight * i));
        p.fillRect(QRect(plot.left(), y1, plot.width(), y0 - y1), i % 2 ? kBandB : kBandA);
    }
    p.setPen(Qt::black);
    for (int i = 0; i <= scale.lines; ++i) {
        const int y = plot.bottom() - int(std::lround(lineHeight * i));
        p.drawText(QRect(0, y - 8, plot.left() - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                   AxisLabel(scale.step * i, request_.numbers, scale.step));
    }
    p.drawRect(plot);

    // The end dates, and a tick with the two-digit year at each change of year between them.
    const auto weekEnding = [&](int row) { return PackedDate(tables_.directors[size_t(row)].weekEnding); };
    const double xStep = double(plot.width()) / (weeks - 1);
    const QString firstText = FromCp1252(FormatDate(weekEnding(request_.first)));
    const QString lastText = FromCp1252(FormatDate(weekEnding(request_.last)));
    const QFontMetrics metrics(font);
    const int firstRight = plot.left() + metrics.horizontalAdvance(firstText) + 4;
    const int lastLeft = plot.right() - metrics.horizontalAdvance(lastText) - 4;
    p.drawText(plot.left(), plot.bottom() + 16, firstText);
    p.drawText(lastLeft + 4, plot.bottom() + 16, lastText);
    for (int i = 1; i < weeks; ++i) {
        const PackedDate date = weekEnding(request_.first + i);
        if (YearField(date) == YearField(weekEnding(request_.first + i - 1)))
            continue;
        const int x = plot.left() + int(std::lround(i * xStep));
        p.drawLine(x, plot.bottom(), x, plot.bottom() + 4);
        char year[8];
        std::snprintf(year, sizeof year, "%02d", TwoDigitYear(date));
        const int w = metrics.horizontalAdvance(QString::fromLatin1(year));
        if (x - w / 2 > firstRight && x + w / 2 < lastLeft)
            p.drawText(x - w / 2, plot.bottom() + 16, QString::fromLatin1(year));
    }

    auto drawSeries = [&](const std::vector<double>& values, const QColor& colour) {
        p.setPen(QPen(colour, 2));
        QPolygon line;
        for (int i = 0; i < weeks; ++i) {
            const double v = values[size_t(i + kSeriesLead)];
            if (v < 0) {
                if (line.size() > 1)
                    p.drawPolyline(line);
                line.clear();
                continue;
            }
            line << QPoint(plot.left() + int(std::lround(i * xStep)),
                           plot.bottom() - int(std::lround(v * plot.height() / top)));
        }
        if (line.size() > 1)
            p.drawPolyline(line);
    };
    drawSeries(series.sales, kSalesColour);
    drawSeries(series.purchases, kPurchasesColour);

    const QRect legend(plot.left() + 6, plot.top() + 6, 80, 34);
    p.fillRect(legend, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(legend);
    p.setPen(kSalesColour);
    p.drawText(legend.adjusted(6, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Sales"));
    p.setPen(kPurchasesColour);
    p.drawText(legend.adjusted(6, 0, 0, -2), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Purchases"));

    if (dragAnchor_ >= 0) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(QRect(QPoint(std::min(dragAnchor_, dragAt_), plot.top()),
                         QPoint(std::max(dragAnchor_, dragAt_), plot.bottom())));
    }
}

void CDealingsGraph::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !plotRect().contains(at))
        return;
    dragAnchor_ = dragAt_ = at.x();
}

void CDealingsGraph::mouseMoveEvent(QMouseEvent* event)
{
    if (dragAnchor_ < 0)
        return;
    const QRect plot = plotRect();
    dragAt_ = std::clamp(int(event->position().x()), plot.left(), plot.right());
    update();
}

void CDealingsGraph::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragAnchor_ < 0)
        return;
    const QRect plot = plotRect();
    const int end = std::clamp(int(event->position().x()), plot.left(), plot.right());
    int first = request_.first, last = request_.last;
    if (ZoomWeekRange(weekAt(dragAnchor_), weekAt(end), first, last)) {
        request_.first = first;
        request_.last = last;
    }
    dragAnchor_ = dragAt_ = -1;
    update();
}

void CDealingsGraph::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (plotRect().contains(event->position().toPoint()))
        showWholeSpan();
}

CDealingsStatsDlg::CDealingsStatsDlg(uint8_t filter, const WeeklyTables& tables, QWidget* parent)
    : QDialog(parent), tables_(tables)
{
    setWindowTitle(QStringLiteral("Directors' Dealings and Major Holdings Stats"));
    auto* layout = new QVBoxLayout(this);
    caption_ = new QLabel(this);
    QFont bold = caption_->font();
    bold.setBold(true);
    caption_->setFont(bold);
    caption_->setAlignment(Qt::AlignCenter);
    layout->addWidget(caption_);
    graph_ = new CDealingsGraph(tables, this);
    layout->addWidget(graph_, 1);
    table_ = new QTreeWidget(this);
    table_->setRootIsDecorated(false);
    table_->setHeaderLabels({QStringLiteral("Week ending"), QStringLiteral("No. sales"),
                             QStringLiteral("Value of sales"), QStringLiteral("No. purchases"),
                             QStringLiteral("Value of purchases")});
    table_->hide();
    layout->addWidget(table_, 1);

    auto* controls = new QHBoxLayout;
    directors_ = new QCheckBox(QStringLiteral("Directors"), this);
    majorHolders_ = new QCheckBox(QStringLiteral("Major Holdings"), this);
    directors_->setChecked(filter & kHoldDirectorDeals);
    majorHolders_->setChecked(filter & kHoldMajorDeals);
    values_ = new QRadioButton(QStringLiteral("Value of deals"), this);
    numbers_ = new QRadioButton(QStringLiteral("Number of deals"), this);
    values_->setChecked(true);
    smooth_ = new QCheckBox(QStringLiteral("Smooth data (8 week moving average)"), this);
    switch_ = Named(new QPushButton(QStringLiteral("List >>"), this), 18121);
    for (QWidget* w : std::initializer_list<QWidget*>{directors_, majorHolders_, values_, numbers_, smooth_, switch_})
        controls->addWidget(w);
    layout->addLayout(controls);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    QPushButton* help = Named(buttons->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole), 18122);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    InstallDialogHelp(*this, kStatsHelpTopic, help);

    for (QCheckBox* box : {directors_, majorHolders_, smooth_})
        connect(box, &QCheckBox::toggled, this, [this] { readControls(); });
    connect(values_, &QRadioButton::toggled, this, [this] { readControls(); });
    connect(switch_, &QPushButton::clicked, this, [this] { toggleTable(); });
    resize(640, 420);
    readControls();
}

void CDealingsStatsDlg::readControls()
{
    WeeklySeriesRequest request = graph_->request();
    request.directors = directors_->isChecked();
    request.majorHolders = majorHolders_->isChecked();
    request.numbers = numbers_->isChecked();
    request.smooth = smooth_->isChecked();
    graph_->setRequest(request);
    caption_->setText(QString::fromLatin1(WeeklyStatsCaption(request.directors, request.majorHolders).c_str()));
    fillTable();
}

void CDealingsStatsDlg::fillTable()
{
    table_->clear();
    for (const std::string& line : WeeklyTableLines(tables_, directors_->isChecked(), majorHolders_->isChecked())) {
        auto* item = new QTreeWidgetItem(FromCp1252(line).split(QLatin1Char('\t')));
        for (int c = 1; c < 5; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        table_->addTopLevelItem(item);
    }
}

void CDealingsStatsDlg::toggleTable()
{
    const bool showTable = table_->isHidden();
    table_->setVisible(showTable);
    graph_->setVisible(!showTable);
    switch_->setText(showTable ? QStringLiteral("Graph >>") : QStringLiteral("List >>"));
    for (QWidget* w : std::initializer_list<QWidget*>{values_, numbers_, smooth_})
        w->setEnabled(!showTable);
    if (showTable) {
        // Tab stops at 20, 32, 52, 75 and 95 per cent of the width.
        const int width = table_->viewport()->width();
        const int stops[] = {0, 20, 32, 52, 75, 95};
        for (int c = 0; c < 5; ++c)
            table_->setColumnWidth(c, width * (stops[c + 1] - stops[c]) / 100);
    }
}

} // namespace qv
