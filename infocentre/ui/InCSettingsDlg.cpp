// The InfoCentre settings dialog.
#include "infocentre/ui/InCSettingsDlg.h"

#include "infocentre/InCStore.h"
#include "shell/ui/ColourSelectorDlg.h"
#include "shell/ui/StyleButton.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kColourIds[5] = {4022, 4024, 4025, 4027, 4031};
constexpr const char* kColourLabels[5] = {"Background", "Alt. Back.", "Links", "Visited links", "Grid Lines"};

uint32_t* ColourField(InCStyle& style, int i)
{
    uint32_t* fields[5] = {&style.background, &style.alternateBackground, &style.linkColour, &style.visitedColour,
                           &style.gridLines};
    return fields[i];
}

QCheckBox* Box(QWidget* parent, const char* text, int id)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::number(id));
    return box;
}

} // namespace

CInCSettingsDlg::CInCSettingsDlg(CInCStore& store, QWidget* parent) : QDialog(parent), store_(store)
{
    setWindowTitle("InfoCentre Settings");
    setObjectName("InfoCentre Settings");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);

    auto* autoView = new QGroupBox("AutoView", this);
    auto* autoRow = new QVBoxLayout(autoView);
    onStartUp_ = Box(autoView, "On start up", 4008);
    afterUpdate_ = Box(autoView, "After an update", 4009);
    const uint16_t word = InfoCentreSettings();
    onStartUp_->setChecked(word & 1);
    afterUpdate_->setChecked(word & 2);
    autoRow->addWidget(onStartUp_);
    autoRow->addWidget(afterUpdate_);
    layout->addWidget(autoView);

    auto* categories = new QGroupBox("Auto-view categories", this);
    auto* grid = new QGridLayout(categories);
    std::vector<std::string> names;
    for (const auto& entry : store_.GetCategories())
        names.push_back(entry.first);
    choices_ = AutoViewChoicesFor(names, ReadDisabledCategories(store_.Folder()));
    for (size_t i = 0; i < kAutoViewCategoryBoxes; ++i) {
        categories_[i] = Box(categories, "", int(4010 + i));
        grid->addWidget(categories_[i], int(i % 5), int(i / 5));
        if (i >= choices_.categories.size()) {
            categories_[i]->hide();
            continue;
        }
        categories_[i]->setText(QString::fromStdString(choices_.categories[i].first));
        categories_[i]->setChecked(choices_.categories[i].second);
    }
    surveys_ = Box(categories, "Auto-view sentiment surveys", 3865);
    surveys_->setChecked(choices_.surveys);
    grid->addWidget(surveys_, 5, 0, 1, 2);
    layout->addWidget(categories);

    auto* display = new QGroupBox("Display", this);
    auto* styleGrid = new QGridLayout(display);
    text_ = new CStyleButton(display);
    text_->setObjectName("4021");
    text_->SetSelectorOptions(kSelectorOneColour, 1);
    text_->setMinimumSize(120, 28);
    styleGrid->addWidget(new QLabel("Text", display), 0, 0);
    styleGrid->addWidget(text_, 0, 1);
    for (int i = 0; i < 5; ++i) {
        colours_[i] = new CStyleButton(display);
        colours_[i]->setObjectName(QString::number(kColourIds[i]));
        colours_[i]->SetSelectorOptions(kSelectorOneColour, 1);
        colours_[i]->setMinimumSize(60, 22);
        styleGrid->addWidget(new QLabel(kColourLabels[i], display), 1 + i, 0);
        styleGrid->addWidget(colours_[i], 1 + i, 1);
    }
    padding_ = new QSlider(Qt::Horizontal, display);
    padding_->setObjectName("4020");
    padding_->setRange(0, 5);
    styleGrid->addWidget(new QLabel("White space", display), 6, 0);
    styleGrid->addWidget(padding_, 6, 1);
    auto* lightDefault = new QPushButton("Light Default", display);
    lightDefault->setObjectName("4030");
    styleGrid->addWidget(lightDefault, 7, 1);
    layout->addWidget(display);
    connect(lightDefault, &QPushButton::clicked, this, [this] {
        InCStyle style;
        SetDefaultStyle(style);
        ShowStyle(style);
    });

    // A sheet that cannot be read leaves the defaults.
    SetDefaultStyle(style_);
    ReadIncCss(style_, store_.Folder() / "inc.css");
    loaded_ = style_;
    ShowStyle(style_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CInCSettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CInCSettingsDlg::reject);
}

void CInCSettingsDlg::ShowStyle(const InCStyle& style)
{
    InCStyle shown = style;
    text_->CreateFontSample(QString::fromStdString(shown.fontFamily), shown.styleBits, shown.fontSize, shown.textColour,
                            shown.background, false);
    for (int i = 0; i < 5; ++i)
        colours_[i]->CreateColourBox(*ColourField(shown, i), false);
    padding_->setValue(shown.padding);
}

InCStyle CInCSettingsDlg::ReadControls() const
{
    InCStyle style = style_;
    QString face;
    uint32_t flags = 0;
    int size = 0;
    text_->GetFont(face, flags, size);
    style.fontFamily = face.toStdString();
    style.styleBits = flags;
    style.fontSize = size;
    style.textColour = text_->GetColour(0);
    for (int i = 0; i < 5; ++i)
        *ColourField(style, i) = colours_[i]->GetColour(0);
    style.padding = padding_->value();
    return style;
}

void CInCSettingsDlg::accept()
{
    SetInfoCentreSettings(InCSettingsWord(onStartUp_->isChecked(), afterUpdate_->isChecked()));
    style_ = ReadControls();
    if (!(style_ == loaded_))
        styleChanged_ = WriteIncCss(style_, store_.Folder() / "inc.css");
    for (size_t i = 0; i < choices_.categories.size(); ++i)
        choices_.categories[i].second = categories_[i]->isChecked();
    choices_.surveys = surveys_->isChecked();
    WriteDisabledCategories(store_.Folder(), DisabledCategoriesOf(choices_));
    QDialog::accept();
}

void AfterInCSettings(CInCStore& store, bool styleChanged)
{
    if (styleChanged)
        store.RefreshOtherWindows(0);
    store.RefreshAutoView(nullptr, true);
}

} // namespace qv
