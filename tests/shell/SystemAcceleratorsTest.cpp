// Tests of the system accelerator check before a command.
#include "shell/SystemAccelerators.h"
#include "shell/HelpTopics.h"
#include "shell/KeyTable.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

class SystemAccelerators : public ::testing::Test {
protected:
    ~SystemAccelerators() override
    {
        KeyTable().clear();
        for (AcceleratorKey& k : MutableFixedKeys())
            k.state = 0;
    }
};

TEST_F(SystemAccelerators, KeyTexts)
{
    EXPECT_EQ(AcceleratorKeyText({'P', kAccelCtrl, 0, 26119, 0}), " Ctrl + P ");
    EXPECT_EQ(AcceleratorKeyText({'Q', kAccelCtrl | kAccelShift, 0, 1, 0}), " Ctrl + Shift + Q ");
    EXPECT_EQ(AcceleratorKeyText({223, 0, 0, 1, 0}), " ` ");
}

TEST_F(SystemAccelerators, AMarkedKeyAsksOnceAndFreesTheCombination)
{
    KeyTable() = {{'C', kAccelCtrl, 0, 20313, 0}, {'C', kAccelShift, 0, 20314, 0}, {'P', kAccelCtrl, 0, 25000, 0}};
    MutableFixedKeys()[1].state = 1; // Ctrl+C, command 26932
    EXPECT_TRUE(SystemAcceleratorCheckPending());
    std::vector<std::string> asked;
    int dialogs = 0;
    auto ask = [&](const std::string& q) {
        asked.push_back(q);
        return true;
    };
    auto open = [&] { ++dialogs; };
    EXPECT_FALSE(CheckSystemAccelerator(26119, ask, open)) << "Ctrl+P is not marked";
    EXPECT_TRUE(CheckSystemAccelerator(26932, ask, open));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "The key combination  Ctrl + C  is now a system accelerator.\r\nWould you like to select "
                        "another key combination for the command\r\n'" +
                            CommandName(20313) + "'?");
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(KeyTable().size(), 2u);
    EXPECT_EQ(MutableFixedKeys()[1].state, 0);
    EXPECT_FALSE(SystemAcceleratorCheckPending());
    EXPECT_FALSE(CheckSystemAccelerator(26932, ask, open)) << "the mark is cleared";

    // Entry 0 (Ctrl+S) is never checked; a marked key no user key holds asks nothing.
    MutableFixedKeys()[0].state = 1;
    EXPECT_FALSE(SystemAcceleratorCheckPending());
    EXPECT_FALSE(CheckSystemAccelerator(26265, ask, open));
    MutableFixedKeys()[4].state = 1;
    EXPECT_TRUE(CheckSystemAccelerator(26539, ask, open));
    EXPECT_EQ(asked.size(), 1u);
}

} // namespace
} // namespace qv
