#include "app/DeviceSystemCommands.h"

#include "model/CKVRConfig.h"

void WriteKVRDefaultSystem() {}

std::unique_ptr<CKVRConfig> MakeKVRDefaultSystem(const CSensorType&)
{
    return nullptr;
}

void RunKVRScannerSession() {}
void WriteZOKWholeSystem() {}
void RunZOKDeviceCommand50() {}
