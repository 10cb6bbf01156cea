// Texts that describe a loaded database and its records, for qvtool and tests.
#pragma once

#include <cstdint>
#include <string>

namespace qv::dev {

// "dd/mm/yyyy" of a PackedDate, "none" for 0.
std::string PackedDateText(uint16_t date);
// Versions, dates, blocks and the About-box counts by kind of the loaded database.
std::string DescribeDatabase();
// One record by id: its texts, items and sub-records with their company data; a line saying so
// when there is none.
std::string DescribeRecord(uint16_t id);

} // namespace qv::dev
