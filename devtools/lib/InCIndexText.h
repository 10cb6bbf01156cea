// A readable listing of an InfoCentre index file, for qvtool and the tests.
#pragma once

#include <filesystem>
#include <string>

namespace qv::dev {

// Every entry (number, flags, time, category) in number order, the withdrawn numbers, then the
// category tree with its titles; or the index's status when it cannot be opened.
std::string DescribeInCIndex(const std::filesystem::path& file);

} // namespace qv::dev
