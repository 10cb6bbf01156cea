// The Colour Selector dialog: palette, previous colours, sliders and the mode's style panel.
#include "shell/ui/ColourSelectorDlg.h"

#include "core/ui/PenSelect.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtFonts.h"
#include "shell/ColourSlider.h"
#include "shell/ui/DrawSlider.h"
#include "shell/ui/StyleButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kHoneycombHeight = 196;
constexpr int kRowCellSize = 12;
const int kScalableSizes[] = {5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20};

QColor Colour(uint32_t word) { return ColourFromWord(word); }

QPolygon Polygon(const std::array<Point, 6>& corners)
{
    QPolygon polygon;
    for (const Point& p : corners)
        polygon << QPoint(p.x, p.y);
    return polygon;
}

QPolygon HexagonAt(int x, int y, int size) { return Polygon(HexagonCorners({x, y}, size)); }

} // namespace

// The palette: the honeycomb with its grey and pastel rows beside it.
class CPaletteArea : public QWidget {
public:
    explicit CPaletteArea(CColourSelectorDlg* dialog) : QWidget(dialog), dialog_(dialog)
    {
        setMinimumSize(330, kHoneycombHeight + 8);
    }

    HoneycombGeometry geometry() const { return HoneycombGeometry(levels(), kHoneycombHeight, {4, 4}); }
    int levels() const { return dialog_->advancedView() ? kAdvancedLevels : kBasicLevels; }
    QPoint greyOrigin(int n) const { return QPoint(geometry().width() + 24, 8 + n * (2 * kRowCellSize)); }
    QPoint pastelOrigin(int n) const { return QPoint(geometry().width() + 24 + 3 * kRowCellSize, 8 + n * (2 * kRowCellSize)); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
        HoneycombGeometry g = geometry();
        std::vector<HoneycombCell> cells = HoneycombCells(levels(), dialog_->lightPalette());
        auto [kind, index] = dialog_->selection();
        QPolygon selected;
        for (size_t i = 0; i < cells.size(); ++i) {
            QPolygon polygon = Polygon(g.corners(cells[i].column, cells[i].row));
            painter.setPen(Qt::NoPen);
            painter.setBrush(Colour(cells[i].colour));
            painter.drawPolygon(polygon);
            if (kind == 1 && index == int(i))
                selected = polygon;
        }
        std::vector<uint32_t> greys = GreyRow(levels());
        for (size_t n = 0; n < greys.size(); ++n) {
            QPolygon polygon = HexagonAt(greyOrigin(int(n)).x(), greyOrigin(int(n)).y(), kRowCellSize);
            painter.setBrush(Colour(greys[n]));
            painter.drawPolygon(polygon);
            if (kind == 2 && index == int(n))
                selected = polygon;
        }
        std::span<const uint32_t> pastels = PastelRow();
        for (size_t n = 0; n < pastels.size(); ++n) {
            QPolygon polygon = HexagonAt(pastelOrigin(int(n)).x(), pastelOrigin(int(n)).y(), kRowCellSize);
            painter.setBrush(Colour(pastels[n]));
            painter.drawPolygon(polygon);
            if (kind == 3 && index == int(n))
                selected = polygon;
        }
        if (!selected.isEmpty()) {
            // Drawn inside the cell: the polygon clips a pen of twice the width.
            QPainterPath clip;
            clip.addPolygon(selected);
            painter.setClipPath(clip);
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(dialog_->lightPalette() ? Qt::black : Qt::white, 4));
            painter.drawPolygon(selected);
        }
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        QPoint p = event->position().toPoint();
        int cell = geometry().hitTest({p.x(), p.y()});
        if (cell >= 0) {
            dialog_->ChooseHoneycombCell(cell);
            return;
        }
        for (int n = 0; n < int(GreyRow(levels()).size()); ++n)
            if (HexagonAt(greyOrigin(n).x(), greyOrigin(n).y(), kRowCellSize).containsPoint(p, Qt::OddEvenFill)) {
                dialog_->ChooseGrey(n);
                return;
            }
        for (int n = 0; n < int(PastelRow().size()); ++n)
            if (HexagonAt(pastelOrigin(n).x(), pastelOrigin(n).y(), kRowCellSize).containsPoint(p, Qt::OddEvenFill)) {
                dialog_->ChoosePastel(n);
                return;
            }
    }

