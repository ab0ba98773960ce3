// The simulator library's exports and its two devices, which live from the library's
// load to its unload.
#include "simulator/orusim.h"

#include "shared/SensorTelegram.h"
#include "simulator/internal/CKVRDevice.h"
#include "simulator/internal/CZOKDevice.h"
#include "simulator/internal/SimCapabilities.h"

namespace {

CZOKDevice g_zokDevice;
CKVRDevice g_kvrDevice;
intptr_t g_resourceHandle = 0;

bool IsScannerType(int type)
{
    return type == kDeviceTypeZOK4 || type == kDeviceTypeZOK7 || type == kDeviceTypeZOK50;
}

bool IsInterfaceUnitType(int type)
{
    return type == kDeviceTypeKVR132 || type == kDeviceTypeKVR135 || type == kDeviceTypeKVR178;
}

} // namespace

extern "C" int SimTelegram(const unsigned char* request, unsigned char* answer)
{
    if (!request || !answer)
        return 0;
    const ConstRequestSpan requestRecord(request, kRequestRecordSize);
    const AnswerSpan answerRecord(answer, kAnswerRecordSize);
    try {
        switch (requestRecord[RequestOffset::Family]) {
        case kFamilyZOK: return g_zokDevice.Telegram(requestRecord, answerRecord);
        case kFamilyKVR: return g_kvrDevice.Telegram(requestRecord, answerRecord);
        default: return 0;
        }
    } catch (...) {
        // Nothing may cross the library's boundary; the exchange simply failed.
        return 0;
    }
}

extern "C" int SimSensorType(int family)
{
    switch (family) {
    case kFamilyZOK: return g_zokDevice.GetTypeCode();
    case kFamilyKVR: return g_kvrDevice.GetTypeCode();
    default: return 0;
    }
}

extern "C" int SimSensorCaps(int type, int index)
{
    if (IsScannerType(type))
        return int(LookupSimCapability(DWORD(type), g_zokDevice.GetFirmwareVersion(), index));
    if (IsInterfaceUnitType(type))
        return int(LookupSimCapability(DWORD(type), 0, index));
    return 0;
}

extern "C" intptr_t OruSimSetResourceHandle(intptr_t module)
{
    g_resourceHandle = module;
    return module;
}
