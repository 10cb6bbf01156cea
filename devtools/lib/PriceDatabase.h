// Database files with real price histories: sub-records whose bodies are encoded price streams, the
// demo database's files, and random full-size databases for measurements.
#pragma once

#include "devtools/lib/CompanyTextCoding.h"
#include "devtools/lib/DatabaseWriter.h"
#include "devtools/lib/DemoDatabase.h"
#include "devtools/lib/PriceStreamEncoder.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace qv::dev {

// A price sub-record of the given kind holding the encoded history (its scale and first date too).
// Throws std::invalid_argument, naming the value, when a price change does not fit the stream.
DbSubRecord PriceSubRecord(uint8_t kind, float issueFigure, const PriceHistory& history);

// The records' descriptions coded with one tree built from them (empty when no record has one).
// Throws std::invalid_argument when they have no coding.
CodedCompanyTexts DemoCodedTexts(const DemoDatabase& demo);

// The demo database as files: Quorva.dat (the records in name order in the first entry; when records
// have descriptions, a second entry without records whose extra block holds the coding tables) and
// Comp.dat (EPIC and currency of every stream; results currency and coded description of every record).
DbFile DemoDbFile(const DemoDatabase& demo);
CompFile DemoCompFile(const DemoDatabase& demo);

// Writes FOLDER/data/Quorva.dat, FOLDER/data/Comp.dat and FOLDER/data/DirDeal.dat of the demo database
// ending on `lastDay`, its intraday days (FOLDER/data/RT.dat and FOLDER/data/RT/), then the generator's
// version stamp FOLDER/DemoVersion.txt.
bool WriteDemoFolder(const std::filesystem::path& folder, std::chrono::sys_days lastDay, std::string* error);

// Writes FOLDER/DemoVersion.txt: the generator's version as a decimal number and a line end.
bool WriteDemoVersionStamp(const std::filesystem::path& folder);

// A random database of `shares` share records with full days over `years` years to `lastDay`, with a
// market calendar record; for measurements and round trips.
DemoDatabase RandomDatabase(int shares, int years, std::chrono::sys_days lastDay, uint32_t seed);

} // namespace qv::dev
