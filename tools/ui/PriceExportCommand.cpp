// Exporting the current share's prices to a file the user chooses.
#include "tools/ui/PriceExportCommand.h"

#include "core/PriceExport.h"
#include "core/RecordLookup.h"
#include "core/SaveProtocol.h"
#include "core/ShareList.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/qt/QtText.h"
#include "portfolio/TransactionRows.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/ModalDialog.h"
#include "tools/options/OptionSettings.h"
#include "tools/ui/ExportPricesDlg.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"

#include <QApplication>
#include <QFileDialog>

#include <filesystem>

namespace qv {

const char* const kPriceExportFilters[6] = {
    "Excel format (*.csv)", "Metastock ASCII format (*.prn)", "Quicken format (*.csq)", "General (*.exp)",
    "All Files (*.*)",      "Daily prices (*.csv)",
};

namespace {

constexpr uint32_t kExportSharePrices = 26057, kExportTablePrices = 26201;
constexpr const char* kSection = "Settings";

PriceExportChooser& Chooser()
{
    static PriceExportChooser chooser;
    return chooser;
}

std::string DialogChooser(const std::string& offered, int& format)
{
    QStringList filters;
    for (const char* filter : kPriceExportFilters)
        filters << QString::fromLatin1(filter);
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Export the prices for this share"),
                       FromCp1252(offered), filters.join(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectNameFilter(filters.value(format - 1, filters.first()));
    if (RunModalDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    format = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (format < kExportCsv)
        format = kExportCsv;
    return dialog.selectedFiles().constFirst().toStdString();
}

std::filesystem::path ExportFolder()
{
    std::optional<std::string> stored = Registry::Instance().getString(kSection, "ExportFolder");
    if (stored && !stored->empty())
        return *stored;
    std::filesystem::path folder = AppPath("Export");
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return folder;
}

int StoredFormat()
{
    const uint32_t format = Registry::Instance().getU32(kSection, "ExportFormat").value_or(kExportCsv);
    return format >= kExportCsv && format <= kExportDailyCsv ? int(format) : kExportCsv;
}

// The path with the format's extension when the user typed none (all files keeps the name as typed).
std::filesystem::path WithExtension(std::filesystem::path path, int format)
{
    if (path.has_extension() || format == kExportAllFiles)
        return path;
    return path.replace_extension(ExportExtension(format));
}

ExportPricesDialog& PricesDialog()
{
    static ExportPricesDialog dialog;
    return dialog;
}

bool RunExportPricesDialog(ExportPricesChoice& choice)
{
    CExportPricesDlg dialog(choice, QApplication::activeWindow());
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    choice = dialog.choice();
    return true;
}

ExportPricesChoice StoredChoice()
{
    const Registry& registry = Registry::Instance();
    ExportPricesChoice choice;
    choice.folder = ExportFolder().string();
    choice.file = registry.getString(kSection, "ExportFile").value_or("out");
    if (choice.file.empty())
        choice.file = "out";
    choice.format = StoredFormat();
    choice.singleFile = registry.getU32(kSection, "ExportSingleFile").value_or(0) != 0;
    choice.fromDate = PackedDate(registry.getU32(kSection, "ExportFromDate").value_or(0));
    choice.allData = choice.fromDate == 0;
    return choice;
}

void StoreChoice(const ExportPricesChoice& choice)
{
    Registry& registry = Registry::Instance();
    registry.setString(kSection, "ExportFolder", choice.folder);
    registry.setString(kSection, "ExportFile", choice.file);
    registry.setU32(kSection, "ExportFormat", uint32_t(choice.format));
    registry.setU32(kSection, "ExportSingleFile", choice.singleFile ? 1 : 0);
    registry.setU32(kSection, "ExportFromDate", choice.allData ? 0 : choice.fromDate);
}

// A per-share file of "All files" is written as the general layout, so it takes its extension.
std::string FileExtension(int format) { return ExportExtension(format == kExportAllFiles ? kExportExp : format); }

bool CurrentShare(RecordCursor& share)
{
    CViewBase* view = MainFrameState().activeView;
    if (!view || !view->list)
        return false;
    RecordCursor* entry = CurrentEntry(view->list);
    if (!entry || !entry->record)
        return false;
    share = ShareOfRow(*view->list, *entry);
    return share.record != nullptr;
}

} // namespace

void SetPriceExportChooser(PriceExportChooser chooser) { Chooser() = std::move(chooser); }

bool ExportCurrentSharePrices()
{
    RecordCursor share;
    if (!CurrentShare(share))
        return false;
    std::string ticker;
    GetShareFileCode(share, ticker, false);
    int format = StoredFormat();
    const std::filesystem::path offered = ExportFolder() / (ticker.empty() ? std::string("out") : ticker);
    const std::string offeredPath = WithExtension(offered, format).string();
    const std::string chosen = Chooser() ? Chooser()(offeredPath, format) : DialogChooser(offeredPath, format);
    if (chosen.empty())
        return false;
    const std::filesystem::path path = WithExtension(chosen, format);
    Registry& registry = Registry::Instance();
    registry.setString(kSection, "ExportFolder", path.parent_path().string());
    registry.setString(kSection, "ExportFile", path.stem().string());
    registry.setU32(kSection, "ExportFormat", uint32_t(format));
    const PriceFileOptions& o = PriceFileSettings();
    const ExportStyle style =
        ExportStyleFor(format, o.exportFormat, o.exportFormat2, o.exportSeparator, o.exportDateSeparator);
    std::string text;
    WriteShareHistory(share, style, text);
    if (!SaveFileAt(path, std::string_view(text))) {
        ShowMessage("Export failed\nPossibly not enough disk space", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    return true;
}

void SetExportPricesDialog(ExportPricesDialog dialog) { PricesDialog() = std::move(dialog); }

int ExportTablePrices()
{
    CViewBase* view = MainFrameState().activeView;
    if (!view || !view->list)
        return 0;
    ExportPricesChoice choice = StoredChoice();
    if (!(PricesDialog() ? PricesDialog()(choice) : RunExportPricesDialog(choice)))
        return 0;
    StoreChoice(choice);
    const PriceFileOptions& o = PriceFileSettings();
    ShareExportRun run;
    run.style = ExportStyleFor(choice.format, o.exportFormat, o.exportFormat2, o.exportSeparator, o.exportDateSeparator);
    run.style.fromDate = choice.allData ? 0 : choice.fromDate;
    run.folder = choice.folder;
    run.extension = FileExtension(choice.format);
    run.singleFile = choice.singleFile;
    ShareList& list = *view->list;
    const int32_t count = ShareListCount(&list);
    for (int32_t i = 0; i < count && run.latest != 0; ++i) {
        const RecordCursor share = ShareOfRow(list, list.entries[i]);
        if (share.record)
            ExportShareFile(share, run);
    }
    if (run.singleFile && run.written > 0) {
        const std::filesystem::path path = std::filesystem::path(choice.folder) / (choice.file + run.extension);
        if (!SaveFileAt(path, std::string_view(run.shared))) {
            ShowMessage("Export failed\nPossibly not enough disk space", {}, MsgButtons::Ok, MsgIcon::Exclamation);
            return 0;
        }
    }
    return run.written;
}

void InstallPriceExportCommand()
{
    SetCommandDialog(kExportTablePrices, [] { return ExportTablePrices() > 0; });
    SetCommandDialog(kExportSharePrices, [] {
        ExportCurrentSharePrices();
        return true;
    });
}

void RemovePriceExportCommand()
{
    SetCommandDialog(kExportSharePrices, nullptr);
    SetCommandDialog(kExportTablePrices, nullptr);
}

} // namespace qv
