// The chart as a picture: clipboard copy, SVG and PNG export, printing and print preview.
#include "chartmodel/ui/ChartPicture.h"

#include "chartmodel/PaneLayout.h"
#include "chartmodel/ui/GraphLegend.h"
#include "chartmodel/ui/ViewGraphWindow.h"
#include "core/SaveProtocol.h"
#include "platform/MessageBox.h"
#include "platform/qt/PrintJobName.h"
#include "platform/qt/QtText.h"
#include "shell/ui/ModalDialog.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFileDialog>
#include <QFontMetrics>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSvgGenerator>

namespace qv {
namespace {

constexpr int kFooterPoints = 9;
constexpr uint32_t kAllKeys = 0xFFFF;

QFont FooterFont(int weight)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(kFooterPoints);
    font.setWeight(QFont::Weight(weight));
    return font;
}

// Copying and exporting hold the view in its redrawing mode; a copy asked for during a redraw is
// ignored.
class RedrawHold {
public:
    explicit RedrawHold(CViewGraphWnd& view) : view_(view)
    {
        if (view.modeRecord.active && view.modeRecord.mode == kModeRedrawing)
            return;
        view.CancelMode();
        view.SetMode(true, kModeRedrawing, 0, 0, kAllKeys);
        held_ = true;
    }
    ~RedrawHold()
    {
        if (!held_)
            return;
        view_.SetMode(false, 0, 0, 0, kAllKeys);
        view_.update();
    }
    bool held() const { return held_; }

private:
    CViewGraphWnd& view_;
    bool held_ = false;
};

void DrawPicture(QPainter& painter, CViewGraphWnd& view, int width, int height, bool legend)
{
    painter.fillRect(0, 0, width, height, Qt::white);
    view.DrawChartPicture(painter, width, height - kCopyFooterHeight);
    const GraphPane* price = view.FindPane(kPanePrice);
    CGraphLegend& legendWindow = GraphLegendWindow();
    // The legend option is on and the legend holds this view's lines.
    if (legend && ChartOptions().legendShown && price && legendWindow.view() == &view)
        DrawLegendBox(painter, legendWindow.model(), view.textHeight, view.plotRect[0] + view.labelUnit,
                      price->top + 2 * view.labelUnit);
    int left = 0, right = 0;
    FooterArea(view.backgroundColour, view.plotRect[0], view.plotRect[2], width, left, right);
    DrawCopyFooter(painter, width, height, left, right);
}

std::string ChooseExportFile(const std::string& defaultName, ExportForm& filter)
{
    const QString svg = QStringLiteral("SVG pictures (*.svg)");
    const QString png = QStringLiteral("PNG pictures (*.png)");
    QString selected = filter == ExportForm::Svg ? svg : png;
    // The name goes in with the filter's extension, or the dialog would take a title's last '.' (as in
    // "(dyn.)") for one and swap what follows for the filter's.
    const QString offered =
        FromCp1252(defaultName) + (filter == ExportForm::Svg ? QStringLiteral(".svg") : QStringLiteral(".png"));
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Export the current graph"), offered,
                       svg + QStringLiteral(";;") + png);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectNameFilter(selected);
    if (RunModalDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    filter = dialog.selectedNameFilter() == png ? ExportForm::Png : ExportForm::Svg;
    return dialog.selectedFiles().constFirst().toStdString();
}

// A chooser put in place of the file dialog; none means the dialog.
ExportFileChooser& Chooser()
{
    static ExportFileChooser chooser;
    return chooser;
}

} // namespace

