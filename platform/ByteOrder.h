// Little-endian reading and writing of stored files and of in-memory records, field by field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline uint16_t LoadU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t LoadU32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline int16_t LoadI16(const uint8_t* p) { return int16_t(LoadU16(p)); }
inline int32_t LoadI32(const uint8_t* p) { return int32_t(LoadU32(p)); }
inline float LoadF32(const uint8_t* p)
{
    uint32_t bits = LoadU32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}
inline double LoadF64(const uint8_t* p)
{
    uint64_t bits = uint64_t(LoadU32(p)) | (uint64_t(LoadU32(p + 4)) << 32);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

inline void StoreU16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void StoreU32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
inline void StoreI16(uint8_t* p, int16_t v) { StoreU16(p, uint16_t(v)); }
inline void StoreI32(uint8_t* p, int32_t v) { StoreU32(p, uint32_t(v)); }
inline void StoreF32(uint8_t* p, float f)
{
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    StoreU32(p, bits);
}
inline void StoreF64(uint8_t* p, double d)
{
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    StoreU32(p, uint32_t(bits));
    StoreU32(p + 4, uint32_t(bits >> 32));
}

// Reads fields in order from a byte span. Every read is checked against what remains; the first
// short read sets a sticky failure, leaves the output zeroed and makes every later read fail too.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    ByteReader(const void* data, size_t size) : bytes_(static_cast<const uint8_t*>(data), size) {}

    bool ok() const { return ok_; }
    size_t position() const { return pos_; }
    size_t remaining() const { return ok_ ? bytes_.size() - pos_ : 0; }
    size_t size() const { return bytes_.size(); }
    bool atEnd() const { return remaining() == 0; }

    bool u8(uint8_t& v) { return read(1, [&](const uint8_t* p) { v = p[0]; }, v); }
    bool i8(int8_t& v) { return read(1, [&](const uint8_t* p) { v = int8_t(p[0]); }, v); }
    bool u16(uint16_t& v) { return read(2, [&](const uint8_t* p) { v = LoadU16(p); }, v); }
    bool i16(int16_t& v) { return read(2, [&](const uint8_t* p) { v = LoadI16(p); }, v); }
    bool u32(uint32_t& v) { return read(4, [&](const uint8_t* p) { v = LoadU32(p); }, v); }
    bool i32(int32_t& v) { return read(4, [&](const uint8_t* p) { v = LoadI32(p); }, v); }
    bool f32(float& v) { return read(4, [&](const uint8_t* p) { v = LoadF32(p); }, v); }
    bool f64(double& v) { return read(8, [&](const uint8_t* p) { v = LoadF64(p); }, v); }

    // Copies n bytes out; fails without copying when fewer remain.
    bool bytes(void* out, size_t n);
    // A view of the next n bytes, advancing past them; empty and failed when fewer remain.
    std::span<const uint8_t> take(size_t n);
    bool skip(size_t n);
    // Moves to an absolute offset within the span.
    bool seek(size_t offset);
    // A NUL-ended text in a fixed field of n bytes (the text stops at the first NUL).
    bool fixedText(std::string& out, size_t n);
    // A NUL-ended text of unknown length; fails when no NUL lies before the end.
    bool cString(std::string& out);

    void fail() { ok_ = false; }

private:
    template <typename T, typename F>
    bool read(size_t n, F&& load, T& out)
    {
        if (!ok_ || bytes_.size() - pos_ < n) {
            ok_ = false;
            out = T{};
            return false;
        }
        load(bytes_.data() + pos_);
        pos_ += n;
        return true;
    }

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// Appends fields in little-endian order to a growing buffer.
class ByteWriter {
public:
    void u8(uint8_t v) { buf_.push_back(v); }
    void i8(int8_t v) { buf_.push_back(uint8_t(v)); }
    void u16(uint16_t v) { StoreU16(grow(2), v); }
    void i16(int16_t v) { StoreI16(grow(2), v); }
    void u32(uint32_t v) { StoreU32(grow(4), v); }
    void i32(int32_t v) { StoreI32(grow(4), v); }
    void f32(float v) { StoreF32(grow(4), v); }
    void f64(double v) { StoreF64(grow(8), v); }
    void bytes(const void* data, size_t n);
    void zeros(size_t n) { buf_.insert(buf_.end(), n, 0); }
    // A text in a fixed field of n bytes, cut to n - 1 and padded with NULs.
    void fixedText(std::string_view text, size_t n);
    void cString(std::string_view text);

    // Overwrites a 16- or 32-bit field written earlier (lengths known only afterwards).
    void patchU16(size_t offset, uint16_t v) { StoreU16(buf_.data() + offset, v); }
    void patchU32(size_t offset, uint32_t v) { StoreU32(buf_.data() + offset, v); }

    size_t size() const { return buf_.size(); }
    const std::vector<uint8_t>& data() const { return buf_; }
    std::vector<uint8_t> take() { return std::move(buf_); }

private:
    uint8_t* grow(size_t n)
    {
        buf_.resize(buf_.size() + n);
        return buf_.data() + buf_.size() - n;
    }

    std::vector<uint8_t> buf_;
};

} // namespace qv
