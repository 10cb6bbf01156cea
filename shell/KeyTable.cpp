// Accelerator key table, fixed and default keys.
#include "shell/KeyTable.h"

#include <array>
#include <utility>

namespace qv {
namespace {

constexpr std::array<std::pair<uint32_t, char>, 11> kOemKeys{{
    {0xBD, '_'}, {0xBB, '='}, {0xDB, '['}, {0xDD, ']'}, {0xBA, ';'}, {0xC0, '\''},
    {0xDE, '#'}, {0xDC, '\\'}, {0xBC, ','}, {0xBE, '.'}, {0xBF, '/'},
}};

AcceleratorKey Key(uint16_t key, uint8_t modifiers, uint16_t command)
{
    AcceleratorKey r;
    r.key = key;
    r.modifiers = modifiers;
    r.command = command;
    return r;
}

} // namespace

std::vector<AcceleratorKey>& KeyTable()
{
    static std::vector<AcceleratorKey> table;
    return table;
}

const std::vector<AcceleratorKey>& FixedKeys() { return MutableFixedKeys(); }

std::vector<AcceleratorKey>& MutableFixedKeys()
{
    static std::vector<AcceleratorKey> keys{
        Key('S', kModCtrl, 26265), Key('C', kModCtrl, 26932), Key('P', kModCtrl, 26119),
        Key('Z', kModCtrl, 26538), Key('Y', kModCtrl, 26539),
    };
    return keys;
}

uint32_t OemKeyToChar(uint32_t key)
{
    for (const auto& [code, character] : kOemKeys)
        if (code == key)
            return uint32_t(uint8_t(character));
    return key;
}

uint16_t FindAcceleratorCommand(uint32_t key, uint8_t modifiers)
{
    for (const AcceleratorKey& r : KeyTable())
        if (r.key == key && r.modifiers == modifiers)
            return r.command;
    for (const AcceleratorKey& r : FixedKeys())
        if (r.key == key && r.modifiers == modifiers && !(r.state & 1))
            return r.command;
    return 0;
}

} // namespace qv
