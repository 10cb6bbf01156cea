// Setting-block dialogs: preview, OK and cancel over the setting itself.
#include "chartmodel/ui/SettingBlockDlg.h"

namespace qv {

CSettingBlockDlg::CSettingBlockDlg(GraphSetting& setting, QWidget* parent) : QDialog(parent), setting_(setting), opened_(setting) {}

void CSettingBlockDlg::Preview()
{
    write();
    if (notify_)
        notify_();
}

void CSettingBlockDlg::done(int result)
{
    if (result == QDialog::Accepted)
        write();
    else
        setting_ = opened_;
    if (notify_)
        notify_();
    QDialog::done(result);
}

} // namespace qv
