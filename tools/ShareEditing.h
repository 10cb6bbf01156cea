// Editing an imported item without windows: its fundamentals and the code lists that show them, its
// price array (closes, missing, closed and suspended days), adjustment, interpolation, anomalies, a new
// start date, and the record rebuilt from them.
#pragma once

#include "core/PackedDate.h"
#include "core/PriceImportText.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

// Price array entries besides a price.
constexpr float kEntryMissing = -1, kEntryClosed = -2, kEntrySuspended = -3;
// The price array holds at most this many entries; the padding to today stops below kPaddedEntries.
constexpr size_t kMostEntries = 10000, kPaddedEntries = 9900, kStartDateEntries = 9001;

struct ShareFundamentals {
    std::string name;
    uint32_t sedol = 0;
    float numShares = 0;
    float nms = 0;
    ImportKeywords codes; // type, listing, currency and event codes (the rest unused)
};

// A code list of the fundamentals page: the texts in order with the code each stores.
struct CodeList {
    std::span<const char* const> texts;
    std::span<const uint8_t> codes;
    // The entry showing the code; 0 ("<<blank>>") for a code without an entry.
    int IndexOf(uint8_t code) const;
};
CodeList ShareTypeList();
CodeList ListingList();
CodeList CurrencyList();
CodeList EventList();

// An item opened for editing.
struct EditedItem {
    ShareFundamentals fundamentals;
    PackedDate firstDate = 0;
    std::vector<float> prices;
    // The open, high, low, close and volume of each priced day of an item kept as full days, in date
    // order; empty for an item of closes alone.
    std::vector<ImportDay> fullDays;
};

// Reads the record: fundamentals and one entry per weekday from its first date, then missing entries
// up to `today` while the array holds fewer than kPaddedEntries.
EditedItem ReadEditedItem(const uint8_t* record, PackedDate today);

// Multiplies every price from the start up to and including `through`.
void AdjustPrices(std::vector<float>& prices, size_t through, double multiplier);
// The last entry of an array starting on `first` (one entry a weekday) dated on or before `date`, of
// `count` entries; none when the date lies before the first.
std::optional<size_t> EntryOnOrBefore(PackedDate first, PackedDate date, size_t count);
// Fills every missing or suspended entry between two prices along the straight line, closed days
// skipped; false when fewer than two prices exist.
bool InterpolatePrices(std::vector<float>& prices);
// The first anomaly from `from` on, then from the start up to `from`; `cutoff` a fraction.
std::optional<size_t> FindNextAnomaly(const std::vector<float>& prices, size_t from, double cutoff);

enum class StartDateResult { Moved, TooMany, AskToDelete, Unchanged };
// A new start date: earlier inserts missing entries (TooMany when the array would reach
// kStartDateEntries); later drops the leading entries, but asks first (AskToDelete, nothing done)
// unless `deleteAgreed` or they are all missing.
StartDateResult SetStartDate(EditedItem& item, PackedDate date, bool deleteAgreed);

enum class RebuildResult { Built, NoPrices, TooLarge, TooMuchData };
// The record of the edited item: leading missing entries and every entry after the last price dropped
// (a stream ends at its last priced day), the scale chosen as
// the import chooses it (with 0.01 for every sum of fractions), each entry coded. An item of full
// days stays one: a day keeps its open, high, low and volume, the prices moved as its close moved
// (an adjustment moves them alike), and a day that had none gets the close.
RebuildResult RebuildEditedRecord(const EditedItem& item, std::vector<uint8_t>& record);

// The program-wide anomaly cutoff in percent (1-90).
int& AnomalyCutoff();

} // namespace qv
