// Case-blind resolution of backslash paths below the program folder.
#include "platform/Paths.h"

#include <vector>

namespace qv {
namespace {

fs::path& Folder()
{
    static fs::path folder = fs::current_path();
    return folder;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

std::vector<std::string_view> SplitComponents(std::string_view path)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/') {
            if (i > start)
                parts.push_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

fs::path MatchComponent(const fs::path& dir, std::string_view name)
{
    fs::path exact = dir / std::string(name);
    std::error_code ec;
    if (name == "." || name == ".." || fs::exists(exact, ec))
        return exact;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (EqualsNoCase(it->path().filename().string(), name))
            return it->path();
    }
    return exact;
}

} // namespace

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

void SetProgramFolder(const fs::path& folder) { Folder() = folder; }

const fs::path& ProgramFolder() { return Folder(); }

fs::path ResolveNoCase(const fs::path& base, std::string_view relative, MakeFolders make)
{
    auto parts = SplitComponents(relative);
    fs::path path = base;
    for (size_t i = 0; i < parts.size(); ++i) {
        path = MatchComponent(path, parts[i]);
        bool isFolder = i + 1 < parts.size();
        if (isFolder && make == MakeFolders::Yes) {
            std::error_code ec;
            fs::create_directory(path, ec);
        }
    }
    return path;
}

fs::path AppPath(std::string_view relative, MakeFolders make)
{
    return ResolveNoCase(Folder(), relative, make);
}

} // namespace qv
