// The ticker design dialog.
#include "realtime/ui/TickerDesignDlg.h"

#include "core/ConfigDefaults.h"
#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "platform/ByteOrder.h"
#include "platform/qt/QtText.h"
#include "realtime/TickerTape.h"
#include "realtime/ui/TickerComposer.h"
#include "realtime/ui/ViewRTTicker.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/StyleButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace qv {
namespace {

using namespace TickerLayout;

constexpr int kScreenDpi = 96;
// The size a ticker font of height 0 draws at (20 pixels).
constexpr int kDefaultPoints = 15;
// The field boxes in the dialog's order, with their field-mask bits.
constexpr std::array<std::pair<const char*, int>, 9> kFieldBoxes = {{{"Time", 8},
                                                                     {"EPIC", 1},
                                                                     {"Name", 0},
                                                                     {"Price", 2},
                                                                     {"Volume", 7},
                                                                     {"Price change since open", 3},
                                                                     {"Price % change since open", 5},
                                                                     {"Price change since close ( )", 4},
                                                                     {"Price % change since close ( )", 6}}};
constexpr std::array<const char*, 6> kCategoryNames = {"Indices", "FTSE 100", "FTSE 250", "Small Cap", "Fledgling", "Other"};
constexpr std::array<const char*, 5> kColourNames = {"Up", "Same", "Down", "No data background", "Excess data background"};
constexpr std::array<const char*, 4> kLayoutNames = {"1 line", "2 line", "4 line", "Vertical"};

bool SameFont(const LogFont& a, const LogFont& b)
{
    return a.height == b.height && a.weight == b.weight && a.italic == b.italic && a.underline == b.underline &&
           a.faceName() == b.faceName();
}

QSlider* OneToFive(QWidget* parent)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(1, 5);
    slider->setPageStep(1);
    return slider;
}

} // namespace

