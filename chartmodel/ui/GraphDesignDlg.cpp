// The graph design dialog's pages, their binding to the working record, and the preview.
#include "chartmodel/ui/GraphDesignDlg.h"

#include "chartmodel/DialogPages.h"
#include "chartmodel/GraphDesign.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/BarColourScheme.h"
#include "chartmodel/ui/BarColourDlg.h"
#include "chartmodel/ui/BoxSizeDlg.h"
#include "chartmodel/ui/DialogPlacement.h"
#include "chartmodel/ui/SupportResistDlg.h"
#include "chartmodel/ui/ViewGraphWindow.h"
#include "core/ui/PenSelect.h"
#include "platform/qt/QtText.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/SettingTitle.h"
#include "shell/ui/StyleButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QHBoxLayout>

#include <cstring>
#include <tuple>

namespace qv {

using namespace graphsetting;
namespace gd = graphdesign;

namespace {

constexpr uint32_t kGraphDesignHelp = 90737;

QString Id(int id) { return QString::number(id); }

void Warn(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, parent->windowTitle(), text, QMessageBox::Ok, parent);
    RunModalDialog(box);
}

// Paints a chart into its rectangle; the background is never erased first.
class ChartArea : public QWidget {
public:
    std::function<void(QPainter&, QRect)> paint;
    explicit ChartArea(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        paint(painter, rect());
    }
};

// The preview frame: the chart inset by 2 pixels left and right and 1 at the top and bottom. While the
// left button is held in it, the enlarged chart covers the dialog; the frame keeps the mouse until the
// release.
class PreviewFrame : public QWidget {
public:
    std::function<void(QPainter&, QRect)> paint;
    ChartArea* enlarged = nullptr;
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        paint(painter, rect().adjusted(2, 1, -2, -1));
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton || !rect().adjusted(2, 1, -2, -1).contains(event->position().toPoint()))
            return;
        QWidget* dialog = window();
        enlarged->setGeometry(dialog->rect().adjusted(1, 1, -1, -1));
        enlarged->raise();
        enlarged->show();
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton || !enlarged->isVisible())
            return;
        enlarged->hide();
        update();
    }
};

QLabel* Caption(QWidget* page, int id, const QString& text)
{
    auto* caption = new QLabel(text, page);
    caption->setObjectName(Id(id) + QStringLiteral("l"));
    return caption;
}

QGridLayout* Grid(QWidget* page) { return static_cast<QGridLayout*>(page->layout()); }
void Add(QWidget* page, QWidget* w, int span = 1)
{
    QGridLayout* g = Grid(page);
    int n = g->count();
    int row = n / 2, col = n % 2;
    g->addWidget(w, row, col, 1, span);
}

// A caption and its control in one cell.
void AddPair(QWidget* page, QLabel* caption, QWidget* control)
{
    auto* cell = new QWidget(page);
    auto* row = new QHBoxLayout(cell);
    row->setContentsMargins(0, 0, 0, 0);
    caption->setParent(cell);
    control->setParent(cell);
    caption->setMinimumWidth(90);
    row->addWidget(caption);
    row->addWidget(control, 1);
    Add(page, cell);
}

} // namespace

int CGraphGridDlg::LastPage() { return StoredDialogPage(kGraphDesignPage); }

