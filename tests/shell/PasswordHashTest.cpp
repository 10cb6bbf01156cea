// The hash behind the program password against published test vectors (FIPS 180-4, RFC 7914).
#include "shell/PasswordHash.h"

#include <gtest/gtest.h>

#include <string>

using namespace qv;

namespace {

std::string Hex(std::span<const uint8_t> bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

std::span<const uint8_t> Bytes(std::string_view text) { return {reinterpret_cast<const uint8_t*>(text.data()), text.size()}; }

TEST(PasswordHash, Sha256MatchesThePublishedVectors)
{
    EXPECT_EQ(Hex(Sha256(Bytes(""))), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Hex(Sha256(Bytes("abc"))), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // Two blocks, the padding falling into the second.
    EXPECT_EQ(Hex(Sha256(Bytes("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"))),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Hex(Sha256(Bytes(std::string(1000000, 'a')))),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(PasswordHash, Pbkdf2MatchesThePublishedVectors)
{
    EXPECT_EQ(Hex(Pbkdf2Sha256("passwd", Bytes("salt"), 1, 64)),
              "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
              "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783");
    EXPECT_EQ(Hex(Pbkdf2Sha256("password", Bytes("salt"), 4096, 32)),
              "c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a");
    // A key longer than a block is hashed first.
    EXPECT_EQ(Pbkdf2Sha256(std::string(100, 'k'), Bytes("salt"), 2, 16).size(), 16u);
}

} // namespace
