// SPDX-License-Identifier: MIT
// AES-CMAC (RFC 4493) with a 128-bit key, from OpenSSL's libcrypto.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace gattdb::tool {

using aes_key = std::array<std::uint8_t, 16>;
using cmac_tag = std::array<std::uint8_t, 16>;

// The tag in the order AES-CMAC produces its bytes. Throws std::runtime_error when libcrypto
// cannot compute it (no AES-CMAC in its providers), which no input can cause.
cmac_tag aes_cmac(const aes_key &key, std::span<const std::uint8_t> message);

}  // namespace gattdb::tool
