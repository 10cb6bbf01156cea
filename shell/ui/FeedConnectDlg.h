// The modeless "Connecting to intraday feed" dialog: the connection's progress through its steps.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <cstdint>

class QLabel;
class QProgressBar;

namespace qv {

class CFeedConnectDlg : public QDialog {
public:
    static constexpr int kTemplateId = 706;

    explicit CFeedConnectDlg(QWidget* parent = nullptr);
    ~CFeedConnectDlg() override;

    // Opens the one dialog (or raises it) and shows the current step.
    static CFeedConnectDlg* Open(QWidget* parent);
    // The open dialog, or null.
    static CFeedConnectDlg* Current();
    // Closes the open dialog, keeping it up until 3 s after it opened.
    static void CloseCurrent();

    void UpdateConnectProgress(int32_t step);
    void done(int result) override;

private:
    QElapsedTimer opened_;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    bool closing_ = false;
    bool connected_ = false;
};

} // namespace qv
