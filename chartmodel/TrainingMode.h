// Training mode of the daily chart: the program-wide table of training marks, which shares of a list
// may be drawn (those with a price history), the random draw of the next share and the steps of the
// next and previous share commands while training.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace qv {

struct ShareList;

inline constexpr int32_t kTrainingMarkSlots = 10;
inline constexpr int32_t kTrainingMarkMax = 99999;

// Up to 10 marks with their count, shared by every chart.
struct TrainingMarks {
    std::array<int32_t, kTrainingMarkSlots> marks{};
    int32_t count = 0;
};
TrainingMarks& TrainingMarkTable();

// Counts the leading marks from 1 to 99999 (at most 10) and clears the slots after them.
int32_t CountTrainingMarks(TrainingMarks& table);
void ClearTrainingMarks(TrainingMarks& table);

// The mark hit by a press at (x, y): a mark within 8 pixels of the point (its x given per mark, or
// kNoMarkX where it is not shown; its circle sits at the pane's top), else, with fewer than 10 marks,
// the index a new mark would take (the count) when the press is within 8 pixels of the training
// cursor's x, else -1. Nothing is changed: the placing adds the mark with its date.
inline constexpr int32_t kNoMarkX = INT32_MIN;
int32_t HitTrainingMark(const TrainingMarks& table, std::span<const int32_t> markX, int32_t cursorX, int32_t paneTop,
                        int32_t x, int32_t y);
// Stores the date at the index (a new mark when the index is the count and there is room), then
// sorts the marks by date; the current index follows its mark. False when nothing was stored.
bool PlaceTrainingMark(TrainingMarks& table, int32_t index, int32_t date, int32_t& current);
void SortTrainingMarks(TrainingMarks& table, int32_t& current);
// Removes a mark, moving the later ones down; the current index follows its mark and stays below the
// count (the last mark when it was beyond).
void RemoveTrainingMark(TrainingMarks& table, int32_t index, int32_t& current);
// The current index within the marks from the first not before `firstShown` to the last not after
// `shownEnd`: outside them it becomes the first such mark, or -1 when there is none.
int32_t ClampTrainingMark(const TrainingMarks& table, int32_t current, int32_t firstShown, int32_t shownEnd);

inline constexpr const char* kTrainingNoShares = "There are no shares in the current list.";
inline constexpr const char* kTrainingNoPrices =
    "None of the shares in the list have any historic price information. Please select another list.";
inline constexpr const char* kTrainingUnlinked = "This view has been unlinked. ";
inline constexpr const char* kTrainingInfo =
    "Create up to 10 training marks. The space bar will cycle through the training marks. When the cycle is "
    "complete, a new share is chosen at random from the active list.";

// One flag per entry of the list: the entry's share has a price history (a first and a last date, the
// first before the last).
std::vector<bool> EligibleShares(ShareList* list);

// An index chosen uniformly among the eligible entries with the generator's number (any number below
// `eligible.size()` times the count of eligible entries is fair enough); -1 when none is eligible.
int32_t DrawTrainingShare(const std::vector<bool>& eligible, uint32_t random);

// The training state of one chart: the mark shown (-1: the whole chart), the entry that was current
// before the last draw (-1: none) and the share flags.
struct TrainingState {
    int32_t cursor = -1;
    int32_t remembered = -1;
    std::vector<bool> eligible;
};
enum class TrainingStep { Repaint, Draw, ReturnToRemembered };
// Next: while a mark is shown the cursor moves on (past the last mark the whole chart shows); with the
// whole chart shown a new share is drawn. Previous: from the whole chart back to the last mark, then
// mark by mark; before the first mark, back to the share before the draw, or a draw when there is none.
TrainingStep TrainingNextStep(TrainingState& state, int32_t markCount);
TrainingStep TrainingPreviousStep(TrainingState& state, int32_t markCount);

// Carries out a draw on the list: the current entry is remembered, the drawn one made current and the
// cursor set to the first mark (the whole chart without marks). False (nothing changed) when no entry
// is eligible.
bool DrawNextTrainingShare(ShareList* list, TrainingState& state, uint32_t random, int32_t markCount);
// Makes the remembered entry current again and forgets it; false when there is none.
bool ReturnToRememberedShare(ShareList* list, TrainingState& state);

// The program's box for the information messages that the user may turn off: shows the text, answers
// whether "do not show this again" was ticked. A plain box that answers false until a window layer
// installs its own.
using SuppressibleInfoBox = std::function<bool(const std::string& text)>;
SuppressibleInfoBox& SuppressibleInfo();

} // namespace qv
