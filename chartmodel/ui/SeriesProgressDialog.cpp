// A progress dialog whose position the breadth build sets; painted between shares.
#include "chartmodel/ui/SeriesProgressDialog.h"

#include "chartmodel/PortfolioSeriesCache.h"
#include "shell/ui/ProgressDlg.h"

#include <QApplication>
#include <memory>

namespace qv {
namespace {

class SeriesProgressDialog final : public SeriesProgress {
public:
    void Open(const std::string& title) override
    {
        dialog_ = std::make_unique<CProgressDlg>(QApplication::activeWindow());
        dialog_->caption = QString::fromLatin1(title.c_str());
        dialog_->autoStart = false;
        dialog_->centre = true;
        dialog_->show();
        Paint();
    }

    void SetPosition(int percent) override
    {
        if (!dialog_)
            return;
        dialog_->SetPos(percent);
        Paint();
    }

    void Close() override { dialog_.reset(); }

private:
    static void Paint() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

    std::unique_ptr<CProgressDlg> dialog_;
};

} // namespace

void InstallSeriesProgressDialog()
{
    static SeriesProgressDialog dialog;
    SetSeriesProgress(&dialog);
}

} // namespace qv
