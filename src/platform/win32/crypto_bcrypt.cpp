#include <windows.h>
#include <bcrypt.h>

#include <algorithm>

#include "platform/crypto.h"

namespace kodrin::platform {

namespace {

struct Algorithm {
    BCRYPT_ALG_HANDLE h = nullptr;
    ~Algorithm() { if (h) ::BCryptCloseAlgorithmProvider(h, 0); }
};

struct Key {
    BCRYPT_KEY_HANDLE h = nullptr;
    ~Key() { if (h) ::BCryptDestroyKey(h); }
};

// Runs the cipher from in to out, which may be the same memory (BCrypt works
// in place when both buffers are one).
}  // namespace

namespace detail {

bool CipherRun(bool encrypt, const Aes128Key& key_bytes, const Aes128Iv& iv, std::span<const std::uint8_t> in,
         std::uint8_t* out) {
    if (in.size() % 16 != 0) return false;
    Algorithm alg;
    if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&alg.h, BCRYPT_AES_ALGORITHM, nullptr, 0))) return false;
    if (!BCRYPT_SUCCESS(::BCryptSetProperty(alg.h, BCRYPT_CHAINING_MODE,
                                            reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_CBC)),
                                            sizeof(BCRYPT_CHAIN_MODE_CBC), 0)))
        return false;
    Aes128Key secret = key_bytes;
    Key key;
    if (!BCRYPT_SUCCESS(::BCryptGenerateSymmetricKey(alg.h, &key.h, nullptr, 0, secret.data(),
                                                     static_cast<ULONG>(secret.size()), 0)))
        return false;
    // BCrypt writes the chaining value back into the IV buffer it is given,
    // so it works on a copy; that also lets large buffers go in pieces.
    Aes128Iv chain = iv;
    constexpr std::size_t kPiece = std::size_t{1} << 30;
    std::size_t done = 0;
    while (done < in.size()) {
        const ULONG piece = static_cast<ULONG>(std::min(kPiece, in.size() - done));
        ULONG written = 0;
        PUCHAR src = const_cast<PUCHAR>(in.data() + done);
        const NTSTATUS status =
            encrypt ? ::BCryptEncrypt(key.h, src, piece, nullptr, chain.data(), static_cast<ULONG>(chain.size()),
                                      out + done, piece, &written, 0)
                    : ::BCryptDecrypt(key.h, src, piece, nullptr, chain.data(), static_cast<ULONG>(chain.size()),
                                      out + done, piece, &written, 0);
        if (!BCRYPT_SUCCESS(status) || written != piece) return false;
        done += piece;
    }
    return true;
}

}  // namespace detail


bool Sha256(std::span<const std::uint8_t> data, Sha256Digest& digest) {
    Algorithm alg;
    if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&alg.h, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) return false;
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!BCRYPT_SUCCESS(::BCryptCreateHash(alg.h, &hash, nullptr, 0, nullptr, 0, 0))) return false;
    bool ok = true;
    // BCrypt counts in ULONG: large inputs go in pieces.
    constexpr std::size_t kPiece = std::size_t{1} << 30;
    for (std::size_t done = 0; ok && done < data.size(); done += kPiece) {
        const std::size_t piece = std::min(kPiece, data.size() - done);
        ok = BCRYPT_SUCCESS(::BCryptHashData(hash, const_cast<PUCHAR>(data.data() + done), static_cast<ULONG>(piece), 0));
    }
    ok = ok && BCRYPT_SUCCESS(::BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
    ::BCryptDestroyHash(hash);
    return ok;
}

bool VerifyEcdsaP256Sha256(const EcdsaP256PublicKey& key, std::span<const std::uint8_t> data,
                           std::span<const std::uint8_t> signature) {
    if (signature.size() != 64 || key[0] != 0x04) return false;
    Sha256Digest digest{};
    if (!Sha256(data, digest)) return false;
    Algorithm alg;
    if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&alg.h, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0))) return false;
    // BCRYPT_ECCPUBLIC_BLOB: the header, then X and Y.
    std::array<std::uint8_t, sizeof(BCRYPT_ECCKEY_BLOB) + 64> blob{};
    BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
    std::copy_n(reinterpret_cast<const std::uint8_t*>(&header), sizeof header, blob.begin());
    std::copy(key.begin() + 1, key.end(), blob.begin() + sizeof header);
    Key imported;
    if (!BCRYPT_SUCCESS(::BCryptImportKeyPair(alg.h, nullptr, BCRYPT_ECCPUBLIC_BLOB, &imported.h, blob.data(),
                                              static_cast<ULONG>(blob.size()), 0))) {
        return false;
    }
    return BCRYPT_SUCCESS(::BCryptVerifySignature(imported.h, nullptr, digest.data(), static_cast<ULONG>(digest.size()),
                                                  const_cast<PUCHAR>(signature.data()),
                                                  static_cast<ULONG>(signature.size()), 0));
}

bool RandomBytes(std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const ULONG piece = static_cast<ULONG>(std::min<std::size_t>(out.size() - done, 0x10000000u));
        if (!BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, out.data() + done, piece, BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
            return false;
        done += piece;
    }
    return true;
}

}  // namespace kodrin::platform
