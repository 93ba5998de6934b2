// SPDX-License-Identifier: MIT
#include "core/writers/built_database.hpp"

#include "core/image/builder.hpp"

namespace gattdb::tool {

named_image name_and_build(const database &db, const std::string &input) {
    try {
        return {resolve_names(db), build_image(db)};
    } catch (const input_error &error) {
        throw input_error(input, error);
    }
}

}  // namespace gattdb::tool
