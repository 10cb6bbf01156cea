// Progress dialog stepped through its own posted messages.
#include "shell/ui/ProgressDlg.h"

#include <QApplication>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace qv {

CProgressDlg::CProgressDlg(QWidget* parent) : QDialog(parent), bar_(new QProgressBar(this)), text_(new QLabel(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(bar_);
    bar_->setTextVisible(false);
    resize(320, 90);
}

void CProgressDlg::SetPos(int position) { bar_->setValue(position); }
int CProgressDlg::Pos() const { return bar_->value(); }

void CProgressDlg::CentreOnMainWindow()
{
    QWidget* main = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
    QRect area = main ? main->frameGeometry() : screen()->availableGeometry();
    move(area.center() - rect().center());
    show();
    setWindowTitle(caption);
    text_->setText(message);
}

void CProgressDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!initialised_)
        Initialise();
}

void CProgressDlg::Initialise()
{
    initialised_ = true;
    if (centre)
        CentreOnMainWindow();
    setWindowTitle(caption);
    text_->setText(message);
    bar_->setRange(0, rangeMaximum);
    bar_->setValue(0);
    if (autoStart)
        Post(kStart);
}

void CProgressDlg::Post(uint32_t msg)
{
    QMetaObject::invokeMethod(this, [this, msg] { OnMessage(msg); }, Qt::QueuedConnection);
}

intptr_t CProgressDlg::OnMessage(uint32_t msg)
{
    switch (msg) {
    case kStart:
        bar_->setRange(0, rangeMaximum);
        bar_->setValue(0);
        Post(kStep);
        return 0;
    case kStep: {
        bar_->setValue(int(stepCounter_++));
        bool more = stepFunction && stepFunction();
        if (more)
            Post(kStep);
        else
            reject();
        return 0;
    }
    case kQuery: return 1;
    default: return 0;
    }
}

} // namespace qv
