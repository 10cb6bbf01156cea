// "Show Future": whether the daily chart's time axis runs on past the last price, and by how much
// (days, weeks, months, years or a percentage of the graph width). Edits the three future fields and
// writes them back on OK; Preview applies them to the chart at once, Cancel puts the old ones back.
#pragma once

#include "chartmodel/EodChart.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv {

class CShowFuture : public QDialog {
    Q_OBJECT
public:
    CShowFuture(FutureSetting& future, std::function<void()> apply, QWidget* parent = nullptr);
    // Checks the amount and stores the fields (and applies them); false when the amount is refused.
    bool preview();
    void accept() override;
    void reject() override;

private:
    bool store();
    int chosenUnit() const;
    void updateLimit();

    FutureSetting& future_;
    FutureSetting original_;
    std::function<void()> apply_;
    bool previewed_ = false;
    QCheckBox* on_;
    QLineEdit* amount_;
    std::array<QRadioButton*, 5> units_{};
    QLabel* limit_ = nullptr;
    QPushButton* preview_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace qv
