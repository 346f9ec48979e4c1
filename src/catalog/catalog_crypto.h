// Password protection of the data file. A catalog with a password is stored
// as its UTF-16LE document, padded with zero bytes to a multiple of 16 and
// encrypted with AES-128 in CBC mode under an all-zero initialisation vector.
// The file has no header of its own: its length is a multiple of 16.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/crypto.h"

namespace kodrin {

// The key of a catalog password: the low 8 bits of each UTF-16 code unit, in
// order, repeated until 16 bytes are collected (a password of 16 or more
// units gives its first 16). An empty password has no key.
std::optional<platform::Aes128Key> CatalogKey(std::u16string_view password);

// The document's bytes as stored: UTF-16LE, no byte-order mark.
std::vector<std::uint8_t> Utf16LeBytes(std::u16string_view document);

// UTF-16LE bytes back to text; an odd last byte is dropped.
std::u16string FromUtf16LeBytes(std::span<const std::uint8_t> bytes);

// Appends zero bytes up to the next multiple of 16 (none when it is one).
void PadWithZeros(std::vector<std::uint8_t>& bytes);

// Encrypts plain bytes with the password: zero padding, then AES-128-CBC.
// False when the password is empty or the cipher fails.
bool EncryptCatalogBytes(std::u16string_view password, std::span<const std::uint8_t> plain,
                         std::vector<std::uint8_t>& cipher);

// Decrypts a file's bytes in place; the zero padding stays at the end. False,
// with the buffer untouched, when the password is empty, the length is not a
// multiple of 16 (the file was not written by an encrypting save) or the
// cipher fails.
bool DecryptCatalogBytes(std::u16string_view password, std::vector<std::uint8_t>& buffer);
// The same in place over any bytes (the reader's buffer of a loaded file).
bool DecryptCatalogBytes(std::u16string_view password, std::span<std::uint8_t> buffer);

// The whole document as the data file holds it when the password is not empty.
bool EncryptDocument(std::u16string_view password, std::u16string_view document, std::vector<std::uint8_t>& file);

// The document from an encrypted file, without the zero code units of the
// padding at its end. Nothing when DecryptCatalogBytes fails.
std::optional<std::u16string> DecryptDocument(std::u16string_view password, std::span<const std::uint8_t> file);

}  // namespace kodrin
