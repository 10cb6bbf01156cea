// The ticker font kept in the configuration: saved and read back by the configuration file, and a
// damaged stored font falling back to the default with the diagnostic text.
#include "realtime/TickerFont.h"

#include "core/ConfigFile.h"
#include "core/ConfigFamilies.h"
#include "core/ConfigState.h"
#include "core/SystemServices.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/Paths.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace qv {
namespace {

bool SameFont(const LogFont& a, const LogFont& b)
{
    return a.height == b.height && a.weight == b.weight && a.italic == b.italic && a.underline == b.underline &&
           a.faceName() == b.faceName();
}

LogFont Chosen()
{
    LogFont font;
    font.setFaceName("DejaVu Sans Mono");
    font.height = -16;
    font.weight = 700;
    font.italic = 1;
    return font;
}

struct Traces {
    Traces()
    {
        SetTraceListener([this](std::string_view text) { texts.emplace_back(text); });
    }
    ~Traces() { SetTraceListener({}); }
    std::vector<std::string> texts;
};

class TickerFontTest : public ::testing::Test {
protected:
    TickerFontTest() { SetProgramFolder(dir_.path()); }
    ~TickerFontTest() override
    {
        SetProgramFolder(previous_);
        Config() = ConfigState{};
    }

    std::filesystem::path previous_ = ProgramFolder();
    dev::TempFolder dir_;
};

TEST_F(TickerFontTest, AChosenFontIsSavedWithTheConfigurationAndComesBackAtTheNextStart)
{
    test::FakeMessageBox boxes;
    LoadConfig(kWholeConfig, false);
    EXPECT_TRUE(SameFont(TickerFont(), DefaultTickerFont())) << "a first start has the default";
    SetTickerFont(Chosen());
    ASSERT_EQ(SaveConfig(kWholeConfig), SaveResult::Saved);

    Config() = ConfigState{};
    ASSERT_EQ(LoadConfig(kWholeConfig, false), 0);
    EXPECT_TRUE(SameFont(TickerFont(), Chosen()));
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(TickerFontTest, ADamagedStoredFontFallsBackToTheDefaultAndIsReported)
{
    const size_t at = OptionBlockB::kTickerFont;
    struct Case {
        const char* what;
        std::function<void(uint8_t*)> damage;
    } cases[] = {
        {"a face without its end", [](uint8_t* p) { std::memset(p + 28, 'A', 32); }},
        {"an empty face", [](uint8_t* p) { p[28] = 0; }},
        {"a control character in the face", [](uint8_t* p) { p[30] = 0x07; }},
        {"a height no screen font has", [](uint8_t* p) { StoreU32(p, uint32_t(-90000)); }},
        {"a weight above 1000", [](uint8_t* p) { StoreU32(p + 16, 40000); }},
        {"an italic byte that is neither 0 nor 1", [](uint8_t* p) { p[20] = 0xC3; }},
    };
    for (const Case& c : cases) {
        Traces traces;
        SetTickerFont(Chosen());
        c.damage(Config().optionsB.data() + at);
        EXPECT_TRUE(SameFont(ReadTickerFont(Config().optionsB), DefaultTickerFont())) << c.what;
        EXPECT_TRUE(SameFont(TickerFont(), DefaultTickerFont())) << c.what;
        EXPECT_EQ(traces.texts, std::vector<std::string>(2, "Failed to create ticker font (1)")) << c.what;
        // Put right in memory: the next read is sound and the next save stores the default.
        EXPECT_TRUE(SameFont(TickerFont(), DefaultTickerFont())) << c.what;
        EXPECT_EQ(traces.texts.size(), 2u) << c.what;
    }

    Traces quiet;
    Config().optionsB = OptionBlockB{};
    EXPECT_TRUE(SameFont(TickerFont(), DefaultTickerFont())) << "never stored";
    SetTickerFont(Chosen());
    EXPECT_TRUE(SameFont(TickerFont(), Chosen()));
    EXPECT_TRUE(quiet.texts.empty());
}

} // namespace
} // namespace qv
