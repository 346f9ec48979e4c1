#include "update/release_file.h"

#include "catalog/markup.h"

namespace kodrin::update {

namespace {

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Exactly 2 × size hexadecimal digits into size bytes.
template <typename Text, std::size_t N>
bool ReadHex(const Text& text, std::array<std::uint8_t, N>& out) {
    if (text.size() != 2 * N) return false;
    for (std::size_t i = 0; i < N; ++i) {
        const int high = HexDigit(static_cast<char16_t>(text[2 * i]));
        const int low = HexDigit(static_cast<char16_t>(text[2 * i + 1]));
        if (high < 0 || low < 0) return false;
        out[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return true;
}

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t' || text.front() == u'\r' ||
                             text.front() == u'\n')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t' || text.back() == u'\r' || text.back() == u'\n')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

bool ReadReleaseFile(std::span<const std::uint8_t> bytes, ReleaseFile& release) {
    release = ReleaseFile{};
    // UTF-16 (little-endian, as the markup writer stores it: a byte-order
    // mark, or a first character with a zero high byte), else 8-bit text.
    const bool utf16 = bytes.size() % 2 == 0 && bytes.size() >= 2 &&
                       ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] != 0 && bytes[1] == 0));
    MarkupReader reader;
    if (utf16) {
        reader.SetBytes(bytes.data(), bytes.size());
    } else {
        reader.SetText(std::u16string(bytes.begin(), bytes.end()));
    }
    if (!reader.FindRoot(u"Version")) return false;
    reader.Rewind();
    while (const std::optional<std::u16string_view> tag = reader.NextTag()) {
        if (reader.IsClosing()) continue;
        const std::u16string name(*tag);
        if (SameName(name, u"Version")) {
            if (const auto text = reader.ElementText(name)) release.version = Unescape(*text);
        } else if (SameName(name, u"SHA256")) {
            release.installerDigest.reset();
            platform::Sha256Digest digest{};
            if (const auto text = reader.ElementText(name); text && ReadHex(Trimmed(*text), digest)) {
                release.installerDigest = digest;
            }
        }
    }
    return true;
}

bool ReleaseSignatureValid(const platform::EcdsaP256PublicKey& key, std::span<const std::uint8_t> versionFile,
                           std::span<const std::uint8_t> signature) {
    std::array<std::uint8_t, 64> raw{};
    return platform::EcdsaSignatureFromDer(signature, raw) && platform::VerifyEcdsaP256Sha256(key, versionFile, raw);
}

bool InstallerMatches(std::span<const std::uint8_t> installer, const platform::Sha256Digest& digest) {
    platform::Sha256Digest actual{};
    return platform::Sha256(installer, actual) && actual == digest;
}

std::optional<platform::EcdsaP256PublicKey> PublicKeyFromHex(std::string_view hex) {
    platform::EcdsaP256PublicKey key{};
    if (!ReadHex(hex, key) || key[0] != 0x04) return std::nullopt;
    return key;
}

}  // namespace kodrin::update
