#pragma once
// The diagnosis library's exports and the small callbacks it hands the outside dialog
// library with the request callback.
#include "framework/core/LibraryExport.h"
#include "framework/core/WinTypes.h"
#include "framework/ui/UiDefs.h"

extern "C" {
// The language library every dialog and text of the library comes from.
TALISO_EXPORT void SetResourceHandle(HINSTANCE module);
// The whole diagnosis: opens the driver on the INI file's port, asks for the device and
// runs the diagnosis user interface until the user closes it.
TALISO_EXPORT void DialogDiagnose(HWND parent, const char* iniPath, const char* password);
}

// The device-address dialog, preset by probing the device's family. TRUE when the user
// confirmed an address and family, which the library then uses.
BOOL QueryDeviceAddress(HWND parent);
// 1 when the device is in a diagnosis mode (0x20 to 0x25) or could be put into 0x21.
int EnsureDiagnosisMode(LPARAM ignored);
int SetupDriver(HWND parent);
// The free result text; text holds at least kEditResultBufferSize bytes.
int ShowEditResultDialog(HWND parent, char* text);
