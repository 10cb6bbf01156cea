// The texts of the About box: the database version, the counts of every class of security and the
// data-source notices (those of the overseas markets only with the real-time option).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv {

struct AboutTexts {
    std::string version;    // " Database version 1.%i "
    std::string counts[3];  // the three columns of counts
    std::vector<std::string> notices;
    bool overseasNotices = false; // the last notices are those of the overseas markets
};

// counts: one per KindCountSlot; the total is every count but the companies.
AboutTexts MakeAboutTexts(int minorVersion, std::span<const int32_t> counts, bool realTime, int buildYear);
// From the loaded database, the stored real-time option and the year the program was built.
AboutTexts CurrentAboutTexts();
int BuildYear();

} // namespace qv
