// The word of intraday notes turned off, in option block A.
#include "chartmodel/IntradayNotes.h"

#include "core/ConfigState.h"

namespace qv {
namespace {

constexpr size_t kNotesByte = 673;

} // namespace

uint8_t IntradayNotesOff() { return Config().optionsA.data()[kNotesByte]; }
void SetIntradayNotesOff(uint8_t bits) { Config().optionsA.data()[kNotesByte] = bits; }

} // namespace qv
