// The capital gains tax and dividend commands of the transactions view on the demo portfolio: their
// menu states, the dialogs they open (rendered to look at), the losses dialog, the tax display and
// printing each report to PDF.
#include "core/ColumnDef.h"
#include "core/Portfolio.h"
#include "core/DateText.h"
#include "core/FormatNumber.h"
#include "lists/CellValue.h"
#include "lists/ListColumnCommands.h"
#include "core/ShareList.h"
#include "core/SystemDate.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/ReportPrint.h"
#include "platform/qt/QtReportPrinter.h"
#include "portfolio/CapitalGains.h"
#include "portfolio/DividendReport.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/Transaction.h"
#include "portfolio/CgtSummary.h"
#include "portfolio/ui/CgtCommands.h"
#include "portfolio/ui/CgtDisplays.h"
#include "portfolio/ui/DividendReportDlg.h"
#include "portfolio/ui/TaxYearDlgs.h"
#include "portfolio/ui/ValuationDlgs.h"
#include "portfolio/ValuationReport.h"
#include "portfolio/ui/ViewTran.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/ModalDialog.h"
#include "support/FakeMessageBox.h"
#include "support/ui/ControlById.h"
#include "support/ui/PortfolioLayoutFrame.h"
#include "support/ui/Render.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTextDocument>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace qv;
using namespace qv::test;

namespace {

struct Shown {
    QString id;
    QString caption;
    QStringList lines;
    bool taxButton = false;
    QString closeText;
};

QStringList LinesOf(QDialog& dialog)
{
    QStringList lines;
    if (auto* list = dialog.findChild<CGridListBox*>())
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
    return lines;
}

QString Safe(QString name)
{
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("-"));
    return name;
}

class CgtReports : public PortfolioLayoutFrame {
protected:
    CgtReports()
    {
        tran = FindView<CViewTran>();
        EXPECT_NE(tran, nullptr);
        if (tran && tran->list && !tran->list->source) {
            tran->list->source = Demo();
            tran->OnRefresh();
        }
        MainFrameState().activeView = tran;
    }
    ~CgtReports() override { SetModalDialogRunner(nullptr); }
    Portfolio* Demo() const { return FindPortfolioByNumber(0); }

    // Runs the command and records every dialog it opens, rendered; each is closed as Cancel.
    std::vector<Shown> Run(uint32_t command, std::function<int(QDialog&)> answer = {})
    {
        std::vector<Shown> shown;
        SetModalDialogRunner([&](QDialog& d) {
            d.show();
            Shown s{d.objectName(), d.windowTitle(), LinesOf(d), false, {}};
            if (auto* tax = d.findChild<QPushButton*>(QStringLiteral("1685")))
                s.taxButton = !tax->isHidden();
            if (auto* close = d.findChild<QPushButton*>(QStringLiteral("2")))
                s.closeText = close->text();
            SaveRender(RenderWidget(d), QStringLiteral("cgt-%1-%2").arg(command).arg(Safe(d.windowTitle())));
            shown.push_back(s);
            return answer ? answer(d) : int(QDialog::Rejected);
        });
        EXPECT_TRUE(tran->RunCommand(command));
        SetModalDialogRunner(nullptr);
        return shown;
    }
    // A row of the transactions view on a disposal of a share with a gain.
    int DisposalRow() const
    {
        for (int i = 0; i < ShareListCount(tran->list); ++i) {
            tran->list->current = i;
            const Transaction* t = tran->CurrentRecord();
            if (t && t->type() == 2)
                return i;
        }
        return -1;
    }

    CViewTran* tran = nullptr;
    FakeMessageBox boxes;
};

