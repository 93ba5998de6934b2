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

/* service 1800 Generic Access */
#define GATT_DB_GENERIC_ACCESS_SERVICE_HANDLE                                 1
#define GATT_DB_GENERIC_ACCESS_END_HANDLE                                     7

/* characteristic 2A00 Device Name */
#define GATT_DB_DEVICE_NAME_DECLARATION_HANDLE                                2
#define GATT_DB_DEVICE_NAME_VALUE_HANDLE                                      3

/* characteristic 2A01 Appearance */
#define GATT_DB_APPEARANCE_DECLARATION_HANDLE                                 4
#define GATT_DB_APPEARANCE_VALUE_HANDLE                                       5

/* characteristic 2A04 Peripheral Preferred Connection Parameters */
#define GATT_DB_PERIPHERAL_PREFERRED_CONNECTION_PARAMETERS_DECLARATION_HANDLE 6
#define GATT_DB_PERIPHERAL_PREFERRED_CONNECTION_PARAMETERS_VALUE_HANDLE       7

/* service 1801 Generic Attribute */
#define GATT_DB_GENERIC_ATTRIBUTE_SERVICE_HANDLE                              8
#define GATT_DB_GENERIC_ATTRIBUTE_END_HANDLE                                  11

/* characteristic 2A05 Service Changed */
#define GATT_DB_SERVICE_CHANGED_DECLARATION_HANDLE                            9
#define GATT_DB_SERVICE_CHANGED_VALUE_HANDLE                                  10
#define GATT_DB_SERVICE_CHANGED_CCCD_HANDLE                                   11

/* service 180F Battery Service */
#define GATT_DB_BATTERY_SERVICE_SERVICE_HANDLE                                12
#define GATT_DB_BATTERY_SERVICE_END_HANDLE                                    15

/* characteristic 2A19 Battery Level */
#define GATT_DB_BATTERY_LEVEL_DECLARATION_HANDLE                              13
#define GATT_DB_BATTERY_LEVEL_VALUE_HANDLE                                    14
#define GATT_DB_BATTERY_LEVEL_CCCD_HANDLE                                     15

/* service 180D Heart Rate */
#define GATT_DB_HEART_RATE_SERVICE_HANDLE                                     16
#define GATT_DB_HEART_RATE_END_HANDLE                                         23

/* characteristic 2A37 Heart Rate Measurement */
#define GATT_DB_HEART_RATE_MEASUREMENT_DECLARATION_HANDLE                     17
#define GATT_DB_HEART_RATE_MEASUREMENT_VALUE_HANDLE                           18
#define GATT_DB_HEART_RATE_MEASUREMENT_CCCD_HANDLE                            19

/* characteristic 2A38 Body Sensor Location */
#define GATT_DB_BODY_SENSOR_LOCATION_DECLARATION_HANDLE                       20
#define GATT_DB_BODY_SENSOR_LOCATION_VALUE_HANDLE                             21

/* characteristic 2A39 Heart Rate Control Point */
#define GATT_DB_HEART_RATE_CONTROL_POINT_DECLARATION_HANDLE                   22
#define GATT_DB_HEART_RATE_CONTROL_POINT_VALUE_HANDLE                         23

/* service 181A Environmental Sensing */
#define GATT_DB_ENVIRONMENTAL_SENSING_SERVICE_HANDLE                          24
#define GATT_DB_ENVIRONMENTAL_SENSING_END_HANDLE                              32

/* characteristic 2A6E Temperature */
#define GATT_DB_TEMPERATURE_DECLARATION_HANDLE                                25
#define GATT_DB_TEMPERATURE_VALUE_HANDLE                                      26
#define GATT_DB_TEMPERATURE_CCCD_HANDLE                                       27

/* characteristic 2A6F Humidity */
#define GATT_DB_HUMIDITY_DECLARATION_HANDLE                                   28
#define GATT_DB_HUMIDITY_VALUE_HANDLE                                         29
#define GATT_DB_HUMIDITY_CCCD_HANDLE                                          30

/* characteristic 2A6D Pressure */
#define GATT_DB_PRESSURE_DECLARATION_HANDLE                                   31
#define GATT_DB_PRESSURE_VALUE_HANDLE                                         32

/* service 180A Device Information */
#define GATT_DB_DEVICE_INFORMATION_SERVICE_HANDLE                             33
#define GATT_DB_DEVICE_INFORMATION_END_HANDLE                                 39

/* characteristic 2A29 Manufacturer Name String */
#define GATT_DB_MANUFACTURER_NAME_STRING_DECLARATION_HANDLE                   34
#define GATT_DB_MANUFACTURER_NAME_STRING_VALUE_HANDLE                         35

/* characteristic 2A24 Model Number String */
#define GATT_DB_MODEL_NUMBER_STRING_DECLARATION_HANDLE                        36
#define GATT_DB_MODEL_NUMBER_STRING_VALUE_HANDLE                              37

/* characteristic 2A26 Firmware Revision String */
#define GATT_DB_FIRMWARE_REVISION_STRING_DECLARATION_HANDLE                   38
#define GATT_DB_FIRMWARE_REVISION_STRING_VALUE_HANDLE                         39

/* service 7D3B0100-5E1A-4C2B-8D6E-0F1A2B3C4D5E */
#define GATT_DB_UUID_7D3B01005E1A4C2B8D6E0F1A2B3C4D5E_SERVICE_HANDLE          40
#define GATT_DB_UUID_7D3B01005E1A4C2B8D6E0F1A2B3C4D5E_END_HANDLE              48

/* characteristic 7D3B0101-5E1A-4C2B-8D6E-0F1A2B3C4D5E */
#define GATT_DB_UUID_7D3B01015E1A4C2B8D6E0F1A2B3C4D5E_DECLARATION_HANDLE      41
#define GATT_DB_UUID_7D3B01015E1A4C2B8D6E0F1A2B3C4D5E_VALUE_HANDLE            42

/* characteristic 7D3B0102-5E1A-4C2B-8D6E-0F1A2B3C4D5E */
#define GATT_DB_UUID_7D3B01025E1A4C2B8D6E0F1A2B3C4D5E_DECLARATION_HANDLE      43
#define GATT_DB_UUID_7D3B01025E1A4C2B8D6E0F1A2B3C4D5E_VALUE_HANDLE            44
#define GATT_DB_UUID_7D3B01025E1A4C2B8D6E0F1A2B3C4D5E_CCCD_HANDLE             45

/* characteristic 7D3B0103-5E1A-4C2B-8D6E-0F1A2B3C4D5E */
#define GATT_DB_UUID_7D3B01035E1A4C2B8D6E0F1A2B3C4D5E_DECLARATION_HANDLE      46
#define GATT_DB_UUID_7D3B01035E1A4C2B8D6E0F1A2B3C4D5E_VALUE_HANDLE            47
#define GATT_DB_UUID_7D3B01035E1A4C2B8D6E0F1A2B3C4D5E_CCCD_HANDLE             48

/* service ABCD0001 */
#define GATT_DB_UUID_ABCD0001_SERVICE_HANDLE                                  49
#define GATT_DB_UUID_ABCD0001_END_HANDLE                                      49

/* the whole image */
#define GATT_DB_HANDLE_COUNT                                                  49
#define GATT_DB_IMAGE_SIZE                                                    414

#endif /* GATT_DB_H */
