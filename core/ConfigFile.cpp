// "Quorva.cfg" on disk: opening, header messages, the corruption notice and the save.
#include "core/ConfigFile.h"

#include "core/ConfigFamilies.h"
#include "core/ConfigFormat.h"
#include "core/ConfigWriter.h"
#include "core/TaggedFile.h"
#include "core/UpperHooks.h"
#include "core/VexaEdition.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace qv {

namespace {

constexpr const char* kConfigName = "Quorva.cfg";
constexpr const char* kCorruptedText =
    "Your Quorva.cfg file appears to be corrupted.\nThis has been automatically corrected, but some or "
    "all\nof your settings have been reset to the defaults.\n\nPlease contact support if you need further "
    "assistance.";
constexpr const char* kReplaceQuestion =
    "Do you want to replace your previous Quorva.cfg file?\n\nAll previous settings will be lost.";

bool& SavingDisabled()
{
    static bool disabled = false;
    return disabled;
}

bool& LoadDeclined()
{
    static bool declined = false;
    return declined;
}

bool ReadConfigFile(std::vector<uint8_t>& image)
{
    ExclusiveFile file;
    return file.open(AppPath(kConfigName), ExclusiveFile::Mode::Read) && file.readAll(image);
}

std::string DamagedFileWhereabouts(const std::optional<fs::path>& aside)
{
    if (!aside)
        return "\n\nThe damaged file could not be set aside, so the next save will replace it.";
    return "\n\nThe damaged file has been kept unchanged as " + aside->string() + ".";
}

void StartFromDefaults(ConfigState& state)
{
    state.version = kConfigVersion;
    state.subVersion = kConfigSubVersion;
    ResetAllConfigFamilies(state);
}

int ReadConfig(int32_t selector, bool skipFile)
{
    ConfigState& state = Config();
    std::vector<uint8_t> image;
    if (skipFile || !ReadConfigFile(image)) {
        if (selector != kWholeConfig) {
            ShowMessage("Unable to do restore");
            return -1;
        }
        StartFromDefaults(state);
        // A file that is there but could not be read is not replaced by these defaults unasked.
        std::error_code ec;
        if (!skipFile && fs::exists(AppPath(kConfigName), ec))
            LoadDeclined() = true;
        return -1;
    }
    ConfigReadResult result = ReadConfigImage(state, image, selector);
    if (result.header != HeaderVerdict::Accepted) {
        ShowHeaderMessage(TaggedFileKind::Configuration, result.header);
        SetRejectedFileAside(AppPath(kConfigName));
        ResetAllConfigFamilies(state);
        return 0;
    }
    // Any failed read has reset settings; the user is told rather than finding them gone, and the
    // damaged file is kept whole before a save writes the corrected settings.
    if (result.failed || result.corrupted)
        ShowMessage(kCorruptedText + DamagedFileWhereabouts(SetRejectedFileAside(AppPath(kConfigName))));
    return 0;
}

} // namespace

void SetConfigSavingDisabled(bool disabled) { SavingDisabled() = disabled; }
void SetConfigLoadDeclined(bool declined) { LoadDeclined() = declined; }

int LoadConfig(int32_t selector, bool skipFile)
{
    int answer = ReadConfig(selector, skipFile);
    // The holders of the option pages follow what the option blocks now hold.
    if (const auto& loaded = CoreUpperHooks().optionBlocksLoaded; loaded && selector == kWholeConfig)
        loaded();
    return answer;
}

SaveResult SaveConfig(int32_t selector)
{
    if (SavingDisabled())
        return SaveResult::Skipped;
    if (LoadDeclined()) {
        if (ShowMessage(kReplaceQuestion, {}, MsgButtons::YesNo, MsgIcon::Question, 1) != MsgAnswer::Yes)
            return SaveResult::Skipped;
        LoadDeclined() = false;
    }
    if (const auto& store = CoreUpperHooks().storeOptionBlocks)
        store();
    std::vector<uint8_t> onDisk;
    if (selector != kWholeConfig)
        ReadConfigFile(onDisk);
    // The file keeps the user's own settings, never the special edition's.
    bool editionApplied = VexaSettingsApplied();
    ApplyVexaSettings(false);
    auto image = WriteConfigImage(Config(), selector, onDisk);
    SaveResult result = SaveFileImage(ConfigurationSavePlan(), image);
    if (editionApplied)
        ApplyVexaSettings(true);
    if (result == SaveResult::Failed)
        ShowMessage("Unable to save Quorva.cfg. The previous file has been kept.", {}, MsgButtons::Ok,
                    MsgIcon::Exclamation);
    return result;
}

} // namespace qv
