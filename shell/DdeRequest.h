// The request lines of the DDE server's local socket and the replies it writes; see docs/DDE.md.
#pragma once

#include <string>
#include <string_view>

namespace qv {

enum class DdeVerb { Connect, Request, AdviseStart, AdviseStop, Execute, Poke, Disconnect };

struct DdeRequest {
    DdeVerb verb = DdeVerb::Disconnect;
    std::string service; // CONNECT
    std::string topic;   // CONNECT
    std::string item;    // REQUEST, ADVSTART, ADVSTOP
    std::string format;  // the rest of the line after the item; "CF_TEXT" when absent
};

// Names are limited as DDE's string handles are read: at most 255 characters.
constexpr size_t kDdeNameMax = 255;

// Parses one request line (without its newline). Verbs are compared without regard to case;
// names are single words of printable characters. False, with a short reason, for anything else.
bool ParseDdeRequest(std::string_view line, DdeRequest& out, std::string& error);

// Replies: "OK", "NO", "ERR reason"; a value as "DATA n" and n bytes; a pushed value as
// "ADVISE n item format" and n bytes.
std::string DdeReplyOk();
std::string DdeReplyNo();
std::string DdeReplyError(std::string_view reason);
std::string DdeReplyData(std::string_view bytes);
std::string DdeAdviseMessage(std::string_view item, std::string_view format, std::string_view bytes);

} // namespace qv
