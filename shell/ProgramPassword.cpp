// The program password's storage, the settings dialog's rules and the start-up lock.
#include "shell/ProgramPassword.h"

#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "shell/AppServices.h"
#include "shell/PasswordHash.h"

#include <chrono>
#include <random>

namespace qv {
namespace {

constexpr const char* kMismatchText = "Passwords do not match\r\nPlease re-enter them or cancel";
constexpr const char* kMustSetText = "A password must be set before it can be turned on";
constexpr const char* kIncorrectText = "Incorrect password";

// Each write seeds from the clock, as a new value is made.
uint32_t ClockSeededRandom()
{
    std::minstd_rand engine(uint32_t(std::chrono::system_clock::now().time_since_epoch().count()));
    return uint32_t(engine());
}

PasswordRandom& RandomSource()
{
    static PasswordRandom source = ClockSeededRandom;
    return source;
}

uint8_t UpperCp1252(uint8_t c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return uint8_t(c - 0x20);
    switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
    }
}

// True when the user asks to try again after the message.
bool RetryAfter(const char* text)
{
    return ShowMessage(text, {}, MsgButtons::RetryCancel, MsgIcon::Exclamation) == MsgAnswer::Retry;
}

bool WriteValue(const std::string& value)
{
    return Registry::Instance().setString(kPasswordSection, kPasswordValue, value);
}

constexpr size_t kSaltBytes = 16;
constexpr size_t kHashBytes = 32;

std::vector<uint8_t> DeriveKey(std::string_view password, std::span<const uint8_t> salt)
{
    return Pbkdf2Sha256(UpperPassword(password), salt, kPasswordHashRounds, kHashBytes);
}

std::string ToHex(std::span<const uint8_t> bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

std::optional<std::vector<uint8_t>> FromHex(std::string_view text)
{
    auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
    if (text.size() % 2)
        return std::nullopt;
    std::vector<uint8_t> out;
    for (size_t i = 0; i < text.size(); i += 2) {
        const int hi = digit(text[i]), lo = digit(text[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out.push_back(uint8_t(hi << 4 | lo));
    }
    return out;
}

// The hashed form after the flag: the salt and key, both whole, or nothing.
bool ReadHashedForm(std::string_view rest, StoredPassword& stored)
{
    if (!rest.starts_with(kHashedPasswordMarker))
        return false;
    rest.remove_prefix(kHashedPasswordMarker.size());
    const size_t split = rest.find('$');
    if (split == std::string_view::npos)
        return false;
    std::optional<std::vector<uint8_t>> salt = FromHex(rest.substr(0, split));
    std::optional<std::vector<uint8_t>> hash = FromHex(rest.substr(split + 1));
    if (!salt || !hash || salt->empty() || hash->size() != kHashBytes)
        return false;
    stored.salt = std::move(*salt);
    stored.hash = std::move(*hash);
    return true;
}

// A new value in the hashed form, with a salt of its own.
std::string NewPasswordValue(uint8_t flag, std::string_view password)
{
    std::random_device device;
    std::vector<uint8_t> salt(kSaltBytes);
    for (uint8_t& b : salt)
        b = uint8_t(device());
    return HashPasswordValue(flag, password, salt);
}

} // namespace

uint8_t MakeOnFlag(uint32_t random)
{
    return uint8_t((random & 61) | 2);
}

uint8_t MakeOffFlag(uint32_t random)
{
    return uint8_t((random | 72) & 255);
}

std::string EncodePassword(uint8_t flag, std::string_view password)
{
    std::string value(1, char(flag ^ kPasswordKey2));
    for (char c : password) {
        uint8_t byte = uint8_t(c);
        // K1 itself would become 0: it is stored as it is, which no other character encodes to.
        value += char(byte == kPasswordKey1 ? byte : uint8_t(byte ^ kPasswordKey1));
    }
    return value;
}

std::string HashPasswordValue(uint8_t flag, std::string_view password, std::span<const uint8_t> salt)
{
    return std::string(1, char(flag ^ kPasswordKey2)) + std::string(kHashedPasswordMarker) + ToHex(salt) + "$" +
           ToHex(DeriveKey(password, salt));
}

StoredPassword DecodePassword(std::string_view value)
{
    StoredPassword stored;
    if (value.empty())
        return stored;
    stored.present = true;
    stored.flag = uint8_t(uint8_t(value[0]) ^ kPasswordKey2);
    stored.plain = stored.flag == uint8_t(kPlainPasswordFlag);
    if (!stored.plain && ReadHashedForm(value.substr(1), stored))
        return stored;
    for (char c : value.substr(1)) {
        uint8_t byte = uint8_t(c);
        if (!stored.plain && byte != kPasswordKey1)
            byte ^= kPasswordKey1;
        stored.password += char(byte);
    }
    return stored;
}

std::string UpperPassword(std::string_view text)
{
    std::string out;
    for (char c : text)
        out += char(UpperCp1252(uint8_t(c)));
    return out;
}

bool PasswordEqualsNoCase(std::string_view a, std::string_view b)
{
    return UpperPassword(a) == UpperPassword(b);
}

StoredPassword ReadStoredPassword()
{
    return DecodePassword(Registry::Instance().getString(kPasswordSection, kPasswordValue).value_or(""));
}

std::string AccountCode()
{
    const std::string account = Registry::Instance().getString("Comms", "Account").value_or("");
    // Without an account the scramble gives its fixed fallback, which would open every password.
    return account.empty() ? std::string() : ScrambleCode(account);
}

bool PasswordUnlocks(std::string_view typed, const StoredPassword& stored, std::string_view accountCode)
{
    if (!accountCode.empty() && PasswordEqualsNoCase(typed, accountCode))
        return true;
    return stored.hashed() ? DeriveKey(typed, stored.salt) == stored.hash : PasswordEqualsNoCase(typed, stored.password);
}

PasswordSettings::PasswordSettings() : stored_(ReadStoredPassword()), accountCode_(AccountCode())
{
    locked_ = stored_.present && !stored_.plain;
    lockAtOpen_ = stored_.lockOn();
}

bool PasswordSettings::TryUnlock(std::string_view typed)
{
    if (locked_ && PasswordUnlocks(typed, stored_, accountCode_))
        locked_ = false;
    return !locked_;
}

bool PasswordSettings::Ok(std::string_view newText, std::string_view confirmText, bool lockOn)
{
    if (newText != confirmText)
        return !RetryAfter(kMismatchText);
    if (newText.empty()) {
        if (lockOn)
            return !RetryAfter(kMustSetText);
        if (!lockAtOpen_)
            return true;
        // Switched off: the password stays, only the flag changes.
        std::string value = Registry::Instance().getString(kPasswordSection, kPasswordValue).value_or("");
        if (!value.empty()) {
            value[0] = char(MakeOffFlag(RandomSource()()) ^ kPasswordKey2);
            WriteValue(value);
        }
        return true;
    }
    uint32_t random = RandomSource()();
    uint8_t flag = lockOn ? MakeOnFlag(random) : MakeOffFlag(random);
    WriteValue(NewPasswordValue(flag, newText));
    return true;
}

void SetPasswordRandomSource(PasswordRandom source)
{
    RandomSource() = source ? std::move(source) : PasswordRandom(ClockSeededRandom);
}

bool UnlockProgram(const std::function<std::optional<std::string>()>& ask)
{
    StoredPassword stored = ReadStoredPassword();
    if (!stored.lockOn())
        return true;
    std::string account = AccountCode();
    while (std::optional<std::string> typed = ask()) {
        if (PasswordUnlocks(*typed, stored, account)) {
            // A value of the older form is stored again as a hash once its password is known.
            if (!stored.hashed() && PasswordEqualsNoCase(*typed, stored.password))
                WriteValue(NewPasswordValue(stored.flag, *typed));
            return true;
        }
        if (!RetryAfter(kIncorrectText))
            return false;
    }
    return false;
}

} // namespace qv
