// Whole-file reads and writes in pieces, as the large data files are moved.
#pragma once

#include "platform/FileOps.h"

#include <cstdint>

namespace qv {

// The largest piece one system call moves.
constexpr uint32_t kFileChunkBytes = 100000;

// Opens an existing file for reading, for this opener alone; false when it cannot be opened.
bool OpenFileForRead(const fs::path& path, ExclusiveFile& file);

// Move size bytes in pieces, stopping early at a short piece. False only when a system call fails;
// `done` holds the bytes moved either way, for the caller to compare with the size.
bool ReadFileChunked(ExclusiveFile& file, void* buffer, uint32_t size, uint32_t& done);
bool WriteFileChunked(ExclusiveFile& file, const void* buffer, uint32_t size, uint32_t& done);

} // namespace qv
