#pragma once
// The configuration of one scanner connected to a KVR unit. It holds no values of its
// own: the sensor list gives each connected scanner a named item.
#include "framework/core/CObject.h"

class CKVRSensorConfig : public CObject {
    DECLARE_SERIAL(CKVRSensorConfig)
public:
    CKVRSensorConfig() = default;
    CKVRSensorConfig(const CKVRSensorConfig&) : CObject() {}
    CKVRSensorConfig& operator=(const CKVRSensorConfig&) { return *this; }

    // Version byte 1 and nothing else.
    void Serialize(CArchive& ar) override;
};
