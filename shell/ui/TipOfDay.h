// "Quorvantis's Tip of the Day": one tip at a time from the tips file, with "&Next Tip" and the
// choice of showing the tips at start-up.
#pragma once

#include "shell/TipFile.h"

#include <QDialog>
#include <filesystem>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;

namespace qv {

class CTipOfDay : public QDialog {
    Q_OBJECT
public:
    explicit CTipOfDay(const std::filesystem::path& folder, QWidget* parent = nullptr);
    ~CTipOfDay() override;

    QString tipText() const;
    QPushButton* nextButton() const { return next_; }
    QCheckBox* showOnStartUp() const { return show_; }

    void accept() override;

private:
    void showNextTip();

    std::unique_ptr<TipReader> reader_;
    QLabel* tip_;
    QPushButton* next_;
    QCheckBox* show_;
};

} // namespace qv
