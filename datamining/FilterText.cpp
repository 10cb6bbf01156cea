// The ".flt" filter file: writer, reader and token scanning.
#include "datamining/FilterText.h"

#include "core/StringPrintf.h"
#include "datamining/CriterionKinds.h"
#include "datamining/CriterionValue.h"
#include "datamining/FilterValues.h"
#include "platform/FileOps.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <tuple>
#include <utility>

namespace qv {
namespace {

constexpr const char* kHeading =
    "Quorvantis filter file (360) - ASCII datamining filter\n\nWarning: This is a formatted file and should only "
    "be modified with care.";

// Files older than version 360 number the kinds differently.
constexpr std::array<uint8_t, kCriterionKindCount> kOldKinds = {0, 11, 13, 3, 4, 5, 6, 7, 8, 9, 10, 1, 12, 2, 14};

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// The written copy of a name or note: a comma, semicolon or line end in it would end a field or a
// line of the file.
std::string FileField(const std::string& text)
{
    std::string field = text;
    for (char& c : field)
        if (c == ',' || c == ';' || IsLineEnd(c))
            c = ' ';
    return field;
}

uint32_t AxisPosition(const DMFilter& filter, int axis)
{
    const uint32_t position = filter.axes[size_t(axis)];
    return position <= filter.criteria.size() ? position : 0;
}

std::string FilterBlock(const DMFilter& filter)
{
    std::string block = StringPrintf("\n\nFILTER %s,%u,%u,%u,%d,%s;\n", FileField(filter.name).c_str(),
                                     AxisPosition(filter, 0), AxisPosition(filter, 1), AxisPosition(filter, 2),
                                     int(filter.sourceKind), FileField(filter.note).c_str());
    for (const DMCriterion& c : filter.criteria)
        block += StringPrintf("CRITERIA %d,%d,%d,%d,%d,%f,%f,%d,%d,%d;\n", c.kind, c.parameter, c.mode,
                              int32_t(c.setting), int(c.secondSetting), double(c.lower), double(c.upper),
                              int32_t(c.firstDate), int32_t(c.secondDate), c.inverted);
    return block;
}

// Characters up to (not including) the stopping character, at most `maxLength` kept; the position
// ends on the stopping character or the end of the text.
std::string TakeUntil(TextPosition& pos, char stop, size_t maxLength)
{
    std::string text;
    for (; *pos.at && *pos.at != stop; ++pos.at)
        if (text.size() < maxLength)
            text += *pos.at;
    return text;
}

void SkipWhile(TextPosition& pos, const char* set)
{
    while (*pos.at && std::strchr(set, *pos.at))
        ++pos.at;
}

bool ValidParameter(uint8_t kind, int32_t parameter)
{
    const CriterionKind* k = CriterionKindOf(kind);
    if (!k || parameter < 0 || parameter > 255)
        return false;
    if (kind != kAdvancedResultKind)
        return parameter < k->parameterCount;
    const int stored = parameter & 0x1F;
    const int item = ShownAdvancedItem(stored);
    if (stored == 13 || item >= kAdvancedItemCount)
        return false;
    const size_t variant = size_t(parameter >> 5);
    if (variant >= 5)
        return false;
    const char* name = AdvancedResultItems()[size_t(item)].variants[variant];
    return name && *name;
}

std::string FreeName(const std::string& name, const std::function<bool(std::string_view)>& taken)
{
    if (!taken(name))
        return name;
    for (int counter = 0;; ++counter) {
        std::string candidate = StringPrintf("%s %d", name.c_str(), counter);
        if (!taken(candidate))
            return candidate;
    }
}

struct FilterReader {
    TextPosition pos;
    int version = 0;
    const std::function<bool(std::string_view)>& nameTaken;
    std::vector<std::unique_ptr<DMFilter>>& filters;

    bool Taken(std::string_view name) const
    {
        if (nameTaken && nameTaken(name))
            return true;
        return std::any_of(filters.begin(), filters.end(), [&](const auto& f) { return f->name == name; });
    }

