// SPDX-License-Identifier: MIT
// A C++ host built against an installed gattdb: the header it compiled with must match the package
// CMake found, and the library must answer through its C interface.
#include <gattdb.h>

#include <cstdio>
#include <cstring>
#include <vector>

int main() {
    if (std::strcmp(GATTDB_VERSION_STRING, GATTDB_PACKAGE_VERSION) != 0) {
        std::fprintf(stderr, "consumer: header %s but package %s\n", GATTDB_VERSION_STRING,
                     GATTDB_PACKAGE_VERSION);
        return 1;
    }
    const uint8_t battery_level[] = {100};
    init_db();
    if (!add_primary_service("180F") || !add_characteristic("2A19", 0x02, 1, battery_level, 0)) {
        std::fputs("consumer: the library refused the battery service\n", stderr);
        return 1;
    }
    std::vector<uint8_t> image(get_db_size());
    const bool generated = !image.empty() && generate_db(image.data());
    init_db();
    if (!generated) {
        std::fputs("consumer: no image\n", stderr);
        return 1;
    }
    // %u rather than %zu: older msvcrt.dll, the C runtime of a mingw-w64 build, lacks the z modifier.
    std::printf("consumer: gattdb %s, an image of %u bytes\n", GATTDB_VERSION_STRING,
                static_cast<unsigned>(image.size()));
    return 0;
}
