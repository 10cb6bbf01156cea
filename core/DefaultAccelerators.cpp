// The default accelerator keys.
#include "core/DefaultAccelerators.h"

namespace qv {

void AddDefaultAccelerators(std::vector<AcceleratorKey>& table, bool withBasicKeys)
{
    auto add = [&](char key, uint8_t modifiers, uint16_t command) {
        table.push_back(AcceleratorKey{uint16_t(uint8_t(key)), modifiers, 0, command, 0});
    };
    if (withBasicKeys) {
        add('P', kAccelCtrl, 26119);
        add('D', kAccelCtrl, 25002);
        add('B', kAccelCtrl, 26181);
        add('A', kAccelCtrl, 20803);
        add(']', 0, 20618);
        add('[', 0, 20619);
        add('Z', kAccelCtrl, 26538);
        add('Y', kAccelCtrl, 26539);
    }
    for (int i = 0; i < 6; ++i)
        add(char('1' + i), kAccelCtrl, uint16_t(26731 + i));
    for (int i = 0; i < 6; ++i)
        add(char('1' + i), kAccelShift, uint16_t(26743 + i));
}

} // namespace qv
