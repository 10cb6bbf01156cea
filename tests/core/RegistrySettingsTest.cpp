// Tests of settings kept in the registry rather than the configuration file.
#include "core/RegistrySettings.h"

#include "devtools/lib/TempFolder.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {
class RegistrySettings : public ::testing::Test {
protected:
    void SetUp() override { Registry::Instance().reopen(dir / "registry.ini"); }
    void TearDown() override
    {
        Registry::Instance().reopen(Registry::DefaultFile());
        DebugAndEmail() = {};
    }
    dev::TempFolder dir;
};
} // namespace

TEST_F(RegistrySettings, WindowPlacementRoundTripsAndAMissingValueLeavesFlagsAtMinusOne)
{
    WindowPlacement read;
    WindowCoordinates(false, read);
    EXPECT_EQ(read.flags, -1);

    WindowPlacement stored;
    stored.flags = 2;
    stored.showCommand = 3;
    stored.minX = -32000;
    stored.normalRight = 1024;
    stored.normalBottom = 768;
    WindowCoordinates(true, stored);
    auto bytes = Registry::Instance().getBinary("", "WinCoord");
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), 44u);
    EXPECT_EQ((*bytes)[0], 44);

    WindowCoordinates(false, read);
    EXPECT_EQ(read.flags, 2);
    EXPECT_EQ(read.minX, -32000);
    EXPECT_EQ(read.normalRight, 1024);
    EXPECT_EQ(read.normalBottom, 768);

    // A value of another size is not taken as a placement.
    Registry::Instance().setBinary("", "WinCoord", std::vector<uint8_t>(20, 7));
    WindowPlacement shortRead;
    WindowCoordinates(false, shortRead);
    EXPECT_EQ(shortRead.flags, -1);
    EXPECT_EQ(shortRead.showCommand, 0u);
}

TEST_F(RegistrySettings, FeedServersTakeTheirDefaultsAndReadPortsByTheirLeadingDigits)
{
    RealTimeServers fresh = LoadRealTimeServers();
    EXPECT_EQ(fresh.addresses, DefaultRealTimeAddresses());
    EXPECT_EQ(fresh.ports, (std::array<int, 3>{7005, 7005, 7005}));
    EXPECT_EQ(fresh.dialUpName, "");

    RealTimeServers set = fresh;
    set.addresses[1] = "10.0.0.5";
    set.ports = {7010, 80, 65535};
    set.dialUpName = "Office line";
    SaveRealTimeServers(set);
    EXPECT_EQ(Registry::Instance().getString("RTComms2004", "IPAddPort1"), "7010");
    RealTimeServers back = LoadRealTimeServers();
    EXPECT_EQ(back.addresses, set.addresses);
    EXPECT_EQ(back.ports, set.ports);
    EXPECT_EQ(back.dialUpName, "Office line");

    struct Case {
        const char* text;
        int port;
    } cases[] = {{"7010", 7010}, {"port", 0}, {"", 0}, {"12ab", 12}, {"-5", 0}, {"99999999999", 2147483647}};
    for (const Case& c : cases)
        EXPECT_EQ(PortFromText(c.text), c.port) << c.text;
    Registry::Instance().setString("RTComms2004", "IPAddPort2", "abc");
    EXPECT_EQ(LoadRealTimeServers().ports[1], 0);
}

TEST_F(RegistrySettings, DebugLevelAndEmailReceiveDefaultToZeroAndOne)
{
    DebugAndEmail() = {5, 0};
    LoadDebugAndEmailSettings();
    EXPECT_EQ(DebugAndEmail().debugLevel, 0);
    EXPECT_EQ(DebugAndEmail().emailReceive, 1);

    DebugAndEmail() = {3, 0};
    SaveDebugAndEmailSettings();
    EXPECT_EQ(Registry::Instance().getU32("Settings", "Debug Level"), 3u);
    EXPECT_EQ(Registry::Instance().getU32("Comms", "EmailReceive"), 0u);
    DebugAndEmail() = {};
    LoadDebugAndEmailSettings();
    EXPECT_EQ(DebugAndEmail().debugLevel, 3);
    EXPECT_EQ(DebugAndEmail().emailReceive, 0);
}
