// The sector analysis dialog: its controls, the table, the pie and its legend, and printing.
#include "portfolio/ui/PortSummary.h"

#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "lists/ListRows.h"
#include "platform/qt/QtText.h"
#include "portfolio/ui/SectorShares.h"
#include "portfolio/ui/CgtDisplays.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/ColourSelectorDlg.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ListCtrlEx.h"
#include "shell/ui/ModalDialog.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

constexpr uint32_t kHelpTopic = 0x20000 + 664;
constexpr const char* kChartFace = "Arial";

QColor ColourOf(uint32_t c) { return QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)); }

// The chart area (the list control 4114's place in chart mode).
class SectorChartArea : public QWidget {
public:
    explicit SectorChartArea(CPortSummary& dialog) : QWidget(&dialog), dialog_(dialog)
    {
        setObjectName(QStringLiteral("4114"));
        setMinimumSize(560, 360);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        // Drawn off-screen and copied, so that the window never shows a half-drawn chart.
        QPixmap bitmap(size());
        bitmap.fill(Qt::white);
        {
            QPainter painter(&bitmap);
            dialog_.DrawChart(painter, QRect(QPoint(0, 0), size()), false);
        }
        QPainter(this).drawPixmap(0, 0, bitmap);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            dialog_.ClickChart(event->position().toPoint());
    }

private:
    CPortSummary& dialog_;
};

QRadioButton* Radio(const char* text, int id, QButtonGroup* group, QLayout* layout)
{
    auto* b = new QRadioButton(QString::fromLatin1(text));
    b->setObjectName(QString::number(id));
    group->addButton(b, id);
    layout->addWidget(b);
    return b;
}

QGroupBox* Group(const char* title, QWidget* parent)
{
    auto* box = new QGroupBox(QString::fromLatin1(title), parent);
    box->setLayout(new QVBoxLayout);
    return box;
}

// An arc of the 3-D side wall from a0 to a1 (within the front half): the ellipse's edge and the same
// edge moved `depth` down.
QPainterPath WallBand(const QRectF& ellipse, double a0, double a1, double depth)
{
    const QPointF c = ellipse.center();
    const double rx = ellipse.width() / 2, ry = ellipse.height() / 2;
    const int steps = std::max(2, int((a1 - a0) * 40));
    QPainterPath path;
    for (int i = 0; i <= steps; ++i) {
        const double a = a0 + (a1 - a0) * i / steps;
        const QPointF p(c.x() + rx * std::cos(a), c.y() + ry * std::sin(a));
        i == 0 ? path.moveTo(p) : path.lineTo(p);
    }
    for (int i = steps; i >= 0; --i) {
        const double a = a0 + (a1 - a0) * i / steps;
        path.lineTo(c.x() + rx * std::cos(a), c.y() + ry * std::sin(a) + depth);
    }
    path.closeSubpath();
    return path;
}

void DrawWall(QPainter& painter, const QRectF& ellipse, const SliceAngles& slice, double depth, uint32_t colour)
{
    const QColor wall = ColourOf(WallColour(colour));
    painter.setPen(Qt::NoPen);
    painter.setBrush(wall);
    // The slice may run past a whole turn; each turn's front half is painted.
    for (double base = std::floor(slice.start / kTurn) * kTurn; base < slice.end; base += kTurn) {
        const double a0 = std::max(slice.start, base), a1 = std::min(slice.end, base + kHalfTurn);
        if (a1 > a0)
            painter.drawPath(WallBand(ellipse, a0 - base, a1 - base, depth));
    }
}

QFont LabelFont(const QPaintDevice& device)
{
    QFont font = QApplication::font();
    font.setPixelSize(std::max(1, 10 * device.logicalDpiY() / 72));
    return font;
}

} // namespace

