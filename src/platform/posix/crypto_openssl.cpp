#include <openssl/evp.h>
#include <sys/random.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <memory>

#include "platform/crypto.h"

namespace kodrin::platform {

namespace {

struct CtxFree {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

// Runs the cipher from in to out (which may be the same memory; the library
// allows exactly overlapping buffers).
}  // namespace

namespace detail {

bool CipherRun(bool encrypt, const Aes128Key& key, const Aes128Iv& iv, std::span<const std::uint8_t> in,
         std::uint8_t* out) {
    if (in.size() % 16 != 0) return false;
    std::unique_ptr<EVP_CIPHER_CTX, CtxFree> ctx(EVP_CIPHER_CTX_new());
    if (!ctx) return false;
    if (EVP_CipherInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr, key.data(), iv.data(), encrypt ? 1 : 0) != 1)
        return false;
    if (EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1) return false;
    std::size_t done = 0;
    // The library counts in int: feed large buffers in pieces (a multiple of
    // the block size, so the chaining carries over unchanged).
    constexpr std::size_t kPiece = std::size_t{1} << 30;
    while (done < in.size()) {
        const std::size_t piece = std::min(kPiece, in.size() - done);
        int written = 0;
        if (EVP_CipherUpdate(ctx.get(), out + done, &written, in.data() + done, static_cast<int>(piece)) != 1 ||
            static_cast<std::size_t>(written) != piece) {
            return false;
        }
        done += piece;
    }
    int tail = 0;
    std::uint8_t last[32];
    return EVP_CipherFinal_ex(ctx.get(), last, &tail) == 1 && tail == 0;
}

}  // namespace detail


bool RandomBytes(std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = ::getrandom(out.data() + done, out.size() - done, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace kodrin::platform
