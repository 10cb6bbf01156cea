// How every file the program keeps for itself reaches the disk: the free-space test, a temporary
// file flushed to the disk, an older copy where one is kept, and one atomic rename, so that a save
// that fails or is cut short at any point leaves the old file or the new one whole.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv {

// Whether a file's bytes read back whole by its own reader (every length adds up).
using WholeFileTest = std::function<bool(std::span<const uint8_t> bytes)>;

// One file's names below the program folder (backslashes as stored) and its free-space threshold.
struct SavePlan {
    std::string name;
    std::string temporary;
    std::string older;             // empty: no older copy is kept
    uint64_t freeSpaceNeeded = 0; // 0: no free-space test
    // With a test, the new file is read back and must match before it goes in place, and the older
    // copy is replaced only by a current file that passes the test; one that fails is set aside
    // (".bad") and the older copy stays the last good one.
    WholeFileTest readsWhole;
};

constexpr uint64_t kSettingsFreeSpaceNeeded = 20000;

// A plain replace through the temporary: no older copy, no free-space test.
SavePlan PlainSavePlan(std::string name, std::string temporary);
SavePlan ConfigurationSavePlan();
// "Quorva%03i.por"; the threshold is the portfolio's entry and transaction bytes + 10,000.
SavePlan PortfolioSavePlan(int number, uint64_t entryBytes, uint64_t transactionBytes);
SavePlan CashAccountsSavePlan();
SavePlan FilterSavePlan();
SavePlan WindowLayoutSavePlan();
SavePlan ImportsSavePlan();
SavePlan TimeZoneSavePlan();
SavePlan ToolbarSavePlan();

enum class SaveResult {
    Saved,
    Skipped, // the disk was nearly full and the user chose Cancel: the old file stays
    Failed,  // the disk refused a step: the old file stays and the temporary file is gone
};

// Writes the whole file image through the plan. Nothing is shown on a failure; the caller decides.
// Once the program has noted a fault in its own state nothing is written (Failed).
SaveResult SaveFileImage(const SavePlan& plan, std::span<const uint8_t> image);
// A file the user names (an export, a table design) through the same steps: a temporary file beside
// it ("name.tem"), flushed to the disk, then renamed over it. False when a step failed; the old
// file then stays.
bool SaveFileAt(const std::filesystem::path& target, std::span<const uint8_t> image);
bool SaveFileAt(const std::filesystem::path& target, std::string_view text);

// Free bytes of the program folder's drive, as the save's free-space test sees them; nothing when
// the system cannot tell (the save then goes ahead and meets any real shortage as a failed write).
std::optional<uint64_t> SaveFolderFreeSpace();
// The Retry/Cancel question asked while the disk is nearly full; Cancel is the default answer.
bool AskRetryLowDiskSpace(const std::string& name);

// Test seams. The fault hook is consulted before each step of a save; returning true makes that
// step fail as the disk would (a failing write first puts half its bytes on the disk, as a full
// disk does), and throwing stands for the program dying at that point.
enum class SaveStep { Open, Write, Flush, Close, KeepOlder, Replace, SyncFolder };
using SaveFaultHook = std::function<bool(SaveStep step)>;
void SetSaveFaultHook(SaveFaultHook hook);
using FreeSpaceHook = std::function<std::optional<uint64_t>()>;
void SetFreeSpaceHook(FreeSpaceHook hook);

} // namespace qv
