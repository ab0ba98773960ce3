#include "dialogs/ComPortProbe.h"

#include "framework/core/Profile.h"
#include "framework/core/SerialDevice.h"

CString ComPortDevicePath(int port, LPCTSTR iniPath)
{
    if (port < kFirstComPort || port > kLastComPort)
        return CString();
    CString key;
    key.Format("COM%d", port);
    if (iniPath && *iniPath) {
        CString configured = ReadProfileString("PORTS", key, "", iniPath);
        configured.Trim();
        if (!configured.IsEmpty())
            return configured;
    }
    CString device;
    device.Format("/dev/ttyS%d", port - 1);
    return device;
}

bool CanOpenComPort(int port, LPCTSTR iniPath)
{
    const CString path = ComPortDevicePath(port, iniPath);
    if (path.IsEmpty())
        return false;
    SerialDevice device;
    return device.Open(path.str()) == 0;
}
