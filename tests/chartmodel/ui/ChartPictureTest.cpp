// The chart as a picture: the copy's exact size and footer, the clipboard's two forms, and exports
// that parse and have the right size.
#include "chartmodel/ui/ChartPicture.h"

#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/ui/ViewGraphWindow.h"
#include "core/ConfigState.h"
#include "devtools/lib/SyntheticChart.h"
#include "shell/ui/ModalDialog.h"
#include "support/ui/Render.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qv {
namespace {

namespace gs = graphsetting;
using Chart = dev::SyntheticChart<CViewGraphWnd>;

class ChartPicture : public ::testing::Test {
protected:
    ChartPicture()
    {
        saved_ = Config().dailyGraphs.records[0];
        savedOptions_ = CopyOptions();
        dev::SetUpSyntheticSetting(Config().dailyGraphs.records[0]);
        gs::SetU16(Setting(), gs::kDisplayFlags, 1);
    }
    ~ChartPicture() override
    {
        Config().dailyGraphs.records[0] = saved_;
        CopyOptions() = savedOptions_;
        SetExportFileChooser({});
    }
    GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }

private:
    GraphSetting saved_;
    ClipboardCopyOptions savedOptions_;
};

// The columns of the footer strip that hold anything but white.
std::pair<int, int> InkedColumns(const QImage& image)
{
    int first = image.width(), last = -1;
    for (int y = image.height() - kCopyFooterHeight; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

TEST_F(ChartPicture, CopyIsExactlyTheSizeWithTheChartAboveAWhiteFooter)
{
    ASSERT_TRUE(test::FontsAvailable());
    gs::SetU32(Setting(), gs::kBackground, 0x604020);
    Chart chart(300);
    chart.resize(500, 300);
    QImage image = ChartPictureImage(chart, 700, 450, false);
    test::SaveRender(image, "chart-copy-coloured");
    EXPECT_EQ(image.size(), QSize(700, 450));
    EXPECT_EQ(chart.outerRect[3], 450 - kCopyFooterHeight) << "the chart is built into the height less 15";
    EXPECT_EQ(chart.size(), QSize(500, 300)) << "the window keeps its size";
    // Just above the strip is the chart's colour; the strip's first row is white.
    EXPECT_EQ(image.pixel(1, 450 - kCopyFooterHeight - 1) & 0xFFFFFF, 0x204060u);
    for (int x = 0; x < 700; ++x)
        ASSERT_EQ(image.pixel(x, 450 - kCopyFooterHeight) & 0xFFFFFF, 0xFFFFFFu) << x;
    // On colour the texts run from 2 pixels inside the left edge to 2 inside the right.
    auto [first, last] = InkedColumns(image);
    EXPECT_NEAR(first, 2, 2);
    EXPECT_NEAR(last, 697, 3);
}

TEST_F(ChartPicture, OnWhiteTheFooterAlignsWithThePlotAndANarrowCopyDropsTheAddress)
{
    ASSERT_TRUE(test::FontsAvailable());
    Chart chart(300);
    chart.resize(500, 300);
    QImage image = ChartPictureImage(chart, 700, 450, false);
    test::SaveRender(image, "chart-copy");
    auto [first, last] = InkedColumns(image);
    EXPECT_NEAR(first, chart.plotRect[0], 2);
    EXPECT_NEAR(last, chart.plotRect[2], 3);
    auto blue = [](const QImage& picture) {
        int n = 0;
        for (int y = picture.height() - kCopyFooterHeight; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                QRgb p = picture.pixel(x, y);
                n += qBlue(p) > 150 && qRed(p) < 100;
            }
        return n;
    };
    EXPECT_GT(blue(image), 20) << "the web address shows on a wide copy";
    gs::SetU32(Setting(), gs::kBackground, 0x604020);
    EXPECT_EQ(blue(ChartPictureImage(chart, 120, 200, false)), 0) << "and not on a narrow one";
}

TEST_F(ChartPicture, ClipboardHoldsTheFixedSizeImageAndAnSvg)
{
    ASSERT_TRUE(test::FontsAvailable());
    CopyOptions() = {0, 640, 420, 1};
    Chart chart(300);
    chart.resize(500, 300);
    ASSERT_TRUE(CopyGraphToClipboard(chart));
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    QImage image = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(image.size(), QSize(640, 420));
    QSvgRenderer svg(data->data(QStringLiteral("image/svg+xml")));
    EXPECT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(0, 0, 640, 420));
    EXPECT_FALSE(chart.modeRecord.active) << "the redrawing mode ends with the copy";

    // A copy asked for while the chart is redrawn does nothing.
    chart.SetMode(true, kModeRedrawing, 0, 0, 0xFFFF);
    EXPECT_FALSE(CopyGraphToClipboard(chart));
    chart.SetMode(false, 0, 0, 0, 0xFFFF);
}

TEST_F(ChartPicture, ExportWritesAParsableSvgOrAPngOfTheWindowsSize)
{
    ASSERT_TRUE(test::FontsAvailable());
    QTemporaryDir dir;
    Chart chart(300);
    chart.resize(520, 340);
    chart.readoutParts[1] = "VOD: Daily";
    std::string offered;
    ExportForm pick = ExportForm::Png;
    std::string answer = dir.filePath("chart.emf").toStdString();
    SetExportFileChooser([&](const std::string& name, ExportForm& filter) {
        offered = name;
        filter = pick;
        return answer;
    });
    ExportGraphMetafile(chart);
    EXPECT_EQ(offered, "VOD_ Daily");
    QImage png(dir.filePath("chart.emf.png"));
    EXPECT_EQ(png.size(), QSize(520, 340)) << "another extension takes the chosen filter's";
    test::SaveRender(png, "chart-export-png");

    pick = ExportForm::Png;
    answer = dir.filePath("chart.SVG").toStdString();
    ExportGraphMetafile(chart);
    QSvgRenderer svg(dir.filePath("chart.SVG"));
    ASSERT_TRUE(svg.isValid()) << "the name's own extension decides";
    EXPECT_EQ(svg.viewBox(), QRect(0, 0, 520, 340));
    QImage raster(520, 340, QImage::Format_RGB32);
    raster.fill(Qt::gray);
    {
        QPainter painter(&raster);
        svg.render(&painter);
    }
    test::SaveRender(raster, "chart-export-svg-rasterised");
    EXPECT_EQ(raster.pixel(260, 340 - kCopyFooterHeight + 1) & 0xFFFFFF, 0xFFFFFFu) << "the footer is white";

    answer.clear();
    ExportGraphMetafile(chart); // cancelled: nothing more written
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

// Printing, its preview and the export's file dialog run as the program's own dialogs do, so an
// unattended run closes them as Cancel and never waits on a real one.
TEST_F(ChartPicture, PrintPreviewAndExportDialogsRunThroughTheModalRunner)
{
    Chart chart(300);
    chart.resize(520, 340);
    std::vector<std::string> shown;
    SetModalDialogRunner([&](QDialog& dialog) {
        if (qobject_cast<QPrintDialog*>(&dialog))
            shown.push_back("print");
        else if (qobject_cast<QPrintPreviewDialog*>(&dialog))
            shown.push_back("preview");
        else if (qobject_cast<QFileDialog*>(&dialog))
            shown.push_back("export");
        return int(QDialog::Rejected);
    });
    PrintGraph(chart);
    PrintPreviewGraph(chart);
    ExportGraphMetafile(chart);
    SetModalDialogRunner({});
    EXPECT_EQ(shown, (std::vector<std::string>{"print", "preview", "export"}));
}

} // namespace
} // namespace qv
