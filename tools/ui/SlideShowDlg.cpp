// The slide-show dialog.
#include "tools/ui/SlideShowDlg.h"

#include "platform/MessageBox.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr uint32_t kHelpTopic = 0x20000 + 673;

} // namespace

CSlideShow::CSlideShow(double seconds, bool loop, QWidget* parent)
    : QDialog(parent), delay_(new QLineEdit(this)), loopBox_(new QCheckBox(QStringLiteral("Loop at end of list"), this)),
      seconds_(seconds), loop_(loop)
{
    setObjectName(QStringLiteral("673"));
    setWindowTitle(QStringLiteral("Slide show"));
    delay_->setObjectName(QString::number(kDelay));
    loopBox_->setObjectName(QString::number(kLoop));
    delay_->setText(QString::number(seconds, 'g', 3));
    delay_->setMaximumWidth(80);
    loopBox_->setChecked(loop);
    auto* about = new QLabel(
        QStringLiteral("The slide show will go through the current view or portfolio showing the chart for each share."), this);
    about->setWordWrap(true);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Delay between shares"), this));
    row->addWidget(delay_);
    row->addWidget(new QLabel(QStringLiteral("sec."), this));
    row->addStretch();
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* start = buttons->addButton(QStringLiteral("Start"), QDialogButtonBox::AcceptRole);
    start->setObjectName(QStringLiteral("1"));
    start->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSlideShow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    InstallDialogHelp(*this, kHelpTopic, help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addLayout(row);
    layout->addWidget(loopBox_);
    layout->addWidget(new QLabel(QStringLiteral("NOTE: The 'ESC' key stops the slide show."), this));
    layout->addWidget(buttons);
}

void CSlideShow::accept()
{
    bool number = false;
    const double seconds = delay_->text().trimmed().toDouble(&number);
    if (!number || seconds < kShortest || seconds > kLongest) {
        ShowMessage("Please enter a number between 0.1 and 60.", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        delay_->setFocus();
        delay_->selectAll();
        return;
    }
    seconds_ = seconds;
    loop_ = loopBox_->isChecked();
    QDialog::accept();
}

bool RunSlideShowDialog(double& seconds, bool& loop)
{
    CSlideShow dialog(seconds, loop, QApplication::activeWindow());
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    seconds = dialog.seconds();
    loop = dialog.loop();
    return true;
}

} // namespace qv