CPortSummary::CPortSummary(std::vector<SectorShare> shares, const std::string& name, bool fromPortfolio,
                           QWidget* parent)
    : QDialog(parent), trees_(BuildSectorTrees(shares)), name_(name), fromPortfolio_(fromPortfolio)
{
    setObjectName(QStringLiteral("664"));
    setWindowTitle(QStringLiteral("Sector Analysis"));
    const auto namer = [](int level, int32_t code) { return SectorName(level, code); };
    for (int level = 0; level < 4; ++level)
        for (int measure = 0; measure < 2; ++measure) {
            const SectorTree& tree = measure ? trees_.capital : trees_.holdings;
            ColoursOf(level, measure) = DefaultSliceColours(CountOwnSlices(LevelItems(tree, level, false, namer),
                                                                           tree.total));
        }

    auto* options = new QHBoxLayout;
    QGroupBox* listBy = Group(" List by ", this);
    levels_ = new QButtonGroup(this);
    Radio("Companies", 4103, levels_, listBy->layout());
    Radio("Subsectors", 4107, levels_, listBy->layout());
    Radio("Sectors", 4108, levels_, listBy->layout());
    Radio("Main Sectors", 4115, levels_, listBy->layout());
    QGroupBox* viewBy = Group(" View by ", this);
    measures_ = new QButtonGroup(this);
    Radio("Holdings", 4109, measures_, viewBy->layout());
    Radio("Company Cap", 4110, measures_, viewBy->layout());
    QGroupBox* labelBox = Group(" Label ", this);
    labels_ = new QButtonGroup(this);
    Radio("Name", 4111, labels_, labelBox->layout());
    Radio("EPIC", 4112, labels_, labelBox->layout());
    legend_ = new QCheckBox(QStringLiteral("Legend"), this);
    legend_->setObjectName(QStringLiteral("4113"));
    threeD_ = new QCheckBox(QStringLiteral("3D Chart"), this);
    threeD_->setObjectName(QStringLiteral("4117"));
    auto* checks = new QVBoxLayout;
    checks->addWidget(legend_);
    checks->addWidget(threeD_);
    checks->addStretch();
    for (QWidget* w : {static_cast<QWidget*>(listBy), static_cast<QWidget*>(viewBy), static_cast<QWidget*>(labelBox)})
        options->addWidget(w);
    options->addLayout(checks);

    toggle_ = ReportButton("List >>", 4105, this);
    more_ = ReportButton("More >>", 4116, this);
    print_ = ReportButton("Print", 4104, this);
    QPushButton* help = ReportButton("Help", 4106, this);
    QPushButton* close = ReportButton("Close", 1, this);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {toggle_, more_, print_, help, close})
        buttons->addWidget(b);
    buttons->addStretch();
    options->addLayout(buttons);

    stack_ = new QStackedWidget(this);
    chart_ = new SectorChartArea(*this);
    list_ = new CListCtrlEx(this);
    list_->setObjectName(QStringLiteral("4114"));
    stack_->addWidget(chart_);
    stack_->addWidget(list_);
    auto* top = new QVBoxLayout(this);
    top->addWidget(stack_, 1);
    top->addLayout(options);

    SetSettings(UnpackSectorSettings(SectorSettingsByte()));
    const auto changed = [this] {
        ReadControls();
        Refresh();
    };
    connect(levels_, &QButtonGroup::idClicked, this, [this, changed] {
        legendPage_ = 0;
        changed();
    });
    for (QButtonGroup* g : {measures_, labels_})
        connect(g, &QButtonGroup::idClicked, this, changed);
    connect(legend_, &QCheckBox::clicked, this, changed);
    connect(threeD_, &QCheckBox::clicked, this, changed);
    connect(toggle_, &QPushButton::clicked, this, [this] {
        settings_.listMode = !settings_.listMode;
        compaction_ = 0;
        Refresh();
    });
    connect(more_, &QPushButton::clicked, this, &CPortSummary::NextLegendPage);
    connect(print_, &QPushButton::clicked, this, &CPortSummary::Print);
    connect(help, &QPushButton::clicked, this, [] { ShowDialogHelp(kHelpTopic); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

std::vector<uint32_t>& CPortSummary::ColoursOf(int level, int measure)
{
    return colours_[size_t(level * 2 + measure)];
}

const std::vector<uint32_t>& CPortSummary::Colours() const
{
    return colours_[size_t(settings_.level * 2 + settings_.measure)];
}

void CPortSummary::SetSliceColour(int slice, uint32_t colour)
{
    std::vector<uint32_t>& colours = ColoursOf(settings_.level, settings_.measure);
    if (slice >= 0 && size_t(slice) < colours.size())
        colours[size_t(slice)] = colour;
    chart_->update();
}

void CPortSummary::SetSettings(const SectorSettings& s)
{
    settings_ = s;
    static constexpr int kLevelIds[4] = {4103, 4107, 4108, 4115};
    levels_->button(kLevelIds[settings_.level])->setChecked(true);
    compaction_ = 0;
    Refresh();
}

void CPortSummary::ReadControls()
{
    const int level = levels_->checkedId();
    settings_.level = level == 4107 ? kLevelSubsectors : level == 4108 ? kLevelSectors
                    : level == 4115 ? kLevelMainSectors : kLevelCompanies;
    settings_.measure = measures_->checkedId() == 4110 ? kMeasureCapital : kMeasureHoldings;
    settings_.label = labels_->checkedId() == 4112 ? 1 : 0;
    settings_.legend = legend_->isChecked();
    settings_.threeD = threeD_->isChecked();
    compaction_ = 0;
}

double CPortSummary::Total() const { return Tree().total; }

const SectorTree& CPortSummary::Tree() const
{
    return settings_.measure == kMeasureCapital ? trees_.capital : trees_.holdings;
}

std::vector<SectorItem> CPortSummary::Items() const
{
    return LevelItems(Tree(), settings_.level, settings_.label == 1 && settings_.level == kLevelCompanies,
                      [](int level, int32_t code) { return SectorName(level, code); });
}

void CPortSummary::Refresh()
{
    const SectorEnabling e =
        EnableSectorControls(settings_, trees_.holdings.total, trees_.capital.total, legendOptional_, legendPages_);
    measures_->button(settings_.measure == kMeasureCapital ? 4110 : 4109)->setChecked(true);
    labels_->button(settings_.label ? 4112 : 4111)->setChecked(true);
    for (QAbstractButton* b : levels_->buttons())
        b->setEnabled(e.levels);
    labels_->button(4111)->setEnabled(e.name);
    labels_->button(4112)->setEnabled(e.epic);
    measures_->button(4109)->setEnabled(e.holdings);
    measures_->button(4110)->setEnabled(e.capital);
    legend_->setChecked(settings_.legend);
    legend_->setEnabled(e.legend);
    threeD_->setChecked(settings_.threeD);
    threeD_->setEnabled(e.threeD);
    toggle_->setEnabled(e.toggle);
    toggle_->setText(QString::fromLatin1(e.toggleText));
    more_->setEnabled(e.more);
    print_->setEnabled(e.print);
    setWindowTitle(FromCp1252(SectorTitle(name_, fromPortfolio_, settings_.level)));
    stack_->setCurrentIndex(settings_.listMode ? 1 : 0);
    if (settings_.listMode)
        FillList();
    chart_->update();
}

void CPortSummary::FillList()
{
    const auto headings = SectorListHeadings(settings_.level, settings_.measure, settings_.label == 1);
    list_->SetHeaders({FromCp1252(headings[0]), FromCp1252(headings[1]), FromCp1252(headings[2])});
    const int width = std::max(list_->viewport()->width(), 400);
    list_->setColumnWidth(0, width * 4 / 10);
    list_->setColumnWidth(1, width / 4);
    list_->setColumnWidth(2, width / 4);
    // The items form one group, sorted by the column the user picked; "Total" (level 8) stays last
    // and bold.
    const std::vector<SectorItem> items = Items();
    const std::vector<SectorListRow> rows = SectorListRows(items, Total());
    listTexts_.clear();
    listTexts_.reserve(rows.size() * 3);
    for (const SectorListRow& row : rows)
        for (const std::string* text : {&row.text, &row.value, &row.percent})
            listTexts_.push_back(*text);
    listRows_.assign(rows.size(), SectorRow{});
    for (size_t i = 0; i < rows.size(); ++i) {
        SectorRow& r = listRows_[i];
        for (size_t c = 0; c < 3; ++c)
            r.texts[c] = listTexts_[i * 3 + c].c_str();
        const double value = i < items.size() ? items[i].value : Total();
        const int32_t sortable = int32_t(std::clamp(std::llround(value), -2147483647LL, 2147483647LL));
        r.values[0] = r.values[1] = sortable;
        r.level = i < items.size() ? 0 : 8;
    }
    if (list_->sortColumn() >= 0)
        SortSectorRows(listRows_.data(), listRows_.size(), list_->sortColumn(), list_->descending());
    list_->SetFirstData(listRows_.data(), int(listRows_.size()));
}

void CPortSummary::DrawChart(QPainter& painter, const QRect& area, bool printing)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(area.topLeft());
    if (trees_.holdings.total <= 0 && trees_.capital.total <= 0) {
        painter.fillRect(QRect(0, 0, area.width(), area.height()), Qt::black);
        painter.fillRect(QRect(1, 1, area.width() - 2, area.height() - 2), Qt::white);
        QFont font(QString::fromLatin1(kChartFace));
        font.setPointSize(24);
        painter.setFont(font);
        painter.drawText(QRect(0, 0, area.width(), area.height()), Qt::AlignCenter, QStringLiteral("No data to display"));
        painter.restore();
        return;
    }
    const std::vector<SectorItem> slices = SliceItems(Items(), Total());
    const std::vector<SliceAngles> angles = SliceAnglesOf(slices, Total(), !printing);
    const PieLayout pie = PieLayoutOf(area.width(), area.height(), settings_.legend);
    const double f = settings_.threeD ? 0.6 : 1.0;
    const QRectF ellipse(pie.cx - pie.radius, pie.cy - pie.radius * f, 2.0 * pie.radius, 2.0 * pie.radius * f);
    const std::vector<uint32_t>& colours = Colours();
    const auto colourAt = [&colours](size_t i) { return colours.empty() ? 0xC0C0C0u : colours[i % colours.size()]; };
    const bool grey = painter.device()->depth() == 1;
    const auto brushOf = [grey](uint32_t c) {
        const QColor q = ColourOf(c);
        return grey ? QColor::fromHsv(0, 0, qGray(q.rgb())) : q;
    };

    if (settings_.threeD)
        for (size_t i = 0; i < angles.size(); ++i)
            DrawWall(painter, ellipse, angles[i], 0.3 * pie.radius, colourAt(i));
    for (size_t i = 0; i < angles.size(); ++i) {
        const QColor fill = brushOf(colourAt(i));
        painter.setBrush(fill);
        painter.setPen(settings_.threeD ? QPen(fill) : QPen(Qt::black));
        if (i == 0 && IsFullEllipse(angles)) {
            painter.drawEllipse(ellipse);
            break;
        }
        const int from = PainterAngle(angles[i].start);
        painter.drawPie(ellipse, from, PainterAngle(angles[i].end) - from);
    }

    const QFont font = LabelFont(*painter.device());
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    const int line = metrics.height();
    std::vector<QString> texts;
    std::vector<int> widths;
    for (size_t i = 0; i < slices.size(); ++i) {
        texts.push_back(settings_.legend ? QString::fromLatin1(SliceKey(int(i))) : FromCp1252(slices[i].text));
        widths.push_back(std::min(80, metrics.horizontalAdvance(texts.back())));
    }
    const LabelPlacement labels = PlaceLabels(pie, settings_.threeD, angles, widths, line, area.height());
    painter.setPen(Qt::black);
    for (size_t i = 0; i < labels.boxes.size(); ++i) {
        const PieRect& b = labels.boxes[i];
        const QRect box(b.left, b.top, b.width(), b.height());
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, metrics.elidedText(texts[i], Qt::ElideRight, 80));
    }
    if (settings_.legend)
        DrawLegend(painter, area, pie, slices, line, printing);
    painter.restore();
    if (!printing)
        AfterPaint(labels.overlapping, line);
}

