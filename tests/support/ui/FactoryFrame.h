// A fixture with a shown main frame and its window factory, that puts back the global state both touch.
#pragma once

#include "core/Portfolio.h"
#include "devtools/lib/TempFolder.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/WindowFactory.h"

#include <gtest/gtest.h>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace qv::test {

// Multiple windows and the real-time option are on, no layouts are stored, and the portfolio chain
// holds one empty portfolio; the program folder is a temporary one, so nothing a test saves lands in
// the folder it runs from; afterwards every window, list, timer and posted message is gone.
class FactoryFrame : public ::testing::Test {
protected:
    FactoryFrame(int width, int height);
    ~FactoryFrame() override;

    // A 24-byte share record with the id, alive as long as the fixture.
    uint8_t* Share(uint16_t id);

    dev::TempFolder programFolder;
    std::filesystem::path previousProgramFolder;
    Portfolio portfolio;
    std::vector<std::unique_ptr<uint8_t[]>> records;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CWindowFactory> factory;
};

} // namespace qv::test
