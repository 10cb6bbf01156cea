// "45 degree Support and Resistance lines": which of the four lines are drawn and their colours, over
// the seven-word block of a graph setting.
#pragma once

#include "chartmodel/ui/SettingBlockDlg.h"

#include <array>
#include <functional>

class QCheckBox;

namespace qv {

class CStyleButton;

class CSupportResistDlg : public CSettingBlockDlg {
public:
    explicit CSupportResistDlg(GraphSetting& setting, QWidget* parent = nullptr);

private:
    void write() override;

    std::array<QCheckBox*, 4> shown_{};
    std::array<CStyleButton*, 4> colours_{};
};

} // namespace qv
