// SPDX-License-Identifier: MIT
#include "core/analysis/aes_cmac.hpp"

#include <openssl/core_names.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/params.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace gattdb::tool {
namespace {

struct mac_deleter {
    void operator()(EVP_MAC *mac) const { EVP_MAC_free(mac); }
    void operator()(EVP_MAC_CTX *context) const { EVP_MAC_CTX_free(context); }
};

[[noreturn]] void fail(const char *step) {
    char reason[256] = "unknown reason";
    if (const unsigned long code = ERR_get_error()) ERR_error_string_n(code, reason, sizeof reason);
    throw std::runtime_error(std::string("AES-CMAC: ") + step + " failed: " + reason);
}

}  // namespace

cmac_tag aes_cmac(const aes_key &key, std::span<const std::uint8_t> message) {
    const std::unique_ptr<EVP_MAC, mac_deleter> mac(EVP_MAC_fetch(nullptr, "CMAC", nullptr));
    if (!mac) fail("fetching CMAC");
    const std::unique_ptr<EVP_MAC_CTX, mac_deleter> context(EVP_MAC_CTX_new(mac.get()));
    if (!context) fail("creating its context");
    char cipher[] = "AES-128-CBC";  // CMAC runs the block cipher in CBC mode
    const OSSL_PARAM parameters[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_CIPHER, cipher, 0),
                                     OSSL_PARAM_construct_end()};
    if (EVP_MAC_init(context.get(), key.data(), key.size(), parameters) != 1) fail("setting the key");
    if (EVP_MAC_update(context.get(), message.data(), message.size()) != 1) fail("reading the message");
    cmac_tag tag{};
    std::size_t length = 0;
    if (EVP_MAC_final(context.get(), tag.data(), &length, tag.size()) != 1 || length != tag.size()) {
        fail("finishing the tag");
    }
    return tag;
}

}  // namespace gattdb::tool