TEST_F(CgtReports, MenuItemsFollowThePortfolioAndTheCalendar)
{
    const PackedDate today = GetTodayDate(0);
    for (uint32_t command : {26302u, 26303u, 26304u, 26305u, 26306u, 26307u, 26308u, 26309u, 26310u, 26311u, 26390u,
                             26398u, 26903u}) {
        CommandUi ui{command, false, {}, {}};
        ASSERT_TRUE(tran->UpdateCommand(ui)) << command;
        EXPECT_TRUE(ui.enabled) << command;
    }
    CommandUi current{26309, false, {}, {}};
    tran->UpdateCommand(current);
    EXPECT_EQ(current.text, CgtSummaryMenuText(today, 0));
    EXPECT_NE(current.text->find("\t, (comma)"), std::string::npos);

    Portfolio empty;
    tran->list->source = &empty;
    CommandUi ui{26311, false, {}, {}};
    tran->UpdateCommand(ui);
    EXPECT_FALSE(ui.enabled) << "a portfolio without transactions";
    tran->list->source = Demo();
}

TEST_F(CgtReports, HistoriesTablesAndSummariesOpenTheirDialogs)
{
    const int row = DisposalRow();
    ASSERT_GE(row, 0);
    std::vector<Shown> share = Run(26302);
    ASSERT_EQ(share.size(), 1u);
    EXPECT_EQ(share[0].id, "539");
    EXPECT_TRUE(share[0].caption.startsWith("Capital Gains Report for ")) << share[0].caption.toStdString();
    EXPECT_TRUE(share[0].taxButton);
    EXPECT_EQ(share[0].closeText, "Close");
    EXPECT_EQ(share[0].lines.value(1), "Date\tDescription\tIntermediate\tChargeable");

    std::vector<Shown> all = Run(26311);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].caption, "Capital Gains Report ");
    EXPECT_FALSE(all[0].lines.join('\n').contains("Balance"));

    // The other year's summary: the year chooser, the year's report with "Summary", then the summary.
    std::vector<Shown> other = Run(26306, [](QDialog& d) {
        if (d.objectName() != "413")
            return int(QDialog::Rejected);
        Control<QLineEdit>(d, 1680)->setText("2004");
        d.accept();
        return d.result();
    });
    ASSERT_EQ(other.size(), 3u);
    EXPECT_EQ(other[0].caption, "Select tax year");
    EXPECT_EQ(other[1].caption, "Capital Gains Report for year 2004/05");
    EXPECT_EQ(other[1].closeText, "Summary");
    EXPECT_EQ(other[2].caption, "Tax for tax year 2004/05");
    EXPECT_FALSE(other[2].taxButton);
    EXPECT_EQ(other[2].lines.value(0), "Tax for tax year 2004/05");
    EXPECT_EQ(LastCgtSummaryYear(), 2004);

    for (uint32_t command : {26307u, 26308u, 26309u}) {
        std::vector<Shown> summary = Run(command);
        ASSERT_FALSE(summary.empty()) << command;
        EXPECT_TRUE(summary.back().caption.startsWith("Tax for tax year ")) << command;
    }

    struct Table {
        uint32_t command;
        const char* caption;
    };
    for (Table t : {Table{26303, "RPI figures used for Capital Gains Tax pre April 1998"},
                    Table{26305, "RPI figures used for Capital Gains Tax post April 1998"},
                    Table{26304, "Capital Gains Tax taper"},
                    Table{26310, "Annual CGT exemption and income tax rates"}}) {
        std::vector<Shown> shown = Run(t.command);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].id, "540");
        EXPECT_EQ(shown[0].caption, t.caption);
    }
}

