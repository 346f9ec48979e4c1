#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ecdsa.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
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


bool Sha256(std::span<const std::uint8_t> data, Sha256Digest& digest) {
    unsigned int length = 0;
    return EVP_Digest(data.data(), data.size(), digest.data(), &length, EVP_sha256(), nullptr) == 1 &&
           length == digest.size();
}

bool VerifyEcdsaP256Sha256(const EcdsaP256PublicKey& key, std::span<const std::uint8_t> data,
                           std::span<const std::uint8_t> signature) {
    if (signature.size() != 64 || key[0] != 0x04) return false;
    // The key from its point; the library checks that it lies on the curve.
    std::unique_ptr<OSSL_PARAM_BLD, decltype(&OSSL_PARAM_BLD_free)> build(OSSL_PARAM_BLD_new(), OSSL_PARAM_BLD_free);
    if (!build || OSSL_PARAM_BLD_push_utf8_string(build.get(), OSSL_PKEY_PARAM_GROUP_NAME, "prime256v1", 0) != 1 ||
        OSSL_PARAM_BLD_push_octet_string(build.get(), OSSL_PKEY_PARAM_PUB_KEY, key.data(), key.size()) != 1) {
        return false;
    }
    std::unique_ptr<OSSL_PARAM, decltype(&OSSL_PARAM_free)> params(OSSL_PARAM_BLD_to_param(build.get()), OSSL_PARAM_free);
    std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> make(EVP_PKEY_CTX_new_from_name(nullptr, "EC", nullptr),
                                                                      EVP_PKEY_CTX_free);
    EVP_PKEY* raw = nullptr;
    if (!params || !make || EVP_PKEY_fromdata_init(make.get()) != 1 ||
        EVP_PKEY_fromdata(make.get(), &raw, EVP_PKEY_PUBLIC_KEY, params.get()) != 1) {
        return false;
    }
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> pkey(raw, EVP_PKEY_free);
    std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> check(EVP_PKEY_CTX_new(pkey.get(), nullptr),
                                                                       EVP_PKEY_CTX_free);
    if (!check || EVP_PKEY_public_check(check.get()) != 1) return false;

    // The signature in the DER form the library verifies.
    std::unique_ptr<ECDSA_SIG, decltype(&ECDSA_SIG_free)> sig(ECDSA_SIG_new(), ECDSA_SIG_free);
    BIGNUM* r = BN_bin2bn(signature.data(), 32, nullptr);
    BIGNUM* s = BN_bin2bn(signature.data() + 32, 32, nullptr);
    if (!sig || r == nullptr || s == nullptr || ECDSA_SIG_set0(sig.get(), r, s) != 1) {
        BN_free(r);
        BN_free(s);
        return false;
    }
    unsigned char* der = nullptr;
    const int derLength = i2d_ECDSA_SIG(sig.get(), &der);
    if (derLength <= 0) return false;
    std::unique_ptr<unsigned char, void (*)(unsigned char*)> derOwner(der, [](unsigned char* p) { OPENSSL_free(p); });

    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> md(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    return md && EVP_DigestVerifyInit(md.get(), nullptr, EVP_sha256(), nullptr, pkey.get()) == 1 &&
           EVP_DigestVerify(md.get(), der, static_cast<std::size_t>(derLength), data.data(), data.size()) == 1;
}

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
