// The returns distribution simulation's dialog: its controls, the run with its pumping and
// repainting, Remember/Reset, and the plot.
#include "datamining/ui/RandomReturnsDlg.h"

#include "lists/ListRows.h"
#include "lists/ui/ColumnDialogs.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "shell/IdleWork.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

constexpr int kMaxShares = 500;
// The plot inside its frame: bars from 5 pixels in, 20 pixels free above and below.
constexpr int kPlotLeft = 5, kPlotTopGap = 20, kPlotBottomGap = 20;
constexpr int kGridStep = 150;
constexpr int kTextRowGap = 20, kTextValueGap = 150, kRememberedColumnGap = 220;
constexpr int kTextLeft = 600;
const char* const kPeriodTexts[3] = {"Dec 2000 - Dec 2001", "Dec 1999 - Dec 2000", "Dec 1998 - Dec 1999"};
constexpr int kSelections = 4;

QString Percent(double v) { return QStringLiteral("%1%").arg(int(v + 0.5)); }

// The plot frame: the white plot, bars, curves, grid, labels and the results text.
class CSimulationPlot : public QWidget {
public:
    explicit CSimulationPlot(const CRandomReturnsDlg& dialog, QWidget* parent) : QWidget(parent), dialog_(dialog)
    {
        setObjectName(QStringLiteral("plot"));
        setFixedSize(kPlotLeft + kSimulationBins + 10, 440);
    }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int base() const { return height() - kPlotBottomGap; }
    int plotHeight() const { return base() - kPlotTopGap; }
    void drawCurve(QPainter& p, const SimulationResult& r, const QColor& colour) const;
    void drawText(QPainter& p, const SimulationResult& r, int column, const QColor& colour) const;

    const CRandomReturnsDlg& dialog_;
};

void CSimulationPlot::drawCurve(QPainter& p, const SimulationResult& r, const QColor& colour) const
{
    const std::vector<double> curve = SimulationCurve(r.bins, plotHeight());
    QPolygonF line;
    for (int i = 0; i < kSimulationBins; ++i)
        line << QPointF(kPlotLeft + i, base() - curve[size_t(i)]);
    p.setPen(QPen(colour, 4));
    p.drawPolyline(line);
}

void CSimulationPlot::drawText(QPainter& p, const SimulationResult& r, int column, const QColor& colour) const
{
    const std::array<double, 7> figures = SimulationRowFigures(r);
    p.setPen(colour);
    for (size_t row = 0; row < figures.size(); ++row) {
        const int y = kPlotTopGap + 20 + kTextRowGap * int(row);
        if (column == 0)
            p.drawText(kTextLeft, y, QString::fromLatin1(kSimulationRowTitles[row]));
        p.drawText(kTextLeft + kTextValueGap + column * (kRememberedColumnGap - kTextValueGap), y, Percent(figures[row]));
    }
}

void CSimulationPlot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRect plot(kPlotLeft, kPlotTopGap, kSimulationBins, plotHeight());
    p.fillRect(plot, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(plot.adjusted(0, 0, -1, -1));
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(13);
    p.setFont(font);
    const QString noPrices = dialog_.noPricesText();
    if (!noPrices.isEmpty()) {
        p.drawText(plot.adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap, noPrices);
        return;
    }
    const auto& current = dialog_.current();
    const auto& remembered = dialog_.remembered();
    if (current) {
        p.setPen(QColor(0, 0, 160));
        for (int i = 0; i < kSimulationBins; ++i)
            if (const uint32_t c = current->result.bins[size_t(i)])
                p.drawLine(kPlotLeft + i, base(), kPlotLeft + i, base() - SimulationBarHeight(c, plotHeight()));
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, width(), kPlotTopGap), Qt::AlignCenter, current->caption);
    }
    if (remembered)
        drawCurve(p, remembered->result, Qt::red);
    if (current)
        drawCurve(p, current->result, QColor(0, 160, 0));
    // Grid marks and labels every 150 pixels: every 50% on the histogram's scale.
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(11);
    p.setFont(small);
    p.setPen(Qt::black);
    for (int x = 0; x < kSimulationBins; x += kGridStep) {
        p.drawLine(kPlotLeft + x, base(), kPlotLeft + x, base() - 6);
        const int left = std::max(0, kPlotLeft + x - 40);
        p.drawText(QRect(left, base() + 2, 80, kPlotBottomGap - 2), x == 0 ? Qt::AlignLeft : Qt::AlignHCenter,
                   QStringLiteral("%1%").arg(int(std::lround(BinReturnPercent(x)))));
    }
    if (!current || !dialog_.showText())
        return;
    const int mark = std::clamp(PercentBin(current->result.averagePercent), 0, kSimulationBins - 1);
    p.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    p.drawLine(kPlotLeft + mark, kPlotTopGap, kPlotLeft + mark, base());
    p.setFont(font);
    drawText(p, current->result, 0, Qt::black);
    if (remembered)
        drawText(p, remembered->result, 1, Qt::red);
}

} // namespace

