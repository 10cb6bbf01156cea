// "Pivot Points": the method, which of the five lines are shown and their pens, over one pivot block
// of a graph setting.
#pragma once

#include "chartmodel/ui/SettingBlockDlg.h"

#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;

namespace qv {

class CStyleButton;

class CPivotPointsDlg : public CSettingBlockDlg {
public:
    // block: the offset of the setting's first or second pivot block.
    CPivotPointsDlg(GraphSetting& setting, size_t block, QWidget* parent = nullptr);

private:
    void show(const GraphSetting& from);
    void write() override;

    size_t block_;
    QButtonGroup* method_ = nullptr;
    std::array<QCheckBox*, 5> shown_{};
    std::array<CStyleButton*, 5> pens_{};
};

} // namespace qv
