// The breadth build's progress dialog: shown centred, advanced by the build, painted as it goes.
#include "chartmodel/ui/SeriesProgressDialog.h"

#include "shell/ui/ProgressDlg.h"

#include <QApplication>

namespace qv {
namespace {

void Paint()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

SeriesProgressDialog::SeriesProgressDialog() = default;
SeriesProgressDialog::~SeriesProgressDialog() = default;

void SeriesProgressDialog::Open(const std::string& title)
{
    dialog_ = std::make_unique<CProgressDlg>(QApplication::activeWindow());
    dialog_->caption = QString::fromLatin1(title.c_str());
    dialog_->autoStart = false;
    dialog_->centre = true;
    dialog_->show();
    Paint();
}

void SeriesProgressDialog::SetPosition(int percent)
{
    if (!dialog_)
        return;
    dialog_->SetPos(percent);
    Paint();
}

void SeriesProgressDialog::Close()
{
    dialog_.reset();
}

void InstallSeriesProgressDialog()
{
    static SeriesProgressDialog dialog;
    SetSeriesProgress(&dialog);
}

} // namespace qv
