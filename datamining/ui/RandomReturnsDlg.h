// "Monte Carlo Simulation": the distribution of the one-year returns of random equal-weight
// portfolios drawn from a share list, with a remembered run to compare against.
#pragma once

#include "datamining/ReturnsSimulation.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace qv {

class CRandomReturnsDlg : public QDialog {
public:
    explicit CRandomReturnsDlg(QWidget* parent = nullptr);

    // Reads the controls, prepares when the selection or period changed, and runs the draws; false
    // when nothing was run (a refused size, no priced share, too few shares).
    bool Start();
    // Remember the current run, or drop the remembered one.
    void RememberOrReset();

    // What the plot shows, for the painting and for tests.
    struct Run {
        SimulationResult result;
        QString caption;
    };
    const std::optional<Run>& current() const { return current_; }
    const std::optional<Run>& remembered() const { return remembered_; }
    const PreparedReturns& prepared() const { return prepared_; }
    bool showText() const;
    // The plot's text when the chosen list has no priced share for the period; empty otherwise.
    QString noPricesText() const;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void followChoices();
    void prepare();
    QString caption() const;

    QLineEdit* size_ = nullptr;
    QComboBox* selection_ = nullptr;
    QComboBox* period_ = nullptr;
    QCheckBox* wide_ = nullptr;
    QCheckBox* text_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* remember_ = nullptr;
    QWidget* plot_ = nullptr;

    SimulationRandom random_;
    std::vector<RecordCursor> rows_;
    PreparedReturns prepared_;
    QString lastSelection_;
    int lastPeriod_ = -1;
    std::optional<Run> current_, remembered_;
    bool running_ = false;
    bool closeAfterRun_ = false;
    bool firstRunDone_ = false;
};

} // namespace qv
