// "Vantley Gazette View Columns": the notice shown before the publication's view columns, with the
// box that stops it being shown again.
#pragma once

#include <QDialog>

class QCheckBox;

namespace qv {

class CVGViewColumnsDlg : public QDialog {
public:
    // `dontShowAgain` is shown in the box and takes its state on OK.
    CVGViewColumnsDlg(bool& dontShowAgain, QWidget* parent = nullptr);
    void done(int result) override;

private:
    bool& dontShowAgain_;
    QCheckBox* box_ = nullptr;
};

} // namespace qv
