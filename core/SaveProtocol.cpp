// The save protocol: temporary file, fsync, older copy, atomic replacement.
#include "core/SaveProtocol.h"

#include "core/TaggedFile.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ProgramExit.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace qv {
namespace {

SaveFaultHook& FaultHook()
{
    static SaveFaultHook hook;
    return hook;
}

FreeSpaceHook& SpaceHook()
{
    static FreeSpaceHook hook;
    return hook;
}

bool Fails(SaveStep step)
{
    const SaveFaultHook& hook = FaultHook();
    return hook && hook(step);
}

// Asks while the free space is below the plan's threshold; false when the user gives up the save.
bool EnoughFreeSpace(const SavePlan& plan)
{
    if (plan.freeSpaceNeeded == 0)
        return true;
    for (;;) {
        std::optional<uint64_t> free = SaveFolderFreeSpace();
        if (!free || *free >= plan.freeSpaceNeeded)
            return true;
        if (!AskRetryLowDiskSpace(plan.name))
            return false;
    }
}

bool WriteImage(ExclusiveFile& file, std::span<const uint8_t> image)
{
    if (Fails(SaveStep::Write)) {
        file.write(image.data(), image.size() / 2);
        return false;
    }
    return file.write(image.data(), image.size());
}

// Writes and flushes the temporary file; on any failure it is removed again.
bool WriteTemporary(const fs::path& temporary, std::span<const uint8_t> image)
{
    ExclusiveFile file;
    if (Fails(SaveStep::Open) || !file.open(temporary, ExclusiveFile::Mode::Create))
        return false;
    bool ok = WriteImage(file, image) && !Fails(SaveStep::Flush) && file.sync();
    bool closed = !Fails(SaveStep::Close) && file.close();
    if (ok && closed)
        return true;
    file.close();
    ForceDelete(temporary);
    return false;
}

// The new file as the disk gives it back.
bool ReadsBackAs(const fs::path& temporary, std::span<const uint8_t> image)
{
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(temporary);
    return bytes && std::equal(bytes->begin(), bytes->end(), image.begin(), image.end());
}

// The older copy is a second name for the current file, so the current name never goes missing;
// failures only cost the older copy. A current file that does not read whole (damaged since it was
// loaded) never becomes the older copy: it is set aside and the older copy stays.
void KeepOlderCopy(const fs::path& target, const fs::path& older, const WholeFileTest& readsWhole)
{
    std::error_code ec;
    if (Fails(SaveStep::KeepOlder) || !fs::exists(target, ec))
        return;
    if (readsWhole) {
        std::optional<std::vector<uint8_t>> current = ReadFileBytes(target);
        if (!current || !readsWhole(*current)) {
            SetRejectedFileAside(target);
            return;
        }
    }
    ForceDelete(older);
    fs::create_hard_link(target, older, ec);
    if (ec)
        fs::copy_file(target, older, fs::copy_options::overwrite_existing, ec);
}

// The steps after the free-space test; an empty older path keeps no older copy.
bool ReplaceWhole(const fs::path& target, const fs::path& temporary, const fs::path& older,
                  std::span<const uint8_t> image, const WholeFileTest& readsWhole = {})
{
    if (ProgramFaultNoted() || !WriteTemporary(temporary, image))
        return false;
    if (readsWhole && !ReadsBackAs(temporary, image)) {
        ForceDelete(temporary);
        return false;
    }
    if (!older.empty())
        KeepOlderCopy(target, older, readsWhole);
    if (Fails(SaveStep::Replace) || !RenameReplace(temporary, target)) {
        ForceDelete(temporary);
        return false;
    }
    // The file is in place; a folder that cannot be flushed only leaves the rename to the system.
    if (!Fails(SaveStep::SyncFolder))
        SyncFolder(target.parent_path());
    return true;
}

SavePlan Plan(std::string name, std::string temporary, std::string older, uint64_t freeSpace)
{
    return SavePlan{std::move(name), std::move(temporary), std::move(older), freeSpace, {}};
}

} // namespace

SavePlan PlainSavePlan(std::string name, std::string temporary)
{
    return Plan(std::move(name), std::move(temporary), "", 0);
}

SavePlan ConfigurationSavePlan() { return Plan("Quorva.cfg", "Quorva.TEM", "", kSettingsFreeSpaceNeeded); }

SavePlan PortfolioSavePlan(int number, uint64_t entryBytes, uint64_t transactionBytes)
{
    char stem[32];
    std::snprintf(stem, sizeof stem, "Quorva%03i.", number);
    return Plan(std::string(stem) + "por", "por.tem", std::string(stem) + "old",
                entryBytes + transactionBytes + 10000);
}

SavePlan CashAccountsSavePlan() { return Plan("Data\\Cash.dat", "Data\\Cash.tem", "Data\\Cash.old", 0); }
SavePlan FilterSavePlan() { return Plan("Filter.cfg", "Filter.tem", "Filter.old", kSettingsFreeSpaceNeeded); }
SavePlan WindowLayoutSavePlan() { return Plan("View.cfg", "View.tem", "", kSettingsFreeSpaceNeeded); }
SavePlan ImportsSavePlan() { return Plan("data\\Imports.dat", "data\\Imports.new", "data\\Imports.old", 0); }
SavePlan TimeZoneSavePlan() { return Plan("Data\\Timezone.dat", "Data\\Timezone.tem", "", 0); }
SavePlan ToolbarSavePlan() { return Plan("Toolbar.cfg", "Toolbar.tem", "", 0); }

SaveResult SaveFileImage(const SavePlan& plan, std::span<const uint8_t> image)
{
    if (ProgramFaultNoted())
        return SaveResult::Failed;
    if (!EnoughFreeSpace(plan))
        return SaveResult::Skipped;
    fs::path target = AppPath(plan.name, MakeFolders::Yes);
    fs::path older = plan.older.empty() ? fs::path() : AppPath(plan.older);
    bool saved = ReplaceWhole(target, AppPath(plan.temporary, MakeFolders::Yes), older, image, plan.readsWhole);
    return saved ? SaveResult::Saved : SaveResult::Failed;
}

bool SaveFileAt(const fs::path& target, std::span<const uint8_t> image)
{
    fs::path temporary = target;
    temporary += ".tem";
    return ReplaceWhole(target, temporary, {}, image);
}

bool SaveFileAt(const fs::path& target, std::string_view text)
{
    return SaveFileAt(target, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::optional<uint64_t> SaveFolderFreeSpace()
{
    if (const FreeSpaceHook& hook = SpaceHook())
        return hook();
    return FreeDiskSpace(ProgramFolder());
}

bool AskRetryLowDiskSpace(const std::string& name)
{
    std::string text = "There is not enough free disk space to save " + name +
                       ".\n\nFree some disk space and choose Retry, or choose Cancel to go on without saving it.";
    return ShowMessage(text, {}, MsgButtons::RetryCancel, MsgIcon::Exclamation, 1) == MsgAnswer::Retry;
}

void SetSaveFaultHook(SaveFaultHook hook) { FaultHook() = std::move(hook); }
void SetFreeSpaceHook(FreeSpaceHook hook) { SpaceHook() = std::move(hook); }

} // namespace qv
