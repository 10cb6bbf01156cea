// The sector analysis dialog on the demo portfolio: its pies, legend, list and printed page rendered,
// its settings byte and each level's own colours, and command 27282 installed.
#include "portfolio/ui/PortSummary.h"

#include "core/ShareList.h"
#include "portfolio/ui/SectorShares.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/ListCtrlEx.h"
#include "support/ui/PortfolioLayoutFrame.h"
#include "support/ui/Render.h"
#include "portfolio/ui/ViewPort.h"
#include "views/FrameState.h"

#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <algorithm>
#include <string>

using namespace qv;
using namespace qv::test;

namespace {

class SectorAnalysisDialog : public PortfolioLayoutFrame {
protected:
    SectorAnalysisDialog()
    {
        view = FindView<CViewPort>();
        EXPECT_NE(view, nullptr);
        SectorSettingsByte() = 0;
    }
    ~SectorAnalysisDialog() override { SectorSettingsByte() = 0; }
    std::vector<SectorShare> Shares() const { return SectorSharesOf(*view->list); }
    static std::vector<std::string> Column(const CListCtrlEx& list, int column)
    {
        std::vector<std::string> out;
        const QAbstractItemModel& model = *list.model();
        for (int i = 0; i < model.rowCount(); ++i)
            out.push_back(model.index(i, column).data().toString().toStdString());
        return out;
    }

    CViewPort* view = nullptr;
};

} // namespace

TEST_F(SectorAnalysisDialog, RendersThePiesTheLegendAndTheList)
{
    ASSERT_NE(view, nullptr);
    EXPECT_NE(FindCommandDialog(27282), nullptr);
    CPortSummary dialog(Shares(), "Demo Portfolio", true);
    dialog.resize(900, 620);
    struct Case {
        SectorSettings settings;
        const char* name;
    } cases[] = {
        {{kLevelCompanies, kMeasureHoldings, 0, false, false, false}, "sector-analysis-2d"},
        {{kLevelSectors, kMeasureHoldings, 0, true, false, false}, "sector-analysis-2d-legend"},
        {{kLevelCompanies, kMeasureHoldings, 1, false, true, false}, "sector-analysis-3d"},
        {{kLevelSectors, kMeasureHoldings, 0, true, true, false}, "sector-analysis-3d-legend"},
        {{kLevelMainSectors, kMeasureCapital, 0, true, false, false}, "sector-analysis-capital"},
    };
    for (const Case& c : cases) {
        dialog.SetSettings(c.settings);
        const QImage image = RenderWidget(dialog);
        SaveRender(image, QString::fromLatin1(c.name));
        EXPECT_EQ(dialog.settings().legend, c.settings.legend) << c.name;
    }
    dialog.SetSettings({kLevelSectors, kMeasureHoldings, 0, false, false, true});
    SaveRender(RenderWidget(dialog), QStringLiteral("sector-analysis-list"));
    CListCtrlEx& list = *dialog.list();
    EXPECT_EQ(list.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Sector / Name"));
    ASSERT_GT(list.model()->rowCount(), 2);
    EXPECT_EQ(Column(list, 0).back(), "Total");
    EXPECT_EQ(Column(list, 2).back(), "100.0%");
    EXPECT_TRUE(list.model()->index(list.model()->rowCount() - 1, 0).data(Qt::FontRole).value<QFont>().bold())
        << "the total is bold";
    // A click on a heading sorts by it, a second reverses it; the total stays last.
    auto values = [&] {
        std::vector<double> out;
        for (const std::string& text : Column(list, 2))
            out.push_back(std::stod(text));
        return out;
    };
    list.OnColumnClick(1);
    std::vector<double> shown = values();
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end() - 1)) << "ascending";
    EXPECT_EQ(Column(list, 0).back(), "Total");
    list.OnColumnClick(1);
    shown = values();
    EXPECT_TRUE(std::is_sorted(shown.rbegin() + 1, shown.rend())) << "descending";
    EXPECT_EQ(Column(list, 0).back(), "Total");
    SaveRender(RenderWidget(dialog), QStringLiteral("sector-analysis-list-sorted"));

    dialog.accept();
    EXPECT_EQ(SectorSettingsByte(), PackSectorSettings({kLevelSectors, kMeasureHoldings, 0, false, false, true}));
}

TEST_F(SectorAnalysisDialog, EachLevelKeepsItsColoursAndOneCompanyFillsThePie)
{
    ASSERT_NE(view, nullptr);
    CPortSummary dialog(Shares(), "Demo Portfolio", true);
    dialog.SetSettings({kLevelCompanies, kMeasureHoldings, 0, true, false, false});
    dialog.SetSliceColour(0, 0x123456);
    dialog.SetSettings({kLevelSectors, kMeasureHoldings, 0, true, false, false});
    EXPECT_NE(dialog.Colours()[0], 0x123456u);
    dialog.SetSettings({kLevelCompanies, kMeasureHoldings, 0, true, false, false});
    EXPECT_EQ(dialog.Colours()[0], 0x123456u);

    std::vector<SectorShare> one = Shares();
    one.resize(1);
    one[0].inPortfolio = true, one[0].held = 10, one[0].holding = 500;
    CPortSummary single(one, "One", false);
    single.SetSettings({kLevelCompanies, kMeasureHoldings, 0, false, false, true});
    EXPECT_EQ(Column(*single.list(), 2), (std::vector<std::string>{"100.0%", "100.0%"}));
    single.resize(700, 520);
    single.SetSettings({kLevelCompanies, kMeasureHoldings, 0, false, true, false});
    SaveRender(RenderWidget(single), QStringLiteral("sector-analysis-one-company"));

    CPortSummary empty({}, "Nothing", false);
    empty.resize(700, 520);
    const QImage nothing = RenderWidget(empty);
    SaveRender(nothing, QStringLiteral("sector-analysis-no-data"));
    EXPECT_TRUE(empty.findChild<QWidget*>(QStringLiteral("4104"))->isEnabled() == false);
}

TEST_F(SectorAnalysisDialog, PrintsTheChartToAPdfPage)
{
    ASSERT_NE(view, nullptr);
    CPortSummary dialog(Shares(), "Demo Portfolio", true);
    dialog.SetSettings({kLevelSectors, kMeasureHoldings, 0, true, true, false});
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sector.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    dialog.PrintTo(printer);
    EXPECT_EQ(printer.docName(), QStringLiteral("Sector Analysis"));
    EXPECT_EQ(PdfPageCount(pdf), 1);

    QImage page = PrintedPageImage();
    {
        QPainter painter(&page);
        dialog.DrawChart(painter, QRect(0, 150, page.width(), page.width()), true);
    }
    SaveRender(page, QStringLiteral("sector-analysis-printed"));
}