private:
    CColourSelectorDlg* dialog_;
};

namespace {

// One of the fourteen previous-colour boxes.
class CPreviousBox : public QWidget {
public:
    CPreviousBox(CColourSelectorDlg* dialog, int n) : QWidget(dialog), dialog_(dialog), n_(n) { setFixedSize(22, 18); }
    bool framed = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        uint32_t colour = dialog_->previousColours()[size_t(n_)];
        painter.fillRect(rect(), Colour(colour));
        painter.setPen(palette().dark().color());
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        if (framed) {
            painter.setPen(QPen(RgbToHls(colour).lightness < 127.1 ? Qt::white : Qt::black, 2));
            painter.drawRect(rect().adjusted(2, 2, -2, -2));
        }
    }
    void mousePressEvent(QMouseEvent*) override { dialog_->ChoosePrevious(n_); }

private:
    CColourSelectorDlg* dialog_;
    int n_;
};

} // namespace

QString CColourSelectorDlg::Caption(int mode)
{
    switch (SelectorMode(mode)) {
    case SelectorMode::Line: return QStringLiteral("Line Designer");
    case SelectorMode::Dot: return QStringLiteral("Dot Designer");
    case SelectorMode::Arrow: return QStringLiteral("Arrow Designer");
    case SelectorMode::Text: return QStringLiteral("Text Designer");
    default: return QStringLiteral("Colour Chooser");
    }
}

CColourSelectorDlg::CColourSelectorDlg(QWidget* parent, int mode, uint32_t options, uint32_t options2, const QString& caption)
    : QDialog(parent), mode_(SelectorMode(std::clamp(mode, 0, 4))), options_(options), options2_(options2)
{
    uint8_t stored = StoredPaletteByte();
    light_ = stored & kPaletteLight;
    advanced_ = stored & kPaletteAdvanced;
    previous_ = StoredPreviousColours();
    buildLayout(caption);
    SetAdvanced(advanced_);
    if (mode_ == SelectorMode::Text)
        SetFont(face_, fontFlags_, fontSize_);
}

CColourSelectorDlg::~CColourSelectorDlg() = default;

bool CColourSelectorDlg::oneColour() const { return (options_ & kSelectorOneColour) || mode_ == SelectorMode::Colour; }

