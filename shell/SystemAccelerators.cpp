// The system accelerator check.
#include "shell/SystemAccelerators.h"

#include "core/StringPrintf.h"
#include "shell/HelpTopics.h"
#include "shell/KeyTable.h"

#include <algorithm>

namespace qv {

namespace {

constexpr uint8_t kTakenOver = 1;

} // namespace

bool SystemAcceleratorCheckPending()
{
    const std::vector<AcceleratorKey>& fixed = MutableFixedKeys();
    // The entry 0 (Ctrl+S) is never checked.
    return std::any_of(fixed.begin() + 1, fixed.end(), [](const AcceleratorKey& k) { return k.state & kTakenOver; });
}

std::string AcceleratorKeyText(const AcceleratorKey& key)
{
    std::string modifiers;
    if (key.modifiers & kAccelCtrl)
        modifiers += "Ctrl + ";
    if (key.modifiers & kAccelShift)
        modifiers += "Shift + ";
    char character = key.key == 223 ? '`' : char(key.key);
    return StringPrintf(" %s%c ", modifiers.c_str(), character);
}

std::string SystemAcceleratorQuestion(const std::string& keyText, const std::string& commandName)
{
    return StringPrintf("The key combination %s is now a system accelerator.\r\nWould you like to select another "
                        "key combination for the command\r\n'%s'?",
                        keyText.c_str(), commandName.c_str());
}

bool CheckSystemAccelerator(uint32_t command, const AskFn& ask, const OpenKeysDialogFn& openKeysDialog)
{
    // The entry 0 (Ctrl+S) is never checked.
    std::vector<AcceleratorKey>& fixed = MutableFixedKeys();
    size_t entry = 1;
    while (entry < fixed.size() && fixed[entry].command != command)
        ++entry;
    if (entry >= fixed.size() || !(fixed[entry].state & kTakenOver))
        return false;
    AcceleratorKey& key = fixed[entry];
    std::vector<AcceleratorKey>& table = KeyTable();
    auto sameKey = [&](const AcceleratorKey& r) { return r.key == key.key && r.modifiers == key.modifiers; };
    auto user = std::find_if(table.begin(), table.end(), sameKey);
    if (user != table.end() && ask(SystemAcceleratorQuestion(AcceleratorKeyText(key), CommandName(user->command))) &&
        openKeysDialog)
        openKeysDialog();
    std::erase_if(table, sameKey);
    key.state &= uint8_t(~kTakenOver);
    return true;
}

} // namespace qv
