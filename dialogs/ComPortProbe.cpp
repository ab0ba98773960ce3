#include "dialogs/ComPortProbe.h"

#include "framework/core/SerialDevice.h"
#include "framework/core/SerialPortNames.h"

CString ComPortDevicePath(int port, LPCTSTR iniPath)
{
    if (port < kFirstComPort || port > kLastComPort)
        return CString();
    return SerialPortDevicePath(unsigned(port), iniPath);
}

bool CanOpenComPort(int port, LPCTSTR iniPath)
{
    const CString path = ComPortDevicePath(port, iniPath);
    if (path.IsEmpty())
        return false;
    SerialDevice device;
    return device.Open(path.str()) == 0;
}
