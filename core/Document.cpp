// Opening the database with its restore loop, and the reload command.
#include "core/Document.h"

#include "core/Database.h"
#include "core/DatabaseNeighbours.h"
#include "core/UpperHooks.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ProgramExit.h"
#include "resources/MessageIds.h"

#include <string>

namespace qv {

bool ReloadInProgress = false;
const char* const kHelpTelephone = "01632 960 123";

namespace {

const char* const kDataFile = "data\\Quorva.dat";
const char* const kPreviousCopy = "data\\Quorva.prv";
const char* const kOldCopy = "data\\Quorva.old";

bool Exists(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// Puts an earlier copy in place of the data file, only when the data file is absent: a file that
// exists but cannot be opened is never replaced.
void RestoreCopy(const char* copy)
{
    std::filesystem::path target = AppPath(kDataFile);
    if (!Exists(target))
        RenameNoReplace(AppPath(copy), target);
}

void Run(const std::function<void()>& step)
{
    if (step)
        step();
}

} // namespace

void DatabaseMissing()
{
    std::string text = "Unable to find the data file Quorva.dat\n\nQuorvantis is unable to continue\n\n"
                       "Ring Pelmor Information on ";
    text += kHelpTelephone;
    text += " for help";
    ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Stop);
    EndProgram(1);
}

CDoc::CDoc(std::optional<std::filesystem::path> commandLineDataFile)
{
    bool previousTried = commandLineDataFile.has_value();
    bool oldTried = commandLineDataFile.has_value();
    for (;;) {
        std::filesystem::path path = AppPath(kDataFile);
        if (commandLineDataFile)
            path = commandLineDataFile->is_relative() ? AppPath(commandLineDataFile->string()) : *commandLineDataFile;
        if (Exists(path) && LoadDatabase(path))
            return;
        if (!previousTried && Exists(AppPath(kPreviousCopy))) {
            if (ShowMessage("Unable to find the data file Quorva.dat\nRestore previous copy?", {},
                            MsgButtons::OkCancel, MsgIcon::Exclamation) == MsgAnswer::Ok)
                RestoreCopy(kPreviousCopy);
            previousTried = true;
            continue;
        }
        if (!oldTried) {
            ShowMessage("Unable to find the data file Quorva.dat\n\nAttempting to restore earlier version", {},
                        MsgButtons::Ok, MsgIcon::Stop);
            RestoreCopy(kOldCopy);
            oldTried = true;
            continue;
        }
        DatabaseMissing();
    }
}

CDoc::~CDoc() { FreeDatabase(true); }

bool CDoc::onCommand(uint32_t command)
{
    if (command != ID_RELOAD_ALL_DATA)
        return false;
    ReloadAllData();
    return true;
}

void CDoc::ReloadAllData()
{
    DatabaseNeighbours& neighbours = GetDatabaseNeighbours();
    ReloadInProgress = true;
    Run(neighbours.saveBeforeReload);
    Run(neighbours.releaseRecordPointers);
    FreeDatabase(false);
    Run(neighbours.loadImports);
    if (!LoadDatabase(AppPath(kDataFile)))
        DatabaseMissing();
    Run(neighbours.freeUnusedViewGroups);
    if (const auto& load = CoreUpperHooks().loadDirectorsDealings)
        load();
    Run(neighbours.loadPortfolios);
    Run(neighbours.loadCashAccounts);
    Run(neighbours.applyNewsUpdateFiles);
    ReloadInProgress = false;
    Run(neighbours.refreshAllViewGroups);
    Run(neighbours.recalculateAfterLoad);
}

int32_t CDoc::elementCount() const { return DatabaseElementCount; }

} // namespace qv