// "Tran table 4" shows the gains before and after losses; a double click on them opens the history.
TEST_F(CgtReports, TheFourthTableShowsTheGainsAndADoubleClickOpensTheHistory)
{
    tran->SelectColumnSetting(3, true, false);
    tran->OnRefresh();
    const int row = DisposalRow();
    ASSERT_GE(row, 0);
    const std::span<const uint8_t> layout = ListLayout(tran->list, tran->kind);
    int gainColumn = -1;
    for (int c = 0; c < ListColumnCount(tran->list, tran->kind); ++c)
        if (const uint8_t* def = GetColumnDef(layout.data(), c); def && ColumnDefCode(def) == 21)
            gainColumn = c;
    ASSERT_GE(gainColumn, 1) << "the fourth table carries the gain after losses";
    EXPECT_EQ(ColumnDefCode(GetColumnDef(layout.data(), gainColumn - 1)), 20);
    // The disposal's gain after losses, as the pass wrote it, in pounds and pence.
    char text[64] = {};
    RecordCursor& entry = tran->list->entries[row];
    FormatColumnValue(entry.record, entry.count, GetColumnDef(layout.data(), gainColumn), text, sizeof text, 0,
                      tran->list, 0);
    const float gain = LoadF32(tran->CurrentRecord()->bytes.data() + TransactionLayout::GainAfterLosses);
    EXPECT_EQ(std::string(text), FormatMoney(gain, true, false));
    EXPECT_NE(gain, kCgtNotCalculated);
    tran->resize(1200, 600);
    SaveRender(RenderWidget(*tran), "transactions-table-4-gains");
    std::vector<QString> captions;
    SetModalDialogRunner([&](QDialog& d) {
        captions.push_back(d.windowTitle());
        return int(QDialog::Rejected);
    });
    tran->OpenCell(row, gainColumn);
    SetModalDialogRunner(nullptr);
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_TRUE(captions[0].startsWith("Capital Gains Report for "));
}

TEST_F(CgtReports, TheTaxDisplayAndItsCheckBoxes)
{
    CgtYearGains gains;
    gains.years[12] = 12000;
    gains.residual = 30000;
    int tables = 0;
    CTaxDisplay dialog(gains, "All", [&] { ++tables; });
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Tax display");
    auto* list = Control<CGridListBox>(dialog, 1711);
    EXPECT_EQ(list->item(0)->text(), "Indicative tax take for All");
    SaveRender(RenderWidget(dialog), "cgt-tax-display");
    const QString row = list->item(3 + 12)->text();
    EXPECT_TRUE(row.startsWith("Year 2002/03\t")) << row.toStdString();
    Control<QCheckBox>(dialog, 1799)->click();
    SaveRender(RenderWidget(dialog), "cgt-tax-display-double");
    EXPECT_NE(list->item(3 + 12)->text(), row) << "the double exemption lowers the tax";
    Control<QCheckBox>(dialog, 1686)->click();
    SaveRender(RenderWidget(dialog), "cgt-tax-display-ignore");
    EXPECT_TRUE(list->item(3 + 12)->text().endsWith(QString::fromLatin1("\t\xA3" "2,400\t\xA3" "4,800")))
        << list->item(15)->text().toStdString();
    Control<QPushButton>(dialog, 1708)->click();
    EXPECT_EQ(tables, 1) << "Tax tables asks the view for the exemption and rates table";
}

TEST_F(CgtReports, TheLossesDialogGreysAndResets)
{
    Portfolio* p = Demo();
    StoreF32(p->settings + 4 * 2, 250.f);
    std::vector<Shown> shown = Run(26390, [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Losses carried forward for CGT");
        EXPECT_EQ(Control<QLineEdit>(d, 1782)->text(), "250");
        EXPECT_TRUE(Control<QPushButton>(d, 1802)->isEnabled());
        EXPECT_FALSE(Control<QPushButton>(d, 1805)->isEnabled());
        auto* edit = Control<QLineEdit>(d, 1785);
        edit->setText("1000");
        emit edit->textEdited("1000");
        for (int row = 0; row < CCGTLosses::kRows; ++row)
            EXPECT_EQ(Control<QLabel>(d, 1740 + row)->isEnabled(), row < 5) << row;
        EXPECT_TRUE(Control<QPushButton>(d, 1805)->isEnabled());
        SaveRender(RenderWidget(d), "cgt-losses-edited");
        Control<QPushButton>(d, 1802)->click();
        EXPECT_TRUE(Control<QLineEdit>(d, 1782)->text().isEmpty());
        EXPECT_FALSE(Control<QPushButton>(d, 1802)->isEnabled());
        d.accept();
        return d.result();
    });
    ASSERT_EQ(shown.size(), 1u);
    const auto losses = PortfolioManualLosses(*p);
    EXPECT_EQ(losses[2], -1.f) << "Reset stores -1";
    EXPECT_EQ(losses[5], 1000.f);
    StoreF32(p->settings + 4 * 5, -1.f);
}

