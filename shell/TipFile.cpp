// Reading tips line by line, skipping comment and blank lines, wrapping at the end of the file.
#include "shell/TipFile.h"

#include "platform/MessageBox.h"
#include "platform/Registry.h"

#include <chrono>
#include <ctime>

namespace qv {
namespace {

constexpr const char* kSection = "Settings";
constexpr size_t kMaxTipLength = 1000;

bool IsSkipped(const std::string& line)
{
    return line.empty() || line[0] == ' ' || line[0] == '\t' || line[0] == ';';
}

void TroubleReading()
{
    ShowMessage("Trouble reading the tips file");
}

} // namespace

std::string TipFileTimeStamp(const std::filesystem::path& file)
{
    std::error_code ec;
    auto written = std::filesystem::last_write_time(file, ec);
    if (ec)
        return {};
    auto system = std::chrono::file_clock::to_sys(written);
    std::time_t t = std::chrono::system_clock::to_time_t(system);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    size_t n = std::strftime(text, sizeof text, "%a %b %e %H:%M:%S %Y", &local);
    std::string stamp(text, n);
    while (!stamp.empty() && (stamp.back() == ' ' || stamp.back() == '\n'))
        stamp.pop_back();
    return stamp;
}

TipReader::TipReader(const std::filesystem::path& folder)
{
    Registry& registry = Registry::Instance();
    showAtStartUp_ = int32_t(registry.getU32(kSection, "ShowTipOnStartUp").value_or(0)) <= 0;
    uint32_t position = registry.getU32(kSection, "TipFilePos").value_or(0);
    std::filesystem::path path = folder / kTipsFileName;
    file_.open(path, std::ios::binary);
    if (!file_) {
        tip_ = kWelcomeTip;
        return;
    }
    std::string stamp = TipFileTimeStamp(path);
    if (registry.getString(kSection, "TipTimeStamp").value_or("") != stamp) {
        position = 0;
        registry.setString(kSection, "TipTimeStamp", stamp);
    }
    if (!seek(position))
        TroubleReading();
    next();
}

TipReader::~TipReader()
{
    if (!file_.is_open())
        return;
    file_.clear();
    std::streamoff position = file_.tellg();
    if (position >= 0)
        Registry::Instance().setU32(kSection, "TipFilePos", uint32_t(position));
}

bool TipReader::seek(std::streamoff position)
{
    file_.clear();
    file_.seekg(position);
    if (file_.good() && file_.peek() != std::char_traits<char>::eof())
        return true;
    // A stored position beyond a shorter file starts again from the top.
    file_.clear();
    file_.seekg(0);
    return file_.good();
}

void TipReader::next()
{
    if (!file_.is_open())
        return;
    // One pass through the whole file at most: a file without a tip line cannot loop for ever.
    bool wrapped = false;
    for (;;) {
        std::string line;
        if (!std::getline(file_, line)) {
            if (wrapped) {
                tip_ = kWelcomeTip;
                return;
            }
            wrapped = true;
            if (!seek(0)) {
                TroubleReading();
                return;
            }
            continue;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > kMaxTipLength)
            line.resize(kMaxTipLength);
        if (IsSkipped(line))
            continue;
        tip_ = line;
        return;
    }
}

void TipReader::close(bool showAtStartUp)
{
    showAtStartUp_ = showAtStartUp;
    Registry::Instance().setU32(kSection, "ShowTipOnStartUp", showAtStartUp ? 0 : 1);
}

} // namespace qv
