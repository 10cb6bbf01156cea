// System services over the platform layer.
#include "core/SystemServices.h"

#include "platform/Beep.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace qv {
namespace {

constexpr uint32_t kSpaceStandIn = 0x4000000;
constexpr int kRetry = 4;

std::atomic<int> g_windowsVersion{0};

TraceListener& Listener()
{
    static TraceListener listener;
    return listener;
}

// The section of the settings store that a key path names, or nothing for a key outside the
// program's own.
std::optional<std::string> SectionOf(std::string_view keyPath)
{
    std::string_view key = Registry::kKeyPath;
    if (keyPath.size() < key.size() || !EqualsNoCase(keyPath.substr(0, key.size()), key))
        return std::nullopt;
    if (keyPath.size() == key.size())
        return std::string();
    if (keyPath[key.size()] != '\\')
        return std::nullopt;
    return std::string(keyPath.substr(key.size() + 1));
}

} // namespace

void TraceMessage(std::string_view text)
{
    if (Listener())
        Listener()(text);
}

void SetTraceListener(TraceListener listener) { Listener() = std::move(listener); }

fs::path MakeAppPath(std::string_view name) { return AppPath(name); }

const std::string& GetAppPath(std::string_view name)
{
    thread_local std::string buffer;
    buffer = MakeAppPath(name).string();
    return buffer;
}

uint32_t CapFreeDiskSpace(std::optional<uint64_t> bytes)
{
    if (!bytes || *bytes > 0xFFFFFFFFull)
        return kSpaceStandIn;
    return uint32_t(*bytes);
}

uint32_t GetFreeDiskSpace(const fs::path& path) { return CapFreeDiskSpace(FreeDiskSpace(path)); }

uint32_t GetAppFreeDiskSpace() { return GetFreeDiskSpace(ProgramFolder()); }

int LowDiskSpacePrompt() { return 2; }

bool WaitForDiskSpace(uint32_t limit)
{
    while (GetAppFreeDiskSpace() < limit)
        if (LowDiskSpacePrompt() != kRetry)
            return false;
    return true;
}

int ReadRegistryString(RegistryRoot, std::string_view keyPath, const std::string& name, std::string& out,
                       size_t size)
{
    out.clear();
    auto section = SectionOf(keyPath);
    if (!section)
        return kRegistryKeyNotFound;
    if (auto value = Registry::Instance().getString(*section, name); value && size > 0)
        out = value->substr(0, size - 1);
    return 0;
}

int ReadRegistryDword(RegistryRoot, std::string_view keyPath, const std::string& name, uint32_t& out,
                      uint32_t defaultValue)
{
    out = defaultValue;
    auto section = SectionOf(keyPath);
    if (!section)
        return kRegistryKeyNotFound;
    if (auto value = Registry::Instance().getU32(*section, name))
        out = *value;
    return 0;
}

int WriteSignal(uint32_t value)
{
    return Registry::Instance().setU32("", "signal", value) ? 0 : kRegistryCannotWrite;
}

int WindowsVersionCode(const OsVersion& v, int previous)
{
    using F = OsVersion::Family;
    if (v.family == F::Windows95) {
        if (v.minor < 10)
            return v.build == 950 ? 1 : 2;
        return v.minor < 90 ? 3 : 4;
    }
    if (v.family == F::WindowsNT) {
        if (v.major == 3)
            return 10;
        if (v.major == 4)
            return 11;
        if (v.major == 5)
            return v.minor == 0 ? 12 : v.minor == 1 ? 13 : 14;
    }
    return previous;
}

void NoteWindowsVersion(const OsVersion& version)
{
    g_windowsVersion = WindowsVersionCode(version, g_windowsVersion);
}

int WindowsVersion() { return g_windowsVersion; }

void BeepPause()
{
    using namespace std::chrono;
    auto end = steady_clock::now() + milliseconds(250);
    do {
        SystemBeep();
        std::this_thread::sleep_for(milliseconds(50));
    } while (steady_clock::now() < end);
}

int DeleteFileForce(const char* name)
{
    if (!name)
        return -1;
    std::error_code ec;
    fs::path path(name);
    if (!fs::exists(fs::symlink_status(path, ec)) || fs::is_directory(path, ec))
        return 0;
    return ForceDelete(path) ? 1 : 0;
}

} // namespace qv