void CColourSelectorDlg::buildLayout(const QString& caption)
{
    setObjectName(QStringLiteral("27242"));
    setWindowTitle(caption.isEmpty() ? Caption(int(mode_)) : caption);
    auto* top = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    top->addLayout(left);

    palette_ = new CPaletteArea(this);
    left->addWidget(palette_);

    auto* previousGrid = new QGridLayout;
    previousGrid->setSpacing(3);
    for (int n = 0; n < int(kPreviousColourCount); ++n)
        previousGrid->addWidget(new CPreviousBox(this, n), n / 7, n % 7);
    left->addWidget(new QLabel(QStringLiteral("Previous colours"), this));
    left->addLayout(previousGrid);

    auto* paletteButtons = new QHBoxLayout;
    darkButton_ = new QPushButton(QStringLiteral("Dark Palette"), this);
    lightButton_ = new QPushButton(QStringLiteral("Light Palette"), this);
    advancedButton_ = new QPushButton(QStringLiteral("Advanced >>"), this);
    connect(darkButton_, &QPushButton::clicked, this, [this] { SetPalette(false); });
    connect(lightButton_, &QPushButton::clicked, this, [this] { SetPalette(true); });
    connect(advancedButton_, &QPushButton::clicked, this, [this] { SetAdvanced(!advanced_); });
    paletteButtons->addWidget(darkButton_);
    paletteButtons->addWidget(lightButton_);
    paletteButtons->addWidget(advancedButton_);
    left->addLayout(paletteButtons);
    left->addStretch(1);

    auto* sliders = new QHBoxLayout;
    top->addLayout(sliders);
    auto* lightColumn = new QVBoxLayout;
    lightnessLabel_ = new QLabel(QStringLiteral("Light/Dark"), this);
    lightness_ = new CDrawSlider(0x808080, true, this);
    lightness_->setObjectName(QStringLiteral("lightness"));
    lightness_->setFixedSize(26, 220);
    connect(lightness_, &CDrawSlider::scrolled, this, [this](uint32_t notice) { LightnessMoved(int(notice >> 16)); });
    lightColumn->addWidget(lightnessLabel_);
    lightColumn->addWidget(lightness_);
    lightColumn->addStretch(1);
    sliders->addLayout(lightColumn);
    static const char* kChannelNames[] = {"Red", "Green", "Blue"};
    static const uint32_t kChannelBases[] = {0x0000FF, 0x00FF00, 0xFF0000};
    for (int c = 0; c < 3; ++c) {
        auto* column = new QVBoxLayout;
        channels_[c] = new CDrawSlider(kChannelBases[c], false, this);
        channels_[c]->setObjectName(QString::fromLatin1(kChannelNames[c]).toLower());
        channels_[c]->setFixedSize(26, 220);
        connect(channels_[c], &CDrawSlider::scrolled, this, [this, c](uint32_t notice) { ChannelMoved(c, int(notice >> 16)); });
        auto* label = new QLabel(QString::fromLatin1(kChannelNames[c]), this);
        label->setObjectName(QStringLiteral("label-%1").arg(c));
        column->addWidget(label);
        column->addWidget(channels_[c]);
        column->addStretch(1);
        sliders->addLayout(column);
    }

    auto* right = new QVBoxLayout;
    top->addLayout(right);
    auto* sampleRow = new QHBoxLayout;
    for (int n = 0; n < 2; ++n) {
        auto* column = new QVBoxLayout;
        column->addWidget(new QLabel(n == 0 ? QStringLiteral("Colour") : QStringLiteral("Background"), this));
        samples_[n] = new CStyleSampleButton(this);
        samples_[n]->setFixedSize(60, 28);
        samples_[n]->CreateColourBox(0, false);
        connect(samples_[n], &QAbstractButton::pressed, this, [this, n] { ChooseSample(n); });
        column->addWidget(samples_[n]);
        sampleRow->addLayout(column);
        if (n == 1 && oneColour())
            samples_[n]->setEnabled(false);
    }
    right->addLayout(sampleRow);
    right->addWidget(new QLabel(QStringLiteral("Current colour"), this));
    currentBox_ = new QLabel(this);
    currentBox_->setFixedSize(60, 20);
    currentBox_->setAutoFillBackground(true);
    right->addWidget(currentBox_);

    if (mode_ == SelectorMode::Line)
        right->addWidget(buildLinePanel());
    else if (mode_ == SelectorMode::Dot)
        right->addWidget(buildDotPanel());
    else if (mode_ == SelectorMode::Text)
        right->addWidget(buildFontPanel());
    if (mode_ == SelectorMode::Line || mode_ == SelectorMode::Dot) {
        applyAll_ = new QCheckBox(QStringLiteral("Apply style to all"), this);
        applyAll_->setVisible(options_ & kSelectorApplyToAll);
        right->addWidget(applyAll_);
    }
    right->addStretch(1);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("2"));
    connect(ok, &QPushButton::clicked, this, &CColourSelectorDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CColourSelectorDlg::reject);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    right->addLayout(buttons);
}

QWidget* CColourSelectorDlg::buildLinePanel()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    static const char* kStyles[] = {"Solid", "Dash", "Dot", "DashDot", "DashDD", "Filled"};
    for (int s = 0; s < 6; ++s) {
        auto* button = new QPushButton(QString::fromLatin1(kStyles[s]), panel);
        button->setCheckable(true);
        button->setVisible(s < 5 || (options_ & kSelectorFilledLine));
        connect(button, &QPushButton::clicked, this, [this, s] { ChooseLineStyle(s); });
        styleButtons_.push_back(button);
        grid->addWidget(button, s, 0);
    }
    for (int t = 1; t <= 8; ++t) {
        auto* button = new QPushButton(QStringLiteral("%1 Thick").arg(t), panel);
        connect(button, &QPushButton::clicked, this, [this, t] { ChooseThickness(t); });
        auto* sample = new CStyleSampleButton(panel);
        sample->setFixedSize(50, 18);
        sample->setEnabled(true);
        thicknessButtons_.push_back(button);
        thicknessSamples_.push_back(sample);
        grid->addWidget(button, t - 1, 1);
        grid->addWidget(sample, t - 1, 2);
    }
    return panel;
}

