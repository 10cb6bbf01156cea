// "Display trends": the trend line, its confidence lines, their pens, the deviation and the range,
// over the trend block of a graph setting.
#pragma once

#include "chartmodel/ui/SettingBlockDlg.h"

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace qv {

class CStyleButton;

class CDisplayTrendsDlg : public CSettingBlockDlg {
public:
    CDisplayTrendsDlg(GraphSetting& setting, bool intraday, QWidget* parent = nullptr);

private:
    void show(const GraphSetting& from);
    void write() override;

    bool intraday_;
    QCheckBox* trend_ = nullptr;
    QCheckBox* confidence_ = nullptr;
    CStyleButton* trendPen_ = nullptr;
    CStyleButton* confidencePen_ = nullptr;
    QComboBox* deviation_ = nullptr;
    QButtonGroup* range_ = nullptr;
    QLineEdit* periods_ = nullptr;
};

} // namespace qv
