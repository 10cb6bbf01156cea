// The program-wide switches.
#include "shell/FrameSwitches.h"

namespace qv {

FrameSwitches& ProgramSwitches()
{
    static FrameSwitches switches;
    return switches;
}

} // namespace qv
