// The tips of the day from "Quorvantis Zoze Tips.txt": one tip per line, read in turn from where the
// last run stopped, starting over when the file changes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace qv {

inline constexpr const char* kTipsFileName = "Quorvantis Zoze Tips.txt";
inline constexpr const char* kWelcomeTip = "Welcome to Quorvantis from Pelmor Information";

// The file's last-modified time as the 24-character standard date text, trailing blanks removed.
std::string TipFileTimeStamp(const std::filesystem::path& file);

class TipReader {
public:
    // Reads the registry values and opens the file in the folder; the first tip is read at once.
    explicit TipReader(const std::filesystem::path& folder);
    // Stores the position of the next tip.
    ~TipReader();
    TipReader(const TipReader&) = delete;
    TipReader& operator=(const TipReader&) = delete;

    bool hasFile() const { return file_.is_open(); }
    const std::string& tip() const { return tip_; }
    void next();

    bool showAtStartUp() const { return showAtStartUp_; }
    // "&Close": stores the check box as "ShowTipOnStartUp" (0 shown, 1 not).
    void close(bool showAtStartUp);

private:
    bool seek(std::streamoff position);

    std::ifstream file_;
    std::string tip_;
    bool showAtStartUp_ = true;
};

} // namespace qv
