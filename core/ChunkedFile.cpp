// Chunked transfers over an exclusively opened file.
#include "core/ChunkedFile.h"

#include <algorithm>

namespace qv {

bool OpenFileForRead(const fs::path& path, ExclusiveFile& file)
{
    return file.open(path, ExclusiveFile::Mode::Read);
}

bool ReadFileChunked(ExclusiveFile& file, void* buffer, uint32_t size, uint32_t& done)
{
    done = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    while (done < size) {
        uint32_t piece = std::min(size - done, kFileChunkBytes);
        long long got = file.read(out + done, piece);
        if (got < 0)
            return false;
        done += uint32_t(got);
        if (uint32_t(got) < piece)
            break;
    }
    return true;
}

bool WriteFileChunked(ExclusiveFile& file, const void* buffer, uint32_t size, uint32_t& done)
{
    done = 0;
    const auto* in = static_cast<const uint8_t*>(buffer);
    while (done < size) {
        uint32_t piece = std::min(size - done, kFileChunkBytes);
        if (!file.write(in + done, piece))
            return false;
        done += piece;
    }
    return true;
}

} // namespace qv
