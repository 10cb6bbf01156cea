// The connecting dialog.
#include "shell/ui/FeedConnectDlg.h"

#include "platform/qt/QtText.h"
#include "realtime/FeedStates.h"
#include "realtime/feed/RTEngine.h"
#include "shell/FeedClient.h"
#include "shell/FeedConnectProgress.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr int kNoticeControl = 3173;
constexpr const char* kRightsNotice =
    "The stock exchanges own the market data this feed delivers. It is supplied for your own "
    "private use only: it may not be passed on, shown to others or stored for anyone else.";

QPointer<CFeedConnectDlg>& OpenDialog()
{
    static QPointer<CFeedConnectDlg> dialog;
    return dialog;
}

} // namespace

CFeedConnectDlg::CFeedConnectDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Connecting to intraday feed"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* notice = new QLabel(FromCp1252(kRightsNotice));
    notice->setObjectName(QString::number(kNoticeControl));
    notice->setWordWrap(true);
    notice->setFrameShape(QFrame::StyledPanel);
    progress_ = new QProgressBar;
    progress_->setRange(kFeedDisconnected, kFeedConnected);
    progress_->setTextVisible(false);
    status_ = new QLabel;
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(notice);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    opened_.start();
    FeedConnectProgressHook() = [self = QPointer<CFeedConnectDlg>(this)](int32_t step) {
        if (self)
            self->UpdateConnectProgress(step);
    };
}

CFeedConnectDlg::~CFeedConnectDlg() = default;

CFeedConnectDlg* CFeedConnectDlg::Open(QWidget* parent)
{
    QPointer<CFeedConnectDlg>& dialog = OpenDialog();
    if (!dialog || dialog->closing_)
        dialog = new CFeedConnectDlg(parent);
    dialog->show();
    dialog->raise();
    dialog->UpdateConnectProgress(RTConnectionStep());
    return dialog;
}

CFeedConnectDlg* CFeedConnectDlg::Current() { return OpenDialog(); }

void CFeedConnectDlg::CloseCurrent()
{
    if (CFeedConnectDlg* dialog = OpenDialog())
        dialog->reject();
}

void CFeedConnectDlg::UpdateConnectProgress(int32_t step)
{
    if (closing_ || !isVisible())
        return;
    FeedConnectView view = FeedConnectStepView(step, TheRTEngine().failure);
    progress_->setValue(view.position);
    status_->setText(FromCp1252(view.text));
    if (step != kFeedConnected)
        return;
    // Connected: the dialog's work is done.
    connected_ = true;
    reject();
}

void CFeedConnectDlg::done(int result)
{
    if (closing_)
        return;
    closing_ = true;
    FeedConnectProgressHook() = nullptr;
    if (OpenDialog() == this)
        OpenDialog() = nullptr;
    // Step 7 shows only after a real step 7; the dialog stays up on a timer, never a sleep.
    if (connected_) {
        FeedConnectView view = FeedConnectStepView(kFeedConnected);
        progress_->setValue(view.position);
        status_->setText(FromCp1252(view.text));
    }
    uint32_t wait = FeedConnectCloseWaitMs(uint32_t(opened_.elapsed()));
    QTimer::singleShot(int(wait), this, [this, result] { QDialog::done(result); });
}

} // namespace qv
