// The InfoCentre document window's rules that need no window: the page size its descriptor asks
// for, where it stands on the screen, the Next button's label and the Later... dialog's times.
#pragma once

#include "infocentre/InCCategory.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qv {

struct ScreenMetrics {
    int widthPixels = 0;
    int heightPixels = 0;
    int widthMm = 0;
    int heightMm = 0;
};
struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// A paper page's sides in millimetres: n 0-3 the A4 to A7 short sides (1000 x 2^-((2n + 9) / 4)),
// n of 4 or more 1000 x 2^-((n + 1) / 2), the long side 1.4142135 times the short one; orientation
// 1 lays it on its side.
struct PaperMm {
    double width = 0;
    double height = 0;
};
PaperMm PaperSize(uint32_t n, uint32_t orientation);

// The page (the window's client area) for the descriptor's size mode and values: 1 paper (value,
// orientation), 2 pixels (0 gives 400 by 500), 3 per cent of the screen (0 gives 50 and 67), any
// other mode an upright A6 page (mode 1 with n = 2).
PixelSize DocumentPageSize(uint8_t mode, uint16_t value1, uint16_t value2, const ScreenMetrics& screen);

// The window's left or top edge for a placement letter ('L'/'T', 'C', 'R'/'B'); nothing for any
// other letter (the dialog's own place). A window as large as the screen or larger stands at its
// left or top edge whatever the letter.
std::optional<int> PlaceAlong(char letter, int windowLength, int screenLength, bool horizontal);

// "Next Autoview" when auto-viewing, else "Next " + the type (the sub-category, else the category)
// without a final "s": Newsletters gives "Next Newsletter".
std::string NextButtonLabel(bool autoView, const std::string& subCategory, const std::string& category);

// A window opened from the contents goes on through the documents of its type: the next item after
// `current` in the list, going round to its head once, skipping items marked done and documents
// open in other windows; 0 when there is none.
uint16_t NextOfType(const std::vector<InCDocumentItem>& list, uint16_t current,
                    const std::function<bool(uint16_t)>& openElsewhere);
// Whether Next has anything to go to: more than one document of the type not marked done.
bool TypeHasNext(const std::vector<InCDocumentItem>& list);

// The defer dialog: its choices in the order of its radio buttons.
enum class DeferChoice : uint8_t { InHours = 0, Today = 1, Tomorrow = 2, OnDay = 3, Finished = 4 };
struct DeferForm {
    DeferChoice choice = DeferChoice::Tomorrow;
    bool advanced = false;
    int hours = 3;            // 1-24
    int todayMinutes = 0;     // minutes after midnight
    int tomorrowMinutes = 0;
    int dayOffset = 2;        // 0 today ... 6, the third day chosen at first
    int dayMinutes = 10 * 60;
};
// The dialog as it opens at `nowMinutes` after midnight, from the word kept in the settings (the
// choice in the low byte, 0x100 for the advanced form): today at now + 3 hours (23:59 past
// midnight), tomorrow at 10:00 (08:00 in the basic form), a day at 10:00; the basic form offers only
// tomorrow and finished, so any other remembered choice opens on tomorrow.
DeferForm DeferDefaults(int nowMinutes, uint16_t remembered);
uint16_t DeferSettingsWord(const DeferForm& form);
// When the document is due again (seconds, as `now` and `todayMidnight`); nothing for Finished.
std::optional<int64_t> DeferDueTime(const DeferForm& form, int64_t now, int64_t todayMidnight);

} // namespace qv
