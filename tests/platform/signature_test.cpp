// SHA-256 and ECDSA P-256 signature checks of the platform's library, against
// the standard's test vector and a signature made by the openssl tool.
#include <gtest/gtest.h>

#include <string_view>

#include "platform/crypto.h"

namespace kodrin::platform {
namespace {

std::vector<std::uint8_t> Hex(std::string_view hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

template <std::size_t N>
std::array<std::uint8_t, N> Array(std::string_view hex) {
    std::array<std::uint8_t, N> out{};
    const auto bytes = Hex(hex);
    std::copy_n(bytes.begin(), std::min(N, bytes.size()), out.begin());
    return out;
}

// "openssl dgst -sha256 -sign" of kMessage with a key made for this test.
constexpr std::string_view kMessage = "Version 2.5.0.0 of Kodrin";
constexpr std::string_view kKey =
    "04563243d48f0dc588e54de09743c9217271b6ea0022a2932260c7865b23b7eb97969b42a90c7025a5730fbab3e08e999b120c75827f4a5e"
    "99b3cb2064f19cfc70";
constexpr std::string_view kOtherKey =
    "04420fa711d3ec81a81ee9dabf9dc8ed6a45734b6104f254d86bdef4197ecb5a0e5a3a6635734e6ae2565e132be7516e6d3a48356f90f6f1"
    "b2fb01548bd57558ea";
constexpr std::string_view kSignatureDer =
    "3045022100fda5b404c2e8bdeec4bf31403949e0836e1cffede3ec082779c50f7323118a140220584cae9ba52385f1b1f21993bdfef5d079"
    "8d7187b232b80735e4cd7463cbb262";

TEST(Signature, Sha256GivesTheStandardsDigests) {
    Sha256Digest digest{};
    ASSERT_TRUE(Sha256(Bytes("abc"), digest));
    EXPECT_EQ(digest, (Array<32>("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad")));
    ASSERT_TRUE(Sha256({}, digest));
    EXPECT_EQ(digest, (Array<32>("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855")));
}

TEST(Signature, OnlyTheKeysOwnSignatureOfTheExactBytesVerifies) {
    std::array<std::uint8_t, 64> raw{};
    ASSERT_TRUE(EcdsaSignatureFromDer(Hex(kSignatureDer), raw));
    const EcdsaP256PublicKey key = Array<65>(kKey);
    EXPECT_TRUE(VerifyEcdsaP256Sha256(key, Bytes(kMessage), raw));

    std::vector<std::uint8_t> changed = Bytes(kMessage);
    changed.back() ^= 1;
    EXPECT_FALSE(VerifyEcdsaP256Sha256(key, changed, raw));
    EXPECT_FALSE(VerifyEcdsaP256Sha256(Array<65>(kOtherKey), Bytes(kMessage), raw));
    for (const std::size_t at : {0u, 31u, 32u, 63u}) {
        std::array<std::uint8_t, 64> bad = raw;
        bad[at] ^= 0x10;
        EXPECT_FALSE(VerifyEcdsaP256Sha256(key, Bytes(kMessage), bad)) << at;
    }
    EcdsaP256PublicKey offCurve = key;
    offCurve[64] ^= 1;
    EXPECT_FALSE(VerifyEcdsaP256Sha256(offCurve, Bytes(kMessage), raw));
    EcdsaP256PublicKey compressed = key;
    compressed[0] = 0x02;
    EXPECT_FALSE(VerifyEcdsaP256Sha256(compressed, Bytes(kMessage), raw));
    EXPECT_FALSE(VerifyEcdsaP256Sha256(key, Bytes(kMessage), std::span(raw).first(63)));
    EXPECT_FALSE(VerifyEcdsaP256Sha256(key, Bytes(kMessage), Hex(kSignatureDer)));  // DER is not the raw form
}

TEST(Signature, DerSignaturesAreReadOnlyInTheirExactForm) {
    std::array<std::uint8_t, 64> raw{};
    // Short integers are padded on the left; a sign byte is dropped.
    ASSERT_TRUE(EcdsaSignatureFromDer(Hex("30070202010002017f"), raw));
    EXPECT_EQ(raw[30], 0x01);
    EXPECT_EQ(raw[31], 0x00);
    EXPECT_EQ(raw[63], 0x7f);
    for (const std::string_view bad : {
             "",                                       // nothing
             "31070202010002017f",                     // a SET, not a SEQUENCE
             "30080202010002017f",                     // length says more than there is
             "30070202010002017f00",                   // bytes after the end
             "3006020201000201",                       // s cut off
             "30070202810002017f",                     // negative r
             "30070302010002017f",                     // r not an INTEGER
             "3008020201ff0202007f",                   // s with a needless leading zero
             "302a022301000000000000000000000000000000000000000000000000000000000000000002017f",  // r of 35 bytes
         }) {
        EXPECT_FALSE(EcdsaSignatureFromDer(Hex(bad), raw)) << bad;
    }
}

}  // namespace
}  // namespace kodrin::platform
