// The key editor's rules and the menus' key texts.
#include "shell/KeyEditing.h"

#include "shell/KeyTable.h"

#include <algorithm>
#include <utility>

namespace qv {
namespace {

constexpr uint32_t kVirtualKeyF1 = 0x70;
constexpr uint32_t kGrave = 223;

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

} // namespace

SetKeyResult AssignKey(std::vector<AcceleratorKey>& table, uint16_t command, uint16_t key, uint8_t modifiers)
{
    if (key == 0)
        return SetKeyResult::NoKey;
    for (const AcceleratorKey& f : FixedKeys())
        if (f.key == key && f.modifiers == modifiers)
            return SetKeyResult::FixedKey;
    std::erase_if(table, [&](const AcceleratorKey& k) {
        return k.command == command || (k.key == key && k.modifiers == modifiers);
    });
    table.push_back(AcceleratorKey{key, modifiers, 0, command, 0});
    return SetKeyResult::Set;
}

bool ClearKey(std::vector<AcceleratorKey>& table, uint16_t command)
{
    return std::erase_if(table, [&](const AcceleratorKey& k) { return k.command == command; }) > 0;
}

const AcceleratorKey* KeyOfCommand(const std::vector<AcceleratorKey>& table, uint16_t command)
{
    auto found = std::find_if(table.begin(), table.end(), [&](const AcceleratorKey& k) { return k.command == command; });
    return found == table.end() ? nullptr : &*found;
}

uint16_t KeyHolder(const std::vector<AcceleratorKey>& table, uint16_t key, uint8_t modifiers)
{
    for (const auto* list : {&table, &FixedKeys()})
        for (const AcceleratorKey& k : *list)
            if (k.key == key && k.modifiers == modifiers)
                return k.command;
    return 0;
}

bool KeyFieldRefuses(uint32_t virtualKey, bool shift, bool ctrl)
{
    if (virtualKey >= 97 && virtualKey <= 123)
        return true;
    if (virtualKey == 188 || virtualKey == 190 || virtualKey == 191 || virtualKey == 220)
        return true;
    if (shift && ctrl)
        return true;
    bool letterOrDigit = (virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9');
    return letterOrDigit && !shift && !ctrl;
}

std::string KeyText(const AcceleratorKey& key)
{
    std::string text;
    if (key.modifiers & kAccelCtrl)
        text += "Ctrl + ";
    if (key.modifiers & kAccelShift)
        text += "Shift + ";
    text += key.key == kGrave ? '`' : char(key.key & 0xFF);
    return text;
}

std::optional<ShortcutKey> ParseShortcutText(std::string_view text)
{
    ShortcutKey result;
    for (;;) {
        if (StartsWith(text, "Shift+")) {
            result.modifiers |= kAccelShift;
            text.remove_prefix(6);
        } else if (StartsWith(text, "Ctrl+")) {
            result.modifiers |= kAccelCtrl;
            text.remove_prefix(5);
        } else {
            break;
        }
    }
    // A key may be followed by its name in brackets, as in ", (comma)".
    if (const size_t named = text.find(" ("); named != std::string_view::npos && named > 0 && text.back() == ')')
        text = text.substr(0, named);
    if (text.size() >= 2 && text[0] == 'F' && std::all_of(text.begin() + 1, text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        int n = 0;
        for (char c : text.substr(1))
            n = n * 10 + (c - '0');
        if (n < 1 || n > 24)
            return std::nullopt;
        result.key = kVirtualKeyF1 + uint32_t(n - 1);
        return result;
    }
    if (text.size() != 1)
        return std::nullopt;
    char c = text[0];
    // Keys typed with Shift on the keys the table stores by their plain character.
    static constexpr std::pair<char, char> kShifted[] = {{'+', '='}, {'|', '\\'}, {'>', '.'}, {'<', ','}};
    for (const auto& [shifted, plain] : kShifted) {
        if (c == shifted) {
            result.modifiers |= kAccelShift;
            c = plain;
            break;
        }
    }
    if (c == '-')
        c = '_';
    result.key = c == '`' ? kGrave : uint32_t(uint8_t(c >= 'a' && c <= 'z' ? c - 32 : c));
    return result;
}

} // namespace qv
