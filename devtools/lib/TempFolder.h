// A temporary folder that removes itself, for tests and tools that build data folders.
#pragma once

#include <filesystem>
#include <string>

namespace qv::dev {

class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "qv");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

} // namespace qv::dev
