// The program's ticker font: one font description for every ticker, kept in the second option block
// of the configuration so that it is saved with the settings and comes back at the next start.
#pragma once

#include "core/LogFont.h"

namespace qv {

struct OptionBlockB;

// Arial at the tape's own height (height 0 draws at 20 pixels).
LogFont DefaultTickerFont();

// The stored font. A block that never held one reads as the default; so does a damaged one, which
// the diagnostic hook hears of ("Failed to create ticker font (1)").
LogFont ReadTickerFont(const OptionBlockB& block);
void WriteTickerFont(OptionBlockB& block, const LogFont& font);

// The font in the configuration in memory. A damaged one is replaced there by the default, so the
// next save stores a sound font.
LogFont TickerFont();
void SetTickerFont(const LogFont& font);

} // namespace qv
