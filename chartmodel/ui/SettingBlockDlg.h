// The base of the dialogs that edit one block of a graph setting in place: Preview and OK write the
// edits into the setting, Cancel puts the setting back as it was when the dialog opened, and the
// views are told after each.
#pragma once

#include "core/ConfigRecords.h"

#include <QDialog>

#include <functional>

namespace qv {

class CSettingBlockDlg : public QDialog {
public:
    CSettingBlockDlg(GraphSetting& setting, QWidget* parent);

    void SetNotify(std::function<void()> notify) { notify_ = std::move(notify); }
    void Preview();
    void done(int result) override;

protected:
    // Writes the controls into the setting.
    virtual void write() = 0;

    GraphSetting& setting_;
    GraphSetting opened_;

private:
    std::function<void()> notify_;
};

} // namespace qv