    // The text after a "FILTER" token: false when no semicolon ends the line.
    bool ReadFilterLine()
    {
        SkipWhile(pos, " ");
        std::string name = TakeUntil(pos, ',', kFilterTextMaxName);
        std::array<int32_t, 3> axes{};
        for (int32_t& axis : axes)
            axis = ReadIntToken(pos);
        const int32_t source = ReadIntToken(pos);
        SkipWhile(pos, " ,");
        std::string note = TakeUntil(pos, ';', kFilterTextMaxName);
        if (*pos.at != ';')
            return false;
        SkipWhile(pos, ";");
        auto filter = std::make_unique<DMFilter>();
        filter->name = FreeName(name, [this](std::string_view n) { return Taken(n); });
        filter->sourceKind = uint16_t(source);
        filter->note = std::move(note);
        for (size_t a = 0; a < 3; ++a)
            filter->axes[a] = axes[a] > 0 ? uint32_t(axes[a]) : 0;
        filters.push_back(std::move(filter));
        return true;
    }

    void ReadCriterionLine(DMFilter& filter)
    {
        std::array<int32_t, 5> head{};
        for (int32_t& n : head)
            n = ReadIntToken(pos);
        float lower = ReadFloatToken(pos);
        float upper = ReadFloatToken(pos);
        const int32_t firstDate = ReadIntToken(pos);
        const int32_t secondDate = ReadIntToken(pos);
        const int32_t inverted = ReadIntToken(pos);
        if (*pos.at != ';')
            return;
        SkipWhile(pos, ";");
        int32_t kind = head[0];
        if (version < kFilterTextVersion && kind >= 0 && kind < kCriterionKindCount)
            kind = kOldKinds[size_t(kind)];
        if (kind < 0 || kind >= kCriterionKindCount || !ValidParameter(uint8_t(kind), head[1]))
            return;
        DMCriterion c;
        c.kind = uint8_t(kind);
        c.parameter = uint8_t(head[1]);
        c.mode = uint8_t(head[2]);
        c.setting = uint32_t(head[3]);
        c.secondSetting = uint16_t(head[4]);
        c.firstDate = uint32_t(firstDate);
        c.secondDate = uint32_t(secondDate);
        c.dataMin = kNoUpperLimit; // empty until the statistics run
        c.dataMax = kNoLowerLimit;
        if (lower > upper)
            std::swap(lower, upper);
        c.lower = lower;
        c.upper = upper;
        c.inverted = inverted == 1 ? 1 : 0;
        filter.criteria.push_back(c);
    }

    // The criteria of the last filter made, up to the next "FILTER" token (true) or the end.
    bool ReadCriteria()
    {
        std::string token;
        for (;;) {
            if (!*pos.at)
                return false;
            const bool more = ReadToken(pos, token, kFilterTextMaxName);
            if (token == "FILTER")
                return true;
            if (token == "CRITERIA") {
                ReadCriterionLine(*filters.back());
                continue;
            }
            if (!more && !SkipToNextLine(pos))
                return false;
        }
    }

    bool FindFilter()
    {
        std::string token;
        for (;;) {
            if (!SkipToNextLine(pos))
                return false;
            for (;;) {
                const bool more = ReadToken(pos, token, kFilterTextMaxName);
                if (token == "FILTER")
                    return true;
                if (!more)
                    break;
            }
        }
    }

