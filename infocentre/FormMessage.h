// The outgoing mailbox message a submitted InfoCentre form becomes: "MAILBOX\OUT\FRM....MBO", the
// destination, title, mail header and the form's pages in one line. Nothing in the program sends it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

struct FormMessage {
    std::string destination;
    std::string title;  // document name + " Form Field Contents"
    std::string header; // empty without a user
    std::string body;   // the pages' lines joined with commas
};

std::string FormMessageTitle(const std::string& documentName);
// "From: user@domain", "Subject: title" and an empty line, each ended by CR LF; empty without a user.
std::string FormMailHeader(const std::string& user, const std::string& title);
// The header for the user the registry names: "Email"/"Address", else "Comms"/"Account".
std::string BuildMailHeader(const std::string& title);

// u32 1, u32 1, u32 L, u32 0, the destination (L bytes), u32 T, the title and its zero (T bytes),
// u32 M = H + B, the header (H bytes), the body and its zero (B bytes).
std::vector<uint8_t> FormMessageBytes(const FormMessage& message);
// A message read back, every length bounded by the file; nothing when damaged.
std::optional<FormMessage> ParseFormMessage(std::span<const uint8_t> bytes);

// Gathers the document's form pages ("Data\Content\" + name + page + ".new", in page-number order)
// into one message in "MAILBOX\OUT\", written under a temporary name and put in place under a new
// "FRM....MBO" name without replacing any. The pages are deleted only once the message is complete;
// on any failure they stay, the error is shown and false returned.
bool SendFormData(const std::string& destination, const std::string& documentName);

} // namespace qv
