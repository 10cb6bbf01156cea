// printf-style formatting into a std::string of whatever length the text needs.
#pragma once

#include <string>

namespace qv {

std::string StringPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same, appended to a text.
void AppendPrintf(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

} // namespace qv