    void Run()
    {
        bool atFilter = FindFilter();
        while (atFilter) {
            if (!ReadFilterLine()) {
                atFilter = FindFilter();
                continue;
            }
            atFilter = ReadCriteria();
        }
        for (auto& f : filters)
            for (uint32_t& axis : f->axes)
                if (axis > f->criteria.size())
                    axis = 0;
    }
};

bool ReadHeading(TextPosition& pos, int& version)
{
    std::string token;
    for (const char* expected : {"Quorvantis", "filter", "file"}) {
        ReadToken(pos, token, kFilterTextMaxName + 1);
        if (token != expected)
            return false;
    }
    for (int i = 0; i < 2 && *pos.at; ++i)
        ++pos.at;
    version = int(std::clamp(std::strtol(pos.at, nullptr, 10), -1L, 100000L));
    return version <= kFilterTextVersion;
}

} // namespace

bool SkipToNextLine(TextPosition& pos)
{
    while (*pos.at && !IsLineEnd(*pos.at))
        ++pos.at;
    while (IsLineEnd(*pos.at))
        ++pos.at;
    return *pos.at != '\0';
}

bool ReadToken(TextPosition& pos, std::string& token, size_t maxLength)
{
    token.clear();
    SkipWhile(pos, " ,\r\n");
    while (token.size() < maxLength && *pos.at && !std::strchr(" ,;\r\n", *pos.at))
        token += *pos.at++;
    const char stop = *pos.at;
    return stop != '\0' && stop != ';' && !IsLineEnd(stop);
}

int32_t ReadIntToken(TextPosition& pos)
{
    std::string token;
    ReadToken(pos, token, kFilterTextMaxNumber);
    const long long n = std::strtoll(token.c_str(), nullptr, 10);
    return int32_t(std::clamp<long long>(n, INT32_MIN, INT32_MAX));
}

float ReadFloatToken(TextPosition& pos)
{
    std::string token;
    ReadToken(pos, token, kFilterTextMaxNumber);
    const double d = std::strtod(token.c_str(), nullptr);
    if (std::isnan(d))
        return 0;
    return float(std::clamp(d, double(-FLT_MAX), double(FLT_MAX)));
}

bool ExportFilterText(const std::filesystem::path& path, const DMFilter* filter)
{
    if (!filter || filter->readOnly())
        return false;
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        return false;
    std::string text = exists ? std::string() : std::string(kHeading);
    text += FilterBlock(*filter);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

FilterTextContents ParseFilterText(std::string_view text, const std::function<bool(std::string_view)>& nameTaken)
{
    FilterTextContents contents;
    const std::string block(text); // read up to its first NUL
    TextPosition pos{block.c_str()};
    if (!ReadHeading(pos, contents.version))
        return contents;
    contents.valid = true;
    FilterReader reader{pos, contents.version, nameTaken, contents.filters};
    reader.Run();
    return contents;
}

namespace {
// What a criterion's statistics depend on.
using CriterionIdentity = std::tuple<uint8_t, uint8_t, uint32_t, uint16_t, uint32_t, uint32_t>;
} // namespace

int ImportFilterText(const std::filesystem::path& path)
{
    const auto bytes = ReadFileBytes(path);
    if (!bytes)
        return 0;
    const std::string text(bytes->begin(), bytes->end());
    FilterTextContents contents =
        ParseFilterText(text, [](std::string_view name) { return FindFilterPosition(name) > 0; });
    if (!contents.valid || contents.filters.empty())
        return 0;
    EnsureFilterCandidates();
    const RecordCursor* rows = FilterCandidates().rows.empty() ? nullptr : FilterCandidates().rows.data();
    const int made = int(contents.filters.size());
    // Files repeat criteria from filter to filter: each distinct one is measured over the candidates once.
    std::map<CriterionIdentity, DMCriterion> measured;
    for (auto& filter : contents.filters) {
        for (DMCriterion& c : filter->criteria) {
            const float lower = c.lower, upper = c.upper;
            const CriterionIdentity identity{c.kind, c.parameter, c.setting, c.secondSetting, c.firstDate, c.secondDate};
            if (auto found = measured.find(identity); found != measured.end()) {
                c.dataMin = found->second.dataMin;
                c.dataMax = found->second.dataMax;
                c.average = found->second.average;
                c.noData = found->second.noData;
                c.mode = c.noData ? 0 : c.mode;
            } else {
                CriterionStatistics(rows, nullptr, c);
                measured.emplace(identity, c);
            }
            c.lower = lower;
            c.upper = upper;
        }
        InsertFilter(std::move(filter));
    }
    return made;
}

} // namespace qv
