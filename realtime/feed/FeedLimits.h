// Ceilings on what one feed server can make the program hold (docs/FEED.md states them), and the
// counts of what was dropped past them in the current connection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace qv {

enum class FeedLimit : uint8_t { MemberMessages, Contacts, LiveRecords, Definitions, Count };

constexpr size_t kFeedMaxMemberMessages = 2000;            // the inbox and those waiting for it
constexpr size_t kFeedMaxContacts = 1000;                  // members in the contact list
constexpr uint32_t kFeedMaxShareDayWords = 256u * 1024;    // tick words of one share's day (1 MB)
constexpr uint64_t kFeedMaxDayWords = 16u * 1024 * 1024;   // tick words of one day, every share (64 MB)
constexpr uint32_t kFeedMaxInstruments = 20000;            // instruments in the share table
// A server whose items keep coming past a ceiling is disconnected after this many are dropped.
constexpr uint64_t kFeedFloodDisconnect = 20000;

// Counts one item dropped past its ceiling; the first drop of a kind in a connection calls the hook
// (from the feed thread) so that the user is told once.
void NoteFeedDrop(FeedLimit kind);
uint64_t FeedDropped(FeedLimit kind);
std::function<void(FeedLimit kind)>& FeedLimitHook();
// The user's sentence for a ceiling reached.
const char* FeedLimitText(FeedLimit kind);

enum class FeedFlood : uint8_t { None, Disconnect };
// Disconnect once the server has sent kFeedFloodDisconnect items past the ceilings.
FeedFlood FeedFloodCheck();
// A new connection starts its counts again.
void ResetFeedFloodCounts();

} // namespace qv
