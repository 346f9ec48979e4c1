#include <cstring>

#include "platform/crypto.h"

namespace kodrin::platform {

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

}  // namespace kodrin::platform
