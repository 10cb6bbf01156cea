// The capital gains tax displays and the losses dialog.
#include "portfolio/ui/CgtDisplays.h"

#include "core/FormatNumber.h"
#include "core/Portfolio.h"
#include "core/DateText.h"
#include "platform/ByteOrder.h"
#include "platform/Clock.h"
#include "platform/qt/QtText.h"
#include "core/SystemDate.h"
#include "portfolio/CgtSummary.h"
#include "portfolio/ReportHtml.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qv {
namespace {

constexpr uint32_t kCgtDisplayHelp = 86490;
constexpr uint32_t kTaxDisplayHelp = 86489;
constexpr int kTaxTakeColumns = 5;

template <typename W>
W* Named(W* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

// The report's stops: date, description, then the two amounts to the right.
GridColumns ReportColumns(int width)
{
    GridColumns columns;
    columns.stops = {0, width * 10 / 100, width * 64 / 100, width * 84 / 100};
    columns.formats[2] = int(Qt::AlignRight);
    columns.formats[3] = int(Qt::AlignRight);
    return columns;
}

CGridListBox* MakeList(QWidget* parent, int id, const std::string& face)
{
    auto* list = Named(new CGridListBox(true, parent), id);
    if (!face.empty()) {
        QFont font = list->font();
        font.setFamily(FromCp1252(face));
        list->setFont(font);
    }
    return list;
}

} // namespace

QPushButton* ReportButton(const char* text, int id, QWidget* parent)
{
    return Named(new QPushButton(QString::fromLatin1(text), parent), id);
}

void LayOutReport(QDialog& dialog, QLayout* top, std::initializer_list<QWidget*> left,
                  std::initializer_list<QWidget*> right)
{
    auto* row = new QHBoxLayout;
    for (QWidget* w : left)
        row->addWidget(w);
    row->addStretch(1);
    for (QWidget* w : right)
        row->addWidget(w);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(top, 1);
    layout->addLayout(row);
}

void LayOutReport(QDialog& dialog, QWidget* list, std::initializer_list<QWidget*> left,
                  std::initializer_list<QWidget*> right)
{
    auto* top = new QVBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(list);
    LayOutReport(dialog, top, left, right);
}

std::vector<std::string> PadToColumns(std::vector<std::string> lines, int columns, int fromFields)
{
    for (std::string& line : lines) {
        int fields = int(std::count(line.begin(), line.end(), '\t')) + 1;
        if (fields < fromFields)
            continue;
        for (; fields < columns; ++fields)
            line += '\t';
    }
    return lines;
}

void FillGridList(CGridListBox& list, const std::vector<std::string>& lines)
{
    list.clear();
    for (const std::string& line : lines)
        list.addItem(FromCp1252(line));
}

CCGTDisplay::CCGTDisplay(Args args, QWidget* parent)
    : QDialog(parent), args_(std::move(args)), list_(MakeList(this, 1683, args_.face))
{
    setObjectName(QStringLiteral("539"));
    setWindowTitle(FromCp1252(args_.caption));
    resize(720, 480);
    if (args_.columns > 0) {
        list_->SetColumnCount(args_.columns);
        FillGridList(*list_, SplitReportLines(args_.text));
    } else {
        list_->SetColumnCallback(ReportColumns);
        FillGridList(*list_, PadToColumns(SplitReportLines(args_.text), 4, 3));
    }
    auto* print = ReportButton("Print", 1880, this);
    auto* save = ReportButton("Save", 1881, this);
    save->setEnabled(false);
    auto* tax = ReportButton("Tax", 1685, this);
    tax->setVisible(args_.gains.has_value());
    auto* close = ReportButton(args_.summaryFollows ? "Summary" : "Close", 2, this);
    auto* help = ReportButton("Help", 9, this);
    LayOutReport(*this, list_, {print, save, tax}, {close, help});
    connect(print, &QPushButton::clicked, this, [this] { Print(); });
    connect(tax, &QPushButton::clicked, this, [this] { OpenTaxDisplay(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    InstallDialogHelp(*this, kCgtDisplayHelp, help);
    list_->setFocus();
}

void CCGTDisplay::Print()
{
    file_.Print(CgtHtmlReport(SplitReportLines(args_.text)), args_.face);
}

void CCGTDisplay::OpenTaxDisplay()
{
    if (!args_.gains)
        return;
    CTaxDisplay dialog(*args_.gains, args_.name, args_.taxTables, this);
    RunModalDialog(dialog);
}

CTaxDisplayDetail::CTaxDisplayDetail(const std::string& caption, const std::string& text, int columns, uint32_t help,
                                     const std::string& face, QWidget* parent)
    : QDialog(parent), list_(MakeList(this, 1712, face))
{
    setObjectName(QStringLiteral("540"));
    setWindowTitle(FromCp1252(caption));
    resize(columns > 6 ? 820 : 640, 460);
    list_->SetColumnCount(columns);
    FillGridList(*list_, SplitReportLines(text));
    if (list_->count() > 0)
        list_->setCurrentRow(list_->count() - 1);
    auto* close = ReportButton("Close", 2, this);
    auto* helpButton = ReportButton("Help", 9, this);
    LayOutReport(*this, list_, {}, {close, helpButton});
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    InstallDialogHelp(*this, help, helpButton);
}

CTaxDisplay::CTaxDisplay(CgtYearGains gains, std::string name, std::function<void()> taxTables, QWidget* parent)
    : QDialog(parent), gains_(gains), name_(std::move(name)), list_(MakeList(this, 1711, {})),
      ignore_(Named(new QCheckBox(QStringLiteral("Ignore CGT exemption"), this), 1686)),
      double_(Named(new QCheckBox(QStringLiteral("Double exemption"), this), 1799))
{
    setObjectName(QStringLiteral("414"));
    setWindowTitle(QStringLiteral("Tax display"));
    resize(640, 520);
    list_->SetColumnCount(kTaxTakeColumns);
    auto* tables = ReportButton("Tax tables", 1708, this);
    tables->setEnabled(bool(taxTables));
    auto* close = ReportButton("Close", 2, this);
    auto* help = ReportButton("Help", 9, this);
    LayOutReport(*this, list_, {ignore_, double_}, {tables, close, help});
    connect(ignore_, &QCheckBox::clicked, this, [this] { Fill(); });
    connect(double_, &QCheckBox::clicked, this, [this] { Fill(); });
    connect(tables, &QPushButton::clicked, this, [taxTables] {
        if (taxTables)
            taxTables();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    InstallDialogHelp(*this, kTaxDisplayHelp, help);
    Fill();
}

void CTaxDisplay::Fill()
{
    TaxTakeInput input;
    input.yearGains = gains_.years;
    input.residual = gains_.residual;
    input.name = name_;
    input.ignoreExemption = ignore_->isChecked();
    input.doubleExemption = double_->isChecked();
    input.today = GetTodayDate(0);
    FillGridList(*list_, TaxTakeLines(input));
}

CCGTLosses::CCGTLosses(Portfolio* portfolio, QWidget* parent) : QDialog(parent), portfolio_(portfolio)
{
    setObjectName(QStringLiteral("558"));
    setWindowTitle(QStringLiteral("Losses carried forward for CGT"));
    losses_.fill(-1);
    if (portfolio_)
        losses_ = PortfolioManualLosses(*portfolio_);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Calculated"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Override"), this), 0, 2);
    for (int i = 0; i < kRows; ++i) {
        auto* label = Named(new QLabel(FromCp1252("Year " + FormatMonthYear(i)), this), 1760 + i);
        calculated_[size_t(i)] = Named(new QLabel(this), 1740 + i);
        calculated_[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        calculated_[size_t(i)]->setMinimumWidth(90);
        edits_[size_t(i)] = Named(new QLineEdit(this), 1780 + i);
        const float loss = losses_[size_t(i)];
        if (loss >= 0)
            edits_[size_t(i)]->setText(QString::asprintf("%g", double(loss)));
        resets_[size_t(i)] = ReportButton("Reset", 1800 + i, this);
        grid->addWidget(label, i + 1, 0);
        grid->addWidget(calculated_[size_t(i)], i + 1, 1);
        grid->addWidget(edits_[size_t(i)], i + 1, 2);
        grid->addWidget(resets_[size_t(i)], i + 1, 3);
        connect(edits_[size_t(i)], &QLineEdit::textEdited, this, [this, i] { Edited(i); });
        connect(resets_[size_t(i)], &QPushButton::clicked, this, [this, i] { Reset(i); });
    }
    auto* ok = ReportButton("OK", 1, this);
    ok->setDefault(true);
    auto* cancel = ReportButton("Cancel", 2, this);
    auto* help = ReportButton("Help", 9, this);
    LayOutReport(*this, grid, {}, {ok, cancel, help});
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    InstallControlHelp(*this);
    Refresh();
}

void CCGTLosses::Refresh()
{
    if (refreshing_)
        return;
    refreshing_ = true;
    const auto& carried = CgtLossesCarriedForward();
    for (size_t i = 0; i < size_t(kRows); ++i) {
        const QString text = edits_[i]->text().trimmed();
        if (!text.isEmpty()) {
            double value = 0;
            ParseDecimal(value, ToCp1252(text));
            losses_[i] = float(value);
        }
        resets_[i]->setEnabled(losses_[i] >= 0);
        calculated_[i]->setText(carried[i] != 0 ? FromCp1252(FormatMoney(carried[i], false, false)) : QString());
    }
    refreshing_ = false;
}

void CCGTLosses::Edited(int row)
{
    for (int i = row; i < kRows; ++i)
        calculated_[size_t(i)]->setEnabled(false);
    Refresh();
}

void CCGTLosses::Reset(int row)
{
    losses_[size_t(row)] = -1;
    edits_[size_t(row)]->clear();
    resets_[size_t(row)]->setEnabled(false);
}

void CCGTLosses::accept()
{
    Refresh();
    if (portfolio_)
        for (size_t i = 0; i < losses_.size(); ++i)
            StoreF32(portfolio_->settings + 4 * i, losses_[i]);
    QDialog::accept();
}

} // namespace qv
