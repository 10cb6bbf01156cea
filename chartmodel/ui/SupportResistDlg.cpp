// The 45-degree support and resistance lines dialog.
#include "chartmodel/ui/SupportResistDlg.h"

#include "chartmodel/GraphSettingLayout.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/StyleButton.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>

namespace qv {

using namespace graphsetting;

namespace {
constexpr uint32_t kSupportResistHelp = 92775;
const char* const kLineNames[4] = {"Bearish Resistance", "Bearish Support", "Bullish Resistance", "Bullish Support"};
size_t PenAt(int i) { return kSupportResist + 4 + 4 * size_t(i); }
} // namespace

CSupportResistDlg::CSupportResistDlg(GraphSetting& setting, QWidget* parent)
    : CSettingBlockDlg(setting, parent)
{
    setObjectName(QStringLiteral("837"));
    setWindowTitle(QStringLiteral("45 degree Support and Resistance lines"));
    auto* layout = new QGridLayout(this);
    uint32_t flags = U32(setting, kSupportResist);
    uint32_t back = U32(setting, kBackground) & 0xFFFFFF;
    for (int i = 0; i < 4; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(kLineNames[i]), this);
        box->setObjectName(QString::number(3874 + 2 * i));
        box->setChecked(flags & (1u << i));
        auto* colour = new CStyleButton(this);
        colour->setObjectName(QString::number(3875 + 2 * i));
        colour->setFixedSize(90, 24);
        colour->CreateColourBox(U32(setting, PenAt(i)) & 0xFFFFFF, false);
        colour->SetBackColour(back);
        shown_[size_t(i)] = box;
        colours_[size_t(i)] = colour;
        layout->addWidget(box, i, 0);
        layout->addWidget(colour, i, 1);
    }
    auto* preview = new QPushButton(QStringLiteral("Preview"), this);
    preview->setObjectName(QStringLiteral("18127"));
    connect(preview, &QPushButton::clicked, this, [this] { Preview(); });
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kSupportResistHelp);
    buttons->addButton(preview, QDialogButtonBox::ActionRole);
    layout->addWidget(buttons, 4, 0, 1, 2);
}

// The flags and the four colours; the style bits of each pen and words 5-6 stay as they are.
void CSupportResistDlg::write()
{
    uint32_t flags = U32(setting_, kSupportResist) & ~0xFu;
    for (int i = 0; i < 4; ++i) {
        if (shown_[size_t(i)]->isChecked())
            flags |= 1u << i;
        uint32_t word = U32(setting_, PenAt(i));
        SetU32(setting_, PenAt(i), (word & 0xFF000000u) | (colours_[size_t(i)]->GetColour(0) & 0xFFFFFF));
    }
    SetU32(setting_, kSupportResist, flags);
}

} // namespace qv