CTickerDesignDlg::CTickerDesignDlg(const TickerSetting& record, int32_t slot, CViewRTTicker* view,
                                   const std::string& name, QWidget* parent)
    : QDialog(parent), working_(record), opening_(record), openingFont_(TickerFont()), view_(view), slot_(slot),
      variable_(new QRadioButton(QStringLiteral("Variable speed"), this)),
      constant_(new QRadioButton(QStringLiteral("Constant speed"), this)),
      discard_(new QCheckBox(QStringLiteral("Discard data older than 15 seconds"), this)), speed_(OneToFive(this)),
      whiteSpace_(OneToFive(this)), slower_(new QLabel(QStringLiteral("Slower"), this)),
      faster_(new QLabel(QStringLiteral("Faster"), this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Ticker design - %1").arg(FromCp1252(name)));
    if (view_ && view_->parentWidget())
        frameRect_ = view_->parentWidget()->geometry();

    auto* fieldsBox = new QGroupBox(QStringLiteral("Show"), this);
    auto* fieldsLayout = new QVBoxLayout(fieldsBox);
    for (size_t i = 0; i < kFieldBoxes.size(); ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(kFieldBoxes[i].first), fieldsBox);
        fields_[size_t(kFieldBoxes[i].second)] = box;
        fieldsLayout->addWidget(box);
    }
    auto* categoriesBox = new QGroupBox(QStringLiteral("Categories"), this);
    auto* categoriesLayout = new QGridLayout(categoriesBox);
    for (size_t i = 0; i < categories_.size(); ++i) {
        categories_[i] = new QCheckBox(QString::fromLatin1(kCategoryNames[i]), categoriesBox);
        categoryButtons_[i] = new CStyleButton(categoriesBox);
        categoryButtons_[i]->setMinimumSize(110, 22);
        categoriesLayout->addWidget(categories_[i], int(i), 0);
        categoriesLayout->addWidget(categoryButtons_[i], int(i), 1);
        // One font for all six: a change on one button goes to the others.
        connect(categoryButtons_[i], &CStyleSampleButton::styleChosen, this, [this, i] {
            QString face;
            uint32_t flags = 0;
            int size = 0;
            categoryButtons_[i]->GetFont(face, flags, size);
            for (CStyleButton* other : categoryButtons_)
                if (other != categoryButtons_[i])
                    other->SetFont(face, flags, size);
        });
    }
    auto* coloursBox = new QGroupBox(QStringLiteral("Colours"), this);
    auto* coloursLayout = new QGridLayout(coloursBox);
    for (size_t i = 0; i < colours_.size(); ++i) {
        colours_[i] = new CStyleButton(coloursBox);
        colours_[i]->setMinimumSize(40, 22);
        coloursLayout->addWidget(new QLabel(QString::fromLatin1(kColourNames[i]), coloursBox), int(i), 0);
        coloursLayout->addWidget(colours_[i], int(i), 1);
    }
    auto* layoutBox = new QGroupBox(QStringLiteral("Layout"), this);
    auto* layoutLayout = new QVBoxLayout(layoutBox);
    for (size_t i = 0; i < layouts_.size(); ++i) {
        layouts_[i] = new QRadioButton(QString::fromLatin1(kLayoutNames[i]), layoutBox);
        layoutLayout->addWidget(layouts_[i]);
    }
    auto* speedBox = new QGroupBox(QStringLiteral("Speed"), this);
    auto* speedLayout = new QGridLayout(speedBox);
    speedLayout->addWidget(variable_, 0, 0, 1, 3);
    speedLayout->addWidget(constant_, 1, 0, 1, 3);
    speedLayout->addWidget(slower_, 2, 0);
    speedLayout->addWidget(speed_, 2, 1);
    speedLayout->addWidget(faster_, 2, 2);
    speedLayout->addWidget(discard_, 3, 0, 1, 3);
    speedLayout->addWidget(new QLabel(QStringLiteral("Less"), speedBox), 4, 0);
    speedLayout->addWidget(whiteSpace_, 4, 1);
    speedLayout->addWidget(new QLabel(QStringLiteral("More"), speedBox), 4, 2);
    connect(variable_, &QRadioButton::toggled, this, [this] { EnableControls(); });

    auto* portfolioBox = new QGroupBox(QStringLiteral("Portfolios"), this);
    auto* portfolioLayout = new QGridLayout(portfolioBox);
    for (size_t i = 0; i < 2; ++i) {
        portfolioBoxes_[i] = new QCheckBox(QStringLiteral("Portfolio %1").arg(i + 1), portfolioBox);
        portfolioLists_[i] = new QComboBox(portfolioBox);
        for (const Portfolio* p = PortfolioChain(); p; p = p->next)
            if (!p->name.empty())
                portfolioLists_[i]->addItem(FromCp1252(p->name.str()), int(p->number));
        const bool any = portfolioLists_[i]->count() > 0;
        portfolioBoxes_[i]->setEnabled(any);
        portfolioLists_[i]->setEnabled(any);
        portfolioLayout->addWidget(portfolioBoxes_[i], int(i), 0);
        portfolioLayout->addWidget(portfolioLists_[i], int(i), 1);
        connect(portfolioBoxes_[i], &QCheckBox::toggled, this, [this] { EnableControls(); });
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    QPushButton* preview = buttons->addButton(QStringLiteral("Preview"), QDialogButtonBox::ActionRole);
    preview->setObjectName(QString::number(kPreview));
    QPushButton* light = buttons->addButton(QStringLiteral("Light default"), QDialogButtonBox::ResetRole);
    light->setObjectName(QString::number(kLightDefault));
    QPushButton* dark = buttons->addButton(QStringLiteral("Dark default"), QDialogButtonBox::ResetRole);
    dark->setObjectName(QString::number(kDarkDefault));
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    help->setObjectName(QStringLiteral("9"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CTickerDesignDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CTickerDesignDlg::reject);
    connect(preview, &QPushButton::clicked, this, [this] { Preview(); });
    connect(light, &QPushButton::clicked, this, [this] { SetLook(false); });
    connect(dark, &QPushButton::clicked, this, [this] { SetLook(true); });
    InstallDialogHelp(*this, 0x20000 + kTemplateId, help);

    auto* grid = new QGridLayout(this);
    grid->addWidget(fieldsBox, 0, 0, 2, 1);
    grid->addWidget(categoriesBox, 0, 1);
    grid->addWidget(coloursBox, 1, 1);
    grid->addWidget(layoutBox, 0, 2);
    grid->addWidget(speedBox, 1, 2);
    grid->addWidget(portfolioBox, 2, 0, 1, 3);
    grid->addWidget(buttons, 3, 0, 1, 3);
    FillControls();
}

void CTickerDesignDlg::FillControls()
{
    const TickerDesign d = ReadTickerDesign(working_);
    const uint8_t* p = working_.data();
    speed_->setValue(d.speed);
    whiteSpace_->setValue(std::clamp<int>(d.whiteSpace, 1, 5));
    for (size_t bit = 0; bit < fields_.size(); ++bit)
        fields_[bit]->setChecked(d.fields & (1u << bit));
    const LogFont font = TickerFont();
    const int points = int(0.5 - double(font.height) * 72 / kScreenDpi);
    filledFace_ = FromCp1252(font.faceName());
    filledStyle_ = (font.weight >= 700 ? 1u : 0u) | (font.italic ? 2u : 0u) | (font.underline ? 4u : 0u);
    filledPoints_ = points > 0 ? points : kDefaultPoints;
    for (size_t i = 0; i < categories_.size(); ++i) {
        categories_[i]->setChecked(d.categories & (1u << i));
        categoryButtons_[i]->CreateFontSample(filledFace_, filledStyle_, filledPoints_, LoadU32(p + CategoryText + 4 * i),
                                              LoadU32(p + CategoryBackground + 4 * i), false);
    }
    for (size_t i = 0; i < colours_.size(); ++i)
        colours_[i]->CreateColourBox(LoadU32(p + UpColour + 4 * i), false);
    layouts_[size_t(std::min<int>(d.layout, 3))]->setChecked(true);
    (d.variableSpeed() ? variable_ : constant_)->setChecked(true);
    discard_->setChecked(d.discardStale());
    const std::array<uint16_t, 2> numbers = {d.portfolio1, d.portfolio2};
    for (size_t i = 0; i < 2; ++i) {
        portfolioBoxes_[i]->setChecked(d.portfolioFilter & (1u << i));
        const int at = portfolioLists_[i]->findData(int(numbers[i]));
        if (at >= 0)
            portfolioLists_[i]->setCurrentIndex(at);
    }
    EnableControls();
}

void CTickerDesignDlg::EnableControls()
{
    const bool constant = !variable_->isChecked();
    speed_->setEnabled(constant);
    slower_->setEnabled(constant);
    faster_->setEnabled(constant);
    for (size_t i = 0; i < 2; ++i)
        portfolioLists_[i]->setEnabled(portfolioBoxes_[i]->isEnabled() && portfolioBoxes_[i]->isChecked());
}

void CTickerDesignDlg::ReadControls()
{
    uint8_t* p = working_.data();
    uint16_t fields = 0;
    for (size_t bit = 0; bit < fields_.size(); ++bit)
        if (fields_[bit]->isChecked())
            fields |= uint16_t(1u << bit);
    StoreU16(p + FieldMask, fields);
    uint8_t categories = 0;
    for (size_t i = 0; i < categories_.size(); ++i) {
        if (categories_[i]->isChecked())
            categories |= uint8_t(1u << i);
        StoreU32(p + CategoryText + 4 * i, categoryButtons_[i]->GetColour(0));
        StoreU32(p + CategoryBackground + 4 * i, categoryButtons_[i]->GetColour(1));
    }
    p[Categories] = categories;
    for (size_t i = 0; i < colours_.size(); ++i)
        StoreU32(p + UpColour + 4 * i, colours_[i]->GetColour(0));
    int layout = 0;
    while (layout < 3 && !layouts_[size_t(layout)]->isChecked())
        ++layout;
    p[Layout] = uint8_t(layout == 3 ? TickerVerticalLayout(fields) : layout);
    p[Flags] = uint8_t((variable_->isChecked() ? 1 : 0) | (discard_->isChecked() ? 2 : 0));
    p[Speed] = uint8_t(speed_->value());
    p[WhiteSpace] = uint8_t(whiteSpace_->value());
    uint8_t filter = 0;
    for (size_t i = 0; i < 2; ++i) {
        if (portfolioBoxes_[i]->isChecked())
            filter |= uint8_t(1u << i);
        if (portfolioLists_[i]->currentIndex() >= 0)
            StoreU16(p + (i == 0 ? Portfolio1 : Portfolio2), uint16_t(portfolioLists_[i]->currentData().toInt()));
    }
    p[PortfolioFilter] = filter;
    // The category buttons' font is the program's ticker font.
    QString face;
    uint32_t style = 0;
    int size = 0;
    categoryButtons_[0]->GetFont(face, style, size);
    if (face == filledFace_ && style == filledStyle_ && size == filledPoints_)
        return;
    LogFont font = TickerFont();
    font.setFaceName(ToCp1252(face));
    font.height = HeightForPoints(size, kScreenDpi);
    font.weight = (style & 1) ? 700 : 400;
    font.italic = (style & 2) ? 1 : 0;
    font.underline = (style & 4) ? 1 : 0;
    SetTickerFont(font);
}

void CTickerDesignDlg::Preview()
{
    ReadControls();
    if (view_)
        view_->SetSettings(working_);
    previewed_ = true;
}

void CTickerDesignDlg::SetLook(bool dark)
{
    ReadControls();
    SetTickerLook(working_, dark);
    FillControls();
}

void CTickerDesignDlg::accept()
{
    ReadControls();
    if (working_ == opening_ && SameFont(TickerFont(), openingFont_)) {
        QDialog::accept();
        return;
    }
    if (view_) {
        view_->SetSettings(working_);
        view_->update();
    }
    if (slot_ >= 0 && size_t(slot_) < Config().tickers.records.size())
        Config().tickers.records[size_t(slot_)] = working_;
    changed_ = true;
    QDialog::accept();
}

void CTickerDesignDlg::reject()
{
    if (previewed_) {
        ReadControls();
        if (!(working_ == opening_) || !SameFont(TickerFont(), openingFont_)) {
            SetTickerFont(openingFont_);
            if (view_) {
                view_->SetSettings(opening_);
                view_->update();
            }
        }
    }
    // A font chosen and then cancelled without a preview goes too.
    if (!SameFont(TickerFont(), openingFont_))
        SetTickerFont(openingFont_);
    if (view_)
        view_->RestoreFrame(frameRect_);
    QDialog::reject();
}

} // namespace qv
