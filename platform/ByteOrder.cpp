// Checked little-endian reader and the growing writer.
#include "platform/ByteOrder.h"

#include <algorithm>

namespace qv {

bool ByteReader::bytes(void* out, size_t n)
{
    auto span = take(n);
    if (!ok_)
        return false;
    if (n)
        std::memcpy(out, span.data(), n);
    return true;
}

std::span<const uint8_t> ByteReader::take(size_t n)
{
    if (!ok_ || bytes_.size() - pos_ < n) {
        ok_ = false;
        return {};
    }
    auto span = bytes_.subspan(pos_, n);
    pos_ += n;
    return span;
}

bool ByteReader::skip(size_t n)
{
    take(n);
    return ok_;
}

bool ByteReader::seek(size_t offset)
{
    if (!ok_ || offset > bytes_.size()) {
        ok_ = false;
        return false;
    }
    pos_ = offset;
    return true;
}

bool ByteReader::fixedText(std::string& out, size_t n)
{
    auto span = take(n);
    out.clear();
    if (!ok_)
        return false;
    auto end = std::find(span.begin(), span.end(), uint8_t(0));
    out.assign(span.begin(), end);
    return true;
}

bool ByteReader::cString(std::string& out)
{
    out.clear();
    if (!ok_)
        return false;
    auto rest = bytes_.subspan(pos_);
    auto end = std::find(rest.begin(), rest.end(), uint8_t(0));
    if (end == rest.end()) {
        ok_ = false;
        return false;
    }
    out.assign(rest.begin(), end);
    pos_ += out.size() + 1;
    return true;
}

void ByteWriter::bytes(const void* data, size_t n)
{
    auto p = static_cast<const uint8_t*>(data);
    buf_.insert(buf_.end(), p, p + n);
}

void ByteWriter::fixedText(std::string_view text, size_t n)
{
    if (n == 0)
        return;
    size_t len = std::min(text.size(), n - 1);
    bytes(text.data(), len);
    zeros(n - len);
}

void ByteWriter::cString(std::string_view text)
{
    bytes(text.data(), text.size());
    u8(0);
}

} // namespace qv
