// The program's start-up switches: parsing the command line into the values start-up reads later.
#include "shell/CommandLine.h"

#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <limits>
#include <optional>
#include <vector>

namespace qv {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> Tokens(std::string_view text)
{
    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        size_t start = i;
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        if (i > start)
            tokens.push_back(text.substr(start, i - start));
    }
    return tokens;
}

class Switches {
public:
    explicit Switches(std::string_view text) : tokens_(Tokens(text)) {}

    bool has(std::string_view name) const
    {
        for (std::string_view token : tokens_)
            if (token == name)
                return true;
        return false;
    }

    // The rest of the first token that begins with the switch's text.
    std::optional<std::string_view> value(std::string_view name) const
    {
        for (std::string_view token : tokens_)
            if (token.substr(0, name.size()) == name)
                return token.substr(name.size());
        return std::nullopt;
    }

private:
    std::vector<std::string_view> tokens_;
};

// The leading decimal number of a text (an optional sign, then digits; 0 when there are none),
// held at the limits of a 32-bit number rather than overflowing.
int32_t LeadingNumber(std::string_view text)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1)
            value = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int32_t>::max())
        value = std::numeric_limits<int32_t>::max();
    return int32_t(value);
}

void ParseWindowPlacement(std::string_view value, CommandLineSettings& settings)
{
    int32_t numbers[4] = {LeadingNumber(value), 0, 0, 0};
    for (int i = 1; i < 4; ++i) {
        size_t comma = value.find(',');
        if (comma == std::string_view::npos)
            return; // three numbers or fewer: the stored placement stays in force
        value = value.substr(comma + 1);
        numbers[i] = LeadingNumber(value);
    }
    settings.windowX = numbers[0];
    settings.windowY = numbers[1];
    settings.windowWidth = numbers[2];
    settings.windowHeight = numbers[3];
}

void ParseCommsMode(int32_t bits, CommandLineSettings& settings)
{
    if (bits & 8)
        settings.commsMode = kCommsModeAlternate;
    if (bits & 4)
        settings.commsMode = kCommsModeTestServer;
    if (bits & 64)
        settings.commsFlag = 1;
}

} // namespace

CommandLineSettings ParseCommandLine(std::string_view text)
{
    Switches switches(text);
    CommandLineSettings settings;
    settings.showSplash = !switches.has("/nologo");
    if (auto v = switches.value("/L:"))
        settings.languageText = std::string(*v);
    if (auto v = switches.value("/SP:"))
        settings.spText = std::string(*v);
    if (auto v = switches.value("/P:"))
        settings.portNumber = LeadingNumber(*v);
    if (auto v = switches.value("/C:"))
        ParseWindowPlacement(*v, settings);
    if (auto v = switches.value("/D:"))
        ParseCommsMode(LeadingNumber(*v), settings);
    if (auto v = switches.value("/d:"))
        settings.databaseName = std::string(*v);
    settings.secondCopy = switches.has("/m:57");
    if (text.find("/U") != std::string_view::npos) {
        settings.unattended = true;
        settings.showSplash = false;
    }
    settings.removeDataFiles = switches.has("/R");
    settings.unattendedExtra = switches.has("/X") && settings.unattended ? 1 : 0;
    settings.noConfigSave = switches.has("/NC");
    if (switches.has("/T")) {
        settings.timedUpdate = true;
        settings.unattended = true;
        settings.showSplash = false;
        settings.unattendedExtra = 1;
    }
    settings.noChartCaption = switches.has("/GC");
    settings.realTime = switches.has("/RT");
    return settings;
}

std::string JoinCommandLine(int argc, const char* const* argv)
{
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            text += ' ';
        text += argv[i];
    }
    return text;
}

void RemoveDataFiles()
{
    for (const char* name : {"Data\\Quorva.dat", "Data\\DirDeal.dat", "Data\\Imports.dat", "Data\\Cash.dat"}) {
        fs::path path = AppPath(name);
        std::error_code error;
        if (fs::exists(path, error))
            ForceDelete(path);
    }
}

} // namespace qv
