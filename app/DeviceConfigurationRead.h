#pragma once
// Reads the whole configuration of the connected device in one session, with the
// session's Retry/Cancel prompts: connect, identify, read, disconnect.
#include "device/ConfigurationProcedures.h"
#include "device/DeviceProcedures.h"
#include "framework/core/CArchive.h"
#include "framework/core/CException.h"

#include <memory>

template <class Sensor, class Config>
std::unique_ptr<Config> ReadConfigurationFromDevice(std::unique_ptr<Config> (*read)(Sensor&, BOOL))
{
    Sensor sensor;
    if (!ConnectSensor(sensor, TRUE))
        return nullptr;
    std::unique_ptr<Config> config;
    if (IdentifySensor(sensor, TRUE))
        config = read(sensor, TRUE);
    DisconnectSensor(sensor, TRUE);
    return config;
}

// The document file's part for one configuration: a version byte, then the object.
// Any other version, or a file without a configuration, is a bad format.
template <class Config>
void SerializeConfiguration(CArchive& ar, std::unique_ptr<Config>& config, const CRuntimeClass* configClass)
{
    constexpr BYTE kVersion = 4;
    if (ar.IsStoring()) {
        ar << kVersion;
        ar.WriteObject(config.get());
        return;
    }
    BYTE version = 0;
    ar >> version;
    if (version != kVersion)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName.c_str());
    std::unique_ptr<Config> loaded(static_cast<Config*>(ar.ReadObject(configClass)));
    if (loaded == nullptr)
        AfxThrowArchiveException(CArchiveException::badClass, ar.m_strFileName.c_str());
    config = std::move(loaded);
}
