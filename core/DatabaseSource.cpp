// Byte sources for the loader. Small reads come from a read-ahead buffer; large ones (price
// streams) go straight from the file into their final place.
#include "core/DatabaseSource.h"

#include <algorithm>
#include <cstring>

namespace qv {

bool DatabaseSource::read(void* out, size_t n)
{
    if (n > remaining())
        return false;
    if (n && !fetch(pos_, out, n))
        return false;
    pos_ += n;
    return true;
}

bool DatabaseSource::skip(uint64_t n)
{
    if (n > remaining())
        return false;
    pos_ += n;
    return true;
}

bool DatabaseSource::seek(uint64_t offset)
{
    if (offset > size_)
        return false;
    pos_ = offset;
    return true;
}

bool DatabaseMemorySource::fetch(uint64_t offset, void* out, size_t n)
{
    std::memcpy(out, bytes_.data() + offset, n);
    return true;
}

bool DatabaseFileSource::open(const std::filesystem::path& path)
{
    if (!file_.open(path, ExclusiveFile::Mode::Read))
        return false;
    auto size = file_.size();
    if (!size) {
        file_.close();
        return false;
    }
    size_ = *size;
    pos_ = 0;
    bufferLength_ = 0;
    return true;
}

bool DatabaseFileSource::fetchDirect(uint64_t offset, void* out, size_t n)
{
    return file_.seek(offset) && file_.read(out, n) == (long long)n;
}

bool DatabaseFileSource::fetch(uint64_t offset, void* out, size_t n)
{
    if (offset >= bufferStart_ && offset - bufferStart_ + n <= bufferLength_) {
        std::memcpy(out, buffer_.data() + (offset - bufferStart_), n);
        return true;
    }
    if (n >= readAhead_)
        return fetchDirect(offset, out, n);
    buffer_.resize(kLargeReadAhead);
    size_t want = size_t(std::min<uint64_t>(readAhead_, size_ - offset));
    bufferLength_ = 0;
    if (!fetchDirect(offset, buffer_.data(), want))
        return false;
    bufferStart_ = offset;
    bufferLength_ = want;
    std::memcpy(out, buffer_.data(), n);
    return true;
}

} // namespace qv
