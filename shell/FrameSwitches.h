// The program-wide switches that the frame's commands toggle or read; the calculator byte among them
// is also the General page's.
#pragma once

#include <cstdint>

namespace qv {

// Calculator byte: bits 0-3 the calculator's display (memory buttons, memory value, calculation,
// large buttons), bit 6 the old update protocol, bit 7 the desktop's calculator.
struct FrameSwitches {
    uint8_t notesVisible = 0;
    uint8_t emailOn = 0;
    uint8_t debugMode = 0;
    uint8_t calculatorMode = 0x05;   // memory buttons and the calculation shown; 128 or above: the desktop's calculator
    int32_t slideDelayTenths = kDefaultSlideDelayTenthsSwitch;
    uint8_t slideLoop = 0;
    uint8_t messagingIdle = 1;       // no messaging dialog is open
    static constexpr int32_t kDefaultSlideDelayTenthsSwitch = 25;
};
FrameSwitches& ProgramSwitches();

} // namespace qv
