// The portfolio valuation report (dialog 572) and its dates dialog (559).
#pragma once

#include "portfolio/ReportFile.h"
#include "portfolio/ValuationReport.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QRadioButton;

namespace qv {

class CDateEdit;
class CGridListBox;
struct Portfolio;

// "Select valuation date or date range": the six settings, written back on OK.
class CValuationDates : public QDialog {
    Q_OBJECT
public:
    CValuationDates(const ValuationSettings& settings, QWidget* parent = nullptr);
    const ValuationSettings& settings() const { return settings_; }
    void accept() override;

private:
    void UpdateEnabling();
    ValuationSettings settings_;
    QRadioButton* latest_;
    QRadioButton* onDate_;
    CDateEdit* date_;
    CDateEdit* comparison_;
    QCheckBox* compare_;
    QRadioButton* percent_;
    QRadioButton* absolute_;
    QCheckBox* cash_;
};

// "Portfolio %s valuation": the report in the grid list 1888, with Dates, Print, Save, Chart, Close.
class CPortfolioValuation : public QDialog {
    Q_OBJECT
public:
    CPortfolioValuation(const Portfolio* portfolio, const std::string& face, QWidget* parent = nullptr);

    CGridListBox* list() const { return list_; }
    const ReportFile& reportFile() const { return file_; }
    void Build();
    void ChooseDates();
    void Print();

private:
    const Portfolio* portfolio_;
    std::string face_;
    std::string name_;
    std::vector<std::string> lines_; // the report as built, printed as it stands
    CGridListBox* list_;
    ReportFile file_;
};

} // namespace qv
