// The intraday chart's default-range dialog.
#include "chartmodel/ui/IntradayRangeDlg.h"

#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

namespace qv {

namespace {
constexpr uint32_t kDefaultRangeHelp = 92627;
}

CIntradayRangeDlg::CIntradayRangeDlg(int minutes, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("806"));
    setWindowTitle(QStringLiteral("Define the default range"));
    limited_ = new QCheckBox(QStringLiteral("Set limited range"), this);
    limited_->setObjectName(QStringLiteral("3340"));
    limited_->setChecked(true);
    minutes_ = new QLineEdit(QString::number(minutes), this);
    minutes_->setObjectName(QStringLiteral("3341"));
    auto* label = new QLabel(QStringLiteral("minutes"), this);
    connect(limited_, &QCheckBox::toggled, this, [this, label](bool on) {
        minutes_->setEnabled(on);
        label->setEnabled(on);
    });
    auto* layout = new QGridLayout(this);
    layout->addWidget(limited_, 0, 0);
    layout->addWidget(minutes_, 0, 1);
    layout->addWidget(label, 0, 2);
    layout->addWidget(OkCancelHelpButtons(*this, kDefaultRangeHelp), 1, 0, 1, 3);
}

bool CIntradayRangeDlg::Limited() const { return limited_->isChecked(); }
int CIntradayRangeDlg::Minutes() const { return minutes_->text().toInt(); }

void CIntradayRangeDlg::accept()
{
    if (Limited() && !RangeMinutesValid(Minutes())) {
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        QStringLiteral("Please enter a value between %1 and %2").arg(kRangeMinutesMin).arg(kRangeMinutesMax),
                        QMessageBox::Ok, this);
        RunModalDialog(box);
        minutes_->setFocus();
        minutes_->selectAll();
        return;
    }
    QDialog::accept();
}

} // namespace qv
