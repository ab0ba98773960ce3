/* The driver library's exported interface: plain C functions, usable from C and C++.
 *
 * A handle comes from LoadSensor and is pointer-sized; every other value is a 32-bit
 * int, texts are char buffers and records unsigned char buffers of the caller: a
 * request record holds ORUDRV_REQUEST_SIZE bytes, an answer record ORUDRV_ANSWER_SIZE.
 * The driver keeps no pointer to them after a call.
 *
 * A failing function returns 0 and leaves the reason in one last-error text shared by
 * all handles; ErrorSensor fetches and empties it. Not thread-safe: call from one thread.
 */
#ifndef ORUDRV_H
#define ORUDRV_H

#include "framework/core/LibraryExport.h"

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ORUDRV_REQUEST_SIZE 752
#define ORUDRV_ANSWER_SIZE 756
/* Least sizes of the records GetZOKSimData and GetKVRSimData fill. */
#define ORUDRV_ZOK_SIM_DATA_SIZE 225
#define ORUDRV_KVR_SIM_DATA_SIZE 297

/* A handle for the INI file's serial settings (section "SETUP"; section "PORTS" maps
 * "COMn" to a device path); the port stays closed. 0 when no handle can be made. */
TALISO_EXPORT intptr_t LoadSensor(const char* iniPath);
/* Destroys the handle and closes its port; 1, also for handle 0. */
TALISO_EXPORT int FreeSensor(intptr_t handle);

/* Opens the port and sets the line and the time-outs; 1/0. */
TALISO_EXPORT int OpenSensor(intptr_t handle);
/* 1 when the port is open. */
TALISO_EXPORT int QuerySensor(intptr_t handle);
/* Closes the port; 1 also when it was closed. */
TALISO_EXPORT int CloseSensor(intptr_t handle);

/* Runs the port set-up dialog modal to parentWindow (a window handle, or 0); after OK
 * writes "SETUP" and reopens an open port and returns 1; 0 after Cancel. When the INI
 * file does not take the settings they are in force for the handle all the same, and
 * the result is 0 with the reason left for ErrorSensor. */
TALISO_EXPORT int SetupSensor(intptr_t handle, intptr_t parentWindow);
/* The baud code and STXTimeout that "SETUP" holds now. */
TALISO_EXPORT int GetSetupBaudrate(intptr_t handle);
TALISO_EXPORT int GetSetupSTXTimeout(intptr_t handle);
/* Rewrite "SETUP" with the value and reopen an open port. SetBaudrate changes the open
 * port only: a later OpenSensor sets the code of the load or set-up again. A value the
 * INI file does not take is in force all the same; the result is then 0 with the
 * reason left for ErrorSensor. */
TALISO_EXPORT int SetBaudrate(intptr_t handle, int baudCode);
TALISO_EXPORT int SetSTXTimeout(intptr_t handle, int milliseconds);

/* One exchange of a request record for an answer record; with request 0 it waits for
 * a record the device sends on its own (then 1 even when none came). 1/0. */
TALISO_EXPORT int TelegramSensor(intptr_t handle, const unsigned char* request, unsigned char* answer);
/* Firmware download. TelegramDownload sends one download telegram (0x0B, 0x0C, 0x78 or
 * a command with the caller's length) and succeeds on any checksum-correct answer
 * frame. DownloadHexFile checks the whole Intel HEX file first, then switches the
 * device and the port to download mode, sends the file record by record and sets the
 * configured baud code again; request is work space. 1/0; 0 for a null request. */
TALISO_EXPORT int TelegramDownload(intptr_t handle, unsigned char* request);
TALISO_EXPORT int DownloadHexFile(intptr_t handle, unsigned char* request, const char* hexFilePath);

/* Copies at most size - 1 bytes of the last-error text and a NUL into buffer and
 * empties the text; 1 when the buffer got a text. The handle is not used. */
TALISO_EXPORT int ErrorSensor(intptr_t handle, char* buffer, int size);
/* The display text of a device code in a text class, cut to size - 1 bytes and a NUL;
 * 1 when it is not empty. A class without texts leaves the buffer as it was. */
TALISO_EXPORT int TextSensor(int textClass, int code, char* buffer, int size, int extra);

/* The type code of the connected device of a family (0 ZOK: 4, 7, 50 or 0; 1 KVR:
 * 132, 135 or 178), and one capability number of a type code. */
TALISO_EXPORT int GetSensorType(intptr_t handle, int family);
TALISO_EXPORT int GetSensorCaps(intptr_t handle, int type, int index);

/* Fill a simulated identity record (sizes above); the two first values are not used.
 * 0. */
TALISO_EXPORT int GetZOKSimData(int unused1, int unused2, unsigned char* record);
TALISO_EXPORT int GetKVRSimData(int unused1, int unused2, unsigned char* record);

/* The language library that texts and the set-up dialog come from; returns it. */
TALISO_EXPORT intptr_t OruDrvSetResourceHandle(intptr_t module);

#ifdef __cplusplus
}
#endif

#endif /* ORUDRV_H */
