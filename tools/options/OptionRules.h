// The options sheet's rules, kept apart from its windows: which pages a mask opens and in what
// order, the remembered page, and each page's packing, checks and what its OK applies.
#pragma once

#include "core/PackedDate.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

class NewsHeader;

enum class OptionPage : uint8_t {
    List, Graph, News, Portfolio, PresetPortfolios, Export, Import, Vexa, Currency, RTHist, RTAlarms,
    Comms, RTComms, ExchTimes, General, Clipboard,
};

struct OptionPageInfo {
    OptionPage page;
    uint16_t bit;
    const char* tab;
    bool intraday;
};
// The sixteen pages in the order the sheet adds them.
const std::array<OptionPageInfo, 16>& OptionPageTable();
const OptionPageInfo& OptionPageOf(OptionPage page);

// The pages a mask opens: intraday pages only with the real-time option, the special edition's page
// only once the edition is set up.
std::vector<OptionPage> OptionPagesFor(uint16_t mask, bool realTime, bool editionSetUp);
// The page a sheet of `count` pages opens on; sheets of one or two pages always open on the first.
int OpeningPageIndex(int count, uint8_t remembered);
// What is remembered when a sheet closes on `active`; a sheet of one or two pages changes nothing.
uint8_t RememberedPageAfter(int count, int active, uint8_t remembered);

// The commands that open the sheet, with their masks (0 for any other command).
uint16_t OptionsCommandMask(uint32_t command);

// Calculator byte bits the General page owns, and the Communications page's bit.
inline constexpr uint8_t kGeneralPageBits = 0x8F;
inline constexpr uint8_t kOldUpdateProtocolBit = 0x40;
// The byte with the page's bits taken from `page`, every other bit kept.
inline uint8_t MergeBits(uint8_t stored, uint8_t page, uint8_t owned) { return uint8_t((stored & ~owned) | (page & owned)); }

// Export and import: the sample "25th May 2000: " and that date in the format (bits 0-1 order, bit 3
// four-digit year, bit 4 the separator).
std::string SampleDateText(uint8_t format, char separator);
// Field separators by button: 0 Tab, 1 comma, 2 the other character.
int SeparatorButton(char separator);
// The separator of a choice; nothing when "Other character" has no character.
std::optional<char> ChosenSeparator(int button, const std::string& other);

// The add-to-portfolio warning word: button 0 no warning, 1 always (bit 15), 2 customised (bit 14)
// with the value in bits 0-12.
inline constexpr uint16_t kWarningValueMax = 4000;
uint32_t PackWarningWord(int button, uint16_t value);
int WarningButton(uint32_t word);
inline uint16_t WarningValue(uint32_t word) { return uint16_t(word & 0x1FFF); }

// The News page's fields of the news header. Update method and purge type above 2 show as 2.
struct NewsPageValues {
    uint8_t method = 0;        // 0 none, 1 latest day, 2 all since `since`
    uint8_t purge = 0;         // 0 automatic, 1 remind, 2 manual
    uint8_t frequency = 0;     // 0 daily, 1 weekly, 2 monthly
    bool showLatest = false;
    bool fullSearch = false;
    bool checkSpace = false;
    bool limitSearch = false;
    PackedDate since = 0;
    uint16_t weeks = 1;
    double sizeMb = 4;
    bool operator==(const NewsPageValues&) const = default;
};
inline constexpr size_t kNewsSinceDate = 114; // the header's u16 "since" date
NewsPageValues ReadNewsPage(const NewsHeader& header);
// Writes the page's fields; every bit of the flags word the page does not edit is kept.
void WriteNewsPage(NewsHeader& header, const NewsPageValues& values);
// The purge labels: {the automatic line, the size line}.
std::array<const char*, 2> PurgeLabels(uint8_t purge);
// "%.2f Mb" of a byte count.
std::string NewsSpaceText(uint64_t bytes);

// The special edition's choices: the enabled flag, the replaced list table and two graph settings.
inline constexpr uint8_t kNoSlot = 255;
struct EditionChoice {
    bool enabled = false;
    uint8_t table = kNoSlot;
    std::array<uint8_t, 2> graphs{kNoSlot, kNoSlot}; // the older choice first
    bool operator==(const EditionChoice&) const = default;
};
// Choosing a graph setting: a third drops the one chosen earliest. Clearing one removes it.
void ChooseEditionGraph(EditionChoice& choice, uint8_t slot);
void ClearEditionGraph(EditionChoice& choice, uint8_t slot);
EditionChoice StoredEditionChoice();
// Applies a changed choice (the edition's items out of the old slots, the new ones stored, the edition
// applied again); false, doing nothing, when nothing changed.
bool ApplyEditionChoice(const EditionChoice& before, const EditionChoice& after);
// The set-up wizard's Finish: the set-up is marked completed (so that the sheet offers the edition's
// page and a restart keeps the edition), then the choice is applied.
void FinishEditionSetUp(const EditionChoice& choice);

// The Currency page's OK: the rates are stored, and the share records brought up to date, only when
// either changed; the euro flag always. True when the records were updated.
bool ApplyCurrencyPage(float euro, float usDollar, bool euroAsE);

} // namespace qv
