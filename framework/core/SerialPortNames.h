#pragma once
// The platform's names of serial ports: "COMn" is the device the INI file's section
// "PORTS" names under the key "COMn", else /dev/ttyS<n-1>. Port 0 names no device.
#include "framework/core/CString.h"

CString SerialPortDevicePath(unsigned portNumber, const char* iniPath);