CGraphGridDlg::CGraphGridDlg(GraphSetting& viewCopy, const std::string& settingName, int settingIndex, QWidget* parent)
    : QDialog(parent), viewCopy_(viewCopy), working_(viewCopy)
{
    setObjectName(Id(201));
    setWindowTitle(SettingDialogTitle(QStringLiteral("Graph design"), FromCp1252(settingName),
                                      QStringLiteral("Setting %1").arg(settingIndex + 1)));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(Id(2330));

    QWidget* price = page(QStringLiteral("Price"));
    display_ = radios(price, 3718,
                      {"Close line", "OHLC bars", "HLC bars", "HL bars", "Candlestick", "Point && figure", "Kagi",
                       "Renko", "3-Line break"},
                      kPriceDisplay);
    check(price, 2333, QStringLiteral("Close"), kPriceLines, 1, 1);
    check(price, 2331, QStringLiteral("High"), kPriceLines, 1, 2);
    check(price, 2332, QStringLiteral("Low"), kPriceLines, 1, 4);
    colour(price, 2197, QStringLiteral("Price lines"), kPriceLinesPen, true);
    priceType_ = radios(price, 2334, {"Median", "Weighted", "Typical", "None"}, kPriceTypeLine);
    colour(price, 2195, QStringLiteral("Price type"), kPriceTypeLinePen, true);
    colour(price, 2199, QStringLiteral("Dots"), kTickColour, false);
    schemeButton_ = new QPushButton(price);
    schemeButton_->setObjectName(Id(3455));
    Add(price, schemeButton_);
    connect(schemeButton_, &QPushButton::clicked, this, [this] {
        CBarColourDlg dialog(working_, kPriceColourMode, kPriceColours, U32(working_, kBackground),
                             [this] { preview_->update(); }, this);
        PlaceBesideButton(dialog, *schemeButton_);
        RunModalDialog(dialog);
        showRecord();
    });
    colour(price, 3416, QStringLiteral("Label back"), kLatestPriceBack, false);
    colour(price, 3734, QStringLiteral("Up"), kBoxUpPen, true);
    colour(price, 3735, QStringLiteral("Down"), kBoxDownPen, true);
    boxOption_ = radios(price, 3832, {"Box value", "Log scale", "% of range", "Variable", "Volatility"}, kBoxValueOption);
    boxValue_ = new QLineEdit(price);
    boxValue_->setObjectName(Id(3743));
    AddPair(price, Caption(price, 3743, QStringLiteral("Box value")), boxValue_);
    reversal_ = new QLineEdit(price);
    reversal_->setObjectName(Id(3744));
    AddPair(price, Caption(price, 3744, QStringLiteral("Reversal")), reversal_);
    auto* boxSize = new QPushButton(QStringLiteral("Box Size"), price);
    boxSize->setObjectName(Id(3952));
    Add(price, boxSize);
    connect(boxSize, &QPushButton::clicked, this, [this, boxSize] {
        CBoxSizeDlg dialog(working_, [this] { preview_->update(); }, [this] { Preview(); }, this);
        PlaceBesideButton(dialog, *boxSize);
        RunModalDialog(dialog);
    });
    auto* autoLines = new QPushButton(QStringLiteral("Auto lines"), price);
    autoLines->setObjectName(Id(4033));
    Add(price, autoLines);
    connect(autoLines, &QPushButton::clicked, this, [this] {
        CSupportResistDlg dialog(working_, this);
        dialog.SetNotify([this] { preview_->update(); });
        RunModalDialog(dialog);
    });
    QCheckBox* wyckoff = check(price, 3742, QStringLiteral("Wyckoff"), kBoxChartFlags, 2, 1);
    connect(wyckoff, &QCheckBox::clicked, this, [this](bool on) {
        if (on)
            reversal_->setText(QStringLiteral("1"));
        readControls();
    });
    check(price, 3831, QStringLiteral("High/low"), kBoxChartFlags, 2, 8);
    check(price, 3862, QStringLiteral("Months"), kBoxChartFlags, 2, 16);
    check(price, 3951, QStringLiteral("Grid"), kBoxChartFlags, 2, 32);
    check(price, 3387, QStringLiteral("Show latest price on right"), kScaleFlags, 2, 32);
    check(price, 3386, QStringLiteral("Include latest intraday price (if available)"), kScaleFlags, 2, 64);

    QWidget* volume = page(QStringLiteral("Volume"));
    check(volume, 2181, QStringLiteral("Volume histogram"), kVolumePane, 1, 1);
    check(volume, 2176, QStringLiteral("Signal line"), kVolumePane, 1, 2);
    signalPeriods_ = new QSpinBox(volume);
    signalPeriods_->setObjectName(Id(2188));
    signalPeriods_->setRange(1, 1000);
    Add(volume, signalPeriods_);
    colour(volume, 2189, QStringLiteral("Signal"), kVolumeSignalPen, true);
    volumeScheme_ = radios(volume, 3462,
                           {"Use main price colour scheme", "Single colour", "Colour by volume change",
                            "Colour by price up/down movement"},
                           kVolumeColourMode);
    colour(volume, 2201, QStringLiteral("Up"), kVolumeUpColour, false);
    colour(volume, 2202, QStringLiteral("Down"), kVolumeDownColour, false);

    QWidget* time = page(QStringLiteral("Time"));
    timeScale_ = radios(time, 2378,
                        {"Dynamic selection of scale", "1 day per bar", "2 days per bar", "3 days per bar",
                         "4 days per bar", "1 week per bar", "2 weeks per bar", "3 weeks per bar", "4 weeks per bar"},
                        kBarPeriod);
    check(time, 3953, QStringLiteral("Use normal timescale"), kBoxChartFlags, 2, 2);

    QWidget* lines = page(QStringLiteral("Lines && Text"));
    gridH_ = slider(lines, 1010, QStringLiteral("Horizontal lines"), 3);
    colour(lines, 1396, QStringLiteral("Horizontal lines"), kGridPenH, true);
    gridV_ = slider(lines, 1011, QStringLiteral("Vertical lines"), 3);
    colour(lines, 1393, QStringLiteral("Vertical lines"), kGridPenV, true);
    for (auto [id, text, at] : {std::tuple{1391, "Title text", kTitleTextColour}, {1395, "Scale text", kScaleTextColour}})
        colour(lines, id, QString::fromLatin1(text), at, false)->SetMode(SampleMode::Font);

    QWidget* style = page(QStringLiteral("Style"));
    whiteSpace_ = slider(style, 1012, QStringLiteral("White space"), 5);
    colour(style, 1392, QStringLiteral("Frame"), kFramePen, true);
    shaded_ = new QCheckBox(QStringLiteral("Shaded frames"), style);
    shaded_->setObjectName(Id(3159));
    Add(style, shaded_);
    colour(style, 1372, QStringLiteral("Top"), kShadeTop, false);
    colour(style, 1374, QStringLiteral("Bottom"), kShadeBottom, false);
    watermark_ = new QCheckBox(QStringLiteral("Watermark"), style);
    watermark_->setObjectName(Id(2793));
    Add(style, watermark_);
    colour(style, 2891, QStringLiteral("Watermark"), kWatermarkColour, false);
    const char* marks[] = {"Epic code", "Last closing price", "Volume title", "Average daily volume", "Analytic title",
                           "Last analytic value"};
    for (int i = 0; i < 6; ++i)
        check(style, 3344 + i, QString::fromLatin1(marks[i]), kWatermarks, 2, 1u << i);
    auto* light = new QPushButton(QStringLiteral("Light default"), style);
    light->setObjectName(Id(1016));
    auto* dark = new QPushButton(QStringLiteral("Dark default"), style);
    dark->setObjectName(Id(2426));
    Add(style, light);
    Add(style, dark);
    connect(light, &QPushButton::clicked, this, [this] { applyDefaults(false); });
    connect(dark, &QPushButton::clicked, this, [this] { applyDefaults(true); });

    QWidget* analytics = page(QStringLiteral("Analytics"));
    check(analytics, 3108, QStringLiteral("Left-hand Scale"), kScaleFlags, 2, 1);
    check(analytics, 3113, QStringLiteral("Right-hand Scale"), kScaleFlags, 2, 2);
    check(analytics, 3119, QStringLiteral("Draw timescale below analytic graphs"), kScaleFlags, 2, 4);
    check(analytics, 3342, QStringLiteral("Show title on analytic graphs"), kScaleFlags, 2, 16);

    auto* frame = new PreviewFrame(this);
    frame->setObjectName(Id(1394));
    frame->setMinimumSize(260, 180);
    frame->paint = [this](QPainter& p, QRect r) { paintChart(p, r, 2); };
    preview_ = frame;
    frame->enlarged = new ChartArea(this);
    frame->enlarged->setObjectName(QStringLiteral("enlarged"));
    frame->enlarged->hide();
    frame->enlarged->paint = [this](QPainter& p, QRect r) { paintChart(p, r, 1); };

    auto* previewButton = new QPushButton(QStringLiteral("Preview"), this);
    previewButton->setObjectName(Id(18127));
    connect(previewButton, &QPushButton::clicked, this, [this] { Preview(); });
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kGraphDesignHelp);
    buttons->addButton(previewButton, QDialogButtonBox::ActionRole);

    auto* layout = new QGridLayout(this);
    layout->addWidget(tabs_, 0, 0);
    layout->addWidget(preview_, 0, 1);
    layout->addWidget(buttons, 1, 0, 1, 2);

    showRecord();
    tabs_->setCurrentIndex(gd::CorrectPage(LastPage()));
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int) { updateEnabling(); });
    connect(boxValue_, &QLineEdit::editingFinished, this, [this] { boxValueLeft(); });
    connect(reversal_, &QLineEdit::editingFinished, this, [this] { reversalLeft(); });
    connect(signalPeriods_, &QSpinBox::valueChanged, this, [this] { readControls(); });
    for (QCheckBox* c : {watermark_, shaded_})
        connect(c, &QCheckBox::toggled, this, [this] { readControls(); });
}

