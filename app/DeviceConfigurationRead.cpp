#include "app/DeviceConfigurationRead.h"

#include "device/CSensor.h"
#include "device/ProcedureApplication.h"

BOOL OpenSensorQuietly(CSensor& sensor)
{
    ProcedureApplication* application = GetProcedureApplication();
    sensor.SetSimulated(application != nullptr && application->IsSimulating() ? 1 : 0);
    const CString iniPath = application != nullptr ? application->GetIniPath() : CString();
    if (!sensor.Load(iniPath.c_str()))
        return FALSE;
    if (sensor.Open() && sensor.EnsureFamily(FALSE))
        return TRUE;
    CloseSensorQuietly(sensor);
    return FALSE;
}

void CloseSensorQuietly(CSensor& sensor)
{
    sensor.Close();
    sensor.Free();
    // The reads showed their status texts; the message bar goes back to idle.
    SetStatusText(ProcedureText::kIdleText, FALSE);
}
