// The update's version file: what it says, and that nothing of it counts
// unless the signature beside it is the program's key's over its exact bytes.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "update/release_file.h"

namespace kodrin::update {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<std::uint8_t> Hex(std::string_view hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

// Signed with "openssl dgst -sha256 -sign" by a key made for this test.
constexpr std::string_view kKey =
    "04563243d48f0dc588e54de09743c9217271b6ea0022a2932260c7865b23b7eb97969b42a90c7025a5730fbab3e08e999b120c75827f4a5e"
    "99b3cb2064f19cfc70";
constexpr std::string_view kVersionFile =
    "<?xml version=\"1.0\"?>\r\n<KODRIN>\r\n<Version>2.5.0.0</Version>\r\n"
    "<SHA256>33bd48719a30f117bc526459f2786d0684654ac6390157a8e8b86525f10fb776</SHA256>\r\n</KODRIN>\r\n";
constexpr std::string_view kSignature =
    "3046022100914bee4cae1ab1b66fc0783d280e04d078b2fe9f630a5f427b266fb3a7bd251d022100fd71cc36de5d5bce4a04e4e9464f2a"
    "12305641de065466058eb4942e16be5c77";
constexpr std::string_view kInstaller = "installer bytes of version 2.5";

TEST(ReleaseFile, ASignedFileNamesTheVersionAndTheInstallersDigest) {
    const auto key = PublicKeyFromHex(kKey);
    ASSERT_TRUE(key.has_value());
    EXPECT_TRUE(ReleaseSignatureValid(*key, Bytes(kVersionFile), Hex(kSignature)));
    ReleaseFile release;
    ASSERT_TRUE(ReadReleaseFile(Bytes(kVersionFile), release));
    EXPECT_EQ(release.version, u"2.5.0.0");
    ASSERT_TRUE(release.installerDigest.has_value());
    EXPECT_TRUE(InstallerMatches(Bytes(kInstaller), *release.installerDigest));
    EXPECT_FALSE(InstallerMatches(Bytes("installer bytes of version 2.6"), *release.installerDigest));

    // One changed byte anywhere, in the file or the signature, and nothing counts.
    for (std::size_t at = 0; at < kVersionFile.size(); at += 7) {
        std::vector<std::uint8_t> tampered = Bytes(kVersionFile);
        tampered[at] ^= 0x01;
        EXPECT_FALSE(ReleaseSignatureValid(*key, tampered, Hex(kSignature))) << at;
    }
    std::vector<std::uint8_t> signature = Hex(kSignature);
    signature[10] ^= 0x01;
    EXPECT_FALSE(ReleaseSignatureValid(*key, Bytes(kVersionFile), signature));
    EXPECT_FALSE(ReleaseSignatureValid(*key, Bytes(kVersionFile), {}));
}

TEST(ReleaseFile, TheLastVersionCountsAndABadDigestIsNone) {
    struct Case {
        std::u16string text;
        const char16_t* version;
        bool digest;
    };
    const std::u16string digest = u"33BD48719A30F117BC526459F2786D0684654AC6390157A8E8B86525F10FB776";
    const Case cases[] = {
        {u"<KODRIN><Version>1.0</Version><Version>1.1</Version><SHA256>" + digest + u"</SHA256></KODRIN>", u"1.1", true},
        {u"<KODRIN><Version>2.0</Version><Version></Version><SHA256> " + digest + u"\r\n</SHA256></KODRIN>", u"2.0", true},
        {u"<KODRIN><Version>3 &amp; more</Version><SHA256>" + digest.substr(1) + u"</SHA256></KODRIN>", u"3 & more", false},
        {u"<KODRIN><Version>4</Version><SHA256>" + digest.substr(2) + u"zz</SHA256></KODRIN>", u"4", false},
    };
    for (const Case& c : cases) {
        // UTF-16 as the markup writer stores it, and the same as 8-bit text.
        std::vector<std::uint8_t> utf16, eight;
        for (const char16_t unit : c.text) {
            utf16.push_back(static_cast<std::uint8_t>(unit & 0xFF));
            utf16.push_back(static_cast<std::uint8_t>(unit >> 8));
            eight.push_back(static_cast<std::uint8_t>(unit));
        }
        for (const auto* bytes : {&utf16, &eight}) {
            ReleaseFile release;
            ASSERT_TRUE(ReadReleaseFile(*bytes, release));
            EXPECT_EQ(release.version, c.version);
            EXPECT_EQ(release.installerDigest.has_value(), c.digest);
        }
    }
    ReleaseFile none;
    EXPECT_FALSE(ReadReleaseFile(Bytes("<html><body>Not found</body></html>"), none));
    EXPECT_TRUE(none.version.empty());
    EXPECT_FALSE(PublicKeyFromHex(kKey.substr(2)).has_value());
    EXPECT_FALSE(PublicKeyFromHex(std::string("05") + std::string(kKey.substr(2))).has_value());
}

}  // namespace
}  // namespace kodrin::update
