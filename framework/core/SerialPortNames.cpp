#include "framework/core/SerialPortNames.h"

#include "framework/core/Profile.h"

CString SerialPortDevicePath(unsigned portNumber, const char* iniPath)
{
    CString key;
    key.Format("COM%u", portNumber);
    if (iniPath && *iniPath) {
        CString configured = ReadProfileString("PORTS", key, "", iniPath);
        configured.Trim();
        if (!configured.IsEmpty())
            return configured;
    }
    CString device;
    if (portNumber > 0)
        device.Format("/dev/ttyS%u", portNumber - 1);
    return device;
}
