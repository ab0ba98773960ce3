#include "device/ConfigurationProcedures.h"

#include "device/CKVRSensor.h"
#include "device/CZOKSensor.h"
#include "device/KVRProcedures.h"
#include "device/ZOKProcedures.h"
#include "model/CKVRConfig.h"
#include "model/CZOKConfig.h"

using namespace ProcedureSteps;

namespace {

// Shows the procedure's text while the device check (which shows its own identification
// text) runs; the procedure shows it again for the transfer that follows.
BOOL ShowStatusAndCheckDevice(const ProcedureStep& step, const std::function<BOOL()>& deviceCheck)
{
    SetStatusText(step.statusId, TRUE);
    return deviceCheck();
}

// The KVR configuration names its device by value V2, the ZOK one by option byte 1.
BOOL KVRDeviceFits(CKVRSensor& sensor, const CKVRConfig& config, const ProcedureStep& step)
{
    return ShowStatusAndCheckDevice(step, [&] { return CheckKVRDeviceType(sensor, config.GetValueV2(), TRUE); });
}

BOOL ZOKDeviceFits(CZOKSensor& sensor, const CZOKConfig& config, const ProcedureStep& step)
{
    return ShowStatusAndCheckDevice(step, [&] { return CheckZOKDeviceType(sensor, config.GetOption1(), TRUE); });
}

} // namespace

std::unique_ptr<CKVRConfig> ReadKVRConfiguration(CKVRSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kReadConfig, [&] { return sensor.ReadConfiguration(); }, prompt);
}

std::unique_ptr<CZOKConfig> ReadZOKConfiguration(CZOKSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kReadConfig, [&] { return sensor.ReadConfiguration(); }, prompt);
}

std::unique_ptr<CKVRConfig> CheckKVRConfiguration(CKVRSensor& sensor, const CKVRConfig& config, BOOL prompt)
{
    if (!KVRDeviceFits(sensor, config, kCheckConfig)) return nullptr;
    return RunProcedureStep(kCheckConfig, [&] { return sensor.CheckConfiguration(config); }, prompt);
}

std::unique_ptr<CZOKConfig> CheckZOKConfiguration(CZOKSensor& sensor, const CZOKConfig& config, BOOL prompt)
{
    if (!ZOKDeviceFits(sensor, config, kCheckConfig)) return nullptr;
    return RunProcedureStep(kCheckConfig, [&] { return sensor.CheckConfiguration(config); }, prompt);
}

BOOL CommitKVRConfiguration(CKVRSensor& sensor, const CKVRConfig& config, BOOL withFields, BOOL prompt)
{
    if (!KVRDeviceFits(sensor, config, kCommitConfig)) return FALSE;
    return RunProcedureStep(kCommitConfig, [&] { return sensor.CommitConfiguration(config, withFields); }, prompt);
}

BOOL CommitZOKConfiguration(CZOKSensor& sensor, const CZOKConfig& config, BOOL prompt)
{
    if (!ZOKDeviceFits(sensor, config, kCommitConfig)) return FALSE;
    return RunProcedureStep(kCommitConfig, [&] { return sensor.CommitConfiguration(config); }, prompt);
}

BOOL WriteKVRConfiguration(CKVRSensor& sensor, const CKVRConfig& config, BOOL withFields, BOOL prompt)
{
    if (!KVRDeviceFits(sensor, config, kWriteConfig)) return FALSE;
    return RunProcedureStep(kWriteConfig, [&] { return sensor.WriteConfiguration(config, withFields); }, prompt);
}

BOOL WriteZOKConfiguration(CZOKSensor& sensor, const CZOKConfig& config, BOOL prompt)
{
    if (!ZOKDeviceFits(sensor, config, kWriteConfig)) return FALSE;
    return RunProcedureStep(kWriteConfig, [&] { return sensor.WriteConfiguration(config); }, prompt);
}
