// The colour-only dialog for locked records and settings.
#include "chartmodel/ui/IndicatorColourDlg.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/StyleButton.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <vector>

namespace qv {

namespace {
constexpr uint32_t kColourHelp = 92810;
}

CIndicatorColourDlg::CIndicatorColourDlg(std::span<uint32_t> words, int schemeKey, uint32_t defaultsKey, uint32_t background,
                                         std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), words_(words), schemeKey_(schemeKey), defaultsKey_(defaultsKey), background_(background),
      redraw_(std::move(redraw))
{
    setObjectName(QStringLiteral("845"));
    setWindowTitle(QStringLiteral("Edit Indicator Colour"));
    auto* layout = new QGridLayout(this);
    for (int i = 0; i < 4; ++i) {
        Row& row = rows_[size_t(i)];
        row.label = new QLabel(QStringLiteral("Indicator colour %1").arg(i), this);
        row.label->setObjectName(QString::number(4079 + i));
        row.button = new CStyleButton(this);
        row.button->setObjectName(QString::number(4085 + i));
        row.button->setFixedSize(110, 24);
        layout->addWidget(row.label, i, 0);
        layout->addWidget(row.button, i, 1);
    }
    auto* buttons = OkCancelHelpButtons(*this, kColourHelp);
    auto* preview = buttons->addButton(QStringLiteral("Preview"), QDialogButtonBox::ApplyRole);
    preview->setObjectName(QStringLiteral("18127"));
    connect(preview, &QPushButton::clicked, this, [this] { Preview(); });
    layout->addWidget(buttons, 4, 0, 1, 2);
}

void CIndicatorColourDlg::AddColour(int slot, int mode, const QString& label)
{
    if (used_ >= 4 || slot < 0 || size_t(slot) >= words_.size())
        return;
    Row& row = rows_[size_t(used_++)];
    row.slot = slot;
    row.colourOnly = mode == 4;
    row.held = words_[size_t(slot)];
    row.label->setText(label);
    if (row.colourOnly)
        row.button->CreateColourBox(row.held & 0xFFFFFF, false);
    else
        row.button->CreateFromPackedStyle(row.held, background_, false);
}

void CIndicatorColourDlg::showEvent(QShowEvent* event)
{
    for (int i = used_; i < 4; ++i) {
        rows_[size_t(i)].label->hide();
        rows_[size_t(i)].button->hide();
    }
    QDialog::showEvent(event);
}

void CIndicatorColourDlg::WriteButtons()
{
    for (int i = 0; i < used_; ++i) {
        const Row& row = rows_[size_t(i)];
        uint32_t colour = row.button->GetColour(0);
        words_[size_t(row.slot)] = row.colourOnly ? colour : (colour | row.button->GetPackedStyle());
    }
}

void CIndicatorColourDlg::Preview()
{
    WriteButtons();
    if (redraw_)
        redraw_();
}

void CIndicatorColourDlg::accept()
{
    Preview();
    if (schemeKey_ >= 0 && used_ > 0) {
        std::vector<uint32_t> pens;
        for (int i = 0; i < used_; ++i)
            pens.push_back(words_[size_t(rows_[size_t(i)].slot)]);
        SaveIndicatorLineStyles(pens, uint32_t(schemeKey_), defaultsKey_);
    }
    QDialog::accept();
}

void CIndicatorColourDlg::reject()
{
    for (int i = 0; i < used_; ++i)
        words_[size_t(rows_[size_t(i)].slot)] = rows_[size_t(i)].held;
    if (redraw_)
        redraw_();
    QDialog::reject();
}

} // namespace qv
