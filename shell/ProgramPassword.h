// The program password: kept in the registry ("Settings" "Colours") as a flag character and a
// salted, slowly derived hash of the upper-cased password (older values, the password lightly
// encoded, are still read); the rules of the settings dialog; and the lock at start-up.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <span>
#include <string_view>
#include <vector>

namespace qv {

// Password characters are stored XOR K1, the flag XOR K2. Both keys have bit 7 set and bit 6 clear,
// so an encoded flag is never 0 and never equal to an on-flag (bits 6 and 7 clear) or an off-flag
// (bit 6 set).
constexpr uint8_t kPasswordKey1 = 0x9B;
constexpr uint8_t kPasswordKey2 = kPasswordKey1 ^ 0x20;
// A flag of "D" marks a password kept without encoding; it never locks.
constexpr char kPlainPasswordFlag = 'D';
constexpr uint32_t kPasswordHelpTopic = 86471;
// The entry dialog takes at most this many characters, so no longer password can be set.
constexpr int kPasswordMaxLength = 16;
constexpr const char* kPasswordSection = "Settings";
constexpr const char* kPasswordValue = "Colours";

// The hashed form: the encoded flag, this marker, the salt in hexadecimal, "$", the derived key in
// hexadecimal. An older value can never hold it: its characters are the upper-cased password XOR K1,
// and a lower-case "q" there would stand for a lower-case "\xEA", which upper-casing never leaves.
constexpr std::string_view kHashedPasswordMarker = "$qv1$";
constexpr uint32_t kPasswordHashRounds = 20000;

struct StoredPassword {
    bool present = false; // a value is stored
    bool plain = false;   // its flag is "D"
    uint8_t flag = 0;     // decoded
    std::string password; // decoded (an older value; empty for the hashed form)
    std::vector<uint8_t> salt;
    std::vector<uint8_t> hash; // the derived key; empty for an older value

    bool hashed() const { return !hash.empty(); }

    // The lock is on when a value that is not plain has bits 6 and 7 of its flag clear.
    bool lockOn() const { return present && !plain && (flag & 0xC0) == 0; }
};

uint8_t MakeOnFlag(uint32_t random);
uint8_t MakeOffFlag(uint32_t random);
// The older form, still read: the flag and every character lightly encoded.
std::string EncodePassword(uint8_t flag, std::string_view password);
// The form written now: the flag as before and the salted hash of the upper-cased password.
std::string HashPasswordValue(uint8_t flag, std::string_view password, std::span<const uint8_t> salt);
StoredPassword DecodePassword(std::string_view value);
// Upper case as the stored texts' character set has it (Windows-1252).
std::string UpperPassword(std::string_view text);
bool PasswordEqualsNoCase(std::string_view a, std::string_view b);

StoredPassword ReadStoredPassword();
// The code that opens any password: the scrambled account name of the comms settings; empty, and
// opening nothing, while no account is stored.
std::string AccountCode();
bool PasswordUnlocks(std::string_view typed, const StoredPassword& stored, std::string_view accountCode);

// The rules of "Program password settings".
class PasswordSettings {
public:
    // Reads the stored value: a stored password (unless plain) keeps the dialog locked until the
    // current password or the account code is typed.
    PasswordSettings();

    bool locked() const { return locked_; }
    bool lockOnAtOpen() const { return lockAtOpen_; }
    const std::string& storedPassword() const { return stored_.password; }

    // Each change of the current-password edit: true when the text unlocks the dialog.
    bool TryUnlock(std::string_view typed);

    // OK with the new and confirm texts and the check box: writes what changed and answers whether
    // the dialog closes (false: the user chose Retry after a message).
    bool Ok(std::string_view newText, std::string_view confirmText, bool lockOn);

private:
    StoredPassword stored_;
    std::string accountCode_;
    bool locked_ = false;
    bool lockAtOpen_ = false;
};

// The random numbers of the flags; the clock seeds them before a new value is written. Tests
// replace the source.
using PasswordRandom = std::function<uint32_t()>;
void SetPasswordRandomSource(PasswordRandom source);

// At start-up with the lock on: asks until the typed text unlocks or the user gives up (ask
// answering nothing, or Cancel on "Incorrect password"). True when the program may go on.
bool UnlockProgram(const std::function<std::optional<std::string>()>& ask);

} // namespace qv
