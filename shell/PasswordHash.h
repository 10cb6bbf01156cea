// SHA-256 and the slow salted key derivation (PBKDF2 with HMAC-SHA-256) by which the program
// password is kept, so that the stored value tells nobody the password.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace qv {

using Sha256Digest = std::array<uint8_t, 32>;

Sha256Digest Sha256(std::span<const uint8_t> data);
// `length` bytes derived from the password and salt over `rounds` rounds (RFC 8018, HMAC-SHA-256).
std::vector<uint8_t> Pbkdf2Sha256(std::string_view password, std::span<const uint8_t> salt, uint32_t rounds,
                                  size_t length);

} // namespace qv
