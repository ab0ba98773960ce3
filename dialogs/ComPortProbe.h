#pragma once
// Which serial ports can be opened now. Port n stands for the device the INI file's
// section "PORTS" names under "COMn" (as the driver maps it), else /dev/ttyS<n-1>.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

constexpr int kFirstComPort = 1;
constexpr int kLastComPort = 9;

CString ComPortDevicePath(int port, LPCTSTR iniPath);
// Opens the port for exclusive use and closes it again; false when it is absent, not a
// serial device or held by another program.
bool CanOpenComPort(int port, LPCTSTR iniPath);
