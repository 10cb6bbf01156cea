// "Moving averages - Standard" and "Moving averages - Advanced": the four price-pane averages and their
// Bollinger bands or envelopes, over a working copy of the setting's twelve words that survives
// switching between the two dialogs.
#pragma once

#include "chartmodel/MovAvgLines.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace qv {

class CStyleButton;
struct GraphSetting;

// What both dialogs share while the command runs.
struct MovAvgSession {
    GraphSetting* setting = nullptr;
    MovAvgWords working{};
    MovAvgWords cancelCopy{};
    bool intraday = false;
    uint32_t background = 0xFFFFFF;
    std::function<void()> notify;
};

class CMovAvgSettingsDlg : public QDialog {
    Q_OBJECT
public:
    CMovAvgSettingsDlg(MovAvgSession& session, bool advanced, QWidget* parent = nullptr);

    bool advanced() const { return advanced_; }
    // True when the dialog closed to open the other one.
    bool switched() const { return switched_; }

    // Reads the controls and packs them into the working copy.
    void ReadAndPack();
    void Preview();
    void Default();
    void Switch();
    void accept() override;
    void reject() override;

private:
    struct LineControls {
        QCheckBox* shown = nullptr;
        QLineEdit* period = nullptr;
        CStyleButton* lineColour = nullptr;
        QCheckBox* band = nullptr;
        QComboBox* type = nullptr;
        QCheckBox* lagged1 = nullptr;
        QComboBox* bandKind = nullptr;
        QComboBox* deviation = nullptr;
        QLineEdit* width = nullptr;
        QLabel* widthLabel = nullptr;
        CStyleButton* bandColour = nullptr;
        QCheckBox* lagged2 = nullptr;
    };
    void ShowLines();
    void Relabel(int i);
    void Write();

    MovAvgSession& session_;
    bool advanced_;
    bool switched_ = false;
    std::array<MovAvgLine, kMovAvgLines> lines_{};
    std::array<LineControls, kMovAvgLines> controls_{};
};

// Runs the command: the dialog last chosen, then the other one each time the user switches, until one
// closes without switching. QDialog::Accepted when the last one closed with OK.
int RunMovingAverageDialogs(MovAvgSession& session, QWidget* parent = nullptr);

} // namespace qv