CRandomReturnsDlg::CRandomReturnsDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("MonteCarlo"));
    setWindowTitle(QStringLiteral("Monte Carlo Simulation"));
    auto* exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setObjectName(QStringLiteral("exit"));
    size_ = new QLineEdit(QStringLiteral("5"), this);
    size_->setObjectName(QStringLiteral("size"));
    size_->setFixedWidth(50);
    start_ = new QPushButton(QStringLiteral("Start"), this);
    start_->setObjectName(QStringLiteral("start"));
    selection_ = new QComboBox(this);
    selection_->setObjectName(QStringLiteral("selection"));
    for (int i = 0; i < kSelections; ++i)
        selection_->addItem(QString::fromLatin1(FixedListName(SimulationListKind(i))));
    wide_ = new QCheckBox(QStringLiteral("Wide"), this);
    wide_->setObjectName(QStringLiteral("wide"));
    remember_ = new QPushButton(QStringLiteral("Remember"), this);
    remember_->setObjectName(QStringLiteral("remember"));
    period_ = new QComboBox(this);
    period_->setObjectName(QStringLiteral("period"));
    for (const char* text : kPeriodTexts)
        period_->addItem(QString::fromLatin1(text));
    text_ = new QCheckBox(QStringLiteral("Text"), this);
    text_->setObjectName(QStringLiteral("text"));
    plot_ = new CSimulationPlot(*this, this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Number of shares"), this), 0, 0);
    layout->addWidget(size_, 0, 1);
    layout->addWidget(start_, 0, 2);
    layout->addWidget(selection_, 0, 3);
    layout->addWidget(period_, 0, 4);
    layout->addWidget(wide_, 0, 5);
    layout->addWidget(text_, 0, 6);
    layout->addWidget(remember_, 0, 7);
    layout->addWidget(exit, 0, 8);
    layout->addWidget(plot_, 1, 0, 1, 9);

    connect(exit, &QPushButton::clicked, this, &CRandomReturnsDlg::reject);
    connect(start_, &QPushButton::clicked, this, [this] { Start(); });
    connect(remember_, &QPushButton::clicked, this, [this] { RememberOrReset(); });
    connect(selection_, &QComboBox::currentIndexChanged, this, [this] { followChoices(); });
    connect(period_, &QComboBox::currentIndexChanged, this, [this] { followChoices(); });
    connect(text_, &QCheckBox::toggled, plot_, qOverload<>(&QWidget::update));

    lastSelection_ = selection_->currentText();
    lastPeriod_ = period_->currentIndex();
    rows_ = CollectListRows(RowFilter{SimulationListKind(0)});
    prepare();
}

void CRandomReturnsDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (firstRunDone_)
        return;
    firstRunDone_ = true;
    QTimer::singleShot(0, this, [this] {
        if (prepared_.usable.size() > size_t(size_->text().toInt()))
            Start();
    });
}

// A new share selection refills the rows; it or a new period prepares the values again.
void CRandomReturnsDlg::followChoices()
{
    bool changed = false;
    if (selection_->currentText() != lastSelection_) {
        rows_ = CollectListRows(RowFilter{SimulationListKind(selection_->currentIndex())});
        lastSelection_ = selection_->currentText();
        changed = true;
    }
    if (period_->currentIndex() != lastPeriod_) {
        lastPeriod_ = period_->currentIndex();
        changed = true;
    }
    if (changed)
        prepare();
}

void CRandomReturnsDlg::prepare()
{
    const SimulationPeriod period = SimulationPeriodOf(period_->currentIndex());
    prepared_ = PrepareReturns(rows_, period, AppPath("data") / "MC.log");
    if (!prepared_.logWritten)
        ShowMessage("Open MC.log fail", {}, MsgButtons::Ok, MsgIcon::Exclamation);
    plot_->update();
}

QString CRandomReturnsDlg::noPricesText() const
{
    if (!prepared_.usable.empty())
        return {};
    return QString::fromStdString(NoPricesText(SimulationPeriodOf(period_->currentIndex())));
}

bool CRandomReturnsDlg::showText() const { return text_->isChecked(); }

QString CRandomReturnsDlg::caption() const
{
    return QStringLiteral("%1     %2 shares     %3")
        .arg(selection_->currentText())
        .arg(size_->text().trimmed().toInt())
        .arg(period_->currentText());
}

bool CRandomReturnsDlg::Start()
{
    if (running_ || !CheckNumberField(size_, 1, kMaxShares))
        return false;
    const int n = size_->text().trimmed().toInt();
    followChoices();
    if (prepared_.usable.empty()) {
        ShowMessage(noPricesText().toStdString(), {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    if (prepared_.usable.size() <= size_t(n)) {
        ShowMessage("Not enough shares selected", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    running_ = true;
    current_ = Run{{}, caption()};
    const bool done = RunReturnsSimulation(prepared_.usable, n, random_, current_->result, [this](int draw) {
        PumpWaitingMessages();
        if (draw % 1000 == 0)
            plot_->repaint();
        return !closeAfterRun_;
    });
    running_ = false;
    if (closeAfterRun_) {
        QDialog::reject();
        return false;
    }
    plot_->update();
    return done;
}

void CRandomReturnsDlg::RememberOrReset()
{
    if (remembered_) {
        remembered_.reset();
        remember_->setText(QStringLiteral("Remember"));
    } else if (current_) {
        remembered_ = current_;
        remember_->setText(QStringLiteral("Reset"));
    }
    plot_->update();
}

// Closing while the draws run stops them first; the dialog closes when the run has returned.
void CRandomReturnsDlg::reject()
{
    if (running_) {
        closeAfterRun_ = true;
        return;
    }
    QDialog::reject();
}

} // namespace qv
