// The bytes the database loader reads: an exclusively opened file with a read-ahead buffer, or an
// image in memory (tests, tools and the fuzzer). Every read is checked against the size.
#pragma once

#include "platform/FileOps.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace qv {

class DatabaseSource {
public:
    virtual ~DatabaseSource() = default;

    uint64_t size() const { return size_; }
    uint64_t position() const { return pos_; }
    uint64_t remaining() const { return size_ - pos_; }

    // Exactly n bytes; false, with nothing consumed, when fewer remain or the read fails.
    bool read(void* out, size_t n);
    bool skip(uint64_t n);
    bool seek(uint64_t offset);
    // Whether reads will mostly skip (measuring record lengths) or take every byte; a source may
    // read ahead less when skipping.
    virtual void expectSkips(bool) {}

protected:
    // Exactly n bytes at an offset known to lie inside the size.
    virtual bool fetch(uint64_t offset, void* out, size_t n) = 0;

    uint64_t size_ = 0;
    uint64_t pos_ = 0;
};

class DatabaseMemorySource : public DatabaseSource {
public:
    explicit DatabaseMemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) { size_ = bytes.size(); }

protected:
    bool fetch(uint64_t offset, void* out, size_t n) override;

private:
    std::span<const uint8_t> bytes_;
};

class DatabaseFileSource : public DatabaseSource {
public:
    static constexpr size_t kLargeReadAhead = 64 * 1024;
    static constexpr size_t kSmallReadAhead = 4 * 1024;

    // Opens for reading, exclusive (no other opener) and not inherited; false when it cannot.
    bool open(const std::filesystem::path& path);

    void expectSkips(bool skips) override { readAhead_ = skips ? kSmallReadAhead : kLargeReadAhead; }

protected:
    bool fetch(uint64_t offset, void* out, size_t n) override;

private:
    bool fetchDirect(uint64_t offset, void* out, size_t n);

    size_t readAhead_ = kLargeReadAhead;
    ExclusiveFile file_;
    std::vector<uint8_t> buffer_;
    uint64_t bufferStart_ = 0;
    size_t bufferLength_ = 0;
};

} // namespace qv
