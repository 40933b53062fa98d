// HMAC and Base64 through OpenSSL's libcrypto (the Windows build uses the
// system's own, signing_windows.cpp).
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include "notify/signing.h"

namespace notify {

std::string hmac_sha256(std::string_view key, std::string_view data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    const unsigned char empty = 0;
    const auto* bytes = data.empty() ? &empty : reinterpret_cast<const unsigned char*>(data.data());
    if (HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()), bytes, data.size(), digest,
             &length) == nullptr) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(digest), length);
}

std::string base64(std::string_view bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3), '\0');
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                        reinterpret_cast<const unsigned char*>(bytes.data()),
                                        static_cast<int>(bytes.size()));
    out.resize(static_cast<std::size_t>(written));
    return out;
}

}  // namespace notify
