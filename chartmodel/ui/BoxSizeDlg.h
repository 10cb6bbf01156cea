// The box-size dialog of the graph design: box size and box white space, packed into one byte of the
// working style.
#pragma once

#include "core/ConfigRecords.h"

#include <QDialog>

#include <functional>

class QSlider;

namespace qv {

class CBoxSizeDlg : public QDialog {
public:
    // redraw repaints the design preview; preview copies the working style into the chart.
    CBoxSizeDlg(GraphSetting& working, std::function<void()> redraw, std::function<void()> preview,
                QWidget* parent = nullptr);
    void done(int result) override;

private:
    void apply();

    GraphSetting& working_;
    uint8_t opened_;
    std::function<void()> redraw_;
    QSlider* size_ = nullptr;
    QSlider* space_ = nullptr;
};

} // namespace qv
