// "Pivot Points": the method, which of the five lines are shown and their pens, over one pivot block
// of a graph setting.
#pragma once

#include "core/ConfigRecords.h"

#include <QDialog>

#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;

namespace qv {

class CStyleButton;

class CPivotPointsDlg : public QDialog {
public:
    // block: the offset of the setting's first or second pivot block.
    CPivotPointsDlg(GraphSetting& setting, size_t block, QWidget* parent = nullptr);

    // Tells the views after Preview, OK and Cancel.
    void SetNotify(std::function<void()> notify) { notify_ = std::move(notify); }
    void Preview();
    void done(int result) override;

private:
    void show(const GraphSetting& from);
    void write();

    GraphSetting& setting_;
    size_t block_;
    GraphSetting opened_;
    std::function<void()> notify_;
    QButtonGroup* method_ = nullptr;
    std::array<QCheckBox*, 5> shown_{};
    std::array<CStyleButton*, 5> pens_{};
};

} // namespace qv
