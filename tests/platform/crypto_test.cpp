// AES-128-CBC, the secure random source and the data file's password
// protection: both builds must give the same bytes.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "catalog/catalog_crypto.h"
#include "platform/crypto.h"
#include "support/text.h"

namespace kodrin {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::U;

Bytes Hex(std::string_view hex) {
    Bytes out;
    auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(nibble(hex[i]) * 16 + nibble(hex[i + 1])));
    return out;
}

template <class Array>
Array ArrayFromHex(std::string_view hex) {
    const Bytes b = Hex(hex);
    Array a{};
    std::copy(b.begin(), b.end(), a.begin());
    return a;
}

// NIST SP 800-38A, F.2.1 (CBC-AES128.Encrypt) and F.2.2 (CBC-AES128.Decrypt).
const auto kNistKey = ArrayFromHex<platform::Aes128Key>("2b7e151628aed2a6abf7158809cf4f3c");
const auto kNistIv = ArrayFromHex<platform::Aes128Iv>("000102030405060708090a0b0c0d0e0f");
const Bytes kNistPlain = Hex(
    "6bc1bee22e409f96e93d7e117393172a"
    "ae2d8a571e03ac9c9eb76fac45af8e51"
    "30c81c46a35ce411e5fbc1191a0a52ef"
    "f69f2445df4f9b17ad2b417be66c3710");
const Bytes kNistCipher = Hex(
    "7649abac8119b246cee98e9b12e9197d"
    "5086cb9b507219ee95db113a917678b2"
    "73bed6b8e3c1743b7116e69e22229516"
    "3ff1caa1681fac09120eca307586e1a7");

TEST(Aes128Cbc, NistVectors) {
    Bytes out;
    ASSERT_TRUE(platform::Aes128CbcEncrypt(kNistKey, kNistIv, kNistPlain, out));
    EXPECT_EQ(out, kNistCipher);
    ASSERT_TRUE(platform::Aes128CbcDecrypt(kNistKey, kNistIv, kNistCipher, out));
    EXPECT_EQ(out, kNistPlain);
    // A single block is chained with the IV only: the first vector block.
    ASSERT_TRUE(platform::Aes128CbcEncrypt(kNistKey, kNistIv, Bytes(kNistPlain.begin(), kNistPlain.begin() + 16), out));
    EXPECT_EQ(out, Bytes(kNistCipher.begin(), kNistCipher.begin() + 16));
    // In place: the plain bytes replace the cipher bytes in the same buffer.
    Bytes buffer(kNistCipher.begin(), kNistCipher.end());
    ASSERT_TRUE(platform::Aes128CbcDecryptInPlace(kNistKey, kNistIv, buffer));
    EXPECT_EQ(buffer, kNistPlain);
    Bytes odd(17, 0);
    EXPECT_FALSE(platform::Aes128CbcDecryptInPlace(kNistKey, kNistIv, odd));
    EXPECT_EQ(odd, Bytes(17, 0));
}

