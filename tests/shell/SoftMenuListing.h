// The text listing of every registered menu under every combination of the real-time option, the
// multiple-windows option and the mode mask, with the default keys.
#pragma once

#include <string>

namespace qv::test {

std::string SoftMenuListing();

} // namespace qv::test
