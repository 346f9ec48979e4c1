// Symmetric encryption and secure random numbers from the system's
// cryptography library: CNG (BCrypt) on Windows, OpenSSL's libcrypto natively.
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

// Fills the buffer from the system's cryptographically secure generator.
// False when the generator fails; the buffer's content is then unspecified.
bool RandomBytes(std::span<std::uint8_t> out);

// A uniformly distributed number in [0, n) from RandomBytes, without modulo
// bias (draws outside the largest multiple of n are rejected). False when n is
// 0 or the generator fails.
bool RandomBelow(std::uint32_t n, std::uint32_t& value);

}  // namespace kodrin::platform
