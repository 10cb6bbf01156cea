// The button catalogue of the user toolbars: the 228 button codes with the command a button sends,
// the command the key editor gives it, when it is available and which picture it shows; and the
// lists and tabs the toolbar designer and the key editor offer.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qv {

constexpr uint16_t kButtonCodeCount = 228;
constexpr uint16_t kSpacerCode = 0xFFFE;
constexpr uint16_t kEndOfButtons = 0xFFFF;
constexpr uint32_t kVariantMask = 0x11;
constexpr int kButtonImageCount = 174;
constexpr int kNewMailImage = 173;

constexpr uint16_t kFirstPortfolioCode = 21;  // Portfolio 1-9: codes 21-29
constexpr uint16_t kFirstSettingCode = 52;    // Setting 1-12: codes 52-63
constexpr uint16_t kFirstLayoutCode = 185;    // Layout 1-12: codes 185-196
constexpr uint16_t kEmailCode = 32;
constexpr uint16_t kContextHelpCode = 11;

struct ButtonCatalogueRow {
    uint16_t command = 0;    // what a toolbar button sends
    uint16_t keyCommand = 0; // what the key editor assigns a key to
    uint8_t bits = 0x33;     // availability
};

// The row of a code below 228; other codes give an empty row.
ButtonCatalogueRow CatalogueRow(uint16_t code);
uint16_t ButtonCommand(uint16_t code);
uint16_t ButtonKeyCommand(uint16_t code);
// Available when the row's bits hold every bit of the variant mask.
bool ButtonAvailable(uint16_t code, uint32_t mask = kVariantMask);
// The picture cell of a code; the e-mail button shows the new-mail cell while mail waits.
int ButtonImageIndex(uint16_t code, bool newMail = false);
// Commands for keys only: no picture of their own and never offered as buttons.
bool KeyOnlyCode(uint16_t code);
// The code whose key editor command is `command`, or kEndOfButtons.
uint16_t CodeForKeyCommand(uint16_t command);

inline bool IsPortfolioCode(uint16_t code) { return code >= kFirstPortfolioCode && code < kFirstPortfolioCode + 9; }
inline bool IsSettingCode(uint16_t code) { return code >= kFirstSettingCode && code < kFirstSettingCode + 12; }
inline bool IsLayoutCode(uint16_t code) { return code >= kFirstLayoutCode && code < kFirstLayoutCode + 12; }

// The designer's positions in order, and the codes of each of its seven tabs (tab 0 shows all).
std::span<const uint16_t> DesignerPositions();
constexpr int kDesignerTabCount = 7;
const char* DesignerTabName(int tab);
bool DesignerTabHolds(int tab, uint16_t code);

// The key editor's list order and its ten tabs (tab 0 shows all).
std::span<const uint16_t> KeyEditorOrder();
constexpr int kKeyEditorTabCount = 10;
const char* KeyEditorTabName(int tab);
bool KeyEditorTabHolds(int tab, uint16_t code);

// The key the program itself gives a code, one byte per code: 255 none; 128 + n the function key
// F(n mod 16 + 1) with 0x10 Shift and 0x20 Ctrl; 224-228 the fixed keys; 240-243 Space, Shift
// space, Enter, Escape; below 128 a character key (13: the minus key).
uint8_t SystemAccelerator(uint16_t code);
std::string SystemAcceleratorText(uint16_t code);

// A button's text: its label, and the tooltip shown over it ("Missing\tTooltip text" when none).
std::string ButtonLabel(uint16_t code);
std::string ButtonTooltip(uint16_t code);

} // namespace qv

namespace qv {

constexpr uint32_t kRenameButtonCommand = 26410;
constexpr uint32_t kTargetPortfolioCommand = 26411;
// Whether the toolbar's context menu keeps the command over the button of that code (kEndOfButtons
// for no button): both first items over a portfolio button, only "Rename" over a setting or
// layout button, neither elsewhere.
bool ToolbarMenuKeeps(uint32_t command, uint16_t code);

} // namespace qv
