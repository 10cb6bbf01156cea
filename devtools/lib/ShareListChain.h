// Freeing every share list in the chain, for tests and tools that build lists and must leave none.
#pragma once

namespace qv::dev {

// Frees each list of the chain and its entries and empties the chain; the current list pointer is
// the caller's to reset.
void FreeShareListChain();

} // namespace qv::dev
