// "Display Events": which event kinds the chart marks, each with a sample of its marker; Default
// refills the event block.
#pragma once

#include "chartmodel/ui/SettingBlockDlg.h"

#include <array>

class QCheckBox;
class QPushButton;

namespace qv {

class CDisplayEventsDlg : public CSettingBlockDlg {
public:
    CDisplayEventsDlg(GraphSetting& setting, QWidget* parent = nullptr);
    // A sample's click: the kind's marker in the event display dialog.
    void EditKind(int kind);

private:
    void show(const GraphSetting& from);
    void updateEnabling();
    void write() override;

    // The block the boxes and samples show: the setting's, or the defaults after Default.
    GraphSetting shown_;
    QCheckBox* showEvents_ = nullptr;
    std::array<QCheckBox*, 16> kinds_{};
    std::array<QPushButton*, 16> samples_{};
};

} // namespace qv
