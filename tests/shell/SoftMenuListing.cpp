// Builds the golden listing of the menus.
#include "SoftMenuListing.h"

#include "shell/MenuTables.h"
#include "shell/SoftMenuEdit.h"

namespace qv::test {

std::string SoftMenuListing()
{
    std::vector<AcceleratorKey> keys;
    AddDefaultAccelerators(keys, true);
    std::string out;
    for (bool realTime : {false, true}) {
        for (bool multipleWindows : {false, true}) {
            SoftMenuContext context{realTime, multipleWindows, &keys};
            for (const SoftMenuRegistryEntry& entry : SoftMenuRegistry()) {
                std::string plain = DumpSoftMenu(BuildSoftMenu(entry.menuId, true, 0, context));
                std::string heading = "== menu " + std::to_string(entry.menuId) + ", real-time " +
                                      (realTime ? "on" : "off") + ", multiple windows " +
                                      (multipleWindows ? "on" : "off") + ", mask ";
                out += heading + "0 ==\n" + plain;
                // A mask is listed only where it changes the menu.
                for (uint8_t mask : {1, 2, 4, 8, 16}) {
                    std::string masked = DumpSoftMenu(BuildSoftMenu(entry.menuId, true, mask, context));
                    if (masked != plain)
                        out += heading + std::to_string(mask) + " ==\n" + masked;
                }
            }
        }
    }
    return out;
}

} // namespace qv::test
