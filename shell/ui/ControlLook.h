// What the shared dialog controls have in common: the system colours as colour words, the default
// GUI font, raised boxes drawn with the three system pens, and taking a placeholder's place.
#pragma once

#include <QFont>
#include <QRect>

#include <cstdint>

class QPainter;
class QWidget;

namespace qv {

enum class SystemColour { ButtonFace, ButtonText, ButtonHighlight, DarkShadow, GreyText, Window, WindowText, Highlight, HighlightText };
// 0x00BBGGRR word of a system colour, taken from the application's palette.
uint32_t SystemColourWord(SystemColour colour);

QFont DefaultGuiFont();
// The "..." button beside a date or time field: the GUI font in bold and a point larger, so that the
// three dots read at the button's small size.
QFont EllipsisButtonFont();

// Highlight on the top and left edges, dark shadow on the bottom and right, and an inner line of the
// face colour on the top and left; pressed swaps the two outer pens.
void DrawRaisedBox(QPainter& painter, const QRect& box, bool pressed);

// An etched line: dark shadow with highlight one pixel below (horizontal) or right (vertical).
void DrawEtchedLine(QPainter& painter, QPoint from, QPoint to);

// WM_COMMAND's wParam: the control id and the notification code.
constexpr uintptr_t CommandWParam(int controlId, int code) { return uintptr_t(uint16_t(controlId)) | uintptr_t(code) << 16; }

// Puts the control where the placeholder stood (same parent, rectangle, tab position) and hides the
// placeholder.
void TakeOverPlaceholder(QWidget& control, QWidget& placeholder);

} // namespace qv