// QDialog's destructor hides the dialog, which moves the focus out of an edit: its "left" check must
// not reach this half-destroyed dialog.
CGraphGridDlg::~CGraphGridDlg()
{
    boxValue_->disconnect(this);
    reversal_->disconnect(this);
}

QWidget* CGraphGridDlg::page(const QString& title)
{
    auto* w = new QWidget(tabs_);
    new QGridLayout(w);
    tabs_->addTab(w, title);
    return w;
}

QCheckBox* CGraphGridDlg::check(QWidget* page, int id, const QString& text, size_t at, int width, uint32_t bit)
{
    auto* box = new QCheckBox(text, page);
    box->setObjectName(Id(id));
    Add(page, box);
    checks_.push_back({box, at, width, bit});
    connect(box, &QCheckBox::toggled, this, [this] { readControls(); });
    return box;
}

QButtonGroup* CGraphGridDlg::radios(QWidget* page, int firstId, const QStringList& texts, size_t at)
{
    auto* group = new QButtonGroup(page);
    for (int i = 0; i < texts.size(); ++i) {
        auto* r = new QRadioButton(QString(texts[i]).replace(QStringLiteral("&&"), QStringLiteral("&&")), page);
        r->setObjectName(Id(firstId + i));
        group->addButton(r, i);
        Add(page, r);
    }
    radios_.push_back({group, at});
    connect(group, &QButtonGroup::idClicked, this, [this] { readControls(); });
    return group;
}

