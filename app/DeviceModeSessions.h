#pragma once
// The device sessions of the modes that work on a field contour (teach-in, verification):
// the start logs in and leaves the device logged in only while the mode runs; the stop and
// the abort log out again, whatever their steps came to. Also the configuration shown
// during live monitoring.
#include "app/DeviceTransfer.h"

#include <functional>
#include <memory>

// Connects, identifies and logs in; then the step. The device stays logged in only when
// the step returns TRUE (the mode runs); every other road logs out. Disconnects always.
template <class Sensor>
BOOL BeginLoggedInMode(const std::function<BOOL(Sensor&)>& step)
{
    Sensor sensor;
    CTransferSession session(sensor);
    const BOOL started = session.Open() && session.Login() && step(sensor);
    if (started)
        session.KeepLoggedIn();
    return started;
}

// Ends what BeginLoggedInMode left logged in: the step when the device is reached, then
// logout and disconnect.
template <class Sensor>
void EndLoggedInMode(const std::function<void(Sensor&)>& step)
{
    Sensor sensor;
    CTransferSession session(sensor);
    const BOOL opened = session.Open();
    session.AssumeLoggedIn();
    if (opened)
        step(sensor);
}

// The device's configuration for live monitoring: an identified session that puts the
// device into the operating mode first; null when either failed.
template <class Sensor, class Config>
std::unique_ptr<Config> ReadMonitoredConfiguration(BYTE operatingMode,
                                                   std::unique_ptr<Config> (*read)(Sensor&, BOOL))
{
    std::unique_ptr<Config> config;
    RunIdentifiedSession<Sensor>([&](Sensor& sensor) {
        if (SetOperatingMode(sensor, operatingMode, nullptr, TRUE))
            config = read(sensor, TRUE);
        return config != nullptr;
    });
    return config;
}
