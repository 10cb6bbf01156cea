// Importing price files and deleting imported items from the frame's commands.
#include "tools/ui/PriceImportCommands.h"

#include "chartmodel/PortfolioSeriesCache.h"
#include "core/RecordAccess.h"
#include "core/SystemDate.h"
#include "core/RecordLists.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "lists/ListOptions.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/qt/QtText.h"
#include "shell/AppServices.h"
#include "shell/FrameDialogSeams.h"
#include "shell/PortfolioAdd.h"
#include "shell/ViewGroups.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StatusBarEx.h"
#include "tools/ImportedItemDeletion.h"
#include "tools/options/OptionSettings.h"
#include "views/ActiveShare.h"
#include "tools/ui/EditShareDlg.h"
#include "tools/ui/ImportFolderDlg.h"
#include "tools/ui/NameShareDlg.h"
#include "views/ViewGroupFields.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>

#include <algorithm>

namespace qv {
namespace {

constexpr uint32_t kImportShare = 26198, kImportFolder = 26210, kEditItem = 26214, kNewItem = 26216,
                   kDeleteItem = 26217, kDeleteAll = 26218;
// A new item's history starts this many days before today.
constexpr int kNewItemDays = 100;
constexpr const char* kSection = "Settings";
constexpr size_t kReportedMessages = 20;
// The "All" list, whose market breadth counts every item.
constexpr int32_t kAllListGroup = 0;

ImportFileChooser& FileChooser()
{
    static ImportFileChooser chooser;
    return chooser;
}

ImportFolderChooser& FolderChooser()
{
    static ImportFolderChooser chooser;
    return chooser;
}

std::string DialogFileChooser(const std::string& folder)
{
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Import a single share or other data"),
                       FromCp1252(folder), QStringLiteral("Export Files (*.exp);;All Files (*)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (RunModalDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst().toStdString();
}

bool DialogFolderChooser(std::string& folder, std::string& extension)
{
    CImportFolderDlg dialog(QString::fromStdString(folder), FromCp1252(extension), QApplication::activeWindow());
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    folder = dialog.folder().toStdString();
    extension = ToCp1252(dialog.extension());
    return true;
}

bool SameNoCase(std::string a, std::string b)
{
    auto lower = [](std::string& s) { std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); }); };
    lower(a);
    lower(b);
    return a == b;
}

void ShowStatus(const std::string& text)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* frame = qobject_cast<CMainFrame*>(widget))
            if (CStatusBarEx* bar = frame->statusBarEx())
                bar->SetPaneText(0, FromCp1252(text));
}

void NoteSkippedLines(const ImportRun& run)
{
    if (run.settings.errorLevel == 0 && run.skippedLines > 0)
        ShowStatus(std::to_string(run.skippedLines) + (run.skippedLines == 1 ? " line" : " lines") +
                   " could not be imported");
}

void ReportCollected(const ImportRun& run)
{
    if (run.collected.empty())
        return;
    std::string text = "Errors found while importing:";
    for (size_t i = 0; i < std::min(run.collected.size(), kReportedMessages); ++i)
        text += "\n\n" + run.collected[i];
    if (run.collected.size() > kReportedMessages)
        text += "\n\n... and " + std::to_string(run.collected.size() - kReportedMessages) + " more";
    ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

// The imported item the active view's list has as its current share, or null.
const uint8_t* CurrentImportedItem()
{
    RecordCursor share;
    if (!ActiveViewShare(share))
        return nullptr;
    const uint16_t id = RecordId(share.record);
    return IsMadeItemId(id) && id != 0xFFFF ? share.record : nullptr;
}

} // namespace

ImportSettings CurrentImportSettings(const std::filesystem::path& file)
{
    const PriceFileOptions& o = PriceFileSettings();
    ImportSettings s;
    s.dateFormat = o.importFormat;
    s.delimiter = o.importSeparator ? o.importSeparator : ',';
    if (SameNoCase(file.extension().string(), ".csv"))
        s.delimiter = ',';
    s.dateSeparator = o.importDateSeparator ? o.importDateSeparator : '/';
    s.errorLevel = o.importErrorLevel;
    s.replace = o.importOverwrite == 1;
    s.fileNameForShare = o.importFileNameForShare;
    s.commaDecimal = !o.importNoCommaDecimal;
    return s;
}

void SetImportFileChooser(ImportFileChooser chooser) { FileChooser() = std::move(chooser); }
void SetImportFolderChooser(ImportFolderChooser chooser) { FolderChooser() = std::move(chooser); }

std::filesystem::path StoredImportFolder()
{
    std::optional<std::string> stored = Registry::Instance().getString(kSection, "ImportFolder");
    return stored && !stored->empty() ? std::filesystem::path(*stored) : AppPath("Import");
}

void RefreshViewsAfterImport()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    for (ShareList* list = ShareListChain(); list; list = list->next) {
        if (list->family != kFamilyShares || list->source)
            continue;
        // The refill finds the list's current share again by its id.
        if (const RecordCursor* entry = CurrentEntry(list); entry && entry->record) {
            list->currentId = EntryRecordId(*entry);
            list->currentSub = entry->count;
            RememberListRow(list->word, {list->currentId, list->currentSub});
        }
        MarkNeedsRefill(list);
    }
    SeriesCache().InvalidateShare(kAllListGroup);
    UpdateAllViewGroups(-1, false, nullptr, true, false);
    NotifyPortfolioChanged(nullptr);
    InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
    QGuiApplication::restoreOverrideCursor();
}