TEST(Aes128Cbc, EmptyAndUnalignedInput) {
    Bytes out{1, 2, 3};
    EXPECT_TRUE(platform::Aes128CbcEncrypt(kNistKey, kNistIv, Bytes{}, out));
    EXPECT_TRUE(out.empty());
    out = {1};
    EXPECT_FALSE(platform::Aes128CbcEncrypt(kNistKey, kNistIv, Bytes(17, 0), out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(platform::Aes128CbcDecrypt(kNistKey, kNistIv, Bytes(15, 0), out));
    EXPECT_TRUE(out.empty());
}

TEST(Aes128Cbc, LargeBufferRoundTrip) {
    Bytes plain(1 << 20);
    for (std::size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<std::uint8_t>(i * 7 + (i >> 9));
    Bytes cipher, back;
    ASSERT_TRUE(platform::Aes128CbcEncrypt(kNistKey, kNistIv, plain, cipher));
    ASSERT_EQ(cipher.size(), plain.size());
    EXPECT_NE(cipher, plain);
    ASSERT_TRUE(platform::Aes128CbcDecrypt(kNistKey, kNistIv, cipher, back));
    EXPECT_EQ(back, plain);
}

TEST(SecureRandom, BytesVaryAndFillTheBuffer) {
    std::array<std::uint8_t, 64> a{}, b{};
    ASSERT_TRUE(platform::RandomBytes(a));
    ASSERT_TRUE(platform::RandomBytes(b));
    EXPECT_NE(a, b);
    // 64 random bytes are all zero with probability 2^-512.
    EXPECT_NE(a, (std::array<std::uint8_t, 64>{}));
    EXPECT_TRUE(platform::RandomBytes(std::span<std::uint8_t>{}));
}

TEST(SecureRandom, BelowStaysInRangeAndCoversIt) {
    std::uint32_t v = 99;
    EXPECT_FALSE(platform::RandomBelow(0, v));
    ASSERT_TRUE(platform::RandomBelow(1, v));
    EXPECT_EQ(v, 0u);
    // 6000 draws below 6: each value lands near 1000 times. The bounds are
    // about 8 standard deviations wide, so a correct generator never fails.
    std::array<int, 6> counts{};
    for (int i = 0; i < 6000; ++i) {
        ASSERT_TRUE(platform::RandomBelow(6, v));
        ASSERT_LT(v, 6u);
        ++counts[v];
    }
    for (const int c : counts) {
        EXPECT_GT(c, 750);
        EXPECT_LT(c, 1250);
    }
    // n near 2^32: the rejection band is almost half the range.
    const std::uint32_t big = 0x80000001u;
    bool high = false;
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(platform::RandomBelow(big, v));
        ASSERT_LT(v, big);
        high = high || v >= 0x40000000u;
    }
    EXPECT_TRUE(high);
    ASSERT_TRUE(platform::RandomBelow(0xFFFFFFFFu, v));
    EXPECT_LT(v, 0xFFFFFFFFu);
}

TEST(CatalogKey, LowBytesRepeatedToSixteen) {
    EXPECT_FALSE(CatalogKey(u"").has_value());
    EXPECT_EQ(*CatalogKey(u"abc"), ArrayFromHex<platform::Aes128Key>("61626361626361626361626361626361"));
    EXPECT_EQ(*CatalogKey(u"x"), ArrayFromHex<platform::Aes128Key>("78787878787878787878787878787878"));
    // Only the first 16 units of a long password count.
    EXPECT_EQ(*CatalogKey(u"0123456789abcdefXYZ"), *CatalogKey(u"0123456789abcdef"));
    EXPECT_EQ(*CatalogKey(u"0123456789abcdef"), ArrayFromHex<platform::Aes128Key>("30313233343536373839616263646566"));
    // The high byte of a code unit is dropped: U+0141 and 'A' give one key.
    EXPECT_EQ(*CatalogKey(U("clé€")), ArrayFromHex<platform::Aes128Key>("636ce9ac636ce9ac636ce9ac636ce9ac"));
    EXPECT_EQ(*CatalogKey(u"\u0141"), *CatalogKey(u"A"));
}

TEST(CatalogCrypto, ZeroPaddingAndByteOrder) {
    Bytes b;
    PadWithZeros(b);
    EXPECT_TRUE(b.empty());
    b.assign(16, 7);
    PadWithZeros(b);
    EXPECT_EQ(b.size(), 16u);
    b.assign(18, 7);
    PadWithZeros(b);
    ASSERT_EQ(b.size(), 32u);
    EXPECT_EQ(b[17], 7);
    EXPECT_EQ(b[18], 0);
    EXPECT_EQ(b[31], 0);

    EXPECT_EQ(Utf16LeBytes(U("<é€")), (Bytes{0x3C, 0x00, 0xE9, 0x00, 0xAC, 0x20}));
    EXPECT_EQ(FromUtf16LeBytes(Bytes{0x3C, 0x00, 0xAC, 0x20, 0x41}), U("<€"));
}

// A fixed password and document give fixed file bytes in both builds.
const char16_t kDocument[] =
    u"<KODRIN>\r\n<DATAVERSION>1000</DATAVERSION>\r\n<CATEGORYLIST>\r\n"
    u"<CATEGORYNAME>Caf\u00E9 \u20AC</CATEGORYNAME>\r\n</CATEGORYLIST>\r\n</KODRIN>\r\n";
const Bytes kDocumentFile = Hex(
        "d8a70498818727bbe06b9d04472a4ebaf9b6a055a993d2bf7881074b9a6477af"
        "4a41642814d1e5ef3ffabcb6119ef74e14e6fdb830d19ce4d498305a804bc4ed"
        "37ed742753b2a60aafaa65ea7589a554d906be84643b7a09c0ab6fca2d080225"
        "61b076d8a36492b95371904269b783b52ec92863dd10a18d74efb1308391f1c9"
        "b74f992aebb0cbe87f8b0cdb999759d96af6043199f082a324112deaa6bc04a3"
        "3f480cd9f68a0089f5732750edaab1a6a184a13fea367ec015f7f9b0dced12ed"
        "e90d78c14b764018553bab3028923af353e9238c8e6de9a7f9a91bc2e38756a6"
        "074bec33475376eff9c44c21e97bf0581379951a6bdb11169caf460e9db3ecf0"
);

TEST(CatalogCrypto, FixedDocumentGivesFixedFile) {
    Bytes file;
    ASSERT_TRUE(EncryptDocument(U("clé€"), kDocument, file));
    EXPECT_EQ(file.size() % 16, 0u);
    EXPECT_EQ(file.size(), 256u);  // 248 bytes of text and 8 of padding
    EXPECT_EQ(file, kDocumentFile);

    const auto back = DecryptDocument(U("clé€"), kDocumentFile);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, kDocument);

    // In place, the padding stays as zero code units after the root's end.
    Bytes buffer = kDocumentFile;
    ASSERT_TRUE(DecryptCatalogBytes(U("clé€"), buffer));
    ASSERT_EQ(buffer.size(), 256u);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 248), Utf16LeBytes(kDocument));
    EXPECT_EQ(Bytes(buffer.begin() + 248, buffer.end()), Bytes(8, 0));
}

