#pragma once
// The device procedures that move a whole configuration (see DeviceProcedures.h for the
// shared rules). Check, Write and Commit first compare the device with the configuration
// (CheckKVRDeviceType / CheckZOKDeviceType, always with prompts, so a device of another
// type is refused with message 427 even when the procedure's own prompt flag is clear).
// A sent configuration travels in two steps: Check before the user sees the device's
// corrected copy, Commit after the user accepted it; Write does both at once.
#include "device/DeviceProcedures.h"

#include <memory>

class CKVRConfig;
class CKVRSensor;
class CZOKConfig;
class CZOKSensor;

// Triple pattern (418, 419): the device's whole configuration, owned by the caller, or
// null.
std::unique_ptr<CKVRConfig> ReadKVRConfiguration(CKVRSensor& sensor, BOOL prompt);
std::unique_ptr<CZOKConfig> ReadZOKConfiguration(CZOKSensor& sensor, BOOL prompt);

// Triple pattern (420, 421): the first steps only; the configuration as the device
// corrected it, or null. Nothing is stored by the device.
std::unique_ptr<CKVRConfig> CheckKVRConfiguration(CKVRSensor& sensor, const CKVRConfig& config, BOOL prompt);
std::unique_ptr<CZOKConfig> CheckZOKConfiguration(CZOKSensor& sensor, const CZOKConfig& config, BOOL prompt);

// Single pattern (476, 477): the second steps of a configuration checked before; with
// withFields the KVR field pairs follow.
BOOL CommitKVRConfiguration(CKVRSensor& sensor, const CKVRConfig& config, BOOL withFields, BOOL prompt);
BOOL CommitZOKConfiguration(CZOKSensor& sensor, const CZOKConfig& config, BOOL prompt);

// Single pattern (420, 421): both steps of every value.
BOOL WriteKVRConfiguration(CKVRSensor& sensor, const CKVRConfig& config, BOOL withFields, BOOL prompt);
BOOL WriteZOKConfiguration(CZOKSensor& sensor, const CZOKConfig& config, BOOL prompt);
