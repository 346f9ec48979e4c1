#include "catalog/catalog_crypto.h"

namespace kodrin {

namespace {
constexpr platform::Aes128Iv kZeroIv{};
}  // namespace

std::optional<platform::Aes128Key> CatalogKey(std::u16string_view password) {
    if (password.empty()) return std::nullopt;
    platform::Aes128Key key{};
    for (std::size_t i = 0; i < key.size(); ++i)
        key[i] = static_cast<std::uint8_t>(password[i % password.size()] & 0xFF);
    return key;
}

std::vector<std::uint8_t> Utf16LeBytes(std::u16string_view document) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(document.size() * 2);
    for (const char16_t unit : document) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

std::u16string FromUtf16LeBytes(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return text;
}

void PadWithZeros(std::vector<std::uint8_t>& bytes) {
    bytes.resize((bytes.size() + 15) / 16 * 16, 0);
}

bool EncryptCatalogBytes(std::u16string_view password, std::span<const std::uint8_t> plain,
                         std::vector<std::uint8_t>& cipher) {
    cipher.clear();
    const auto key = CatalogKey(password);
    if (!key) return false;
    std::vector<std::uint8_t> padded(plain.begin(), plain.end());
    PadWithZeros(padded);
    return platform::Aes128CbcEncrypt(*key, kZeroIv, padded, cipher);
}

bool DecryptCatalogBytes(std::u16string_view password, std::vector<std::uint8_t>& buffer) {
    return DecryptCatalogBytes(password, std::span<std::uint8_t>(buffer));
}

bool DecryptCatalogBytes(std::u16string_view password, std::span<std::uint8_t> buffer) {
    const auto key = CatalogKey(password);
    if (!key || buffer.size() % 16 != 0) return false;
    return platform::Aes128CbcDecryptInPlace(*key, kZeroIv, buffer);
}

bool EncryptDocument(std::u16string_view password, std::u16string_view document, std::vector<std::uint8_t>& file) {
    return EncryptCatalogBytes(password, Utf16LeBytes(document), file);
}

std::optional<std::u16string> DecryptDocument(std::u16string_view password, std::span<const std::uint8_t> file) {
    std::vector<std::uint8_t> buffer(file.begin(), file.end());
    if (!DecryptCatalogBytes(password, buffer)) return std::nullopt;
    std::u16string text = FromUtf16LeBytes(buffer);
    while (!text.empty() && text.back() == u'\0') text.pop_back();
    return text;
}

}  // namespace kodrin
