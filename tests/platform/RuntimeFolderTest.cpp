// The user's own runtime folder without $XDG_RUNTIME_DIR: another user of the shared temporary
// folder can neither hold the single-instance lock nor plant a file, link or socket for the program.
#include "platform/RuntimeFolder.h"

#include "devtools/lib/TempFolder.h"
#include "platform/LocalServer.h"
#include "platform/SingleInstance.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace qv;

namespace {

namespace fs = std::filesystem;

// Sets an environment variable (or clears it) for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* was = std::getenv(name))
            was_ = was;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { was_ ? ::setenv(name_, was_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> was_;
};

class RuntimeFolders : public ::testing::Test {
protected:
    dev::TempFolder shared{"qvshared"};
    dev::TempFolder home{"qvhome"};
    ScopedEnv runtime{"XDG_RUNTIME_DIR", nullptr};
    ScopedEnv temp{"TMPDIR", shared.path().c_str()};
    ScopedEnv homeVar{"HOME", home.path().c_str()};
    const std::string own = "quorvantis-" + std::to_string(::geteuid());
};

fs::perms Mode(const fs::path& p) { return fs::symlink_status(p).permissions(); }

TEST_F(RuntimeFolders, TheSharedTemporaryFolderGetsAFolderOfTheUsersOwn)
{
    const mode_t umaskWas = ::umask(0);
    EXPECT_EQ(PrivateRuntimeFolder(), shared.path() / own);
    EXPECT_EQ(Mode(shared.path() / own), fs::perms::owner_all);
    EXPECT_EQ(LocalServerPath("QuorvantisDDE"), (shared.path() / own / "QuorvantisDDE").string());
    // One this user left open is closed again.
    fs::permissions(shared.path() / own, fs::perms::all);
    EXPECT_EQ(PrivateRuntimeFolder(), shared.path() / own);
    EXPECT_EQ(Mode(shared.path() / own), fs::perms::owner_all);
    ::umask(umaskWas);
    {
        ScopedEnv set("XDG_RUNTIME_DIR", home.path().c_str());
        EXPECT_EQ(PrivateRuntimeFolder(), home.path());
    }
}

TEST_F(RuntimeFolders, ALinkPlantedInItsPlaceIsNeverFollowed)
{
    const fs::path target = shared.path() / "victim";
    fs::create_directory(target);
    fs::create_directory_symlink(target, shared.path() / own);
    EXPECT_EQ(PrivateRuntimeFolder(), home.path() / ".cache" / own);
    SingleInstanceLock lock;
    ASSERT_TRUE(lock.acquire("QuorvantisRuntimeTest"));
    EXPECT_TRUE(fs::is_empty(target));
    EXPECT_EQ(Mode(home.path() / ".cache" / own), fs::perms::owner_all);
}

TEST_F(RuntimeFolders, AFolderOfAnotherUserIsRefused)
{
    if (::geteuid() != 0)
        return; // only the superuser can give a folder to another user
    fs::create_directory(shared.path() / own);
    ASSERT_EQ(::chown((shared.path() / own).c_str(), 65534, 65534), 0);
    EXPECT_FALSE(MakePrivateRuntimeFolder(shared.path() / own));
    EXPECT_EQ(PrivateRuntimeFolder(), home.path() / ".cache" / own);
    // Another user holding the lock file there no longer stops the start.
    std::ofstream(shared.path() / own / ("QuorvantisRuntimeTest-" + std::to_string(::getuid()) + ".lock")) << "";
    SingleInstanceLock lock;
    EXPECT_TRUE(lock.acquire("QuorvantisRuntimeTest"));
}

} // namespace
