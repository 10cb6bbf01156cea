// The check that runs before a command once a program key has been given to the user: when a fixed
// key (Ctrl+C, Ctrl+P, Ctrl+Z, Ctrl+Y) was marked as taken over by a user key, its command asks
// whether the user wants another key, and the user's keys on that combination go.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace qv {

struct AcceleratorKey;

// Set when the key table was read with a user key on a fixed key (the toolbar file's reader sets
// it), with a mark per fixed key: 0 Ctrl+S, 1 Ctrl+C, 2 Ctrl+P, 3 Ctrl+Z, 4 Ctrl+Y.
extern uint8_t AcceleratorCheckFlag;
std::array<uint8_t, 5>& FixedKeyChangedMarks();

// The key as the question shows it: " Ctrl + P ", with "Shift + " too, key 223 as "`".
std::string AcceleratorKeyText(const AcceleratorKey& key);

// The question for the command and key text.
std::string SystemAcceleratorQuestion(const std::string& keyText, const std::string& commandName);

// For 26932, 26119, 26538 and 26539 with a marked entry: asks (ask answers true for Yes), opens the
// key dialog on Yes, then removes every user key on that combination and clears the mark. True
// when the command was checked.
using AskFn = std::function<bool(const std::string& question)>;
using OpenKeysDialogFn = std::function<void()>;
bool CheckSystemAccelerator(uint32_t command, const AskFn& ask, const OpenKeysDialogFn& openKeysDialog);

} // namespace qv