QWidget* CColourSelectorDlg::buildDotPanel()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    static const char* kStyles[] = {"Solid", "Open", "Filled"};
    for (int s = 0; s < 3; ++s) {
        auto* button = new QPushButton(QString::fromLatin1(kStyles[s]), panel);
        button->setCheckable(true);
        button->setVisible(s < 2 || (options_ & kSelectorFilledDot));
        connect(button, &QPushButton::clicked, this, [this, s] { ChooseDotStyle(s); });
        styleButtons_.push_back(button);
        grid->addWidget(button, s, 0);
    }
    for (int i = 0; i < 8; ++i) {
        auto* button = new QPushButton(QStringLiteral("Dot %1").arg(i + 1), panel);
        connect(button, &QPushButton::clicked, this, [this, i] { ChooseDotSize(i); });
        auto* sample = new CStyleSampleButton(panel);
        sample->setFixedSize(30, 22);
        sample->SetSelectorOptions((options_ >> 7 & 0x3F) << 7, 0);
        dotSamples_.push_back(sample);
        grid->addWidget(button, i, 1);
        grid->addWidget(sample, i, 2);
    }
    return panel;
}

QWidget* CColourSelectorDlg::buildFontPanel()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    faceList_ = new QComboBox(panel);
    faceList_->setEditable(true);
    faceList_->setObjectName(QStringLiteral("face"));
    for (const QString& family : QFontDatabase::families()) {
        if (family.isEmpty() || !family.at(0).isLetterOrNumber() || family.contains(QLatin1String("Symbol")))
            continue;
        faceList_->addItem(family);
    }
    sizeList_ = new QComboBox(panel);
    sizeList_->setEditable(true);
    sizeList_->setObjectName(QStringLiteral("size"));
    connect(faceList_, &QComboBox::currentTextChanged, this, [this](const QString& face) {
        face_ = face;
        fillSizes();
        refreshFontSample();
    });
    connect(sizeList_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        fontSize_ = text.toInt();
        refreshFontSample();
    });
    bold_ = new QCheckBox(QStringLiteral("Bold"), panel);
    italic_ = new QCheckBox(QStringLiteral("Italic"), panel);
    underline_ = new QCheckBox(QStringLiteral("Underline"), panel);
    int flag = 1;
    for (QCheckBox* box : {bold_, italic_, underline_}) {
        connect(box, &QCheckBox::toggled, this, [this, flag](bool on) {
            fontFlags_ = on ? fontFlags_ | uint32_t(flag) : fontFlags_ & ~uint32_t(flag);
            refreshFontSample();
        });
        flag <<= 1;
    }
    fontSample_ = new QLabel(QStringLiteral("AaYy"), panel);
    fontSample_->setAlignment(Qt::AlignCenter);
    fontSample_->setAutoFillBackground(true);
    fontSample_->setMinimumSize(120, 40);
    grid->addWidget(new QLabel(QStringLiteral("Font"), panel), 0, 0);
    grid->addWidget(faceList_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Size"), panel), 1, 0);
    grid->addWidget(sizeList_, 1, 1);
    grid->addWidget(bold_, 2, 0);
    grid->addWidget(italic_, 2, 1);
    grid->addWidget(underline_, 3, 0);
    grid->addWidget(fontSample_, 4, 0, 1, 2);
    return panel;
}

void CColourSelectorDlg::fillSizes()
{
    if (!sizeList_)
        return;
    QSignalBlocker block(sizeList_);
    sizeList_->clear();
    QList<int> sizes;
    bool raster = QFontDatabase::families().contains(face_) && !QFontDatabase::isScalable(face_);
    if (!raster) {
        for (int size : kScalableSizes)
            sizes << size;
    } else {
        for (int size : QFontDatabase::pointSizes(face_))
            if (size >= 5 && size <= 20)
                sizes << size;
        std::sort(sizes.begin(), sizes.end());
    }
    for (int size : sizes)
        sizeList_->addItem(QString::number(size));
    sizeList_->setCurrentText(QString::number(fontSize_));
}

