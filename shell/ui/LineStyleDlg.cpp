// The line type and colour dialog.
#include "shell/ui/LineStyleDlg.h"

#include "shell/ui/DialogHelp.h"
#include "shell/ui/StyleButton.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

namespace qv {
namespace {
constexpr uint32_t kLineStyleHelp = 86480;
}

CLineStyleDlg::CLineStyleDlg(uint32_t word, uint32_t background, QWidget* parent)
    : QDialog(parent), word_(word), sample_(new CStyleButton(this)), defaultBox_(new QCheckBox(QStringLiteral("Set as default"), this))
{
    setObjectName(QStringLiteral("366"));
    setWindowTitle(QStringLiteral("Select the line type and colour"));
    sample_->setObjectName(QStringLiteral("1563"));
    sample_->setFixedSize(120, 28);
    sample_->CreateLineSample(0, 1, 1, word & 0xFFFFFF, background, false);
    sample_->SetPackedStyle(word);
    sample_->SetSelectorOptions(8, 1);
    defaultBox_->setObjectName(QStringLiteral("2168"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Click the line to change it"), this), 0, 0, 1, 3);
    layout->addWidget(sample_, 1, 0, 1, 3);
    layout->addWidget(defaultBox_, 2, 0, 1, 3);
    layout->addWidget(OkCancelHelpButtons(*this, kLineStyleHelp), 3, 0, 1, 3);
}

void CLineStyleDlg::accept()
{
    word_ = sample_->GetColour(0) | sample_->GetPackedStyle();
    setAsDefault_ = defaultBox_->isChecked();
    QDialog::accept();
}

} // namespace qv
