#pragma once
// A KVR configuration that passes every page of the KVR wizard and sheet: one entry in
// each list and a case that uses them.
#include "model/CKVRConfig.h"

#include <memory>

inline std::unique_ptr<CKVRConfig> CompleteKVRConfig()
{
    auto config = std::make_unique<CKVRConfig>();
    config->AddSensorConfig("Sens1", std::make_unique<CKVRSensorConfig>());
    config->AddShelterConfig("Pair1", std::make_unique<CKVRShelterConfig>());
    auto control = std::make_unique<CKVRControlConfig>();
    control->SetSensorIndex(0);
    control->SetShelterIndex(0);
    control->SetOutputA(1);
    config->AddControlConfig("Case1", std::move(control));
    return config;
}
