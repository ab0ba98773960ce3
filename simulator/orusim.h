#ifndef ORUSIM_H
#define ORUSIM_H
/* Exported interface of the simulator library: one simulated ZOK scanner and one
 * simulated KVR interface unit that answer request records as the devices do.
 *
 * Records are buffers of the caller: a request of 752 bytes, an answer of 756 bytes; the
 * library keeps no pointer to them. Every other value is a 32-bit int; the module handle
 * is pointer-sized. Not thread-safe: call from one thread. */
#include "framework/core/LibraryExport.h"

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Hands the request to the simulated device of its family (byte 2: 0 ZOK, 1 KVR).
 * 1 when that device built an answer; 0 for another family, a command the device does
 * not serve, or a failure inside the device (the answer is then not to be used). */
TALISO_EXPORT int SimTelegram(const unsigned char* request, unsigned char* answer);

/* The type code of the simulated device of a family; 0 for any other family. */
TALISO_EXPORT int SimSensorType(int family);

/* One capability number of a device type (4, 7, 50 for the scanner with its firmware
 * version; 132, 135, 178 for the interface unit); 0 when unknown. */
TALISO_EXPORT int SimSensorCaps(int type, int index);

/* Keeps the language library's module handle; returns the handle it was given. */
TALISO_EXPORT intptr_t OruSimSetResourceHandle(intptr_t module);

#ifdef __cplusplus
}
#endif

#endif
