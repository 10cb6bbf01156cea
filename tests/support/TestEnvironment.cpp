// Test process set-up.
#include "support/TestEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace qv::test {

void PrepareTestEnvironment()
{
    auto folder = std::filesystem::temp_directory_path() / ("qvtests-config-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    ::setenv("QV_CONFIG_HOME", folder.c_str(), 1);
    ::unsetenv("QV_AUTO_ANSWER");
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(std::getenv("QV_CONFIG_HOME"), ec);
    });
}

} // namespace qv::test
