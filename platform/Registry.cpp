// Registry store: "[section]" lines, then "name=type:value" lines with escaped texts.
#include "platform/Registry.h"

#include "platform/FileOps.h"
#include "platform/ProgramExit.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace qv {
namespace {

std::string Escape(const std::string& s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\0': out += "\\0"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Unescape(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char c = s[++i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == '0' ? '\0' : c;
    }
    return out;
}

std::string ToHex(const std::string& bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::optional<std::string> FromHex(const std::string& hex)
{
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    if (hex.size() % 2)
        return std::nullopt;
    std::string out;
    for (size_t i = 0; i < hex.size(); i += 2) {
        int hi = nibble(hex[i]), lo = nibble(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out += char(hi << 4 | lo);
    }
    return out;
}

// The folder of the registry file and the parents it lacks, each made readable by the user alone;
// the program's own folder is closed again when an earlier run left it open to others.
void MakePrivateFolder(const std::filesystem::path& folder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    std::vector<fs::path> missing;
    for (fs::path p = folder; !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path())
            break;
    }
    fs::create_directories(folder, ec);
    for (const fs::path& p : missing)
        fs::permissions(p, fs::perms::owner_all, fs::perm_options::replace, ec);
    if (folder.filename() == "Quorvantis" && fs::is_directory(fs::symlink_status(folder, ec)))
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ec);
}

} // namespace

std::filesystem::path Registry::DefaultFile()
{
    if (const char* own = std::getenv("QV_CONFIG_HOME"); own && *own)
        return std::filesystem::path(own) / "registry.ini";
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return std::filesystem::path(xdg) / "Quorvantis" / "registry.ini";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : ".") / ".config" / "Quorvantis" / "registry.ini";
}

Registry& Registry::Instance()
{
    static Registry registry(DefaultFile());
    return registry;
}

Registry::Registry(std::filesystem::path file) : file_(std::move(file)) { load(); }

void Registry::reopen(std::filesystem::path file)
{
    std::lock_guard lock(mutex_);
    file_ = std::move(file);
    sections_.clear();
    load();
}

void Registry::load()
{
    // A file an earlier version left open to others is closed at once, not only at the next save.
    std::error_code ec;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(file_, ec))) {
        std::filesystem::permissions(file_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::replace, ec);
        MakePrivateFolder(file_.parent_path());
    }
    std::ifstream in(file_, std::ios::binary);
    std::string line, section;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = Unescape(line.substr(1, line.size() - 2));
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos || line.size() < eq + 3 || line[eq + 2] != ':')
            continue;
        char type = line[eq + 1];
        std::string raw = line.substr(eq + 3);
        std::string name = Unescape(line.substr(0, eq));
        if (type == 'b') {
            auto bytes = FromHex(raw);
            if (bytes)
                sections_[section][name] = Value{type, *bytes};
        } else if (type == 's' || type == 'd') {
            sections_[section][name] = Value{type, Unescape(raw)};
        }
    }
}

bool Registry::save() const
{
    MakePrivateFolder(file_.parent_path());
    std::ostringstream out;
    out << "; " << kKeyPath << "\n";
    for (const auto& [section, values] : sections_) {
        out << '[' << Escape(section) << "]\n";
        for (const auto& [name, value] : values) {
            std::string text = value.type == 'b' ? ToHex(value.data) : Escape(value.data);
            std::string escapedName = Escape(name);
            out << escapedName << '=' << value.type << ':' << text << '\n';
        }
    }
    if (ProgramFaultNoted())
        return false;
    // A new file written whole and forced to the disk, then put in place of the old one.
    auto temp = file_;
    temp += ".tmp" + std::to_string(::getpid());
    const std::string text = out.str();
    // It holds the passwords: a new file readable by the user alone (an older, open one is replaced).
    ForceDelete(temp);
    ExclusiveFile file;
    bool written = file.open(temp, ExclusiveFile::Mode::CreatePrivate) && file.write(text.data(), text.size()) &&
                   file.sync();
    if (!file.close() || !written || !RenameReplace(temp, file_)) {
        ForceDelete(temp);
        return false;
    }
    SyncFolder(file_.parent_path());
    return true;
}

const Registry::Value* Registry::find(const std::string& section, const std::string& name) const
{
    auto s = sections_.find(section);
    if (s == sections_.end())
        return nullptr;
    auto v = s->second.find(name);
    return v == s->second.end() ? nullptr : &v->second;
}

std::optional<std::string> Registry::getString(const std::string& section, const std::string& name) const
{
    std::lock_guard lock(mutex_);
    const Value* v = find(section, name);
    if (!v || v->type != 's')
        return std::nullopt;
    return v->data;
}

std::optional<uint32_t> Registry::getU32(const std::string& section, const std::string& name) const
{
    std::lock_guard lock(mutex_);
    const Value* v = find(section, name);
    if (!v || v->type != 'd')
        return std::nullopt;
    char* end = nullptr;
    unsigned long n = std::strtoul(v->data.c_str(), &end, 10);
    if (end == v->data.c_str() || *end)
        return std::nullopt;
    return uint32_t(n);
}

std::optional<std::vector<uint8_t>> Registry::getBinary(const std::string& section, const std::string& name) const
{
    std::lock_guard lock(mutex_);
    const Value* v = find(section, name);
    if (!v || v->type != 'b')
        return std::nullopt;
    return std::vector<uint8_t>(v->data.begin(), v->data.end());
}

bool Registry::set(const std::string& section, const std::string& name, Value value)
{
    std::lock_guard lock(mutex_);
    sections_[section][name] = std::move(value);
    return save();
}

bool Registry::setString(const std::string& section, const std::string& name, const std::string& value)
{
    return set(section, name, Value{'s', value});
}

bool Registry::setU32(const std::string& section, const std::string& name, uint32_t value)
{
    return set(section, name, Value{'d', std::to_string(value)});
}

bool Registry::setBinary(const std::string& section, const std::string& name, const std::vector<uint8_t>& value)
{
    return set(section, name, Value{'b', std::string(value.begin(), value.end())});
}

bool Registry::remove(const std::string& section, const std::string& name)
{
    std::lock_guard lock(mutex_);
    auto s = sections_.find(section);
    if (s == sections_.end() || !s->second.erase(name))
        return false;
    return save();
}

} // namespace qv