CStyleButton* CGraphGridDlg::colour(QWidget* page, int id, const QString& label, size_t at, bool line)
{
    auto* b = new CStyleButton(page);
    b->setObjectName(Id(id));
    b->setFixedSize(90, 24);
    uint32_t word = U32(working_, at), back = U32(working_, kBackground) & 0xFFFFFF;
    if (line)
        b->CreateFromPackedStyle(word, back, false);
    else
        b->CreateColourBox(word & 0xFFFFFF, false);
    AddPair(page, Caption(page, id, label), b);
    colours_.push_back({b, at});
    connect(b, &CStyleButton::styleChosen, this, [this, b] { buttonChosen(b); });
    return b;
}

QSlider* CGraphGridDlg::slider(QWidget* page, int id, const QString& label, int max)
{
    auto* s = new QSlider(Qt::Horizontal, page);
    s->setObjectName(Id(id));
    s->setRange(0, max);
    AddPair(page, new QLabel(label, page), s);
    connect(s, &QSlider::sliderReleased, this, [this] { readControls(); });
    connect(s, &QSlider::valueChanged, this, [this, s] {
        if (!s->isSliderDown())
            readControls();
    });
    return s;
}

void CGraphGridDlg::showRecord()
{
    loading_ = true;
    for (const Check& c : checks_) {
        uint32_t v = c.width == 1 ? U8(working_, c.at) : U16(working_, c.at);
        c.box->setChecked(v & c.bit);
    }
    for (const Radios& r : radios_) {
        int v = U8(working_, r.at);
        if (r.group == timeScale_)
            v = gd::CorrectTimeScale(v);
        if (QAbstractButton* b = r.group->button(v))
            b->setChecked(true);
    }
    showColours();
    gridH_->setValue(int(U32(working_, kGridDensityH) & 3));
    gridV_->setValue(int(U32(working_, kGridDensityV) & 3));
    whiteSpace_->setValue(U8(working_, kWhiteSpace) > 5 ? 5 : U8(working_, kWhiteSpace));
    signalPeriods_->setValue(U16(working_, kVolumeSignalPeriods));
    watermark_->setChecked(U16(working_, kDisplayFlags) & 16);
    shaded_->setChecked(U8(working_, kShadedFrames) & 4);
    shownDisplay_ = U8(working_, kPriceDisplay);
    boxValue_->setText(QString::number(gd::CorrectBoxValue(U16(working_, kBoxValue) / 100.0), 'f', 2));
    reversal_->setText(QString::number(gd::CorrectReversal(U8(working_, gd::ReversalOffset(shownDisplay_)))));
    loading_ = false;
    updateEnabling();
}

