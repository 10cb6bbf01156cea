// SHA-256 (FIPS 180-4), HMAC and PBKDF2 over it, in plain C++.
#include "shell/PasswordHash.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

constexpr uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

constexpr size_t kBlockSize = 64;

uint32_t Rotate(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

class Sha256State {
public:
    void add(std::span<const uint8_t> data)
    {
        total_ += data.size();
        for (uint8_t b : data) {
            block_[used_++] = b;
            if (used_ == kBlockSize) {
                compress();
                used_ = 0;
            }
        }
    }

    Sha256Digest finish()
    {
        const uint64_t bits = total_ * 8;
        const uint8_t one = 0x80, zero = 0;
        add({&one, 1});
        while (used_ != kBlockSize - 8)
            add({&zero, 1});
        uint8_t length[8];
        for (int i = 0; i < 8; ++i)
            length[i] = uint8_t(bits >> (56 - 8 * i));
        add(length);
        Sha256Digest out;
        for (size_t i = 0; i < 8; ++i)
            for (size_t j = 0; j < 4; ++j)
                out[4 * i + j] = uint8_t(h_[i] >> (24 - 8 * j));
        return out;
    }

private:
    void compress()
    {
        uint32_t w[64];
        for (size_t i = 0; i < 16; ++i)
            w[i] = uint32_t(block_[4 * i]) << 24 | uint32_t(block_[4 * i + 1]) << 16 | uint32_t(block_[4 * i + 2]) << 8 |
                   block_[4 * i + 3];
        for (size_t i = 16; i < 64; ++i) {
            const uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3], e = h_[4], f = h_[5], g = h_[6], h = h_[7];
        for (size_t i = 0; i < 64; ++i) {
            const uint32_t t1 = h + (Rotate(e, 6) ^ Rotate(e, 11) ^ Rotate(e, 25)) + ((e & f) ^ (~e & g)) +
                                kRoundConstants[i] + w[i];
            const uint32_t t2 = (Rotate(a, 2) ^ Rotate(a, 13) ^ Rotate(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        const uint32_t add[8] = {a, b, c, d, e, f, g, h};
        for (size_t i = 0; i < 8; ++i)
            h_[i] += add[i];
    }

    uint32_t h_[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    uint8_t block_[kBlockSize] = {};
    size_t used_ = 0;
    uint64_t total_ = 0;
};

// HMAC with the inner and outer pads hashed once, as every round of the derivation uses them.
class HmacSha256 {
public:
    explicit HmacSha256(std::span<const uint8_t> key)
    {
        uint8_t padded[kBlockSize] = {};
        if (key.size() > kBlockSize) {
            const Sha256Digest digest = Sha256(key);
            std::copy(digest.begin(), digest.end(), padded);
        } else {
            std::copy(key.begin(), key.end(), padded);
        }
        uint8_t inner[kBlockSize], outer[kBlockSize];
        for (size_t i = 0; i < kBlockSize; ++i) {
            inner[i] = padded[i] ^ 0x36;
            outer[i] = padded[i] ^ 0x5c;
        }
        inner_.add(inner);
        outer_.add(outer);
    }

    Sha256Digest operator()(std::span<const uint8_t> a, std::span<const uint8_t> b = {}) const
    {
        Sha256State inner = inner_;
        inner.add(a);
        inner.add(b);
        const Sha256Digest innerDigest = inner.finish();
        Sha256State outer = outer_;
        outer.add(innerDigest);
        return outer.finish();
    }

private:
    Sha256State inner_;
    Sha256State outer_;
};

} // namespace

Sha256Digest Sha256(std::span<const uint8_t> data)
{
    Sha256State state;
    state.add(data);
    return state.finish();
}

std::vector<uint8_t> Pbkdf2Sha256(std::string_view password, std::span<const uint8_t> salt, uint32_t rounds,
                                  size_t length)
{
    const HmacSha256 mac({reinterpret_cast<const uint8_t*>(password.data()), password.size()});
    std::vector<uint8_t> out;
    for (uint32_t block = 1; out.size() < length; ++block) {
        const uint8_t index[4] = {uint8_t(block >> 24), uint8_t(block >> 16), uint8_t(block >> 8), uint8_t(block)};
        Sha256Digest u = mac(salt, index);
        Sha256Digest sum = u;
        for (uint32_t r = 1; r < rounds; ++r) {
            u = mac(u);
            for (size_t i = 0; i < sum.size(); ++i)
                sum[i] ^= u[i];
        }
        out.insert(out.end(), sum.begin(), sum.begin() + ptrdiff_t(std::min(sum.size(), length - out.size())));
    }
    return out;
}

} // namespace qv
