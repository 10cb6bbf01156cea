// The three dialogs that set how the data-mining graphs look: "Histogram Settings", "Statistic Lines
// Settings" and "Scatter Graph Settings". Each is filled from a graph-settings record and OK writes
// its fields back into that record.
#pragma once

#include "datamining/DataMiningGraphs.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace qv {

class CStyleButton;

// The range of the bar width and of the smoothing fields (a 6-bit field caps the smoothing at 63).
inline constexpr int kBarWidthLow = 1, kBarWidthHigh = 50, kSmoothingLow = 5, kSmoothingHigh = 63;
inline constexpr int kMarkSizeLow = 1, kMarkSizeHigh = 16;

class CHistogramDlg : public QDialog {
public:
    explicit CHistogramDlg(DataMiningGraph& record, QWidget* parent = nullptr);
    void accept() override;
    // Puts the defaults into the controls and enables them by their checks ("Default").
    void RestoreDefaults();

private:
    struct Part {
        QCheckBox* shown = nullptr;
        QLineEdit* width = nullptr;
        CStyleButton* fill = nullptr;
        QCheckBox* line = nullptr;
        QLineEdit* smoothing = nullptr;
        CStyleButton* pen = nullptr;
    };
    QWidget* makePart(Part& part, const char* title, const std::array<int, 6>& ids);
    void show(const DataMiningGraphSettings& s);
    void enable();

    DataMiningGraph& record_;
    Part x_, y_;
};

class CStatLinesDlg : public QDialog {
public:
    explicit CStatLinesDlg(DataMiningGraph& record, QWidget* parent = nullptr);
    void accept() override;
    void RestoreDefaults();

private:
    void show(const DataMiningGraphSettings& s);
    void enable();

    DataMiningGraph& record_;
    QCheckBox* regression_ = nullptr;
    QCheckBox* means_ = nullptr;
    CStyleButton* regressionPen_ = nullptr;
    CStyleButton* meanPen_ = nullptr;
};

class CScatterDlg : public QDialog {
public:
    // hasZ: the view's filter has a Z criterion, without which the Z options stay greyed.
    CScatterDlg(DataMiningGraph& record, bool hasZ, QWidget* parent = nullptr);
    void accept() override;
    void RestoreDefaults();

private:
    void show(const DataMiningGraphSettings& s);
    void enable();
    void colourByZToggled(bool on);
    CStyleButton* colourButton(int id);
    QLineEdit* sizeField(int id);

    DataMiningGraph& record_;
    bool hasZ_;
    bool filledBeforeColour_ = true;
    QLineEdit* size_ = nullptr;
    QCheckBox* filled_ = nullptr;
    QCheckBox* outlined_ = nullptr;
    QCheckBox* colourByZ_ = nullptr;
    QCheckBox* sizeByZ_ = nullptr;
    QButtonGroup* shape_ = nullptr;
    CStyleButton* fill_ = nullptr;
    CStyleButton* outline_ = nullptr;
    CStyleButton* highlight_ = nullptr;
    CStyleButton* negative_ = nullptr;
    CStyleButton* positive_ = nullptr;
    CStyleButton* lowest_ = nullptr;
    CStyleButton* highest_ = nullptr;
    QLineEdit* smallest_ = nullptr;
    QLineEdit* largest_ = nullptr;
};

} // namespace qv