void CGraphGridDlg::showColours()
{
    char face[kFontFaceSize + 1] = {};
    std::memcpy(face, working_.data() + kFontFace, kFontFaceSize);
    for (const Colour& c : colours_) {
        uint32_t word = U32(working_, c.at), back = U32(working_, kBackground) & 0xFFFFFF;
        if (c.button->mode() == SampleMode::Font)
            c.button->CreateFontSample(QString::fromLatin1(face), U8(working_, kFontFlags), int(U32(working_, kTextSize)),
                                       word & 0xFFFFFF, back, false);
        else if (c.button->mode() == SampleMode::Line)
            c.button->SetColourAndStyle(word, back);
        else
            c.button->SetColour(word & 0xFFFFFF, back);
    }
    if (schemeButton_)
        schemeButton_->setText(QString::fromLatin1(barcolour::SchemeName(U8(working_, kPriceColourMode))));
}

void CGraphGridDlg::readControls()
{
    if (loading_)
        return;
    for (const Check& c : checks_) {
        uint32_t v = c.width == 1 ? U8(working_, c.at) : U16(working_, c.at);
        v = c.box->isChecked() ? (v | c.bit) : (v & ~c.bit);
        c.width == 1 ? SetU8(working_, c.at, uint8_t(v)) : SetU16(working_, c.at, uint16_t(v));
    }
    SetU16(working_, kScaleFlags, uint16_t(U16(working_, kScaleFlags) & ~8u));
    for (const Radios& r : radios_)
        if (r.group->checkedId() >= 0)
            SetU8(working_, r.at, uint8_t(r.group->checkedId()));
    SetU32(working_, kGridDensityH, uint32_t(gridH_->value()));
    SetU32(working_, kGridDensityV, uint32_t(gridV_->value()));
    SetU8(working_, kWhiteSpace, uint8_t(whiteSpace_->value()));
    SetU16(working_, kVolumeSignalPeriods, uint16_t(signalPeriods_->value()));
    SetU16(working_, kDisplayFlags, watermark_->isChecked() ? 16 : 0);
    SetU8(working_, kShadedFrames, shaded_->isChecked() ? 4 : 0);
    int display = U8(working_, kPriceDisplay);
    if (shownDisplay_ == gd::kPriceDisplayCloseLine && display != gd::kPriceDisplayCloseLine)
        gd::SolidifyFilledPriceColours(working_);
    if (display != shownDisplay_) {
        int reversal = gd::ApplyDisplayChoice(working_, display);
        loading_ = true;
        reversal_->setText(QString::number(reversal));
        for (const Check& c : checks_)
            c.box->setChecked((c.width == 1 ? U8(working_, c.at) : U16(working_, c.at)) & c.bit);
        loading_ = false;
        showBoxPens(display);
    }
    shownDisplay_ = display;
    bool ok = false;
    double box = boxValue_->text().toDouble(&ok);
    if (ok && gd::BoxValueValid(box, U8(working_, kBoxValueOption)))
        SetU16(working_, kBoxValue, gd::StoredBoxValue(box));
    int rev = reversal_->text().toInt(&ok);
    if (ok && gd::ReversalValid(rev) && gd::IsBoxChart(display))
        SetU8(working_, gd::ReversalOffset(display), uint8_t(rev));
    updateEnabling();
    preview_->update();
}

