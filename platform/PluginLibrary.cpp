// Plug-ins through the dynamic loader, found beside the program's own folder.
#include "platform/PluginLibrary.h"

#include <dlfcn.h>

namespace qv {

std::filesystem::path PluginFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return "plugins";
    return program.parent_path().parent_path() / "plugins";
}

std::filesystem::path PluginFile(std::string_view name)
{
    return PluginFolder() / ("lib" + std::string(name) + ".so");
}

bool PluginPresent(std::string_view name)
{
    std::error_code error;
    return std::filesystem::is_regular_file(PluginFile(name), error);
}

void* LoadPluginEntry(const std::filesystem::path& file, const char* entry, std::string* error)
{
    std::error_code missing;
    if (!std::filesystem::is_regular_file(file, missing)) {
        if (error)
            *error = file.string() + ": no such plug-in";
        return nullptr;
    }
    // Local binding: two plug-ins never see each other's names, and the program's own stay its own.
    void* library = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        if (error)
            *error = ::dlerror();
        return nullptr;
    }
    void* address = ::dlsym(library, entry);
    if (!address && error)
        *error = file.string() + ": no entry " + entry;
    return address;
}

} // namespace qv