TEST_F(CgtReports, TheDividendReportAndItsYear)
{
    LastDividendYear() = 0;
    std::vector<Shown> shown = Run(26903, [](QDialog& d) {
        auto* report = dynamic_cast<CDividendReport*>(&d);
        EXPECT_NE(report, nullptr);
        if (!report)
            return int(QDialog::Rejected);
        EXPECT_EQ(report->year(), 2001);
        SetModalDialogRunner([](QDialog& chooser) {
            EXPECT_EQ(chooser.windowTitle(), "Select the tax for dividend display");
            auto* edit = Control<QLineEdit>(chooser, 1883);
            EXPECT_EQ(edit->text(), "2001");
            chooser.findChild<QWidget*>(QStringLiteral("2844"))->findChildren<QToolButton*>()[0]->click();
            EXPECT_EQ(edit->text(), "2002");
            EXPECT_EQ(Control<QLabel>(chooser, 2845)->text(), "Tax year 2002/2003");
            SaveRender(RenderWidget(chooser), "dividend-tax-year");
            edit->setText("2028");
            chooser.accept();
            EXPECT_EQ(chooser.result(), int(QDialog::Rejected)) << "2028 is past the program's dates";
            edit->setText("2025");
            chooser.accept();
            return chooser.result();
        });
        Control<QPushButton>(d, 1883)->click();
        EXPECT_EQ(report->year(), 2025);
        EXPECT_EQ(d.windowTitle().toStdString(), DividendReportCaption(FindPortfolioByNumber(0)->name.str(), 2025));
        SaveRender(RenderWidget(d), "dividend-report-2025");
        return int(QDialog::Rejected);
    });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(LastDividendYear(), 2025);
}

// "Value at a date": the single-date report of the demo portfolio, then through Dates a comparison
// with the cash included; both rendered.
TEST_F(CgtReports, TheValuationReportAndItsDates)
{
    CurrentValuationSettings() = {};
    std::vector<Shown> shown = Run(26398, [](QDialog& d) {
        auto* report = dynamic_cast<CPortfolioValuation*>(&d);
        EXPECT_NE(report, nullptr);
        if (!report)
            return int(QDialog::Rejected);
        EXPECT_EQ(d.windowTitle(), "Portfolio Demo Portfolio valuation");
        EXPECT_TRUE(LinesOf(d).value(0).startsWith(" Company name\tNumber\t"));
        EXPECT_TRUE(LinesOf(d).contains(QStringLiteral("\t\t----------------\t"))) << "kept in the value column";
        EXPECT_NE(CurrentValuationSettings().valuationDate, 0) << "the dates start from the last half-years";
        EXPECT_FALSE(Control<QPushButton>(d, 26415)->isEnabled());
        EXPECT_FALSE(Control<QPushButton>(d, 26416)->isEnabled());
        SaveRender(RenderWidget(d), "valuation-single");
        SetModalDialogRunner([](QDialog& dates) {
            EXPECT_EQ(dates.windowTitle(), "Select valuation date or date range");
            EXPECT_TRUE(Control<QRadioButton>(dates, 2075)->isChecked()) << "the latest valuation";
            EXPECT_TRUE(Control<QRadioButton>(dates, 1876)->isChecked()) << "the change in per cent";
            EXPECT_FALSE(Control<QWidget>(dates, 1857)->isEnabled() && Control<QRadioButton>(dates, 1876)->isEnabled());
            Control<QCheckBox>(dates, 1825)->setChecked(true);
            EXPECT_TRUE(Control<QRadioButton>(dates, 1876)->isEnabled());
            Control<QCheckBox>(dates, 2428)->setChecked(true);
            SaveRender(RenderWidget(dates), "valuation-dates");
            dates.accept();
            return dates.result();
        });
        Control<QPushButton>(d, 26413)->click();
        EXPECT_TRUE(CurrentValuationSettings().compare);
        EXPECT_TRUE(LinesOf(d).value(0).endsWith("\t% change")) << LinesOf(d).value(0).toStdString();
        SaveRender(RenderWidget(d), "valuation-comparison");

        // A Sunday typed as the valuation date values the portfolio as on the Friday before.
        SetModalDialogRunner([](QDialog& dates) {
            Control<QRadioButton>(dates, 1546)->setChecked(true);
            Control<QCheckBox>(dates, 1825)->setChecked(false);
            auto* field = dates.findChild<CDateEdit*>(QStringLiteral("1856"));
            EXPECT_NE(field, nullptr);
            if (field)
                field->edit()->setText(QStringLiteral("07/06/20"));
            dates.accept();
            return dates.result();
        });
        Control<QPushButton>(d, 26413)->click();
        EXPECT_EQ(CurrentValuationSettings().valuationDate, PackDate(7, 6, 2020));
        EXPECT_TRUE(LinesOf(d).value(0).contains(QString::fromStdString(FormatDateWithDay(PackDate(5, 6, 2020)))))
            << LinesOf(d).value(0).toStdString();
        return int(QDialog::Rejected);
    });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].id, "572");
    CurrentValuationSettings() = {};
}

