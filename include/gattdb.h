// SPDX-License-Identifier: MIT
/*
 * gattdb: builds the attribute database of a Bluetooth LE GATT server and encodes it as one compact
 * byte image.
 *
 * Usage: init_db(); add_primary_service() for a service, then add_characteristic() for each of its
 * characteristics, service after service; get_db_size() to size a buffer; generate_db() to fill it.
 *
 * The library keeps one process-wide table (at most 20 services of 40 characteristics each) with no
 * lock: call it from one thread at a time. Results are 1 for success and 0 for failure; a call that
 * fails changes nothing. Pointers passed in are read during the call only and stay the caller's.
 */
#ifndef GATTDB_H
#define GATTDB_H

#include <stdint.h>

#define GATTDB_VERSION_MAJOR 1
#define GATTDB_VERSION_MINOR 0
#define GATTDB_VERSION_PATCH 0
#define GATTDB_VERSION_NUMBER \
    (GATTDB_VERSION_MAJOR * 10000 + GATTDB_VERSION_MINOR * 100 + GATTDB_VERSION_PATCH)
#define GATTDB_VERSION_STRING "1.0.0"

/* What the table holds and the image can express. A database past any of these is refused, never
 * truncated. */
#define GATTDB_MAX_SERVICES 20        /* services in the table */
#define GATTDB_MAX_CHARACTERISTICS 40 /* characteristics in one service */
#define GATTDB_MAX_VALUE_LENGTH 255   /* bytes of a characteristic's initial value */
#define GATTDB_MAX_HANDLE 255         /* attribute handles are one byte wide in the image */

/* GATTDB_VISIBILITY marks the exported calls; everything else in the library is hidden. */
#ifndef GATTDB_VISIBILITY
#if defined(__GNUC__) && (__GNUC__ >= 4)
#define GATTDB_VISIBILITY __attribute__((visibility("default")))
#else
#define GATTDB_VISIBILITY
#endif
#endif

/* On Windows the DLL exports the calls and hosts import them; define GATTDB_STATIC to link a
 * static build instead. */
#ifndef GATTDB_API
#if defined(_WIN32) && defined(GATTDB_BUILDING_DLL)
#define GATTDB_API __declspec(dllexport) GATTDB_VISIBILITY
#elif defined(_WIN32) && !defined(GATTDB_STATIC)
#define GATTDB_API __declspec(dllimport) GATTDB_VISIBILITY
#else
#define GATTDB_API GATTDB_VISIBILITY
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Empties the table and releases every value copy it held. The table is also empty when the library
 * has just been loaded. */
GATTDB_API void init_db(void);

/* Opens a new primary service. uuid_text is exactly 4, 8 or 32 hex digits (either case, most
 * significant first, nothing else: no "0x", dashes, signs or spaces) for a 16-, 32- or 128-bit UUID.
 * Returns 1 when added; 0 when uuid_text is null or not such a text, or 20 services are in use. */
GATTDB_API int32_t add_primary_service(const char *uuid_text);

/* Adds a characteristic to the service opened last; when that one holds 40 characteristics already,
 * to the latest earlier service with room. uuid_text is as for add_primary_service. Only the low 8
 * bits of properties reach the image. The value_length bytes at value are copied (value is not read
 * when value_length is 0). A nonzero cccd_flag gives the characteristic a client characteristic
 * configuration descriptor. Returns 1 when added; 0 when uuid_text is null or invalid, value is null
 * with a nonzero value_length, no service in use has room, or the copy cannot be allocated. */
GATTDB_API int32_t add_characteristic(const char *uuid_text, int32_t properties, uint8_t value_length,
                                      const uint8_t *value, uint8_t cccd_flag);

/* Returns the size in bytes of the database image; 0 when the table is empty or the database needs
 * more than the image can express (an attribute handle above 255). */
GATTDB_API uint16_t get_db_size(void);

/* Writes the image into out, which must hold at least get_db_size() bytes. Returns 1 when written;
 * 0, writing nothing, when out is null or get_db_size() is 0. Never writes past get_db_size() bytes,
 * never allocates, never changes the table. */
GATTDB_API int32_t generate_db(uint8_t *out);

#ifdef __cplusplus
}
#endif

#endif /* GATTDB_H */
