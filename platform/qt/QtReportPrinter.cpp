// Report files printed through QTextDocument and QPrinter.
#include "platform/qt/QtReportPrinter.h"

#include "platform/FileOps.h"
#include "platform/ReportPrint.h"
#include "platform/qt/PrintJobName.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

namespace qv {
namespace {

bool Offscreen() { return QGuiApplication::platformName() == QStringLiteral("offscreen"); }

void PrintToPrinter(const std::filesystem::path& file)
{
    QTextDocument document;
    if (!LoadHtmlReport(file, document))
        return;
    if (Offscreen()) {
        std::filesystem::path pdf = file;
        PrintHtmlReportToPdf(file, pdf.replace_extension(".pdf"));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    NamePrintJob(printer);
    if (QPrinterInfo::defaultPrinter().isNull()) {
        QPrintDialog dialog(&printer, QApplication::activeWindow());
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    document.print(&printer);
}

} // namespace

bool LoadHtmlReport(const std::filesystem::path& file, QTextDocument& document)
{
    const auto bytes = ReadFileBytes(file);
    if (!bytes)
        return false;
    document.setHtml(FromCp1252(std::string(bytes->begin(), bytes->end())));
    return true;
}

bool PrintHtmlReportToPdf(const std::filesystem::path& file, const std::filesystem::path& pdf)
{
    QTextDocument document;
    if (!LoadHtmlReport(file, document))
        return false;
    QPrinter printer(QPrinter::HighResolution);
    NamePrintJob(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    document.print(&printer);
    return std::filesystem::exists(pdf);
}

void InstallQtReportPrinter() { SetHtmlFilePrinter(PrintToPrinter); }

} // namespace qv
