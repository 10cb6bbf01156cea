// The box colours dialog.
#include "shell/ui/BoxColoursDlg.h"

#include "platform/qt/QtText.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/StyleButton.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

namespace qv {
namespace {
constexpr uint32_t kBoxColoursHelp = 86487;
}

CBoxColoursDlg::CBoxColoursDlg(const BoxColours& box, int pixelsPerInch, QWidget* parent)
    : QDialog(parent), box_(box), dpi_(pixelsPerInch), background_(new CStyleButton(this)), fontSample_(new CStyleButton(this)),
      border_(new CStyleButton(this)), hasBackground_(new QCheckBox(QStringLiteral("Background"), this)),
      setDefault_(new QCheckBox(QStringLiteral("Set as default"), this))
{
    setObjectName(QStringLiteral("365"));
    setWindowTitle(QStringLiteral("Set box colours"));
    background_->setObjectName(QStringLiteral("1370"));
    fontSample_->setObjectName(QStringLiteral("1378"));
    border_->setObjectName(QStringLiteral("1458"));
    hasBackground_->setObjectName(QStringLiteral("2055"));
    setDefault_->setObjectName(QStringLiteral("2169"));
    for (CStyleButton* b : {background_, fontSample_, border_})
        b->setFixedSize(110, 28);

    uint32_t flags = (box.font.weight >= 700 ? 1u : 0u) | (box.font.italic ? 2u : 0u) | (box.font.underline ? 4u : 0u);
    int points = LogFontPoints(box.font, dpi_);
    bool on = !(box.flags & kBoxNoBackground);
    hasBackground_->setChecked(on);
    background_->CreateColourBox(box.background, false);
    fontSample_->CreateFontSample(FromCp1252(box.font.faceName()), flags, points, box.text, on ? box.background : box.alternative, false);
    if (!on)
        fontSample_->SetSelectorOptions(8, 1);
    LineStyleBits border = ReadLineBits(box.border);
    border_->CreateLineSample(border.style, int((box.border >> 28) & 7) + 1, 1, box.border & 0xFFFFFF, box.background, false);
    if (!on)
        border_->SetSelectorOptions(8, 1);
    applyBackgroundState();

    connect(hasBackground_, &QCheckBox::clicked, this, [this] { applyBackgroundState(); });
    for (CStyleButton* b : {background_, fontSample_, border_})
        connect(b, &CStyleButton::styleChosen, this, [this, b] { SampleChosen(b); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Text"), this), 0, 0);
    layout->addWidget(fontSample_, 0, 1);
    layout->addWidget(hasBackground_, 1, 0);
    layout->addWidget(background_, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("Border"), this), 2, 0);
    layout->addWidget(border_, 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("Note: Chosen font applies to all text boxes"), this), 3, 0, 1, 2);
    layout->addWidget(setDefault_, 4, 0, 1, 2);
    layout->addWidget(OkCancelHelpButtons(*this, kBoxColoursHelp), 5, 0, 1, 2);
}

void CBoxColoursDlg::applyBackgroundState()
{
    bool on = hasBackground_->isChecked();
    background_->setEnabled(on);
    border_->setEnabled(on);
    if (on) {
        uint32_t background = background_->GetColour(0);
        fontSample_->SetBackColour(background);
        border_->SetBackColour(background);
        fontSample_->SetSelectorOptions(0, 1);
        border_->SetSelectorOptions(0, 1);
    } else {
        fontSample_->SetBackColour(box_.alternative);
        fontSample_->SetSelectorOptions(8, 1);
    }
}

void CBoxColoursDlg::SampleChosen(CStyleButton* from)
{
    uint32_t background;
    if (from == fontSample_) {
        background = fontSample_->GetColour(1);
        background_->SetLineColour(background);
        border_->SetBackColour(background);
    } else if (from == background_) {
        background = background_->GetColour(0);
        fontSample_->SetBackColour(background);
        border_->SetBackColour(background);
    } else {
        background = border_->GetColour(1);
        background_->SetLineColour(background);
        fontSample_->SetBackColour(background);
    }
}

void CBoxColoursDlg::accept()
{
    box_.text = fontSample_->GetColour(0);
    box_.background = background_->GetColour(0);
    box_.border = border_->GetColour(0) | border_->GetPackedStyle();
    QString face;
    uint32_t flags = 0;
    int points = 10;
    fontSample_->GetFont(face, flags, points);
    LogFont font;
    font.setFaceName(ToCp1252(face));
    font.weight = (flags & 1) ? 700 : 400;
    font.italic = (flags & 2) ? 1 : 0;
    font.underline = (flags & 4) ? 1 : 0;
    font.height = HeightForPoints(points, dpi_);
    box_.font = font;
    box_.points = points;
    if (hasBackground_->isChecked())
        box_.flags &= ~kBoxNoBackground;
    else
        box_.flags |= kBoxNoBackground;
    box_.setAsDefault = setDefault_->isChecked();
    QDialog::accept();
}

} // namespace qv
