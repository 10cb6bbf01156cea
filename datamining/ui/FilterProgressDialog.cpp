// The filter runs' progress window: centred on the main window, the view's frame disabled while it shows.
#include "datamining/ui/FilterProgressDialog.h"

#include "datamining/FilterProgress.h"
#include "shell/ui/ProgressDlg.h"
#include "views/ViewBase.h"

#include <QApplication>
#include <QPointer>

#include <memory>

namespace qv {
namespace {

constexpr uint16_t kBarSteps = 1000;

class FilterProgressDialog : public FilterProgressWindow {
public:
    bool Open(const std::string& caption, const std::string& message, uint32_t total, CViewBase* view) override
    {
        QWidget* viewWidget = dynamic_cast<QWidget*>(view);
        QWidget* main = viewWidget ? viewWidget->window() : QApplication::activeWindow();
        if (!main)
            return false;
        frame_ = viewWidget && viewWidget->parentWidget() ? viewWidget->parentWidget() : viewWidget;
        if (frame_)
            frame_->setEnabled(false);
        total_ = total;
        dialog_ = std::make_unique<CProgressDlg>(main);
        dialog_->caption = QString::fromLatin1(caption.c_str());
        dialog_->message = QString::fromLatin1(message.c_str());
        dialog_->autoStart = false;
        dialog_->centre = true;
        dialog_->rangeMaximum = kBarSteps;
        dialog_->show();
        return true;
    }

    void SetPosition(uint32_t position) override
    {
        if (dialog_ && total_ > 0)
            dialog_->SetPos(int(uint64_t(std::min(position, total_)) * kBarSteps / total_));
    }

    void Close() override
    {
        if (frame_)
            frame_->setEnabled(true);
        frame_ = nullptr;
        if (dialog_)
            dialog_->hide();
        dialog_.reset();
    }

private:
    std::unique_ptr<CProgressDlg> dialog_;
    QPointer<QWidget> frame_;
    uint32_t total_ = 0;
};

} // namespace

void InstallFilterProgressDialog()
{
    static FilterProgressDialog dialog;
    SetFilterProgressWindow(&dialog);
}

} // namespace qv