void DrawCopyFooter(QPainter& painter, int width, int height, int areaLeft, int areaRight)
{
    QFont normal = FooterFont(400);
    QFont bold = FooterFont(800);
    QFontMetrics normalMetrics(normal, painter.device());
    QFontMetrics boldMetrics(bold, painter.device());
    const QString boldPart = QString::fromLatin1(kFooterBoldPart);
    const QString normalPart = QString::fromLatin1(kFooterNormalPart);
    const QString address = QString::fromLatin1(kFooterAddress);
    FooterLayout layout =
        LayoutCopyFooter(height, areaLeft, areaRight, boldMetrics.horizontalAdvance(boldPart),
                         normalMetrics.horizontalAdvance(normalPart), normalMetrics.horizontalAdvance(address));
    painter.save();
    painter.fillRect(0, layout.stripTop, width, kCopyFooterHeight, Qt::white);
    painter.setPen(Qt::black);
    painter.setFont(bold);
    painter.drawText(layout.boldX, layout.baseline, boldPart);
    painter.setFont(normal);
    painter.drawText(layout.normalX, layout.baseline, normalPart);
    if (layout.showAddress) {
        painter.setPen(Qt::blue);
        painter.drawText(layout.addressX, layout.baseline, address);
    }
    painter.restore();
}

QImage ChartPictureImage(CViewGraphWnd& view, int width, int height, bool legend)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    DrawPicture(painter, view, width, height, legend);
    return image;
}

QByteArray ChartPictureSvg(CViewGraphWnd& view, int width, int height, bool legend)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(width, height));
    svg.setViewBox(QRect(0, 0, width, height));
    svg.setResolution(96); // one picture pixel to one CSS pixel
    svg.setTitle(QStringLiteral("Quorvantis"));
    svg.setDescription(FromCp1252(view.PictureName()));
    {
        QPainter painter(&svg);
        DrawPicture(painter, view, width, height, legend);
    }
    return bytes;
}

bool CopyGraphToClipboard(CViewGraphWnd& view)
{
    RedrawHold hold(view);
    if (!hold.held())
        return false;
    CopySize size = ChooseCopySize(CopyOptions(), view.width(), view.height());
    QImage image = ChartPictureImage(view, size.width, size.height, true);
    QByteArray svg = ChartPictureSvg(view, size.width, size.height, true);
    auto* data = new QMimeData;
    if (CopyOptions().bitmapFirst) {
        data->setImageData(image);
        data->setData(QStringLiteral("image/svg+xml"), svg);
    } else {
        data->setData(QStringLiteral("image/svg+xml"), svg);
        data->setImageData(image);
    }
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setMimeData(data);
    const QMimeData* taken = clipboard->mimeData();
    if (!taken || !taken->hasImage()) {
        ShowMessage("Copy to clipboard failed");
        return false;
    }
    return true;
}

bool ExportGraph(CViewGraphWnd& view, const std::string& path, ExportForm form)
{
    RedrawHold hold(view);
    if (!hold.held())
        return false;
    int width = std::max(view.width(), 1);
    int height = std::max(view.height(), kCopyFooterHeight + 1);
    QByteArray bytes;
    if (form == ExportForm::Png) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ChartPictureImage(view, width, height, false).save(&buffer, "PNG");
    } else {
        bytes = ChartPictureSvg(view, width, height, false);
    }
    bool written = !bytes.isEmpty() && SaveFileAt(path, std::string_view(bytes.constData(), size_t(bytes.size())));
    if (!written)
        ShowMessage("Unable to create the picture.\nThe destination file may be in use.", {}, MsgButtons::Ok,
                    MsgIcon::Exclamation);
    return written;
}

void SetExportFileChooser(ExportFileChooser chooser) { Chooser() = std::move(chooser); }

void ExportGraphMetafile(CViewGraphWnd& view)
{
    ExportForm filter = ExportForm::Svg;
    const std::string defaultName = DefaultExportName(view.PictureName());
    std::string chosen = Chooser() ? Chooser()(defaultName, filter) : ChooseExportFile(defaultName, filter);
    if (chosen.empty())
        return;
    ExportForm form = filter;
    std::string path = ExportFileName(chosen, filter, form);
    ExportGraph(view, path, form);
}

void PrintGraph(CViewGraphWnd& view)
{
    QPrinter printer(QPrinter::HighResolution);
    NamePrintJob(printer);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, &view);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    view.PrintChart(printer);
}

void PrintPreviewGraph(CViewGraphWnd& view)
{
    QPrinter printer(QPrinter::HighResolution);
    NamePrintJob(printer);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog preview(&printer, &view);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &view,
                     [&view](QPrinter* target) { view.PrintChart(*target); });
    RunModalDialog(preview);
}

} // namespace qv