bool ImportOneFile()
{
    const std::string folder = StoredImportFolder().string();
    const std::string chosen = FileChooser() ? FileChooser()(folder) : DialogFileChooser(folder);
    if (chosen.empty())
        return false;
    const std::filesystem::path path(chosen);
    Registry::Instance().setString(kSection, "ImportFolder", path.parent_path().string());
    ImportRun run;
    run.settings = CurrentImportSettings(path);
    const bool made = !ImportPriceFile(path, run);
    NoteSkippedLines(run);
    if (made)
        RefreshViewsAfterImport();
    RecalculateAfterLoad();
    return made;
}

int ImportFolderFiles(const std::filesystem::path& folder, const std::string& extension)
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file(error) && SameNoCase(entry.path().extension().string(), "." + extension))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ImportRun run;
    run.quiet = true;
    int made = 0;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    for (const std::filesystem::path& file : files) {
        run.settings = CurrentImportSettings(file);
        ImportPriceFile(file, run);
        made += run.createdId != 0;
        if (run.cancelled)
            break;
    }
    QGuiApplication::restoreOverrideCursor();
    if (made)
        RefreshViewsAfterImport();
    RecalculateAfterLoad();
    ReportCollected(run);
    NoteSkippedLines(run);
    if (run.settings.errorLevel != 0 || run.skippedLines == 0)
        ShowStatus(std::to_string(made) + " of " + std::to_string(files.size()) + " files imported");
    return made;
}

bool ImportFolder()
{
    Registry& registry = Registry::Instance();
    std::string folder = StoredImportFolder().string();
    std::string extension = registry.getString(kSection, "ImportExt").value_or("exp");
    const bool chosen = FolderChooser() ? FolderChooser()(folder, extension) : DialogFolderChooser(folder, extension);
    if (!chosen)
        return false;
    registry.setString(kSection, "ImportFolder", folder);
    registry.setString(kSection, "ImportExt", extension);
    return ImportFolderFiles(folder, extension) > 0;
}

bool EditCurrentImportedItem()
{
    const uint8_t* item = CurrentImportedItem();
    if (!item)
        return false;
    std::optional<std::vector<uint8_t>> edited = RunEditShare(item);
    if (!edited)
        return false;
    for (RecordListNode* node = ImportedItemList; node; node = node->next)
        if (node->record == item) {
            ReplaceImportedItem(node, *edited);
            break;
        }
    RefreshViewsAfterImport();
    return true;
}

bool NewImportedItem()
{
    ImportKeywords blank;
    blank.type = 15;
    const uint8_t end = ' ';
    const std::vector<uint8_t> empty = BuildImportedRecord({}, blank, 1, GetTodayDate(kNewItemDays), 0, {&end, 1});
    std::optional<std::vector<uint8_t>> made = RunEditShare(empty.data());
    if (!made || !AddImportedItem(*made))
        return false;
    RefreshViewsAfterImport();
    RecalculateAfterLoad();
    return true;
}

bool DeleteCurrentImportedItem()
{
    const uint8_t* item = CurrentImportedItem();
    if (!item)
        return false;
    const uint16_t id = RecordId(item);
    const std::string question = DeleteImportedItemQuestion(std::string(GetRecordName(item)), CountImportedItemUse(id));
    if (ShowMessage(question, {}, MsgButtons::OkCancel, MsgIcon::Question) != MsgAnswer::Ok)
        return false;
    DeleteImportedItem(id);
    RefreshViewsAfterImport();
    RecalculateAfterLoad();
    return true;
}

bool DeleteEveryImportedItem()
{
    const char* question =
        "Are you sure you want to delete ALL imported data?\n\nThis will delete ALL associated transactions";
    if (!ImportedItemList || ShowMessage(question, {}, MsgButtons::OkCancel, MsgIcon::Question) != MsgAnswer::Ok)
        return false;
    DeleteAllImportedItems();
    RefreshViewsAfterImport();
    RecalculateAfterLoad();
    return true;
}

void InstallPriceImportCommands()
{
    SetImportNameDialog(AskImportName);
    SetCommandDialog(kImportShare, ImportOneFile);
    SetCommandDialog(kImportFolder, ImportFolder);
    SetCommandDialog(kEditItem, EditCurrentImportedItem);
    SetCommandDialog(kNewItem, NewImportedItem);
    SetCommandDialog(kDeleteItem, DeleteCurrentImportedItem);
    SetCommandDialog(kDeleteAll, DeleteEveryImportedItem);
}

void RemovePriceImportCommands()
{
    SetImportNameDialog(nullptr);
    for (uint32_t command : {kImportShare, kImportFolder, kEditItem, kNewItem, kDeleteItem, kDeleteAll})
        SetCommandDialog(command, nullptr);
}

} // namespace qv
