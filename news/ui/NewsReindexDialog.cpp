// The reindex's progress dialog: its range is the day count, its position the day reached; the
// dialog closed by Esc asks the reindex to stop.
#include "news/ui/NewsReindexDialog.h"

#include "shell/ui/ProgressDlg.h"

#include <QApplication>

namespace qv {

NewsReindexDialog::NewsReindexDialog() = default;
NewsReindexDialog::~NewsReindexDialog() = default;

void NewsReindexDialog::open(size_t days)
{
    stopped_ = false;
    dialog_ = std::make_unique<CProgressDlg>(QApplication::activeWindow());
    dialog_->caption = QStringLiteral("News reindex");
    dialog_->message = QStringLiteral(" News reindexing progress ");
    dialog_->autoStart = false;
    dialog_->centre = true;
    dialog_->rangeMaximum = uint16_t(std::min<size_t>(days, 0xFFFF));
    QObject::connect(dialog_.get(), &QDialog::rejected, [this] { stopped_ = true; });
    dialog_->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool NewsReindexDialog::step(size_t day)
{
    if (!dialog_)
        return true;
    dialog_->SetPos(int(std::min<size_t>(day, 0xFFFF)));
    return !stopped_;
}

void NewsReindexDialog::close()
{
    dialog_.reset();
}

void InstallNewsReindexDialog()
{
    SetNewsReindexProgressMaker([]() -> std::unique_ptr<NewsReindexProgress> {
        return std::make_unique<NewsReindexDialog>();
    });
}

} // namespace qv
