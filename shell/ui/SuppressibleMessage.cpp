// The program's message dialog.
#include "shell/ui/SuppressibleMessage.h"

#include "platform/qt/KeptLines.h"
#include "shell/HelpTopics.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>


namespace qv {

CSuppressibleMessage::CSuppressibleMessage(const QString& text, const Options& options, QWidget* parent)
    : QDialog(parent), options_(options)
{
    setObjectName("770");
    setWindowTitle("Quorvantis message");
    auto* icon = new QLabel(this);
    icon->setObjectName("3138");
    int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(side, side));
    text_ = new QLabel(text, this);
    text_->setObjectName("3137");
    text_->setWordWrap(true);
    // A text broken into lines by its writer keeps those lines: the label is made wide enough for
    // the longest, so the wrap does not break them again.
    text_->setMinimumWidth(KeptLinesWidth(text_->fontMetrics(), text, 260, 560));
    check_ = new QCheckBox("In the future, do not show this message", this);
    check_->setObjectName("3136");
    check_->setEnabled(!options.checkDisabled);
    first_ = new QPushButton(options.yesNo ? "Yes" : "OK", this);
    first_->setObjectName("1");
    first_->setDefault(true);
    QString secondText = options.help ? "Help" : options.yesNo ? "No" : "Cancel";
    second_ = new QPushButton(secondText, this);
    second_->setObjectName("2");
    second_->setVisible(!options.singleButton);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(text_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(first_);
    if (!options.singleButton)
        buttons->addWidget(second_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(check_);
    layout->addLayout(buttons);

    connect(first_, &QPushButton::clicked, this, &QDialog::accept);
    connect(second_, &QPushButton::clicked, this, &CSuppressibleMessage::onSecond);
}

void CSuppressibleMessage::onSecond()
{
    if (options_.help) {
        ShowPopupHelp(options_.helpTopic + kHelpCommandBase);
        return;
    }
    reject();
}

int CSuppressibleMessage::run()
{
    return RunModalDialog(*this);
}

bool CSuppressibleMessage::suppressChecked() const { return check_->isChecked(); }
void CSuppressibleMessage::setSuppressChecked(bool on) { check_->setChecked(on); }

} // namespace qv
