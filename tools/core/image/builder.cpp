// SPDX-License-Identifier: MIT
#include "core/image/builder.hpp"

#include "gattdb.h"

namespace gattdb::tool {
namespace {

// Releases the library's value copies however the build ends.
class library_table {
   public:
    library_table() { init_db(); }
    ~library_table() { init_db(); }
    library_table(const library_table &) = delete;
    library_table &operator=(const library_table &) = delete;
};

std::string service_place(std::size_t index) { return "services[" + std::to_string(index) + "]"; }

}  // namespace

std::vector<std::uint8_t> build_image(const database &db) {
    const library_table table;
    for (std::size_t i = 0; i < db.services.size(); ++i) {
        const service &s = db.services[i];
        if (add_primary_service(s.uuid.c_str()) != 1) {
            throw input_error(service_place(i), "the library refused the service");
        }
        for (std::size_t j = 0; j < s.characteristics.size(); ++j) {
            const characteristic &c = s.characteristics[j];
            if (add_characteristic(c.uuid.c_str(), c.properties, static_cast<std::uint8_t>(c.value.size()),
                                   c.value.data(), c.cccd ? 1 : 0) != 1) {
                throw input_error(service_place(i) + ".characteristics[" + std::to_string(j) + "]",
                                  "the library refused the characteristic");
            }
        }
    }
    std::vector<std::uint8_t> image(get_db_size());
    if (image.empty() || generate_db(image.data()) != 1) {
        throw input_error("services", "the library could not encode the database");
    }
    return image;
}

}  // namespace gattdb::tool
