// SPDX-License-Identifier: MIT
// A reference model of the database for differential fuzzing. It is written from the documented
// behaviour alone and kept deliberately plain (vectors, a rebuilt image on every question) so that
// it shares no code and no cleverness with the library it checks.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace model {

using bytes = std::vector<std::uint8_t>;

// The UUID as it appears in the image (least significant byte first; a 32-bit UUID in a 16-byte
// field whose 12 leading bytes are zero), or nothing when text is not exactly 4, 8 or 32 hex digits.
std::optional<bytes> uuid_field(const char *text);

class database {
   public:
    // The same calls, arguments and results as the library's.
    void init_db();
    std::int32_t add_primary_service(const char *uuid_text);
    std::int32_t add_characteristic(const char *uuid_text, std::int32_t properties, std::uint8_t value_length,
                                    const std::uint8_t *value, std::uint8_t cccd_flag);
    std::uint16_t get_db_size() const;

    // The image generate_db must write; empty when it must write nothing.
    bytes image() const;

   private:
    struct characteristic {
        bytes uuid;
        std::uint8_t properties;
        bytes value;
        bool cccd;
    };
    struct service {
        bytes uuid;
        std::vector<characteristic> characteristics;
    };
    std::vector<service> services_;
};

}  // namespace model