void CColourSelectorDlg::refreshFontSample()
{
    if (!fontSample_)
        return;
    QFont font(face_);
    font.setPointSize(std::clamp(fontSize_, 5, 20));
    font.setBold(fontFlags_ & 1);
    font.setItalic(fontFlags_ & 2);
    font.setUnderline(fontFlags_ & 4);
    fontSample_->setFont(font);
    QPalette p = fontSample_->palette();
    p.setColor(QPalette::Window, Colour(colours_[1]));
    p.setColor(QPalette::WindowText, Colour(colours_[0]));
    fontSample_->setPalette(p);
}

void CColourSelectorDlg::SetLineStyle(int style, int thickness, int fillMode, bool offerApplyAll)
{
    lineStyle_ = std::clamp(style, 0, 5);
    thickness_ = std::clamp(thickness, 1, 8);
    fillMode_ = fillMode;
    offerApplyAll_ = offerApplyAll;
    if (applyAll_)
        applyAll_->setVisible(offerApplyAll || (options_ & kSelectorApplyToAll));
    refreshLinePanel();
}

void CColourSelectorDlg::GetLineStyle(int& style, int& thickness, int& fillMode, bool& applyAll) const
{
    style = lineStyle_;
    thickness = thickness_;
    fillMode = fillMode_;
    applyAll = applyAll_ && applyAll_->isChecked();
}

void CColourSelectorDlg::SetDotStyle(int style, int sizeIndex, bool offerApplyAll)
{
    dotStyle_ = std::clamp(style, 0, 2);
    dotSize_ = std::clamp(sizeIndex, 0, 7);
    offerApplyAll_ = offerApplyAll;
    if (applyAll_)
        applyAll_->setVisible(offerApplyAll || (options_ & kSelectorApplyToAll));
    refreshSamples();
}

void CColourSelectorDlg::GetDotStyle(int& style, int& sizeIndex, bool& applyAll) const
{
    style = dotStyle_;
    sizeIndex = dotSize_;
    applyAll = applyAll_ && applyAll_->isChecked();
}

void CColourSelectorDlg::SetColour(uint32_t colour, uint32_t background)
{
    colours_[0] = colour & 0xFFFFFF;
    if (IsPlainColour(background))
        colours_[1] = background;
    // The slider starts from the opening colour, so its first move keeps the hue.
    lightness_->SetBaseColour(colours_[editing_]);
    setCurrent(colours_[editing_], false);
}

uint32_t CColourSelectorDlg::GetColour(int n) const { return colours_[n == 1 ? 1 : 0]; }

void CColourSelectorDlg::SetFont(const QString& face, uint32_t flags, int size)
{
    face_ = face;
    fontFlags_ = flags;
    fontSize_ = size;
    if (faceList_) {
        QSignalBlocker block(faceList_);
        faceList_->setCurrentText(face);
        fillSizes();
        bold_->setChecked(flags & 1);
        italic_->setChecked(flags & 2);
        underline_->setChecked(flags & 4);
        fontFlags_ = flags;
    }
    refreshFontSample();
}

void CColourSelectorDlg::GetFont(QString& face, uint32_t& flags, int& size) const
{
    face = face_;
    flags = fontFlags_;
    size = fontSize_;
}

void CColourSelectorDlg::setCurrent(uint32_t colour, bool fromSlider)
{
    current_ = colour & 0xFFFFFF;
    colours_[editing_] = current_;
    if (fromSlider)
        selectionKind_ = 0;
    for (int c = 0; c < 3; ++c)
        channels_[c]->SetThumbPos(255 - int((current_ >> (8 * c)) & 0xFF));
    refreshSamples();
}

void CColourSelectorDlg::refreshSamples()
{
    for (int n = 0; n < 2; ++n)
        samples_[n]->CreateColourBox(colours_[n], false);
    samples_[editing_]->SetSelected(true);
    QPalette p = currentBox_->palette();
    p.setColor(QPalette::Window, Colour(current_));
    currentBox_->setPalette(p);
    refreshLinePanel();
    for (int i = 0; i < int(dotSamples_.size()); ++i) {
        dotSamples_[size_t(i)]->CreateDotSampleEx(dotStyle_, i, colours_[0], colours_[1], false);
        dotSamples_[size_t(i)]->SetSelected(i == dotSize_);
    }
    for (size_t s = 0; s < styleButtons_.size(); ++s)
        styleButtons_[s]->setChecked(int(s) == (mode_ == SelectorMode::Dot ? dotStyle_ : lineStyle_));
    refreshFontSample();
    palette_->update();
}

