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

/* service 180F Battery Service */
#define GATT_DB_BATTERY_SERVICE_SERVICE_HANDLE              1
#define GATT_DB_BATTERY_SERVICE_END_HANDLE                  4

/* characteristic 2A19 Battery Level */
#define GATT_DB_BATTERY_LEVEL_DECLARATION_HANDLE            2
#define GATT_DB_BATTERY_LEVEL_VALUE_HANDLE                  3
#define GATT_DB_BATTERY_LEVEL_CCCD_HANDLE                   4

/* service 180A Device Information */
#define GATT_DB_DEVICE_INFORMATION_SERVICE_HANDLE           5
#define GATT_DB_DEVICE_INFORMATION_END_HANDLE               17

/* characteristic 2A29 Manufacturer Name String */
#define GATT_DB_MANUFACTURER_NAME_STRING_DECLARATION_HANDLE 6
#define GATT_DB_MANUFACTURER_NAME_STRING_VALUE_HANDLE       7

/* characteristic 2A24 Model Number String */
#define GATT_DB_MODEL_NUMBER_STRING_DECLARATION_HANDLE      8
#define GATT_DB_MODEL_NUMBER_STRING_VALUE_HANDLE            9

/* characteristic 2A25 Serial Number String */
#define GATT_DB_SERIAL_NUMBER_STRING_DECLARATION_HANDLE     10
#define GATT_DB_SERIAL_NUMBER_STRING_VALUE_HANDLE           11

/* characteristic 2A27 Hardware Revision String */
#define GATT_DB_HARDWARE_REVISION_STRING_DECLARATION_HANDLE 12
#define GATT_DB_HARDWARE_REVISION_STRING_VALUE_HANDLE       13

/* characteristic 2A26 Firmware Revision String */
#define GATT_DB_FIRMWARE_REVISION_STRING_DECLARATION_HANDLE 14
#define GATT_DB_FIRMWARE_REVISION_STRING_VALUE_HANDLE       15

/* characteristic 2A28 Software Revision String */
#define GATT_DB_SOFTWARE_REVISION_STRING_DECLARATION_HANDLE 16
#define GATT_DB_SOFTWARE_REVISION_STRING_VALUE_HANDLE       17

/* the whole image */
#define GATT_DB_HANDLE_COUNT                                17
#define GATT_DB_IMAGE_SIZE                                  128

#endif /* GATT_DB_H */
