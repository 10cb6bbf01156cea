// "45 degree Support and Resistance lines": which of the four lines are drawn and their colours, over
// the seven-word block of a graph setting.
#pragma once

#include "core/ConfigRecords.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;

namespace qv {

class CStyleButton;

class CSupportResistDlg : public QDialog {
public:
    explicit CSupportResistDlg(GraphSetting& setting, QWidget* parent = nullptr);

    // Redraws the chart after Preview, OK and Cancel.
    void SetRedraw(std::function<void()> redraw) { redraw_ = std::move(redraw); }
    void Preview();
    void done(int result) override;

private:
    void write();

    GraphSetting& setting_;
    GraphSetting opened_;
    std::function<void()> redraw_;
    std::array<QCheckBox*, 4> shown_{};
    std::array<CStyleButton*, 4> colours_{};
};

} // namespace qv
