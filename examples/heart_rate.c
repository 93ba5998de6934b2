// SPDX-License-Identifier: MIT
/* Builds a heart-rate database through the C interface and prints its image as hex, 16 bytes a
 * line. */
#include <stdio.h>
#include <stdlib.h>

#include "gattdb.h"

enum { PROPERTY_READ = 0x02, PROPERTY_NOTIFY = 0x10 };

int main(void) {
    static const uint8_t measurement[] = {0x00, 0x48};    /* flags, 72 beats per minute */
    static const uint8_t body_sensor_location[] = {0x01}; /* chest */

    init_db();
    if (!add_primary_service("180D") ||
        !add_characteristic("2A37", PROPERTY_NOTIFY, sizeof measurement, measurement, 1) ||
        !add_characteristic("2A38", PROPERTY_READ, sizeof body_sensor_location, body_sensor_location, 0)) {
        fputs("heart_rate: the library refused the database\n", stderr);
        return 1;
    }

    const uint16_t size = get_db_size();
    uint8_t *image = malloc(size);
    if (image == NULL || !generate_db(image)) {
        fputs("heart_rate: could not generate the image\n", stderr);
        free(image);
        init_db();
        return 1;
    }
    for (uint16_t i = 0; i < size; ++i)
        printf("%02X%c", image[i], (i % 16 == 15 || i + 1 == size) ? '\n' : ' ');
    free(image);
    init_db(); /* releases the value copies */
    return 0;
}
