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

KeyRecord Key(uint16_t key, uint8_t modifiers, uint16_t command)
{
    KeyRecord r;
    r.key = key;
    r.modifiers = modifiers;
    r.command = command;
    return r;
}

} // namespace

std::vector<KeyRecord>& KeyTable()
{
    static std::vector<KeyRecord> table;
    return table;
}

const std::vector<KeyRecord>& FixedKeys()
{
    static const std::vector<KeyRecord> keys{
        Key('S', kModCtrl, 26265), Key('C', kModCtrl, 26932), Key('P', kModCtrl, 26119),
        Key('Z', kModCtrl, 26538), Key('Y', kModCtrl, 26539),
    };
    return keys;
}

void AddDefaultAccelerators(bool letterKeys)
{
    auto& table = KeyTable();
    if (letterKeys) {
        for (const KeyRecord& r : {Key('P', kModCtrl, 26119), Key('D', kModCtrl, 25002), Key('B', kModCtrl, 26181),
                                   Key('A', kModCtrl, 20803), Key(']', kModNone, 20618), Key('[', kModNone, 20619),
                                   Key('Z', kModCtrl, 26538), Key('Y', kModCtrl, 26539)})
            table.push_back(r);
    }
    for (uint16_t i = 0; i < 6; ++i)
        table.push_back(Key(uint16_t('1' + i), kModCtrl, uint16_t(26731 + i)));
    for (uint16_t i = 0; i < 6; ++i)
        table.push_back(Key(uint16_t('1' + i), kModShift, uint16_t(26743 + i)));
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
    for (const KeyRecord& r : KeyTable())
        if (r.key == key && r.modifiers == modifiers)
            return r.command;
    for (const KeyRecord& r : FixedKeys())
        if (r.key == key && r.modifiers == modifiers && !(r.state & 1))
            return r.command;
    return 0;
}

} // namespace qv
