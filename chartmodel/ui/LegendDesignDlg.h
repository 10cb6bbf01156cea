// The legend design dialog: which value lines, details and graph lines the legend lists (three-state
// boxes, grey for items that do not apply here) and the legend's program-wide look.
#pragma once

#include "chartmodel/LegendDesign.h"
#include "chartmodel/LegendModel.h"

#include <QDialog>

#include <functional>
#include <vector>

class QCheckBox;
class QSlider;
class QTabWidget;

namespace qv {

class CStyleButton;

class CLegendDesignDlg : public QDialog {
public:
    CLegendDesignDlg(LegendItemRecord& items, legenddesign::LegendStyle& style, uint64_t available, bool intraday,
                     QWidget* parent = nullptr);

    // Rebuilds the legend after Preview, OK and Cancel.
    void SetRebuild(std::function<void()> rebuild) { rebuild_ = std::move(rebuild); }
    void Preview();
    void done(int result) override;

private:
    struct Box {
        QCheckBox* box;
        int bit;   // 0-63 of the two words read as one mask
    };
    QCheckBox* item(QWidget* page, int id, const QString& text, int bit);
    void showTicks();
    void readStyle();
    void showStyle();
    void setColours(bool dark);

    LegendItemRecord& items_;
    legenddesign::LegendStyle& style_;
    LegendItemRecord openedItems_;
    legenddesign::LegendStyle openedStyle_;
    LegendItemRecord working_;
    legenddesign::LegendStyle workingStyle_;
    uint64_t available_;
    bool intraday_;
    std::function<void()> rebuild_;
    QTabWidget* tabs_ = nullptr;
    std::vector<Box> boxes_;
    std::vector<CStyleButton*> colours_;
    QCheckBox* autoHeight_ = nullptr;
    QSlider* whiteSpace_ = nullptr;
};

} // namespace qv
