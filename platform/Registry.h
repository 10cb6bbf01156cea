// The program's registry key "Software\Pelmor-Information\Quorvantis" and its sections, kept in a
// text file in the user's configuration folder and rewritten atomically on every change.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace qv {

class Registry {
public:
    static constexpr const char* kKeyPath = "Software\\Pelmor-Information\\Quorvantis";

    // The process-wide store, kept in $QV_CONFIG_HOME, $XDG_CONFIG_HOME/Quorvantis or
    // ~/.config/Quorvantis, file "registry.ini".
    static Registry& Instance();
    static std::filesystem::path DefaultFile();

    explicit Registry(std::filesystem::path file);

    // Points the store at another file and loads it (tests use a temporary folder).
    void reopen(std::filesystem::path file);
    const std::filesystem::path& file() const { return file_; }

    // Section "" is the key itself ("WinCoord", "signal"); others are its sub-keys ("Settings").
    std::optional<std::string> getString(const std::string& section, const std::string& name) const;
    std::optional<uint32_t> getU32(const std::string& section, const std::string& name) const;
    std::optional<std::vector<uint8_t>> getBinary(const std::string& section, const std::string& name) const;

    bool setString(const std::string& section, const std::string& name, const std::string& value);
    bool setU32(const std::string& section, const std::string& name, uint32_t value);
    bool setBinary(const std::string& section, const std::string& name, const std::vector<uint8_t>& value);
    bool remove(const std::string& section, const std::string& name);

private:
    struct Value {
        char type; // 's' text, 'd' 32-bit number, 'b' bytes
        std::string data;
    };
    using Section = std::map<std::string, Value>;

    void load();
    bool save() const;
    bool set(const std::string& section, const std::string& name, Value value);
    const Value* find(const std::string& section, const std::string& name) const;

    std::filesystem::path file_;
    std::map<std::string, Section> sections_;
    mutable std::mutex mutex_;
};

} // namespace qv
