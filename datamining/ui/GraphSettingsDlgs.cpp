// The histogram, statistic-line and scatter settings dialogs: their controls, enabling rules,
// Default, and the checks and writing of OK.
#include "datamining/ui/GraphSettingsDlgs.h"

#include "lists/ui/ColumnDialogs.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/StyleButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace qv {
namespace {

constexpr uint32_t kHelpBase = 0x20000;
constexpr uint32_t kWhite = 0xFFFFFF;

template <typename W>
W* Named(W* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

CStyleButton* PenButton(QWidget* parent, int id)
{
    auto* b = Named(new CStyleButton(parent), id);
    b->setFixedSize(90, 22);
    return b;
}

CStyleButton* ColourButton(QWidget* parent, int id)
{
    auto* b = Named(new CStyleButton(parent), id);
    b->setFixedSize(40, 22);
    return b;
}

QLineEdit* NumberField(QWidget* parent, int id)
{
    auto* e = Named(new QLineEdit(parent), id);
    e->setFixedWidth(44);
    return e;
}

void ShowPen(CStyleButton* button, uint32_t word) { button->CreateFromPackedStyle(word, kWhite, false); }
uint32_t PenWord(const CStyleButton* button) { return (button->GetColour(0) & 0xFFFFFF) | button->GetPackedStyle(); }
void ShowColour(CStyleButton* button, uint32_t colour) { button->CreateColourBox(colour & 0xFFFFFF, false); }
uint32_t ColourWord(const CStyleButton* button) { return button->GetColour(0) & 0xFFFFFF; }

uint32_t WithBit(uint32_t word, uint32_t bit, bool on) { return on ? word | bit : word & ~bit; }

// "Default" (3) beside OK, Cancel and Help.
void AddButtons(QDialog& dialog, QGridLayout* layout, int row, int columns, uint32_t help,
                const std::function<void()>& restore)
{
    QDialogButtonBox* buttons = OkCancelHelpButtons(dialog, help);
    auto* byDefault = Named(new QPushButton(QStringLiteral("Default"), &dialog), 3);
    buttons->addButton(byDefault, QDialogButtonBox::ResetRole);
    QObject::connect(byDefault, &QPushButton::clicked, &dialog, restore);
    layout->addWidget(buttons, row, 0, 1, columns);
}

} // namespace

// ---- Histogram Settings

CHistogramDlg::CHistogramDlg(DataMiningGraph& record, QWidget* parent) : QDialog(parent), record_(record)
{
    setObjectName(QStringLiteral("582"));
    setWindowTitle(QStringLiteral("Histogram Settings"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(makePart(x_, " Horizontal histogram ", {2100, 1948, 2104, 2102, 2095, 1916}), 0, 0);
    layout->addWidget(makePart(y_, " Vertical histogram ", {1914, 1950, 2081, 2093, 2099, 2086}), 0, 1);
    AddButtons(*this, layout, 1, 2, kHelpBase + 582, [this] { RestoreDefaults(); });
    show(DataMiningGraphSettings::Read(record));
}

QWidget* CHistogramDlg::makePart(Part& part, const char* title, const std::array<int, 6>& ids)
{
    auto* group = new QGroupBox(QString::fromLatin1(title), this);
    auto* grid = new QGridLayout(group);
    part.shown = Named(new QCheckBox(QStringLiteral("Histogram"), group), ids[0]);
    part.width = NumberField(group, ids[1]);
    part.fill = ColourButton(group, ids[2]);
    part.line = Named(new QCheckBox(QStringLiteral("Display line"), group), ids[3]);
    part.smoothing = NumberField(group, ids[4]);
    part.pen = PenButton(group, ids[5]);
    grid->addWidget(part.shown, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Bar Width"), group), 1, 0);
    grid->addWidget(part.width, 1, 1);
    grid->addWidget(part.fill, 1, 2);
    grid->addWidget(part.line, 2, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Smoothing"), group), 3, 0);
    grid->addWidget(part.smoothing, 3, 1);
    grid->addWidget(part.pen, 3, 2);
    connect(part.shown, &QCheckBox::toggled, this, [this] { enable(); });
    connect(part.line, &QCheckBox::toggled, this, [this] { enable(); });
    return group;
}

void CHistogramDlg::show(const DataMiningGraphSettings& s)
{
    x_.shown->setChecked(s.has(kHistXShown));
    y_.shown->setChecked(s.has(kHistYShown));
    x_.line->setChecked(s.has(kHistXLine));
    y_.line->setChecked(s.has(kHistYLine));
    x_.width->setText(QString::number(s.xBinWidth));
    y_.width->setText(QString::number(s.yBinWidth));
    x_.smoothing->setText(QString::number(s.xSmoothing));
    y_.smoothing->setText(QString::number(s.ySmoothing));
    ShowColour(x_.fill, s.xHistogramColour);
    ShowColour(y_.fill, s.yHistogramColour);
    ShowPen(x_.pen, s.xHistogramPen);
    ShowPen(y_.pen, s.yHistogramPen);
    enable();
}

void CHistogramDlg::enable()
{
    for (Part* part : {&x_, &y_}) {
        const bool on = part->shown->isChecked();
        part->width->setEnabled(on);
        part->fill->setEnabled(on);
        part->line->setEnabled(on);
        part->smoothing->setEnabled(on && part->line->isChecked());
        part->pen->setEnabled(on && part->line->isChecked());
    }
}

void CHistogramDlg::RestoreDefaults() { show(DefaultDataMiningGraphSettings()); }

void CHistogramDlg::accept()
{
    for (Part* part : {&x_, &y_})
        if (!CheckNumberField(part->width, kBarWidthLow, kBarWidthHigh) ||
            !CheckNumberField(part->smoothing, kSmoothingLow, kSmoothingHigh))
            return;
    DataMiningGraphSettings s = DataMiningGraphSettings::Read(record_);
    s.xBinWidth = x_.width->text().trimmed().toInt();
    s.yBinWidth = y_.width->text().trimmed().toInt();
    s.xSmoothing = x_.smoothing->text().trimmed().toInt();
    s.ySmoothing = y_.smoothing->text().trimmed().toInt();
    s.xHistogramColour = ColourWord(x_.fill);
    s.yHistogramColour = ColourWord(y_.fill);
    s.xHistogramPen = PenWord(x_.pen);
    s.yHistogramPen = PenWord(y_.pen);
    s.histogramFlags = WithBit(s.histogramFlags, kHistXShown, x_.shown->isChecked());
    s.histogramFlags = WithBit(s.histogramFlags, kHistYShown, y_.shown->isChecked());
    s.histogramFlags = WithBit(s.histogramFlags, kHistXLine, x_.line->isChecked());
    s.histogramFlags = WithBit(s.histogramFlags, kHistYLine, y_.line->isChecked());
    s.Write(record_);
    QDialog::accept();
}

// ---- Statistic Lines Settings

CStatLinesDlg::CStatLinesDlg(DataMiningGraph& record, QWidget* parent) : QDialog(parent), record_(record)
{
    setObjectName(QStringLiteral("610"));
    setWindowTitle(QStringLiteral("Statistic Lines Settings"));
    auto* layout = new QGridLayout(this);
    regression_ = Named(new QCheckBox(QStringLiteral("Lines of best fit"), this), 2007);
    regressionPen_ = PenButton(this, 2103);
    means_ = Named(new QCheckBox(QStringLiteral("Mean lines"), this), 2009);
    meanPen_ = PenButton(this, 2105);
    layout->addWidget(regression_, 0, 0);
    layout->addWidget(regressionPen_, 0, 1);
    layout->addWidget(means_, 1, 0);
    layout->addWidget(meanPen_, 1, 1);
    connect(regression_, &QCheckBox::toggled, this, [this] { enable(); });
    connect(means_, &QCheckBox::toggled, this, [this] { enable(); });
    AddButtons(*this, layout, 2, 2, kHelpBase + 610, [this] { RestoreDefaults(); });
    show(DataMiningGraphSettings::Read(record));
}

void CStatLinesDlg::show(const DataMiningGraphSettings& s)
{
    regression_->setChecked(s.scatter(kStatRegression));
    means_->setChecked(s.scatter(kStatMeans));
    ShowPen(regressionPen_, s.regressionPen);
    ShowPen(meanPen_, s.meanPen);
    enable();
}

void CStatLinesDlg::enable()
{
    regressionPen_->setEnabled(regression_->isChecked());
    meanPen_->setEnabled(means_->isChecked());
}

void CStatLinesDlg::RestoreDefaults()
{
    DataMiningGraphSettings s = DataMiningGraphSettings::Read(record_);
    const DataMiningGraphSettings d = DefaultDataMiningGraphSettings();
    s.scatterFlags = (s.scatterFlags & ~(kStatRegression | kStatMeans)) | (d.scatterFlags & (kStatRegression | kStatMeans));
    s.regressionPen = d.regressionPen;
    s.meanPen = d.meanPen;
    show(s);
}

void CStatLinesDlg::accept()
{
    DataMiningGraphSettings s = DataMiningGraphSettings::Read(record_);
    s.scatterFlags = WithBit(s.scatterFlags, kStatRegression, regression_->isChecked());
    s.scatterFlags = WithBit(s.scatterFlags, kStatMeans, means_->isChecked());
    s.regressionPen = PenWord(regressionPen_);
    s.meanPen = PenWord(meanPen_);
    s.Write(record_);
    QDialog::accept();
}

// ---- Scatter Graph Settings

CScatterDlg::CScatterDlg(DataMiningGraph& record, bool hasZ, QWidget* parent)
    : QDialog(parent), record_(record), hasZ_(hasZ)
{
    setObjectName(QStringLiteral("587"));
    setWindowTitle(QStringLiteral("Scatter Graph Settings"));
    auto* layout = new QGridLayout(this);

    auto* marks = new QGroupBox(QStringLiteral(" Marks "), this);
    auto* mg = new QGridLayout(marks);
    size_ = sizeField(1923);
    filled_ = Named(new QCheckBox(QStringLiteral("Filled"), marks), 2090);
    fill_ = colourButton(1938);
    outlined_ = Named(new QCheckBox(QStringLiteral("Border"), marks), 1933);
    outline_ = colourButton(1939);
    highlight_ = colourButton(1941);
    mg->addWidget(new QLabel(QStringLiteral("Size:"), marks), 0, 0);
    mg->addWidget(size_, 0, 1);
    mg->addWidget(filled_, 1, 0);
    mg->addWidget(fill_, 1, 1);
    mg->addWidget(outlined_, 2, 0);
    mg->addWidget(outline_, 2, 1);
    mg->addWidget(new QLabel(QStringLiteral("Selected share"), marks), 3, 0);
    mg->addWidget(highlight_, 3, 1);
    layout->addWidget(marks, 0, 0);

    auto* style = new QGroupBox(QStringLiteral(" Style "), this);
    auto* sg = new QGridLayout(style);
    shape_ = new QButtonGroup(this);
    const char* shapes[7] = {"Square", "Circle", "Diamond", "Triangle (signed)", "Cross", "Plus", "Point"};
    for (int i = 0; i < 7; ++i) {
        auto* r = Named(new QRadioButton(QString::fromLatin1(shapes[i]), style), 1926 + i);
        shape_->addButton(r, i);
        sg->addWidget(r, i, 0);
    }
    layout->addWidget(style, 0, 1);

    auto* z = new QGroupBox(QStringLiteral(" Z axis "), this);
    auto* zg = new QGridLayout(z);
    colourByZ_ = Named(new QCheckBox(QStringLiteral("Colour of mark"), z), 1934);
    negative_ = colourButton(2082);
    positive_ = colourButton(2087);
    lowest_ = colourButton(1922);
    highest_ = colourButton(2094);
    sizeByZ_ = Named(new QCheckBox(QStringLiteral("Size of mark"), z), 1935);
    smallest_ = sizeField(1951);
    largest_ = sizeField(1952);
    zg->addWidget(colourByZ_, 0, 0, 1, 4);
    zg->addWidget(new QLabel(QStringLiteral("Negative"), z), 1, 0);
    zg->addWidget(negative_, 1, 1);
    zg->addWidget(new QLabel(QStringLiteral("Positive"), z), 1, 2);
    zg->addWidget(positive_, 1, 3);
    zg->addWidget(new QLabel(QStringLiteral("Lowest"), z), 2, 0);
    zg->addWidget(lowest_, 2, 1);
    zg->addWidget(new QLabel(QStringLiteral("Highest"), z), 2, 2);
    zg->addWidget(highest_, 2, 3);
    zg->addWidget(sizeByZ_, 3, 0, 1, 4);
    zg->addWidget(new QLabel(QStringLiteral("Lowest"), z), 4, 0);
    zg->addWidget(smallest_, 4, 1);
    zg->addWidget(new QLabel(QStringLiteral("Highest"), z), 4, 2);
    zg->addWidget(largest_, 4, 3);
    layout->addWidget(z, 1, 0, 1, 2);

    connect(shape_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            enable();
    });
    connect(filled_, &QCheckBox::toggled, this, [this](bool on) {
        if (on && colourByZ_->isChecked()) {
            const QSignalBlocker block(colourByZ_);
            colourByZ_->setChecked(false);
        }
        enable();
    });
    connect(colourByZ_, &QCheckBox::toggled, this, [this](bool on) { colourByZToggled(on); });
    connect(outlined_, &QCheckBox::toggled, this, [this] { enable(); });
    connect(sizeByZ_, &QCheckBox::toggled, this, [this] { enable(); });
    AddButtons(*this, layout, 2, 2, kHelpBase + 587, [this] { RestoreDefaults(); });
    show(DataMiningGraphSettings::Read(record));
}

CStyleButton* CScatterDlg::colourButton(int id) { return ColourButton(this, id); }
QLineEdit* CScatterDlg::sizeField(int id) { return NumberField(this, id); }

// "Colour of mark" and "Filled" exclude each other: ticking the colour clears "Filled", unticking it
// gives "Filled" back the state it had.
void CScatterDlg::colourByZToggled(bool on)
{
    const QSignalBlocker block(filled_);
    if (on) {
        filledBeforeColour_ = filled_->isChecked();
        filled_->setChecked(false);
    } else {
        filled_->setChecked(filledBeforeColour_);
    }
    enable();
}

void CScatterDlg::show(const DataMiningGraphSettings& s)
{
    const QSignalBlocker blockFilled(filled_), blockColour(colourByZ_);
    size_->setText(QString::number(s.markSize));
    smallest_->setText(QString::number(s.smallestSize));
    largest_->setText(QString::number(s.largestSize));
    filled_->setChecked(s.scatter(kScatterFilled));
    filledBeforeColour_ = s.scatter(kScatterFilled);
    outlined_->setChecked(s.scatter(kScatterOutlined));
    colourByZ_->setChecked(s.scatter(kScatterColourByZ));
    sizeByZ_->setChecked(s.scatter(kScatterSizeByZ));
    if (colourByZ_->isChecked())
        filled_->setChecked(false);
    if (QAbstractButton* b = shape_->button(s.markShape >= 0 && s.markShape <= 6 ? s.markShape : 0))
        b->setChecked(true);
    ShowColour(fill_, s.markFill);
    ShowColour(outline_, s.markPen);
    ShowColour(highlight_, s.highlight);
    ShowColour(negative_, s.negativeLow);
    ShowColour(positive_, s.positiveLow);
    ShowColour(lowest_, s.negativeHigh);
    ShowColour(highest_, s.positiveHigh);
    enable();
}

void CScatterDlg::enable()
{
    const int shape = shape_->checkedId();
    const bool lines = shape == int(MarkShape::Cross) || shape == int(MarkShape::Plus);
    const bool point = shape == int(MarkShape::Point);
    const bool solid = !lines && !point;
    size_->setEnabled(!point);
    filled_->setEnabled(solid);
    fill_->setEnabled(solid && filled_->isChecked());
    outlined_->setEnabled(solid);
    outline_->setEnabled(!solid || outlined_->isChecked());
    const bool zColour = hasZ_ && solid;
    colourByZ_->setEnabled(zColour);
    for (CStyleButton* b : {negative_, positive_, lowest_, highest_})
        b->setEnabled(zColour && colourByZ_->isChecked());
    const bool zSize = hasZ_ && !point;
    sizeByZ_->setEnabled(zSize);
    smallest_->setEnabled(zSize && sizeByZ_->isChecked());
    largest_->setEnabled(zSize && sizeByZ_->isChecked());
}

void CScatterDlg::RestoreDefaults()
{
    DataMiningGraphSettings s = DefaultDataMiningGraphSettings();
    const DataMiningGraphSettings now = DataMiningGraphSettings::Read(record_);
    // The shown and statistic-line bits belong to the view's commands and the other dialog.
    constexpr uint32_t kOwn = kScatterOutlined | kScatterColourByZ | kScatterSizeByZ | kScatterFilled;
    s.scatterFlags = (now.scatterFlags & ~kOwn) | (s.scatterFlags & kOwn);
    show(s);
}

void CScatterDlg::accept()
{
    if (size_->isEnabled() && !CheckNumberField(size_, kMarkSizeLow, kMarkSizeHigh))
        return;
    if (smallest_->isEnabled() && (!CheckNumberField(smallest_, kMarkSizeLow, kMarkSizeHigh) ||
                                   !CheckNumberField(largest_, kMarkSizeLow, kMarkSizeHigh)))
        return;
    DataMiningGraphSettings s = DataMiningGraphSettings::Read(record_);
    if (size_->isEnabled())
        s.markSize = size_->text().trimmed().toInt();
    if (smallest_->isEnabled()) {
        s.smallestSize = smallest_->text().trimmed().toInt();
        s.largestSize = largest_->text().trimmed().toInt();
    }
    s.markShape = std::max(shape_->checkedId(), 0);
    s.scatterFlags = WithBit(s.scatterFlags, kScatterFilled, filled_->isChecked());
    s.scatterFlags = WithBit(s.scatterFlags, kScatterOutlined, outlined_->isChecked());
    s.scatterFlags = WithBit(s.scatterFlags, kScatterColourByZ, colourByZ_->isChecked());
    s.scatterFlags = WithBit(s.scatterFlags, kScatterSizeByZ, sizeByZ_->isChecked());
    s.markFill = ColourWord(fill_);
    s.markPen = (s.markPen & 0xFF000000) | ColourWord(outline_);
    s.highlight = ColourWord(highlight_);
    s.negativeLow = ColourWord(negative_);
    s.positiveLow = ColourWord(positive_);
    s.negativeHigh = ColourWord(lowest_);
    s.positiveHigh = ColourWord(highest_);
    s.Write(record_);
    QDialog::accept();
}

} // namespace qv
