// Parsing of the DDE server's request lines and the text of its replies.
#include "shell/DdeRequest.h"

#include <array>
#include <cstdint>

namespace qv {
namespace {

struct VerbName {
    std::string_view name;
    DdeVerb verb;
};

constexpr std::array<VerbName, 7> kVerbs{{
    {"CONNECT", DdeVerb::Connect},
    {"REQUEST", DdeVerb::Request},
    {"ADVSTART", DdeVerb::AdviseStart},
    {"ADVSTOP", DdeVerb::AdviseStop},
    {"EXECUTE", DdeVerb::Execute},
    {"POKE", DdeVerb::Poke},
    {"DISCONNECT", DdeVerb::Disconnect},
}};

bool SameVerb(std::string_view a, std::string_view upper)
{
    if (a.size() != upper.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
        if (c != upper[i])
            return false;
    }
    return true;
}

// Printable Windows-1252 text: no control characters (tab excepted) and no DEL.
bool Printable(std::string_view text)
{
    for (char c : text) {
        auto byte = uint8_t(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F)
            return false;
    }
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Takes the next blank-separated word off the front of `rest`.
std::string_view NextWord(std::string_view& rest)
{
    rest = Trim(rest);
    size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end]))
        ++end;
    std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    return word;
}

bool Refuse(std::string& error, std::string_view reason)
{
    error = reason;
    return false;
}

bool TakeName(std::string_view& rest, std::string& out, std::string& error, std::string_view what)
{
    std::string_view word = NextWord(rest);
    if (word.empty())
        return Refuse(error, std::string(what) + " missing");
    if (word.size() > kDdeNameMax)
        return Refuse(error, std::string(what) + " too long");
    out = word;
    return true;
}

} // namespace

bool ParseDdeRequest(std::string_view line, DdeRequest& out, std::string& error)
{
    out = DdeRequest{};
    if (!Printable(line))
        return Refuse(error, "control character in request");
    std::string_view rest = line;
    std::string_view verbWord = NextWord(rest);
    if (verbWord.empty())
        return Refuse(error, "empty request");
    const VerbName* verb = nullptr;
    for (const VerbName& v : kVerbs) {
        if (SameVerb(verbWord, v.name))
            verb = &v;
    }
    if (!verb)
        return Refuse(error, "unknown request");
    out.verb = verb->verb;
    switch (out.verb) {
    case DdeVerb::Connect:
        if (!TakeName(rest, out.service, error, "service") || !TakeName(rest, out.topic, error, "topic"))
            return false;
        break;
    case DdeVerb::Request:
    case DdeVerb::AdviseStart:
    case DdeVerb::AdviseStop: {
        if (!TakeName(rest, out.item, error, "item"))
            return false;
        std::string_view format = Trim(rest);
        if (format.size() > kDdeNameMax)
            return Refuse(error, "format too long");
        out.format = format.empty() ? std::string("CF_TEXT") : std::string(format);
        return true;
    }
    case DdeVerb::Execute:
    case DdeVerb::Poke:
        // Refused whatever follows, as the server takes neither.
        return true;
    case DdeVerb::Disconnect:
        break;
    }
    if (!Trim(rest).empty())
        return Refuse(error, "unexpected words after the request");
    return true;
}

std::string DdeReplyOk() { return "OK\n"; }
std::string DdeReplyNo() { return "NO\n"; }
std::string DdeReplyError(std::string_view reason) { return "ERR " + std::string(reason) + "\n"; }

std::string DdeReplyData(std::string_view bytes)
{
    return "DATA " + std::to_string(bytes.size()) + "\n" + std::string(bytes);
}

std::string DdeAdviseMessage(std::string_view item, std::string_view format, std::string_view bytes)
{
    return "ADVISE " + std::to_string(bytes.size()) + " " + std::string(item) + " " + std::string(format) + "\n" +
           std::string(bytes);
}

} // namespace qv