void CColourSelectorDlg::refreshLinePanel()
{
    if (thicknessButtons_.empty())
        return;
    bool dashed = lineStyle_ >= 1 && lineStyle_ <= 4;
    for (int t = 1; t <= 8; ++t) {
        bool shown = !(dashed && !(options_ & kSelectorThickDashes)) || t == 1;
        thicknessButtons_[size_t(t - 1)]->setVisible(shown);
        thicknessSamples_[size_t(t - 1)]->setVisible(shown);
        int thickness = lineStyle_ == 5 ? (t <= 4 ? t + 2 : t) : t;
        int fill = lineStyle_ == 5 ? (t <= 4 ? 1 : 2) : 1;
        thicknessSamples_[size_t(t - 1)]->CreateLineSample(lineStyle_, thickness, fill, colours_[0], colours_[1], false);
        thicknessSamples_[size_t(t - 1)]->SetSelected(thickness == thickness_ && (lineStyle_ != 5 || fill == fillMode_));
    }
    for (size_t s = 0; s < styleButtons_.size(); ++s)
        styleButtons_[s]->setChecked(int(s) == lineStyle_);
}

bool CColourSelectorDlg::thicknessButtonShown(int thickness) const
{
    if (thickness < 1 || thickness > int(thicknessButtons_.size()))
        return false;
    return !thicknessButtons_[size_t(thickness - 1)]->isHidden();
}

void CColourSelectorDlg::ChooseLineStyle(int style)
{
    lineStyle_ = std::clamp(style, 0, 5);
    bool dashed = lineStyle_ >= 1 && lineStyle_ <= 4;
    if (dashed && !(options_ & kSelectorThickDashes))
        thickness_ = 1;
    if (lineStyle_ == 5) {
        thickness_ = std::clamp(thickness_, 3, 8);
        fillMode_ = thickness_ < 6 ? 1 : 2;
    }
    refreshSamples();
}

void CColourSelectorDlg::ChooseThickness(int thickness)
{
    if (lineStyle_ == 5) {
        thickness_ = thickness <= 4 ? thickness + 2 : thickness;
        fillMode_ = thickness <= 4 ? 1 : 2;
    } else {
        thickness_ = std::clamp(thickness, 1, 8);
    }
    refreshSamples();
}

void CColourSelectorDlg::ChooseDotStyle(int style)
{
    dotStyle_ = std::clamp(style, 0, 2);
    refreshSamples();
}

void CColourSelectorDlg::ChooseDotSize(int sizeIndex)
{
    dotSize_ = std::clamp(sizeIndex, 0, 7);
    refreshSamples();
}

void CColourSelectorDlg::ChooseHoneycombCell(int index)
{
    std::vector<HoneycombCell> cells = HoneycombCells(palette_->levels(), light_);
    if (index < 0 || index >= int(cells.size()))
        return;
    selectionKind_ = 1;
    selectionIndex_ = index;
    selectionLight_ = light_;
    lightness_->SetBaseColour(cells[size_t(index)].colour);
    setCurrent(cells[size_t(index)].colour, false);
}

void CColourSelectorDlg::ChooseGrey(int n)
{
    std::vector<uint32_t> greys = GreyRow(palette_->levels());
    if (n < 0 || n >= int(greys.size()))
        return;
    selectionKind_ = 2;
    selectionIndex_ = n;
    lightness_->SetBaseColour(greys[size_t(n)]);
    setCurrent(greys[size_t(n)], false);
}

void CColourSelectorDlg::ChoosePastel(int n)
{
    std::span<const uint32_t> pastels = PastelRow();
    if (n < 0 || n >= int(pastels.size()))
        return;
    selectionKind_ = 3;
    selectionIndex_ = n;
    lightness_->SetBaseColour(pastels[size_t(n)]);
    setCurrent(pastels[size_t(n)], false);
}