void CGraphGridDlg::updateEnabling()
{
    int display = U8(working_, kPriceDisplay);
    bool box = gd::IsBoxChart(display);
    auto enable = [this](int id, bool on) {
        if (QWidget* w = findChild<QWidget*>(Id(id)))
            w->setEnabled(on);
        if (QWidget* caption = findChild<QWidget*>(Id(id) + QStringLiteral("l")))
            caption->setEnabled(on);
    };
    auto show = [this](int id, bool on) {
        if (QWidget* w = findChild<QWidget*>(Id(id)))
            w->setVisible(on);
        if (QWidget* caption = findChild<QWidget*>(Id(id) + QStringLiteral("l")))
            caption->setVisible(on);
    };
    enable(2199, display == 1 || display == 2);
    enable(2197, U8(working_, kPriceLines) & 7);
    enable(2195, U8(working_, kPriceTypeLine) != 3);
    enable(3416, U16(working_, kScaleFlags) & 32);
    for (int id : {2333, 2331, 2332, 2197, 2334, 2335, 2336, 2337, 2195, 2199})
        show(id, !box);
    for (int id : {3734, 3735, 3742, 3952, 3743, 3744, 3831, 3862, 3951, 3832, 3833, 3834, 3835, 3836})
        show(id, box);
    if (QAbstractButton* b = boxOption_->button(1))
        b->setText(box ? QStringLiteral("% of value") : QStringLiteral("Log scale"));
    int option = U8(working_, kBoxValueOption);
    if (auto* caption = findChild<QLabel*>(Id(3743) + QStringLiteral("l")))
        caption->setText(QString::fromLatin1(gd::BoxValueCaption(option)));
    if (auto* caption = findChild<QLabel*>(Id(3744) + QStringLiteral("l")))
        caption->setText(QString::fromLatin1(gd::ReversalCaption(display, option)));
    if (auto* grid = findChild<QCheckBox*>(Id(3951)))
        grid->setText(QString::fromLatin1(gd::GridCaption(display)));
    show(3455, !box);
    show(4033, box);
    enable(3744, display == gd::kPriceDisplayPointFigure || display == gd::kPriceDisplayLineBreak);
    for (int id : {3743, 3832, 3833, 3834})
        enable(id, display != gd::kPriceDisplayLineBreak);
    for (int id : {3835, 3836})
        enable(id, display == gd::kPriceDisplayPointFigure);
    bool histogram = U8(working_, kVolumePane) & 1, signal = U8(working_, kVolumePane) & 2;
    int scheme = U8(working_, kVolumeColourMode);
    for (int id : {3462, 3463, 3464, 3465})
        enable(id, histogram);
    show(2201, scheme >= 2);
    show(2202, scheme >= 1);
    enable(2201, histogram);
    enable(2202, histogram);
    enable(2188, signal);
    enable(2189, signal);
    for (int id = 2378; id <= 2386; ++id)
        enable(id, !box);
    show(3953, display >= gd::kPriceDisplayKagi);
    enable(1372, shaded_->isChecked());
    enable(1374, shaded_->isChecked());
    enable(2891, watermark_->isChecked());
}

void CGraphGridDlg::boxValueLeft()
{
    int option = U8(working_, kBoxValueOption);
    double value = boxValue_->text().toDouble();
    if (!gd::BoxValueValid(value, option)) {
        Warn(this, QStringLiteral("Please enter a value between 0.01 and %1").arg(gd::BoxValueLimit(option)));
        value = gd::kDefaultBoxValue;
        boxValue_->setFocus();
    }
    boxValue_->setText(QString::number(value, 'f', 2));
    readControls();
}

