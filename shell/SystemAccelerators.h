// The check that runs before a command once a program key has been given to the user: when a fixed
// key (Ctrl+C, Ctrl+P, Ctrl+Z, Ctrl+Y) is marked as taken over by a user key (state bit 0, set when
// the key table is read), its command asks whether the user wants another key for the user's
// command, and the user's keys on that combination go.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

struct AcceleratorKey;

// Whether a fixed key the check covers (not Ctrl+S) is marked as taken over.
bool SystemAcceleratorCheckPending();

// The key as the question shows it: " Ctrl + P ", with "Shift + " too, key 223 as "`".
std::string AcceleratorKeyText(const AcceleratorKey& key);

// The question for the command and key text.
std::string SystemAcceleratorQuestion(const std::string& keyText, const std::string& commandName);

// For 26932, 26119, 26538 and 26539 with a marked entry: when a user key holds the combination, asks
// (ask answers true for Yes) and opens the key dialog on Yes; then removes every user key on that
// combination and clears the mark. True when the command was checked.
using AskFn = std::function<bool(const std::string& question)>;
using OpenKeysDialogFn = std::function<void()>;
bool CheckSystemAccelerator(uint32_t command, const AskFn& ask, const OpenKeysDialogFn& openKeysDialog);

} // namespace qv
