// The system accelerator check.
#include "shell/SystemAccelerators.h"

#include "core/StringPrintf.h"
#include "shell/HelpTopics.h"
#include "shell/KeyTable.h"

#include <algorithm>

namespace qv {

uint8_t AcceleratorCheckFlag = 0;

std::array<uint8_t, 5>& FixedKeyChangedMarks()
{
    static std::array<uint8_t, 5> marks{};
    return marks;
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
    const std::vector<AcceleratorKey>& fixed = FixedKeys();
    size_t entry = 1;
    while (entry < fixed.size() && fixed[entry].command != command)
        ++entry;
    if (entry >= fixed.size() || !FixedKeyChangedMarks()[entry])
        return false;
    const AcceleratorKey& key = fixed[entry];
    std::vector<AcceleratorKey>& table = KeyTable();
    auto sameKey = [&](const AcceleratorKey& r) { return r.key == key.key && r.modifiers == key.modifiers; };
    if (std::any_of(table.begin(), table.end(), sameKey) &&
        ask(SystemAcceleratorQuestion(AcceleratorKeyText(key), CommandName(command))) && openKeysDialog)
        openKeysDialog();
    std::erase_if(table, sameKey);
    FixedKeyChangedMarks()[entry] = 0;
    return true;
}

} // namespace qv
