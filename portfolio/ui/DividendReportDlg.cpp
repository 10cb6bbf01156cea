// The dividend report dialog.
#include "portfolio/ui/DividendReportDlg.h"

#include "core/Portfolio.h"
#include "platform/qt/QtText.h"
#include "portfolio/DividendReport.h"
#include "portfolio/ReportHtml.h"
#include "portfolio/ui/CgtDisplays.h"
#include "portfolio/ui/TaxYearDlgs.h"
#include "shell/ui/GridListBox.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace qv {
namespace {

// Stops at 1, 4, 5, 6, 7 and 8 ninths of the width.
GridColumns DividendColumns(int width)
{
    GridColumns columns;
    const int ninths[] = {0, 1, 4, 5, 6, 7, 8};
    for (size_t i = 0; i < std::size(ninths); ++i)
        columns.stops[i] = width * ninths[i] / 9;
    return columns;
}

} // namespace

CDividendReport::CDividendReport(const Portfolio* portfolio, const std::string& face, int year, QWidget* parent)
    : QDialog(parent), portfolio_(portfolio), face_(face), name_(portfolio ? portfolio->name.str() : std::string()),
      year_(year == 0 ? kDividendDefaultYear : year), list_(new CGridListBox(true, this))
{
    setObjectName(QStringLiteral("209"));
    resize(760, 440);
    list_->setObjectName(QStringLiteral("2843"));
    list_->SetColumnCallback(DividendColumns);
    auto* setYear = ReportButton("Set year", 1883, this);
    auto* print = ReportButton("Print", 2841, this);
    auto* save = ReportButton("Save", 2842, this);
    save->setEnabled(false);
    auto* close = ReportButton("Close", 2, this);
    LayOutReport(*this, list_, {setYear, print, save}, {close});
    connect(setYear, &QPushButton::clicked, this, [this] { ChooseYear(); });
    connect(print, &QPushButton::clicked, this, [this] { Print(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    InstallControlHelp(*this);
    SetYear(year_);
}

void CDividendReport::SetYear(int year)
{
    year_ = year;
    setWindowTitle(FromCp1252(DividendReportCaption(name_, year_)));
    FillGridList(*list_, DividendReportLines(portfolio_ ? portfolio_->transactions.get() : nullptr, year_));
}

void CDividendReport::ChooseYear()
{
    CDividendTaxYear dialog(year_, this);
    if (RunModalDialog(dialog) == QDialog::Accepted)
        SetYear(dialog.year());
}

void CDividendReport::Print()
{
    std::vector<std::string> lines;
    for (int i = 0; i < list_->count(); ++i)
        lines.push_back(ToCp1252(list_->item(i)->text()));
    file_.Print(DividendHtmlReport(lines, name_.empty() ? "unknown" : name_, year_), face_);
}

} // namespace qv
