// The version file of the program's own update and its signature.
//
// The version file ("kodrin.ver") is a markup document: its "Version"
// element holds the published version text, its "SHA256" element the
// SHA-256 digest of the installer in 64 hexadecimal digits. Beside it lies
// "kodrin.ver.sig", the ECDSA P-256 signature with SHA-256 over the exact
// bytes of the version file, in the DER form OpenSSL writes. Nothing in the
// file is believed before its signature is checked against the key the
// program carries, and the installer is started only when its digest is the
// one the signed file names.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/crypto.h"

namespace kodrin::update {

struct ReleaseFile {
    // The text of the last "Version" element with text (names compared
    // ignoring case); empty when there is none.
    std::u16string version;
    // The installer's digest; none when the element is missing or is not
    // 64 hexadecimal digits.
    std::optional<platform::Sha256Digest> installerDigest;
};

// Reads a version file's bytes (UTF-16 or 8-bit markup, as the markup
// reader takes them). False when they are not a markup document.
bool ReadReleaseFile(std::span<const std::uint8_t> bytes, ReleaseFile& release);

// Whether signature (DER) is the key's signature over the exact bytes.
bool ReleaseSignatureValid(const platform::EcdsaP256PublicKey& key, std::span<const std::uint8_t> versionFile,
                           std::span<const std::uint8_t> signature);

// Whether the installer's bytes have the digest the version file names.
bool InstallerMatches(std::span<const std::uint8_t> installer, const platform::Sha256Digest& digest);

// A key written as 130 hexadecimal digits (the uncompressed point); none
// for anything else.
std::optional<platform::EcdsaP256PublicKey> PublicKeyFromHex(std::string_view hex);

}  // namespace kodrin::update