void CColourSelectorDlg::ChoosePrevious(int n)
{
    if (n < 0 || n >= int(kPreviousColourCount))
        return;
    for (auto* box : findChildren<CPreviousBox*>())
        box->framed = false;
    int i = 0;
    for (auto* box : findChildren<CPreviousBox*>())
        if (i++ == n)
            box->framed = true;
    selectionKind_ = 0;
    lightness_->SetBaseColour(previous_[size_t(n)]);
    setCurrent(previous_[size_t(n)], false);
    update();
}

void CColourSelectorDlg::ChooseSample(int n)
{
    if (n == 1 && oneColour())
        return;
    editing_ = n;
    lightness_->SetBaseColour(colours_[n]);
    setCurrent(colours_[n], false);
}

void CColourSelectorDlg::SetPalette(bool light)
{
    light_ = light;
    palette_->update();
}

std::pair<int, int> CColourSelectorDlg::selection() const
{
    if (selectionKind_ == 1 && selectionLight_ != light_)
        return {0, -1};
    return {selectionKind_, selectionIndex_};
}

void CColourSelectorDlg::SetAdvanced(bool advanced)
{
    int oldLevels = palette_->levels();
    bool centre = false;
    if (selectionKind_ == 1) {
        std::vector<HoneycombCell> cells = HoneycombCells(oldLevels, selectionLight_);
        const HoneycombCell& cell = cells[size_t(selectionIndex_)];
        centre = cell.column == oldLevels - 1 && cell.row == oldLevels - 1;
    }
    advanced_ = advanced;
    int levels = palette_->levels();
    if (selectionKind_ == 1) {
        selectionKind_ = centre ? 1 : 0;
        if (centre) {
            std::vector<HoneycombCell> cells = HoneycombCells(levels, selectionLight_);
            for (size_t i = 0; i < cells.size(); ++i)
                if (cells[i].column == levels - 1 && cells[i].row == levels - 1)
                    selectionIndex_ = int(i);
        }
    } else if (selectionKind_ == 2) {
        selectionKind_ = 0;
    }
    for (CDrawSlider* slider : channels_)
        slider->setVisible(advanced);
    for (int c = 0; c < 3; ++c)
        if (auto* label = findChild<QLabel*>(QStringLiteral("label-%1").arg(c)))
            label->setVisible(advanced);
    lightnessLabel_->setText(advanced ? QStringLiteral("Light") : QStringLiteral("Light/Dark"));
    advancedButton_->setText(advanced ? QStringLiteral("<< Basic") : QStringLiteral("Advanced >>"));
    palette_->update();
}

void CColourSelectorDlg::LightnessMoved(int position)
{
    lightness_->SetThumbPos(position);
    setCurrent(lightness_->GetColour(), true);
}

void CColourSelectorDlg::ChannelMoved(int channel, int position)
{
    if (channel < 0 || channel > 2)
        return;
    int value = 255 - std::clamp(position, 0, 255);
    uint32_t colour = (current_ & ~(0xFFu << (8 * channel))) | uint32_t(value) << (8 * channel);
    lightness_->SetBaseColour(colour);
    setCurrent(colour, true);
}

void CColourSelectorDlg::accept()
{
    if (mode_ == SelectorMode::Text) {
        if (faceList_->findText(face_, Qt::MatchFixedString) < 0 && !FaceAvailable(face_)) {
            ShowMessage("There is no font with that name.", {}, MsgButtons::Ok, MsgIcon::Exclamation);
            faceList_->setFocus();
            faceList_->lineEdit()->selectAll();
            return;
        }
        if (fontSize_ < 5 || fontSize_ > 20) {
            ShowMessage("Size must be between 5 and 20 points.", {}, MsgButtons::Ok, MsgIcon::Exclamation);
            sizeList_->setFocus();
            sizeList_->lineEdit()->selectAll();
            return;
        }
    }
    RememberColour(previous_, colours_[0]);
    if (!oneColour())
        RememberColour(previous_, colours_[1]);
    StorePreviousColours(previous_);
    StorePaletteByte(uint8_t((light_ ? kPaletteLight : 0) | (advanced_ ? kPaletteAdvanced : 0)));
    QDialog::accept();
}

} // namespace qv
