// The machine checks and small preparations of start-up: screen advice, log trimming, the stored
// update message, list font heights and the keys held at start.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qv {

// At 8 bits of colour or fewer: the colour advice (start-up goes on).
void CheckColourDepth(int bitsPerPixel);

// The resolution advice, at most once in 20 starts on a screen narrower than 800 pixels; a wider
// screen resets the counter (a byte of the stored options). True when the advice was shown.
bool CheckResolution(int screenWidth, uint8_t& counter);

// Deletes the log when it is larger than the limit; a file that cannot be opened is left alone.
void TrimLogFile(const std::filesystem::path& file, uint64_t limit);

// "Message.prv": a 32-bit length and the message. The length is bounded by what the file holds, and
// the block has one more zero byte so it can be shown as text. Empty when the file is missing or
// its length cannot be read whole.
std::vector<uint8_t> ReadStoredUpdateMessage(const std::filesystem::path& file);
// The message read at start-up, for the update-messages dialog.
std::vector<uint8_t>& StoredUpdateMessage();

// The list font height by screen width: -11 below 1000 pixels, -12 up to 1199, -15 from 1200.
int ListFontHeightForWidth(int screenWidth);
// A font height in pixels for a point size: -(points x vertical pixels per inch / 72).
int FontHeightForPoints(int points, int pixelsPerInchY);

struct StartupFonts {
    int baseHeight = 0;   // 9 points, then the list height
    int largeHeight = 0;  // two records of 10 points
    int smallHeight = 0;  // two records of 8 points
    int listHeight = 0;
    int secondListHeight = 0;
    int fixedLarge = -15;
    int fixedSmall = -11;
    int pixelsPerInchY = 96;  // the screen's, for heights stored in points
};
StartupFonts& ProgramFonts();
void PrepareFonts(int screenWidth, int pixelsPerInchY);

// Space held: offer to clear the news index and title files. Ctrl held: ask whether to load
// "Quorva.cfg". Answers the configuration-skip flag.
bool HandleKeysHeldAtStart(bool spaceHeld, bool ctrlHeld);

} // namespace qv
