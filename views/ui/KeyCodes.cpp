// Qt keys to virtual-key codes.
#include "views/ui/KeyCodes.h"

#include <QKeyEvent>
#include <array>
#include <utility>

namespace qv {
namespace {

constexpr std::array<std::pair<int, uint32_t>, 25> kKeys{{
    {Qt::Key_Minus, 0xBD},     {Qt::Key_Underscore, 0xBD}, {Qt::Key_Equal, 0xBB},     {Qt::Key_Plus, 0xBB},
    {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Apostrophe, 0xC0},
    {Qt::Key_NumberSign, 0xDE}, {Qt::Key_Backslash, 0xDC}, {Qt::Key_Comma, 0xBC},     {Qt::Key_Period, 0xBE},
    {Qt::Key_Slash, 0xBF},     {Qt::Key_QuoteLeft, 0xDF},  {Qt::Key_Control, 0x11},   {Qt::Key_Shift, 0x10},
    {Qt::Key_Return, 0x0D},    {Qt::Key_Enter, 0x0D},      {Qt::Key_Escape, 0x1B},    {Qt::Key_Space, 0x20},
    {Qt::Key_Tab, 0x09},       {Qt::Key_Backspace, 0x08},
    // Shifted punctuation arrives as its own key: the key it is typed on.
    {Qt::Key_Greater, 0xBE},   {Qt::Key_Less, 0xBC},       {Qt::Key_Bar, 0xDC},
}};

// A digit typed with Shift arrives as the character it types: the digit key it is on, on a British
// or an American keyboard.
constexpr std::array<std::pair<int, char>, 12> kShiftedDigits{{
    {Qt::Key_ParenRight, '0'}, {Qt::Key_Exclam, '1'},  {Qt::Key_QuoteDbl, '2'},   {Qt::Key_At, '2'},
    {Qt::Key_sterling, '3'},   {Qt::Key_Dollar, '4'},  {Qt::Key_Percent, '5'},    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},  {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'}, {Qt::Key_NumberSign, '3'},
}};

} // namespace

uint32_t WindowsKeyCode(const QKeyEvent& event)
{
    int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return uint32_t(key);
    // The British "#" key has a code of its own; only with Shift is "#" the American Shift+3.
    if (event.modifiers() & Qt::ShiftModifier)
        for (const auto& [qtKey, digit] : kShiftedDigits)
            if (qtKey == key)
                return uint32_t(digit);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return uint32_t(0x70 + (key - Qt::Key_F1));
    for (const auto& [qtKey, code] : kKeys)
        if (qtKey == key)
            return code;
    return 0;
}

KeyState KeyStateOf(const QKeyEvent& event)
{
    Qt::KeyboardModifiers m = event.modifiers();
    return KeyState{bool(m & Qt::ControlModifier), bool(m & Qt::ShiftModifier), bool(m & Qt::GroupSwitchModifier)};
}

uint32_t FindShareCharacter(const QKeyEvent& event)
{
    QString text = event.text();
    if (text.size() != 1)
        return 0;
    char16_t c = text.at(0).unicode();
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return letter || (c >= '0' && c <= '9') ? uint32_t(c) : 0;
}

} // namespace qv
