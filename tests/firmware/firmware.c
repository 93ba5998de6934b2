// SPDX-License-Identifier: MIT
/* A firmware's use of its database: the image hr_db and its handles, both generated from the
 * description by gattdb_add_database. It checks the header's constants against the image, walking
 * the entries as docs/image-format.md lays them out, and prints the value at the value handle of
 * the heart rate measurement. Written in the common part of C99 and C++, so that firmware.cpp
 * compiles the same program as C++. */
#include <stdio.h>

#include "hr_db.h"

enum { DECLARATION_MARKER = 0x30, DESCRIPTOR_MARKER = 0x6C };

/* The offset of the entry of the attribute with that handle, or -1 past the last. */
static long entry_offset(unsigned handle) {
    unsigned long offset = 0;
    unsigned current = 1;
    int value_follows = 0; /* a value entry comes right after each declaration */
    while (offset < hr_db_length) {
        const uint8_t *entry = hr_db + offset;
        if (current == handle) return (long)offset;
        if (value_follows) {
            offset += 3u + entry[2] + entry[2] % 2u;
        } else {
            offset += entry[0] == DESCRIPTOR_MARKER ? 2u : 2u + entry[1];
        }
        value_follows = !value_follows && entry[0] == DECLARATION_MARKER;
        ++current;
    }
    return -1;
}

static int fail(const char *what) {
    fprintf(stderr, "firmware: %s\n", what);
    return 1;
}

int main(void) {
    const long service = entry_offset(HR_DB_HEART_RATE_SERVICE_HANDLE);
    const long declaration = entry_offset(HR_DB_HEART_RATE_MEASUREMENT_DECLARATION_HANDLE);
    const long value = entry_offset(HR_DB_HEART_RATE_MEASUREMENT_VALUE_HANDLE);
    const long descriptor = entry_offset(HR_DB_HEART_RATE_MEASUREMENT_CCCD_HANDLE);
    unsigned i;
    if (hr_db_length != HR_DB_IMAGE_SIZE) return fail("the image's length is not HR_DB_IMAGE_SIZE");
    if (entry_offset(HR_DB_HANDLE_COUNT) < 0 || entry_offset(HR_DB_HANDLE_COUNT + 1) >= 0)
        return fail("the image does not hold HR_DB_HANDLE_COUNT attributes");
    if (service < 0 || hr_db[service + 1] != 2 || hr_db[service + 2] != 0x0D || hr_db[service + 3] != 0x18)
        return fail("no service 180D at its handle");
    if (declaration < 0 || value < 0 || hr_db[declaration] != DECLARATION_MARKER ||
        hr_db[declaration + 3] != HR_DB_HEART_RATE_MEASUREMENT_VALUE_HANDLE)
        return fail("the declaration does not name the value handle");
    if (descriptor < 0 || hr_db[descriptor] != DESCRIPTOR_MARKER) return fail("no descriptor at its handle");
    printf("HEART_RATE_MEASUREMENT value at handle %u:", (unsigned)HR_DB_HEART_RATE_MEASUREMENT_VALUE_HANDLE);
    for (i = 0; i < hr_db[value + 2]; ++i) printf(" %02X", (unsigned)hr_db[value + 3 + i]);
    printf("\n");
    return 0;
}
