// The dividend report (dialog 209): a portfolio's dividends in a tax year, with the year chooser
// and printing.
#pragma once

#include "portfolio/ReportFile.h"

#include <QDialog>

#include <string>

namespace qv {

class CGridListBox;
struct Portfolio;

class CDividendReport : public QDialog {
    Q_OBJECT
public:
    // Year 0 starts at 2001; the portfolio may be null ("unknown", no dividends).
    CDividendReport(const Portfolio* portfolio, const std::string& face, int year, QWidget* parent = nullptr);

    int year() const { return year_; }
    CGridListBox* list() const { return list_; }
    const ReportFile& reportFile() const { return file_; }
    void SetYear(int year);
    void Print();

private:
    void ChooseYear();

    const Portfolio* portfolio_;
    std::string face_;
    std::string name_;
    int year_;
    CGridListBox* list_;
    ReportFile file_;
};

} // namespace qv
