// The last update message as the review dialog shows it: the date line of "Message.prv", the tabs
// named by the message's "~SH~" headings and the text of each tab, and whether the message is shown
// after every update.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

constexpr const char* kNoMessageStored = "No message stored";

// "Last Update: Mon 07/12/2026 18:05" from the file's last-write time in local time (its change
// time when that is 0); empty without the file.
std::string UpdateMessageDateLine(const std::filesystem::path& file);

// Tab 0 "Message", then one tab per "~SH~" heading (up to the next "~S"), control characters shown
// as spaces.
std::vector<std::string> UpdateMessageTabs(std::string_view message);

// The text of tab n: the general message before the first marker for 0; else the body after the
// n-th "~SS~" up to the next "~S", or "No message stored" when there are fewer bodies.
std::string UpdateMessageTabText(std::string_view message, int tab);

// The stored message as text (up to its terminating zero); a message exists when it is not empty.
std::string StoredUpdateMessageText();
bool UpdateMessageStored();

// Registry "Settings" "DisplayUpdateMessage": 1 (the default) shows the message after each update.
bool DisplayUpdateMessageAfterUpdate();
void SetDisplayUpdateMessageAfterUpdate(bool display);

} // namespace qv