TEST(CatalogCrypto, WrongPasswordEmptyPasswordAndDamagedFile) {
    const auto wrong = DecryptDocument(u"cle", kDocumentFile);
    ASSERT_TRUE(wrong.has_value());  // not detectable as such: the text is garbage
    EXPECT_EQ(wrong->find(u"<KODRIN>"), std::u16string::npos);

    Bytes file;
    EXPECT_FALSE(EncryptDocument(u"", kDocument, file));
    EXPECT_TRUE(file.empty());
    EXPECT_FALSE(DecryptDocument(u"", kDocumentFile).has_value());

    // A cut file cannot have come from a save; the buffer is left alone.
    Bytes cut(kDocumentFile.begin(), kDocumentFile.end() - 3);
    const Bytes before = cut;
    EXPECT_FALSE(DecryptCatalogBytes(U("clé€"), cut));
    EXPECT_EQ(cut, before);
}

TEST(CatalogCrypto, AlignedDocumentGetsNoPaddingAndEmptyStaysEmpty) {
    const std::u16string eight = u"<KODRIN>";  // 16 bytes
    Bytes file;
    ASSERT_TRUE(EncryptDocument(u"pw", eight, file));
    EXPECT_EQ(file.size(), 16u);
    EXPECT_EQ(DecryptDocument(u"pw", file), eight);
    ASSERT_TRUE(EncryptDocument(u"pw", u"", file));
    EXPECT_TRUE(file.empty());
    EXPECT_EQ(DecryptDocument(u"pw", file), u"");
}

}  // namespace
}  // namespace kodrin
