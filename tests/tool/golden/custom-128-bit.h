/* The attribute handles of the database image gatt_db, written by gattdb build -f header.
 * gattdb build -f c writes the image itself. Generated from the description: do not edit. */
#ifndef GATT_DB_H
#define GATT_DB_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

extern const uint8_t gatt_db[];
extern const uint16_t gatt_db_length;

#ifdef __cplusplus
}
#endif

/* service 4F2A0001-8C3B-4D5E-9F10-2B3C4D5E6F70 */
#define GATT_DB_UUID_4F2A00018C3B4D5E9F102B3C4D5E6F70_SERVICE_HANDLE     1
#define GATT_DB_UUID_4F2A00018C3B4D5E9F102B3C4D5E6F70_END_HANDLE         10

/* characteristic 4F2A0002-8C3B-4D5E-9F10-2B3C4D5E6F70 */
#define GATT_DB_UUID_4F2A00028C3B4D5E9F102B3C4D5E6F70_DECLARATION_HANDLE 2
#define GATT_DB_UUID_4F2A00028C3B4D5E9F102B3C4D5E6F70_VALUE_HANDLE       3
#define GATT_DB_UUID_4F2A00028C3B4D5E9F102B3C4D5E6F70_CCCD_HANDLE        4

/* characteristic 4F2A0003-8C3B-4D5E-9F10-2B3C4D5E6F70 */
#define GATT_DB_UUID_4F2A00038C3B4D5E9F102B3C4D5E6F70_DECLARATION_HANDLE 5
#define GATT_DB_UUID_4F2A00038C3B4D5E9F102B3C4D5E6F70_VALUE_HANDLE       6

/* characteristic 4F2A0004-8C3B-4D5E-9F10-2B3C4D5E6F70 */
#define GATT_DB_UUID_4F2A00048C3B4D5E9F102B3C4D5E6F70_DECLARATION_HANDLE 7
#define GATT_DB_UUID_4F2A00048C3B4D5E9F102B3C4D5E6F70_VALUE_HANDLE       8

/* characteristic 12345678 */
#define GATT_DB_UUID_12345678_DECLARATION_HANDLE                         9
#define GATT_DB_UUID_12345678_VALUE_HANDLE                               10

/* the whole image */
#define GATT_DB_HANDLE_COUNT                                             10
#define GATT_DB_IMAGE_SIZE                                               134

#endif /* GATT_DB_H */
