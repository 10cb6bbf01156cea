// Paths, disk space, registry reads, the version code, the beep and forced deletion.
#include "core/SystemServices.h"

#include "devtools/lib/TempFolder.h"
#include "platform/Beep.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace qv;

namespace {

// Points the program folder and the settings store at a temporary folder for one test.
class SystemServicesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldFolder_ = ProgramFolder();
        oldRegistry_ = Registry::Instance().file();
        SetProgramFolder(folder_.path());
        Registry::Instance().reopen(folder_ / "registry.ini");
    }
    void TearDown() override
    {
        SetProgramFolder(oldFolder_);
        Registry::Instance().reopen(oldRegistry_);
    }

    dev::TempFolder folder_;
    fs::path oldFolder_, oldRegistry_;
};

const std::string kKey = "Software\\Pelmor-Information\\Quorvantis";

} // namespace

TEST_F(SystemServicesTest, PathsBelowTheProgramFolder)
{
    fs::create_directories(folder_ / "Data");
    std::ofstream(folder_ / "Data" / "Quorva.dat") << "x";
    EXPECT_EQ(MakeAppPath("data\\quorva.DAT"), folder_.path() / "Data" / "Quorva.dat");
    EXPECT_EQ(GetAppPath("new\\file.txt"), (folder_.path() / "new" / "file.txt").string());

    SetProgramFolder(folder_.path().string() + "/");
    EXPECT_EQ(MakeAppPath("Quorva.cfg").string(), folder_.path().string() + "/Quorva.cfg")
        << "a folder ending in a separator gets no second one";
}

TEST_F(SystemServicesTest, FreeSpaceIsCappedWithin32Bits)
{
    struct Case {
        std::optional<uint64_t> bytes;
        uint32_t figure;
    } cases[] = {
        {std::nullopt, 0x4000000}, {0, 0}, {20000, 20000}, {0xFFFFFFFFull, 0xFFFFFFFF}, {0x100000000ull, 0x4000000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CapFreeDiskSpace(c.bytes), c.figure);
    EXPECT_GT(GetAppFreeDiskSpace(), 0u);
    EXPECT_EQ(LowDiskSpacePrompt(), 2);
    EXPECT_TRUE(WaitForDiskSpace(0));
    EXPECT_FALSE(WaitForDiskSpace(0xFFFFFFFF)) << "above every capped figure: the prompt gives up";
}

TEST_F(SystemServicesTest, RegistryReadsAndTheSignal)
{
    Registry::Instance().setString("Settings", "Name", "Quorvantis user");
    Registry::Instance().setU32("", "Debug Level", 3);
    std::string text = "stale";
    EXPECT_EQ(ReadRegistryString(RegistryRoot::CurrentUser, kKey + "\\Settings", "Name", text, 11), 0);
    EXPECT_EQ(text, "Quorvantis");
    EXPECT_EQ(ReadRegistryString(RegistryRoot::CurrentUser, kKey + "\\Settings", "Missing", text, 64), 0);
    EXPECT_EQ(text, "");
    text = "stale";
    EXPECT_EQ(ReadRegistryString(RegistryRoot::CurrentUser, "Software\\Other", "Name", text, 64), kRegistryKeyNotFound);
    EXPECT_EQ(text, "");

    uint32_t value = 0;
    EXPECT_EQ(ReadRegistryDword(RegistryRoot::LocalMachine, kKey, "Debug Level", value, 9), 0);
    EXPECT_EQ(value, 3u);
    EXPECT_EQ(ReadRegistryDword(RegistryRoot::LocalMachine, kKey, "Absent", value, 9), 0);
    EXPECT_EQ(value, 9u);
    EXPECT_EQ(ReadRegistryDword(RegistryRoot::LocalMachine, kKey + "Extra", "Debug Level", value, 5),
              kRegistryKeyNotFound);
    EXPECT_EQ(value, 5u);

    EXPECT_EQ(WriteSignal(0x1234), 0);
    EXPECT_EQ(Registry(folder_ / "registry.ini").getU32("", "signal"), 0x1234u);
}

TEST(WindowsVersionTest, CodesByFamilyAndVersion)
{
    using F = OsVersion::Family;
    struct Case {
        OsVersion v;
        int code;
    } cases[] = {
        {{F::Windows95, 4, 0, 950}, 1}, {{F::Windows95, 4, 0, 1111}, 2}, {{F::Windows95, 4, 10, 1998}, 3},
        {{F::Windows95, 4, 90, 3000}, 4}, {{F::WindowsNT, 3, 51, 0}, 10}, {{F::WindowsNT, 4, 0, 0}, 11},
        {{F::WindowsNT, 5, 0, 0}, 12}, {{F::WindowsNT, 5, 1, 0}, 13}, {{F::WindowsNT, 5, 2, 0}, 14},
        {{F::WindowsNT, 6, 0, 0}, 77}, {{F::Other, 5, 1, 0}, 77},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WindowsVersionCode(c.v, 77), c.code);
    int before = WindowsVersion();
    NoteWindowsVersion();
    EXPECT_EQ(WindowsVersion(), before);
}

TEST_F(SystemServicesTest, BeepAndForcedDeletion)
{
    int beeps = 0;
    auto previous = SetBeepHandler([&] { ++beeps; });
    BeepPause();
    SetBeepHandler(previous);
    EXPECT_GE(beeps, 1);

    auto file = folder_ / "locked.txt";
    std::ofstream(file) << "x";
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(DeleteFileForce(file.c_str()), 1);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(DeleteFileForce(file.c_str()), 0);
    EXPECT_EQ(DeleteFileForce(nullptr), -1);
}
