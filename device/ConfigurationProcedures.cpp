#include "device/ConfigurationProcedures.h"

#include "device/CKVRSensor.h"
#include "device/CZOKSensor.h"
#include "device/KVRProcedures.h"
#include "device/ZOKProcedures.h"
#include "model/CKVRConfig.h"
#include "model/CZOKConfig.h"

using namespace ProcedureText;

namespace {

constexpr int kTripleTries = 3;

// Shows the procedure's text, runs the device check (which shows its own identification
// text) and shows the procedure's text again for the transfer that follows.
BOOL ShowStatusAndCheckDevice(UINT statusId, const std::function<BOOL()>& deviceCheck)
{
    SetStatusText(statusId, TRUE);
    if (!deviceCheck()) return FALSE;
    SetStatusText(statusId, TRUE);
    return TRUE;
}

// The KVR configuration names its device by value V2, the ZOK one by option byte 1.
BOOL KVRDeviceFits(CKVRSensor& sensor, const CKVRConfig& config, UINT statusId)
{
    return ShowStatusAndCheckDevice(statusId,
                                    [&] { return CheckKVRDeviceType(sensor, config.GetValueV2(), TRUE); });
}

BOOL ZOKDeviceFits(CZOKSensor& sensor, const CZOKConfig& config, UINT statusId)
{
    return ShowStatusAndCheckDevice(statusId,
                                    [&] { return CheckZOKDeviceType(sensor, config.GetOption1(), TRUE); });
}

} // namespace

std::unique_ptr<CKVRConfig> ReadKVRConfiguration(CKVRSensor& sensor, BOOL prompt)
{
    SetStatusText(kReadConfigStatus, TRUE);
    return RetryForObject<CKVRConfig>([&] { return sensor.ReadConfiguration(); }, kTripleTries, kReadConfigRetry,
                                      prompt);
}

std::unique_ptr<CZOKConfig> ReadZOKConfiguration(CZOKSensor& sensor, BOOL prompt)
{
    SetStatusText(kReadConfigStatus, TRUE);
    return RetryForObject<CZOKConfig>([&] { return sensor.ReadConfiguration(); }, kTripleTries, kReadConfigRetry,
                                      prompt);
}

std::unique_ptr<CKVRConfig> CheckKVRConfiguration(CKVRSensor& sensor, const CKVRConfig& config, BOOL prompt)
{
    if (!KVRDeviceFits(sensor, config, kWriteConfigStatus)) return nullptr;
    return RetryForObject<CKVRConfig>([&] { return sensor.CheckConfiguration(config); }, kTripleTries,
                                      kWriteConfigRetry, prompt);
}

std::unique_ptr<CZOKConfig> CheckZOKConfiguration(CZOKSensor& sensor, const CZOKConfig& config, BOOL prompt)
{
    if (!ZOKDeviceFits(sensor, config, kWriteConfigStatus)) return nullptr;
    return RetryForObject<CZOKConfig>([&] { return sensor.CheckConfiguration(config); }, kTripleTries,
                                      kWriteConfigRetry, prompt);
}

BOOL CommitKVRConfiguration(CKVRSensor& sensor, const CKVRConfig& config, BOOL withFields, BOOL prompt)
{
    if (!KVRDeviceFits(sensor, config, kCommitConfigStatus)) return FALSE;
    return RetrySingle([&] { return sensor.CommitConfiguration(config, withFields); }, kCommitConfigRetry, prompt);
}

BOOL CommitZOKConfiguration(CZOKSensor& sensor, const CZOKConfig& config, BOOL prompt)
{
    if (!ZOKDeviceFits(sensor, config, kCommitConfigStatus)) return FALSE;
    return RetrySingle([&] { return sensor.CommitConfiguration(config); }, kCommitConfigRetry, prompt);
}

BOOL WriteKVRConfiguration(CKVRSensor& sensor, const CKVRConfig& config, BOOL withFields, BOOL prompt)
{
    if (!KVRDeviceFits(sensor, config, kWriteConfigStatus)) return FALSE;
    return RetrySingle([&] { return sensor.WriteConfiguration(config, withFields); }, kWriteConfigRetry, prompt);
}

BOOL WriteZOKConfiguration(CZOKSensor& sensor, const CZOKConfig& config, BOOL prompt)
{
    if (!ZOKDeviceFits(sensor, config, kWriteConfigStatus)) return FALSE;
    return RetrySingle([&] { return sensor.WriteConfiguration(config); }, kWriteConfigRetry, prompt);
}
