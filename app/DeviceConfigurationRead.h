#pragma once
// Device sessions of the documents' read commands and of a new document read from the
// device.
#include "device/ConfigurationProcedures.h"
#include "device/DeviceProcedures.h"
#include "framework/core/CString.h"

#include <memory>

class CSensor;

// A session with the session's status texts and Retry/Cancel prompts: connect, identify,
// the action, disconnect (also after a failure). The action's result, FALSE when the
// device could not be reached.
template <class Sensor, class Action>
BOOL RunIdentifiedSession(Action action)
{
    Sensor sensor;
    if (!ConnectSensor(sensor, TRUE))
        return FALSE;
    const BOOL done = IdentifySensor(sensor, TRUE) && action(sensor);
    DisconnectSensor(sensor, TRUE);
    return done;
}

// The device's whole configuration read in one identified session, or null.
template <class Sensor, class Config>
std::unique_ptr<Config> ReadConfigurationFromDevice(std::unique_ptr<Config> (*read)(Sensor&, BOOL))
{
    std::unique_ptr<Config> config;
    RunIdentifiedSession<Sensor>([&](Sensor& sensor) {
        config = read(sensor, TRUE);
        return config != nullptr;
    });
    return config;
}

// The device of a new document, opened without texts or prompts: the driver loaded with
// the application's INI path and simulated choice, the port opened and the family made
// sure of without a baud scan. FALSE with nothing held when any step fails.
BOOL OpenSensorQuietly(CSensor& sensor);
// Closes and frees what OpenSensorQuietly opened; the message bar shows the idle text.
void CloseSensorQuietly(CSensor& sensor);

// What a new document takes from its device: the configuration (null when it could not
// be read), the device's name and its type text.
template <class Config>
struct NewDocumentReading {
    std::unique_ptr<Config> config;
    CString deviceName;
    CString deviceType;
};

// Reads identification and configuration of the device of a new document.
template <class Sensor, class Identity, class Config>
NewDocumentReading<Config> ReadNewDocumentFromDevice(BOOL (*readIdentity)(Sensor&, Identity&, BOOL),
                                                      std::unique_ptr<Config> (*readConfig)(Sensor&, BOOL))
{
    NewDocumentReading<Config> reading;
    Sensor sensor;
    if (!OpenSensorQuietly(sensor))
        return reading;
    Identity identity;
    if (readIdentity(sensor, identity, TRUE)) {
        reading.config = readConfig(sensor, TRUE);
        reading.deviceName = identity.GetName();
        reading.deviceType = identity.GetIdentification();
    }
    CloseSensorQuietly(sensor);
    return reading;
}