void CPortSummary::DrawLegend(QPainter& painter, const QRect& area, const PieLayout& pie,
                              const std::vector<SectorItem>& slices, int line, bool printing)
{
    legendRows_ = LegendRowCount(area.height(), pie.legendY, line);
    legendPages_ = int(slices.size()) > legendRows_;
    if (size_t(legendPage_ * legendRows_) >= slices.size())
        legendPage_ = 0;
    if (!printing)
        colourBoxes_.clear();
    const bool keys = compaction_ <= line / 2;
    const int pitch = std::max(line, line * 6 / 5 - compaction_);
    const QFontMetrics metrics(painter.font(), painter.device());
    const int keyWidth = keys ? metrics.horizontalAdvance(QStringLiteral("WW ")) : 0;
    int y = pie.legendY;
    for (int row = 0; row < legendRows_; ++row, y += pitch) {
        const size_t i = size_t(legendPage_ * legendRows_ + row);
        if (i >= slices.size())
            break;
        const QRect box(pie.legendX, y, line, line);
        const std::vector<uint32_t>& colours = Colours();
        painter.setBrush(ColourOf(colours.empty() ? 0xC0C0C0u : colours[i % colours.size()]));
        painter.setPen(Qt::black);
        painter.drawRect(box);
        if (!printing)
            colourBoxes_.emplace_back(box.translated(area.topLeft()), int(i));
        int x = pie.legendX + line + line / 2;
        if (keys) {
            painter.drawText(QRect(x, y, keyWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                             QString::fromLatin1(SliceKey(int(i))));
            x += keyWidth;
        }
        painter.drawText(QRect(x, y, area.width() - x, line), Qt::AlignLeft | Qt::AlignVCenter,
                         FromCp1252(slices[i].text));
    }
    more_->setEnabled(legendPages_ && !settings_.listMode);
}

void CPortSummary::AfterPaint(bool overlapping, int lineHeight)
{
    if (!overlapping)
        return;
    if (!settings_.legend) {
        legendOptional_ &= ~LegendMaskBit(settings_);
        settings_.legend = true;
        QTimer::singleShot(0, this, [this] { Refresh(); });
        return;
    }
    // Once the step has reached the full line height nothing more can change: no further repaint.
    const int next = NextCompactionStep(compaction_, lineHeight);
    if (next == compaction_)
        return;
    compaction_ = next;
    QTimer::singleShot(0, chart_, [c = chart_] { c->update(); });
}

void CPortSummary::NextLegendPage()
{
    ++legendPage_;
    chart_->update();
}

void CPortSummary::ClickChart(const QPoint& pos)
{
    if (!settings_.legend || settings_.listMode)
        return;
    for (const auto& [box, slice] : colourBoxes_) {
        if (!box.contains(pos))
            continue;
        const int index = slice;
        CColourSelectorDlg selector(this, int(SelectorMode::Colour), kSelectorOneColour, 0,
                                    QStringLiteral("Select colour for slice"));
        const std::vector<uint32_t>& colours = Colours();
        selector.SetColour(size_t(index) < colours.size() ? colours[size_t(index)] : 0, 0xFFFFFF);
        if (RunModalDialog(selector) == QDialog::Accepted)
            SetSliceColour(index, selector.GetColour(0));
        return;
    }
}

void CPortSummary::PrintTo(QPrinter& printer)
{
    printer.setDocName(QStringLiteral("Sector Analysis"));
    QPainter painter(&printer);
    if (!painter.isActive())
        return;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRect printable(0, 0, page.width(), page.height());
    const int unit = printer.resolution() / 72;
    QFont title = LabelFont(printer);
    painter.setFont(title);
    const int line = QFontMetrics(title, &printer).height();
    painter.drawText(QPoint(5 * unit, 5 * unit + line), FromCp1252(SectorTitle(name_, fromPortfolio_, settings_.level)));
    const QRect chart(0, 2 * line + 10 * unit, printable.width(), std::min(printable.height() - 2 * line, printable.width()));
    DrawChart(painter, chart, true);
    painter.end();
}

void CPortSummary::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    PrintTo(printer);
}

void CPortSummary::accept()
{
    SectorSettingsByte() = PackSectorSettings(settings_);
    QDialog::accept();
}

void RunSectorAnalysis(ShareList& list, QWidget* parent)
{
    const bool fromPortfolio = list.source != nullptr;
    const std::string name = fromPortfolio ? list.source->name.str() : std::string(FixedListName(list.word));
    CPortSummary dialog(SectorSharesOf(list), name, fromPortfolio, parent);
    RunModalDialog(dialog);
}

void InstallSectorAnalysisCommand()
{
    SetCommandDialog(27282, [] {
        CViewBase* view = MainFrameState().activeView;
        if (!view || !view->list)
            return false;
        RunSectorAnalysis(*view->list, QApplication::activeWindow());
        return true;
    });
}

} // namespace qv