void CGraphGridDlg::reversalLeft()
{
    if (!gd::ReversalValid(reversal_->text().toInt())) {
        Warn(this, QStringLiteral("Please enter a Reversal between 1 and 10"));
        reversal_->setText(QString::number(gd::kDefaultReversal));
        reversal_->setFocus();
    }
    readControls();
}

void CGraphGridDlg::buttonChosen(CStyleButton* button)
{
    uint32_t background = button->GetColour(1) & 0xFFFFFF;
    if (background != (U32(working_, kBackground) & 0xFFFFFF) && button->GetColour(1) != kNoColour) {
        SetU32(working_, kBackground, (U32(working_, kBackground) & 0xFF000000u) | background);
        for (const Colour& c : colours_)
            c.button->SetBackColour(background);
    }
    for (const Colour& c : colours_) {
        if (c.button != button)
            continue;
        uint32_t word = U32(working_, c.at);
        uint32_t chosen = button->GetColour(0) & 0xFFFFFF;
        if (button->mode() == SampleMode::Font)
            fontChosen(*button);
        word = button->mode() == SampleMode::Line ? chosen | button->GetPackedStyle() : (word & 0xFF000000u) | chosen;
        SetU32(working_, c.at, word);
    }
    readControls();
}

// The two text buttons carry one font: what is chosen on either goes to the record and to both.
void CGraphGridDlg::fontChosen(const CStyleButton& button)
{
    QString face;
    uint32_t flags = 0;
    int points = 0;
    button.GetFont(face, flags, points);
    gd::SetChartFontFace(working_, ToCp1252(face).c_str());
    SetU8(working_, kFontFlags, uint8_t(flags & 7));
    SetU32(working_, kTextSize, uint32_t(points));
    showColours();
}

// Renko and line break colour their boxes: the Up and Down buttons are colour only there.
void CGraphGridDlg::showBoxPens(int display)
{
    bool colourOnly = display == gd::kPriceDisplayRenko || display == gd::kPriceDisplayLineBreak;
    for (const Colour& c : colours_)
        if (c.at == kBoxUpPen || c.at == kBoxDownPen)
            c.button->SetMode(colourOnly ? SampleMode::ColourBox : SampleMode::Line);
    showColours();
}

void CGraphGridDlg::applyDefaults(bool dark)
{
    gd::ApplyColourDefaults(working_, dark);
    showRecord();
    readControls();
}

void CGraphGridDlg::paintChart(QPainter& painter, QRect area, int outputKind)
{
    painter.fillRect(area, ColourFromWord(U32(working_, kBackground)));
    if (painter_)
        painter_(painter, working_, area, outputKind, gd::PreviewMargin(working_));
}

void CGraphGridDlg::Preview()
{
    viewCopy_ = working_;
    if (redraw_)
        redraw_();
}

void CGraphGridDlg::done(int result)
{
    StoreDialogPage(kGraphDesignPage, tabs_->currentIndex());
    if (result == QDialog::Accepted)
        Preview();
    QDialog::done(result);
}

int OpenGraphDesign(CViewGraphWnd& view, const std::string& settingName)
{
    GraphSetting* setting = view.ActiveSetting();
    if (!setting)
        return QDialog::Rejected;
    view.privateCopy = *setting;
    view.privateCopyOn = 1;
    view.styleRecord = &view.privateCopy;
    CGraphGridDlg dialog(view.privateCopy, settingName, view.SettingIndex(), &view);
    dialog.SetRedraw([&view] { view.update(); });
    dialog.SetPreviewPainter([&view](QPainter& p, const GraphSetting& style, QRect area, int kind, int margin) {
        view.DrawDesignPreview(p, style, area, kind, margin);
    });
    int result = RunModalDialog(dialog);
    if (result == QDialog::Accepted)
        *setting = view.privateCopy;
    view.privateCopyOn = 0;
    view.styleRecord = setting;
    if (result == QDialog::Accepted)
        view.NotifyGraphSettings(0);
    view.update();
    return result;
}

} // namespace qv
