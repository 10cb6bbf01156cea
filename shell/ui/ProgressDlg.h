// The progress dialog: it drives a long operation one step per posted message, so that input and
// painting are handled between steps, or shows a position its owner sets.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;

namespace qv {

class CProgressDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr uint32_t kStart = 1088;  // WM_USER + 64
    static constexpr uint32_t kStep = 1089;   // WM_USER + 65
    static constexpr uint32_t kQuery = 1037;  // WM_USER + 13, answered 1

    explicit CProgressDlg(QWidget* parent = nullptr);

    QString caption;
    QString message;
    bool centre = false;
    bool autoStart = true;
    std::function<bool()> stepFunction; // true while there is more to do
    uint16_t rangeMaximum = 100;

    void SetPos(int position);
    int Pos() const;
    uint32_t steps() const { return stepCounter_; }
    void CentreOnMainWindow();

    // The dialog's own messages, posted to itself.
    intptr_t OnMessage(uint32_t message);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Post(uint32_t message);
    void Initialise();

    QProgressBar* bar_;
    QLabel* text_;
    uint32_t stepCounter_ = 0;
    bool initialised_ = false;
};

} // namespace qv
