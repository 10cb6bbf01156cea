// Reads one directory entry's record stream into its block in the in-memory record layout. A first
// pass measures the block from the real counts; the second reads every part straight into its final
// place. Every stored length is checked against its record and the file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

class DatabaseSource;

struct EntryShape {
    uint32_t records = 0;
    uint32_t subRecords = 0;
    size_t blockBytes = 2; // the records in memory and the block's u16 0
};

enum class StreamRead { Ok, BadlyFormatted };

// Measures the stream at the source's position: up to `count` records or to a record length of 0.
// Leaves the position behind what it read.
StreamRead MeasureEntryStream(DatabaseSource& source, bool oneByteLengths, uint32_t count, EntryShape& shape);
// Reads the same stream into a zeroed block of shape.blockBytes bytes.
StreamRead ReadEntryStream(DatabaseSource& source, bool oneByteLengths, uint32_t count, uint8_t* block,
                           const EntryShape& shape);

} // namespace qv
