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

/* service 180D Heart Rate */
#define GATT_DB_HEART_RATE_SERVICE_HANDLE                 1
#define GATT_DB_HEART_RATE_END_HANDLE                     6

/* characteristic 2A37 Heart Rate Measurement */
#define GATT_DB_HEART_RATE_MEASUREMENT_DECLARATION_HANDLE 2
#define GATT_DB_HEART_RATE_MEASUREMENT_VALUE_HANDLE       3
#define GATT_DB_HEART_RATE_MEASUREMENT_CCCD_HANDLE        4

/* characteristic 2A38 Body Sensor Location */
#define GATT_DB_BODY_SENSOR_LOCATION_DECLARATION_HANDLE   5
#define GATT_DB_BODY_SENSOR_LOCATION_VALUE_HANDLE         6

/* the whole image */
#define GATT_DB_HANDLE_COUNT                              6
#define GATT_DB_IMAGE_SIZE                                30

#endif /* GATT_DB_H */
