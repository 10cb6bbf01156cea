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
#include "tools/TableExport.h"
#include "views/ActiveShare.h"
#include "tools/ui/ExportPricesDlg.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"

#include <QApplication>
#include <QFileDialog>

#include <algorithm>
#include <filesystem>
#include <span>

namespace qv {

const char* const kPriceExportFilters[6] = {
    "Excel format (*.csv)", "Metastock ASCII format (*.prn)", "Quicken format (*.csq)", "General (*.exp)",
    "All Files (*.*)",      "Daily prices (*.csv)",
};

const char* const kTableExportFilters[3] = {"Excel format (*.csv)", "General (*.exp)", "All Files (*.*)"};

namespace {

constexpr uint32_t kExportSharePrices = 26057, kExportTablePrices = 26201, kExportTable = 26055,
                   kExportDetails = 26058;
// Bit 6 of the Export page's first flag byte: a transactions table's 'Latest' rows are written.
constexpr uint8_t kLatestRowsFlag = 0x40;
constexpr const char* kSection = "Settings";

PriceExportChooser& Chooser()
{
    static PriceExportChooser chooser;
    return chooser;
}

// The save dialog over a filter list whose entry n is format `formats[n]`.
std::string ListChooser(const char* title, std::span<const char* const> filters, std::span<const int> formats,
                        const std::string& offered, int& format)
{
    QStringList names;
    for (const char* filter : filters)
        names << QString::fromLatin1(filter);
    QFileDialog dialog(QApplication::activeWindow(), QString::fromLatin1(title), FromCp1252(offered),
                       names.join(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const auto at = std::find(formats.begin(), formats.end(), format);
    dialog.selectNameFilter(names.value(at == formats.end() ? 0 : int(at - formats.begin())));
    if (RunModalDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const qsizetype chosen = names.indexOf(dialog.selectedNameFilter());
    format = formats[chosen >= 0 ? size_t(chosen) : 0];
    return dialog.selectedFiles().constFirst().toStdString();
}

std::string DialogChooser(const std::string& offered, int& format)
{
    static constexpr int kFormats[] = {1, 2, 3, 4, 5, 6};
    return ListChooser("Export the prices for this share", kPriceExportFilters, kFormats, offered, format);
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

// The chosen file's folder, name and type, offered again next time.
void RememberChosenFile(const std::filesystem::path& path, int format)
{
    Registry& registry = Registry::Instance();
    registry.setString(kSection, "ExportFolder", path.parent_path().string());
    registry.setString(kSection, "ExportFile", path.stem().string());
    registry.setU32(kSection, "ExportFormat", uint32_t(format));
}

// Writes the text through the save protocol; a failure is said.
bool SaveExport(const std::filesystem::path& path, const std::string& text)
{
    if (SaveFileAt(path, std::string_view(text)))
        return true;
    ShowMessage("Export failed\nPossibly not enough disk space", {}, MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

// Asked before the one file of a list's export is written over, as the save dialogs ask.
bool MayReplace(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return true;
    MessageRequest request{path.string() + " already exists.\nDo you want to replace it?", {}, MsgButtons::YesNo,
                           MsgIcon::Exclamation, 1};
    return ShowMessage(request) == MsgAnswer::Yes;
}

// A per-share file of "All files" is written as the general layout, so it takes its extension.
std::string FileExtension(int format) { return ExportExtension(format == kExportAllFiles ? kExportExp : format); }


} // namespace

void SetPriceExportChooser(PriceExportChooser chooser) { Chooser() = std::move(chooser); }

bool ExportCurrentSharePrices()
{
    RecordCursor share;
    if (!ActiveViewShare(share))
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
    RememberChosenFile(path, format);
    const PriceFileOptions& o = PriceFileSettings();
    const ExportStyle style =
        ExportStyleFor(format, o.exportFormat, o.exportFormat2, o.exportSeparator, o.exportDateSeparator);
    std::string text;
    WriteShareHistory(share, style, text);
    return SaveExport(path, text);
}

// The save dialog of the table and details exports, then the text written; false when cancelled or
// the write failed (which is said).
bool ExportText(const char* title, const std::string& offeredName, const std::function<std::string(char)>& text)
{
    static constexpr int kFormats[] = {kExportCsv, kExportExp, kExportAllFiles};
    int format = StoredFormat();
    if (format != kExportCsv && format != kExportExp && format != kExportAllFiles)
        format = kExportCsv;
    const std::string offered = WithExtension(ExportFolder() / offeredName, format).string();
    const std::string chosen =
        Chooser() ? Chooser()(offered, format) : ListChooser(title, kTableExportFilters, kFormats, offered, format);
    if (chosen.empty())
        return false;
    const std::filesystem::path path = WithExtension(chosen, format);
    RememberChosenFile(path, format);
    const PriceFileOptions& o = PriceFileSettings();
    const char delimiter = format == kExportCsv ? ',' : o.exportSeparator ? o.exportSeparator : ',';
    return SaveExport(path, text(delimiter));
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
    const std::filesystem::path sharedPath =
        std::filesystem::path(choice.folder) / (choice.file + FileExtension(choice.format));
    if (choice.singleFile && !MayReplace(sharedPath))
        return 0;
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
    if (run.singleFile && run.written > 0 && !SaveExport(sharedPath, run.shared))
        return 0;
    return run.written;
}

bool ExportCurrentTable()
{
    CViewBase* view = MainFrameState().activeView;
    if (!view || !view->list)
        return false;
    const ShareList& list = *view->list;
    const bool latest = (PriceFileSettings().exportFormat & kLatestRowsFlag) != 0;
    return ExportText("Export all the data in this table", "out",
                      [&](char delimiter) { return WriteTable(list, delimiter, latest); });
}

bool ExportCurrentShareDetails()
{
    RecordCursor share;
    if (!ActiveViewShare(share))
        return false;
    std::string ticker;
    GetShareFileCode(share, ticker, true);
    return ExportText("Export the details for the current share", ticker.empty() ? std::string("out") : ticker,
                      [&](char delimiter) { return WriteShareDetails(share, delimiter); });
}

void InstallPriceExportCommand()
{
    SetCommandDialog(kExportTable, [] { return ExportCurrentTable(); });
    SetCommandDialog(kExportDetails, [] { return ExportCurrentShareDetails(); });
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
    SetCommandDialog(kExportTable, nullptr);
    SetCommandDialog(kExportDetails, nullptr);
}

} // namespace qv
