// The capital gains tax displays: the report display with its Print and Tax buttons, the plain
// table display, the indicative tax take and the losses dialog.
#pragma once

#include "portfolio/CapitalGains.h"
#include "portfolio/ReportFile.h"
#include "shell/ui/GridListBox.h"

#include <QDialog>

#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

class QCheckBox;
class QLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

struct Portfolio;

// The per-year chargeable gains of a pass and the valuation rows' gain (the residual).
struct CgtYearGains {
    std::array<double, kCgtTaxYears> years{};
    double residual = 0;
};

// Dialog 539: a report text in the grid list 1683; Print (1880), Save (1881, greyed), Tax (1685, only
// with per-year gains) and the close button (2), which reads "Summary" when a summary follows.
class CCGTDisplay : public QDialog {
    Q_OBJECT
public:
    struct Args {
        std::string face;
        std::string text;
        std::string caption;
        std::string name; // "All" or the share's name
        std::optional<CgtYearGains> gains;
        int columns = 0; // 0: the report's stops (10, 64, 84 %, columns 2 and 3 to the right)
        bool summaryFollows = false;
        std::function<void()> taxTables; // the view's exemption and rates table
    };
    explicit CCGTDisplay(Args args, QWidget* parent = nullptr);

    CGridListBox* list() const { return list_; }
    const ReportFile& reportFile() const { return file_; }
    void Print();

private:
    void OpenTaxDisplay();

    Args args_;
    CGridListBox* list_;
    ReportFile file_;
};

// Dialog 540: a table text with the creator's caption, help and column count; the last line selected.
class CTaxDisplayDetail : public QDialog {
    Q_OBJECT
public:
    CTaxDisplayDetail(const std::string& caption, const std::string& text, int columns, uint32_t help,
                      const std::string& face, QWidget* parent = nullptr);
    CGridListBox* list() const { return list_; }

private:
    CGridListBox* list_;
};

// Dialog 414: the indicative tax take in the grid list 1711, with "Ignore CGT exemption" (1686),
// "Double exemption" (1799) and "Tax tables" (1708).
class CTaxDisplay : public QDialog {
    Q_OBJECT
public:
    CTaxDisplay(CgtYearGains gains, std::string name, std::function<void()> taxTables, QWidget* parent = nullptr);
    CGridListBox* list() const { return list_; }
    QCheckBox* ignoreExemption() const { return ignore_; }
    QCheckBox* doubleExemption() const { return double_; }

private:
    void Fill();

    CgtYearGains gains_;
    std::string name_;
    CGridListBox* list_;
    QCheckBox* ignore_;
    QCheckBox* double_;
};

// Dialog 558: the losses brought into tax years 1990/91 to 2003/04, each overridden by hand or reset.
class CCGTLosses : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRows = 14;
    // The portfolio may be null: the rows start cleared and OK stores nothing.
    explicit CCGTLosses(Portfolio* portfolio, QWidget* parent = nullptr);

    const std::array<float, kCgtTableYears>& losses() const { return losses_; }
    void accept() override;

private:
    void Refresh();
    void Edited(int row);
    void Reset(int row);

    Portfolio* portfolio_;
    std::array<float, kCgtTableYears> losses_{};
    std::array<QLabel*, kRows> calculated_{};
    std::array<QLineEdit*, kRows> edits_{};
    std::array<QPushButton*, kRows> resets_{};
    bool refreshing_ = false;
};

// A push button of a report dialog, named by its control id.
QPushButton* ReportButton(const char* text, int id, QWidget* parent);
// The report dialogs' layout: the list above a row of controls, `left` from the left edge and
// `right` against the right one.
void LayOutReport(QDialog& dialog, QLayout* top, std::initializer_list<QWidget*> left,
                  std::initializer_list<QWidget*> right);
void LayOutReport(QDialog& dialog, QWidget* list, std::initializer_list<QWidget*> left,
                  std::initializer_list<QWidget*> right);

// The grid list runs a line's last field to the row's end: lines of at least `fromFields` fields
// get empty ones up to `columns`, so that each field keeps its column.
std::vector<std::string> PadToColumns(std::vector<std::string> lines, int columns, int fromFields);
// Shows a list's lines in a grid list: one entry per line.
void FillGridList(CGridListBox& list, const std::vector<std::string>& lines);

} // namespace qv