// Each report printed headless: its page written as a PDF and drawn to look at; the file goes when
// the dialog does. A temporary folder that cannot be written says so and prints nothing.
TEST_F(CgtReports, ReportsPrintToPdf)
{
    dev::TempFolder folder;
    std::vector<std::filesystem::path> printed;
    HtmlFilePrinter previous = SetHtmlFilePrinter([&](const std::filesystem::path& file) {
        printed.push_back(file);
        const std::string name = "report-" + std::to_string(printed.size());
        EXPECT_TRUE(PrintHtmlReportToPdf(file, folder.path() / (name + ".pdf")));
        EXPECT_GE(PdfPageCount(QString::fromStdString((folder.path() / (name + ".pdf")).string())), 1);
        QTextDocument document;
        ASSERT_TRUE(LoadHtmlReport(file, document));
        QImage page = PrintedPageImage();
        document.setPageSize(page.size());
        QPainter painter(&page);
        document.drawContents(&painter);
        painter.end();
        SaveRender(page, QString::fromStdString("printed-" + name));
    });
    std::filesystem::path kept;
    auto printThenClose = [&](QDialog& d) {
        const QString button = d.objectName() == "209"   ? QStringLiteral("2841")
                               : d.objectName() == "572" ? QStringLiteral("26414")
                                                         : QStringLiteral("1880");
        if (auto* print = d.findChild<QPushButton*>(button))
            print->click();
        EXPECT_FALSE(printed.empty());
        if (!printed.empty()) {
            kept = printed.back();
            EXPECT_TRUE(std::filesystem::exists(kept));
            EXPECT_EQ(kept.extension(), ".html");
            EXPECT_EQ(kept.filename().string().substr(0, 3), "QVP");
        }
        return int(QDialog::Rejected);
    };
    DisposalRow();
    for (uint32_t command : {26302u, 26903u, 26398u}) {
        Run(command, printThenClose);
        EXPECT_FALSE(std::filesystem::exists(kept)) << "the page is deleted with its dialog";
    }
    Run(26309, printThenClose);

    const char* previousTmp = std::getenv("TMPDIR");
    const std::string keptTmp = previousTmp ? previousTmp : "";
    setenv("TMPDIR", (folder.path() / "missing").c_str(), 1);
    const size_t before = printed.size();
    CCGTDisplay::Args args;
    args.text = "Title\nHead\nLine\nLast\n";
    CCGTDisplay display(args);
    display.Print();
    EXPECT_EQ(printed.size(), before) << "nothing goes to the printer";
    EXPECT_EQ(boxes.texts().back(), "Unable to create file");
    if (previousTmp)
        setenv("TMPDIR", keptTmp.c_str(), 1);
    else
        unsetenv("TMPDIR");
    SetHtmlFilePrinter(previous);
}

} // namespace
