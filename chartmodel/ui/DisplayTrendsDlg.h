// "Display trends": the trend line, its confidence lines, their pens, the deviation and the range,
// over the trend block of a graph setting.
#pragma once

#include "core/ConfigRecords.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace qv {

class CStyleButton;

class CDisplayTrendsDlg : public QDialog {
public:
    CDisplayTrendsDlg(GraphSetting& setting, bool intraday, QWidget* parent = nullptr);

    // Tells the views after Preview, OK and Cancel.
    void SetNotify(std::function<void()> notify) { notify_ = std::move(notify); }
    void Preview();
    void done(int result) override;

private:
    void show(const GraphSetting& from);
    void write();

    GraphSetting& setting_;
    GraphSetting opened_;
    bool intraday_;
    std::function<void()> notify_;
    QCheckBox* trend_ = nullptr;
    QCheckBox* confidence_ = nullptr;
    CStyleButton* trendPen_ = nullptr;
    CStyleButton* confidencePen_ = nullptr;
    QComboBox* deviation_ = nullptr;
    QButtonGroup* range_ = nullptr;
    QLineEdit* periods_ = nullptr;
};

} // namespace qv
