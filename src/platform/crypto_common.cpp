#include <cstring>

#include "platform/crypto.h"

#include <algorithm>

namespace kodrin::platform {

namespace detail {
// The adapter's cipher (BCrypt or libcrypto): from in to out, which may be
// the same memory. False when in is not whole blocks or the cipher fails.
bool CipherRun(bool encrypt, const Aes128Key& key, const Aes128Iv& iv, std::span<const std::uint8_t> in,
               std::uint8_t* out);
}  // namespace detail

namespace {

bool RunInto(bool encrypt, const Aes128Key& key, const Aes128Iv& iv, std::span<const std::uint8_t> in,
             std::vector<std::uint8_t>& out) {
    out.resize(in.size() % 16 == 0 ? in.size() : 0);
    if (!detail::CipherRun(encrypt, key, iv, in, out.data())) {
        out.clear();
        return false;
    }
    return true;
}

}  // namespace

bool Aes128CbcEncrypt(const Aes128Key& key, const Aes128Iv& iv, std::span<const std::uint8_t> plain,
                      std::vector<std::uint8_t>& cipher) {
    return RunInto(true, key, iv, plain, cipher);
}

bool Aes128CbcDecrypt(const Aes128Key& key, const Aes128Iv& iv, std::span<const std::uint8_t> cipher,
                      std::vector<std::uint8_t>& plain) {
    return RunInto(false, key, iv, cipher, plain);
}

bool Aes128CbcDecryptInPlace(const Aes128Key& key, const Aes128Iv& iv, std::span<std::uint8_t> data) {
    return detail::CipherRun(false, key, iv, data, data.data());
}

bool RandomBelow(std::uint32_t n, std::uint32_t& value) {
    value = 0;
    if (n == 0) return false;
    // 2^32 mod n values at the top of the range would favour the small
    // results; draws there are thrown away.
    const std::uint32_t reject_from = static_cast<std::uint32_t>(0x100000000ull - (0x100000000ull % n));
    for (;;) {
        std::uint8_t raw[4];
        if (!RandomBytes(raw)) return false;
        std::uint32_t r = 0;
        std::memcpy(&r, raw, sizeof r);
        if (reject_from == 0 || r < reject_from) {  // reject_from wraps to 0 when n divides 2^32
            value = r % n;
            return true;
        }
    }
}

bool EcdsaSignatureFromDer(std::span<const std::uint8_t> der, std::array<std::uint8_t, 64>& raw) {
    raw.fill(0);
    // SEQUENCE, short length (a P-256 signature is at most 72 bytes), the
    // two INTEGERs and nothing after them.
    if (der.size() < 8 || der[0] != 0x30 || der[1] >= 0x80 || der[1] != der.size() - 2) return false;
    std::size_t at = 2;
    for (int part = 0; part < 2; ++part) {
        if (at + 2 > der.size() || der[at] != 0x02) return false;
        std::size_t length = der[at + 1];
        at += 2;
        if (length == 0 || length >= 0x80 || at + length > der.size()) return false;
        std::span<const std::uint8_t> value = der.subspan(at, length);
        at += length;
        if (value[0] & 0x80) return false;  // negative
        // A leading zero only where the next byte's top bit needs it.
        if (value.size() > 1 && value[0] == 0 && !(value[1] & 0x80)) return false;
        if (value[0] == 0 && value.size() > 1) value = value.subspan(1);
        if (value.size() > 32) return false;
        std::copy(value.begin(), value.end(), raw.begin() + part * 32 + (32 - value.size()));
    }
    return at == der.size();
}

}  // namespace kodrin::platform
