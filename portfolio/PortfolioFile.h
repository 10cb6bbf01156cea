// Portfolio files "Quorva%03i.por": loading with the older versions and the missing shares, saving
// final and interim copies, the pre-set portfolios, and loading and saving the whole chain.
#pragma once

#include "core/Portfolio.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// What the portfolio files need of the splash screen and the toolbars. Empty hooks are skipped.
struct PortfolioFileHooks {
    std::function<void(const std::string& text, int position)> splashStatus;
    std::function<void()> resolvePortfolioShortcuts;
    // Names the filter-fed pre-set portfolio while no filter matches.
    std::string defaultFilterPortfolioName = "Data Mining Results";
};
PortfolioFileHooks& GetPortfolioFileHooks();

// "Quorva%03i." + "new" (interim) or "por"; numbers above 999 have no file name.
std::optional<std::string> MakePortfolioFileName(uint16_t number, bool interim);

// Whether a portfolio file's header is accepted and every length of its body adds up.
bool PortfolioImageReadsWhole(std::span<const uint8_t> image);

// The file image of a user or group portfolio as a save writes it.
std::vector<uint8_t> BuildPortfolioImage(const Portfolio& p);
// Reads a portfolio file image into a new portfolio appended to the chain; nothing after a header
// message, or (with its message) for a damaged body, which then adds nothing to the chain.
Portfolio* LoadPortfolioImage(std::span<const uint8_t> image, uint16_t number, int index, int total);
// The same from the final or interim file; nothing when there is none.
Portfolio* LoadPortfolio(uint16_t number, bool interim, int index, int total);

// Writes the portfolio's file: the final file through "por.tem" (keeping the older copy as
// ".old"), or the interim ".new" copy. True for portfolios that have no file; false when the file
// could not be written, no database is loaded or the number has no file name.
bool SavePortfolio(Portfolio* p, bool final);
// Saves every portfolio of the chain and reports those that failed in one message.
bool SaveAllPortfolios(bool final);

// Puts the five pre-set portfolios at the head of the chain.
void CreatePresetPortfolios();
// Frees the chain and loads it again: the pre-set portfolios, the interim files, then the final ones.
void LoadPortfolios();
// Detaches every share list and frees every portfolio.
void FreePortfolioChain();
// Frees one portfolio that is no longer in the chain.
void FreePortfolio(Portfolio* p);

// The number of the portfolio the current share list shows, kept in the options as a u32; -1 (the
// default) when it shows none, so that it shows its own source.
constexpr int32_t kNoPortfolioNumber = -1;
int32_t StoredCurrentPortfolioNumber();
void StoreCurrentPortfolioNumber(int32_t number);

} // namespace qv
