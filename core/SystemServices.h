// Paths below the program folder, free disk space, registry reads, the system version code, the
// pausing beep and forced deletion.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

namespace fs = std::filesystem;

// The program folder joined with a relative name ("data\Quorva.dat"), resolved without regard to
// case; a folder that already ends in a separator gets no second one.
fs::path MakeAppPath(std::string_view name);
// The same as text in one buffer per thread, valid until the thread's next call.
const std::string& GetAppPath(std::string_view name);

// Free bytes on the path's volume as the 32-bit figure callers compare: 64 MB (0x4000000) stands for
// anything beyond 32 bits and for a query that failed.
uint32_t GetFreeDiskSpace(const fs::path& path);
uint32_t GetAppFreeDiskSpace();
uint32_t CapFreeDiskSpace(std::optional<uint64_t> bytes);
// The answer to low disk space: 2 (cancel), without showing anything.
int LowDiskSpacePrompt();
// True when the program folder has at least `limit` free bytes, measuring again for as long as
// the low-space prompt answers retry (4).
bool WaitForDiskSpace(uint32_t limit);

// The registry roots that callers name. Both are kept in the program's one settings store.
enum class RegistryRoot { CurrentUser, LocalMachine };
constexpr int kRegistryKeyNotFound = 2;
constexpr int kRegistryCannotWrite = 1013;

// 0, or the error of opening the key; the text is empty when the value is missing and holds at
// most size - 1 characters.
int ReadRegistryString(RegistryRoot root, std::string_view keyPath, const std::string& name,
                       std::string& out, size_t size);
// The value is the default unless it could be read; the result as for ReadRegistryString.
int ReadRegistryDword(RegistryRoot root, std::string_view keyPath, const std::string& name,
                      uint32_t& out, uint32_t defaultValue);
// Stores the DWORD "signal" under the program's key; 0, or the error when it cannot be written.
int WriteSignal(uint32_t value);

// The program-wide system version code: 1-4 for the Windows 95 family, 10-14 for the NT family.
struct OsVersion {
    enum class Family { Windows95, WindowsNT, Other } family = Family::Other;
    int major = 0;
    int minor = 0;
    int build = 0;
};
int WindowsVersionCode(const OsVersion& version, int previous);
// Notes the code of the running system (this platform is neither family: the code stays).
void NoteWindowsVersion(const OsVersion& version = OsVersion{});
int WindowsVersion();

// Plays the default system sound repeatedly for 250 ms.
void BeepPause();

// A diagnostic hook that callers pass failure texts to ("Failed to create ticker font (1)"); it does
// nothing unless a listener is installed (tests install one to see the texts).
void TraceMessage(std::string_view text);
using TraceListener = std::function<void(std::string_view text)>;
void SetTraceListener(TraceListener listener);

// Clears the read-only state and deletes the file: 1 when deleted, 0 when it was not (or was
// missing), -1 for a null name.
int DeleteFileForce(const char* name);

} // namespace qv
