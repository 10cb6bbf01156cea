// The update rules of the frame's option, alarm, help, tool, news, web and real-time commands: what
// each menu item shows (enabled, check mark, text) from a few facts about the active view, the
// program's flags and the feed's connection state.
#pragma once

#include "realtime/FeedStates.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

struct FrameCommandFacts {
    int32_t activeKind = -1;      // -1 without an active view
    bool hasList = false;
    int32_t listFamily = -1;
    bool listHasPortfolio = false; // the list's source is a portfolio with entries
    bool hasCurrentEntry = false;  // the list has a current entry
    bool hasCurrentShare = false;  // ... with a share record behind it
    uint32_t shareId = 0;
    uint32_t shareSubId = 0;
    std::string shareName;
    std::string shareCode;
    bool hasShareIndex = false;    // the view names a share of its own (a share index not -1)
    bool canShowCurrentShare = false;
    bool busy = false;
    bool modal = false;
    bool dataMiningRun = false;
    bool training = false;         // the active view is a graph in training mode
    uint32_t chartOptions = 0;     // a daily graph's option word
    int32_t feedState = 0;         // the connection step: 0 disconnected ... 7 connected, 8 and 9 backfilling
    int32_t engineState = 0;       // the engine: 0 stopped, 1 running, 2 starting, 3 disconnecting
    bool backfillRunning = false;
    bool recording = false;
    bool purgeAllowed = true;
    bool slideShowRunning = false;
    bool entryRangeValid = false;  // the current entry lies between the list's first and last
    bool hasWebAddress = false;
    bool hasEmailAddress = false;
    bool newsLoaded = false;
    bool newsModified = false;
    bool infoCentreReady = false;
    bool notesVisible = false;
    bool emailSwitch = false;
    bool userPortfolioExists = false; // a portfolio of kind 0 or 3
    bool importedItems = false;       // the imported-item list is not empty
};

struct FrameCommandState {
    bool enabled = false;
    std::optional<bool> checked;
    std::optional<std::string> text;
};

// The state of one of these commands; nothing for a command they do not cover.
std::optional<FrameCommandState> FrameCommandUpdate(uint32_t command, const FrameCommandFacts& facts);


} // namespace qv
