// The pivot points dialog and its Default, which keeps the lines shown.
#include "chartmodel/ui/PivotPointsDlg.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/StyleButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace qv {

using namespace graphsetting;

namespace {
constexpr uint32_t kPivotHelp = 68935;
constexpr int kShownIds[5] = {3174, 3202, 3177, 3192, 3195};
constexpr int kPenIds[5] = {3176, 3191, 3179, 3194, 3197};
const char* const kLineNames[5] = {"Pivot point", "First resistance", "Second resistance", "First support", "Second support"};
const char* const kMethods[3] = {"Traditional", "Variation 1", "Variation 2"};
} // namespace

CPivotPointsDlg::CPivotPointsDlg(GraphSetting& setting, size_t block, QWidget* parent)
    : CSettingBlockDlg(setting, parent), block_(block)
{
    setObjectName(QStringLiteral("27065"));
    setWindowTitle(QStringLiteral("Pivot Points"));
    auto* layout = new QGridLayout(this);
    method_ = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(QString::fromLatin1(kMethods[i]), this);
        r->setObjectName(QString::number(3180 + i));
        method_->addButton(r, i);
        layout->addWidget(r, i, 0);
    }
    for (int i = 0; i < 5; ++i) {
        shown_[size_t(i)] = new QCheckBox(QString::fromLatin1(kLineNames[i]), this);
        shown_[size_t(i)]->setObjectName(QString::number(kShownIds[i]));
        pens_[size_t(i)] = new CStyleButton(this);
        pens_[size_t(i)]->setObjectName(QString::number(kPenIds[i]));
        pens_[size_t(i)]->setFixedSize(100, 24);
        layout->addWidget(shown_[size_t(i)], 3 + i, 0);
        layout->addWidget(pens_[size_t(i)], 3 + i, 1);
    }
    auto* byDefault = new QPushButton(QStringLiteral("Default"), this);
    byDefault->setObjectName(QStringLiteral("3"));
    connect(byDefault, &QPushButton::clicked, this, [this] {
        GraphSetting defaults = setting_;
        InitPivotPointSettings(defaults);
        uint32_t ticks = 0;
        for (int i = 0; i < 5; ++i)
            ticks |= shown_[size_t(i)]->isChecked() ? 1u << i : 0u;
        SetU32(defaults, block_ + kPivotFlags, ticks);
        show(defaults);
    });
    auto* preview = new QPushButton(QStringLiteral("Preview"), this);
    preview->setObjectName(QStringLiteral("18127"));
    connect(preview, &QPushButton::clicked, this, [this] { Preview(); });
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kPivotHelp);
    buttons->addButton(byDefault, QDialogButtonBox::ResetRole);
    buttons->addButton(preview, QDialogButtonBox::ActionRole);
    layout->addWidget(buttons, 8, 0, 1, 2);
    show(setting);
}

void CPivotPointsDlg::show(const GraphSetting& from)
{
    uint32_t method = U32(from, block_ + kPivotMethod);
    if (QAbstractButton* b = method_->button(method <= 2 ? int(method) : 0))
        b->setChecked(true);
    uint32_t flags = U32(from, block_ + kPivotFlags);
    uint32_t back = U32(from, kBackground) & 0xFFFFFF;
    for (int i = 0; i < 5; ++i) {
        shown_[size_t(i)]->setChecked(flags & (1u << i));
        pens_[size_t(i)]->CreateFromPackedStyle(U32(from, block_ + kPivotPens + 4 * size_t(i)), back, false);
    }
}

// Writes the dialog's values into the setting's block; words 7-8 stay as they are.
void CPivotPointsDlg::write()
{
    SetU32(setting_, block_ + kPivotMethod, uint32_t(std::max(method_->checkedId(), 0)));
    uint32_t flags = U32(setting_, block_ + kPivotFlags) & ~0x1Fu;
    for (int i = 0; i < 5; ++i) {
        if (shown_[size_t(i)]->isChecked())
            flags |= 1u << i;
        CStyleButton* pen = pens_[size_t(i)];
        SetU32(setting_, block_ + kPivotPens + 4 * size_t(i), (pen->GetColour(0) & 0xFFFFFF) | pen->GetPackedStyle());
    }
    SetU32(setting_, block_ + kPivotFlags, flags);
}

} // namespace qv
