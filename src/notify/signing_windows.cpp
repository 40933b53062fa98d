// HMAC and Base64 through the system's own CNG (bcrypt) and CryptoAPI, so the
// Windows build needs no OpenSSL.
#if defined(_WIN32)
#include <windows.h>
// windows.h first: the two below use its types.
#include <bcrypt.h>
#include <wincrypt.h>

#include <memory>
#include <vector>

#include "notify/signing.h"

namespace notify {

namespace {

struct AlgorithmCloser {
    void operator()(BCRYPT_ALG_HANDLE a) const { BCryptCloseAlgorithmProvider(a, 0); }
};
using Algorithm = std::unique_ptr<void, AlgorithmCloser>;

struct HashCloser {
    void operator()(BCRYPT_HASH_HANDLE h) const { BCryptDestroyHash(h); }
};
using Hash = std::unique_ptr<void, HashCloser>;

bool succeeded(NTSTATUS status) {
    return status >= 0;
}

PUCHAR bytes_of(std::string_view s) {
    return reinterpret_cast<PUCHAR>(const_cast<char*>(s.data()));
}

}  // namespace

std::string hmac_sha256(std::string_view key, std::string_view data) {
    BCRYPT_ALG_HANDLE opened = nullptr;
    if (!succeeded(BCryptOpenAlgorithmProvider(&opened, BCRYPT_SHA256_ALGORITHM, nullptr,
                                               BCRYPT_ALG_HANDLE_HMAC_FLAG)))
        return {};
    const Algorithm algorithm(opened);
    BCRYPT_HASH_HANDLE created = nullptr;
    if (!succeeded(BCryptCreateHash(opened, &created, nullptr, 0, bytes_of(key),
                                    static_cast<ULONG>(key.size()), 0)))
        return {};
    const Hash hash(created);
    std::string digest(32, '\0');
    if (!succeeded(BCryptHashData(created, bytes_of(data), static_cast<ULONG>(data.size()), 0)) ||
        !succeeded(BCryptFinishHash(created, reinterpret_cast<PUCHAR>(digest.data()),
                                    static_cast<ULONG>(digest.size()), 0)))
        return {};
    return digest;
}

std::string base64(std::string_view bytes) {
    if (bytes.empty())
        return {};
    constexpr DWORD kFlags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF;
    const auto* data = reinterpret_cast<const BYTE*>(bytes.data());
    const auto size = static_cast<DWORD>(bytes.size());
    DWORD length = 0;
    if (!CryptBinaryToStringA(data, size, kFlags, nullptr, &length))
        return {};
    std::string out(length, '\0');
    if (!CryptBinaryToStringA(data, size, kFlags, out.data(), &length))
        return {};
    out.resize(length);  // the count without the terminating NUL
    return out;
}

}  // namespace notify
#endif
