// Symmetric encryption, hashing, signature checks and secure random numbers
// from the system's cryptography library: CNG (BCrypt) on Windows, OpenSSL's
// libcrypto natively.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace kodrin::platform {

using Aes128Key = std::array<std::uint8_t, 16>;
using Aes128Iv = std::array<std::uint8_t, 16>;

// AES-128 in cipher-block-chaining mode with no padding of the library's own:
// the input length must be a multiple of 16 bytes (zero is allowed). The
// output has the input's length. False (and an empty output) when the length
// is not a multiple of 16 or the library fails.
bool Aes128CbcEncrypt(const Aes128Key& key, const Aes128Iv& iv, std::span<const std::uint8_t> plain,
                      std::vector<std::uint8_t>& cipher);
bool Aes128CbcDecrypt(const Aes128Key& key, const Aes128Iv& iv, std::span<const std::uint8_t> cipher,
                      std::vector<std::uint8_t>& plain);
// The same without a second buffer: the plain bytes replace the cipher bytes.
bool Aes128CbcDecryptInPlace(const Aes128Key& key, const Aes128Iv& iv, std::span<std::uint8_t> data);

using Sha256Digest = std::array<std::uint8_t, 32>;

// The SHA-256 digest of the bytes. False when the library fails.
bool Sha256(std::span<const std::uint8_t> data, Sha256Digest& digest);

// An ECDSA public key on the curve P-256: the uncompressed point, the byte
// 0x04 followed by X and Y (32 bytes each, big-endian), 65 bytes in all.
using EcdsaP256PublicKey = std::array<std::uint8_t, 65>;

// Whether signature is a valid ECDSA P-256 signature with SHA-256 over data
// by the key's owner. The signature is r and s as 32 big-endian bytes each
// (64 bytes); see EcdsaSignatureFromDer for the form OpenSSL writes. False
// for anything else: a malformed key or signature, a point off the curve,
// a signature of other data or by another key.
bool VerifyEcdsaP256Sha256(const EcdsaP256PublicKey& key, std::span<const std::uint8_t> data,
                           std::span<const std::uint8_t> signature);

// The 64-byte form of a DER-encoded ECDSA P-256 signature (a SEQUENCE of the
// two INTEGERs r and s, each at most 32 bytes without its sign byte). False
// for anything that is not exactly that encoding.
bool EcdsaSignatureFromDer(std::span<const std::uint8_t> der, std::array<std::uint8_t, 64>& raw);

// Fills the buffer from the system's cryptographically secure generator.
// False when the generator fails; the buffer's content is then unspecified.
bool RandomBytes(std::span<std::uint8_t> out);

// A uniformly distributed number in [0, n) from RandomBytes, without modulo
// bias (draws outside the largest multiple of n are rejected). False when n is
// 0 or the generator fails.
bool RandomBelow(std::uint32_t n, std::uint32_t& value);

}  // namespace kodrin::platform
