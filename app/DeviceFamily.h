#pragma once
// What tells the two device families apart where their documents work alike: the device
// object and its identification record, the procedures that read both, the family's
// results dialogs and its device-wide commands. CDeviceDoc serves both families with it.
#include "app/DeviceSystemCommands.h"
#include "device/CKVRSensor.h"
#include "device/CZOKSensor.h"
#include "device/ConfigurationProcedures.h"
#include "device/KVRProcedures.h"
#include "device/ZOKProcedures.h"
#include "dialogs/CDiagnosisResultsDialog.h"
#include "dialogs/CProtocolResultsDialog.h"
#include "model/CKVRConfig.h"
#include "model/CKVRIdentity.h"
#include "model/CZOKConfig.h"
#include "model/CZOKIdentity.h"

// The parts of one family, under the names CDeviceDoc uses.
template <class SensorType, class IdentityType, class ProtocolResults, class DiagnosisResults,
          auto readIdentification, auto readConfiguration, auto writeSystem, auto runScannerSession>
struct DeviceFamilyParts {
    using Sensor = SensorType;
    using Identity = IdentityType;
    using ProtocolResultsDialog = ProtocolResults;
    using DiagnosisResultsDialog = DiagnosisResults;
    static constexpr auto ReadIdentification = readIdentification;
    static constexpr auto ReadConfiguration = readConfiguration;
    // The device-wide commands 32866 and 32916.
    static constexpr auto WriteSystem = writeSystem;
    static constexpr auto RunScannerSession = runScannerSession;
};

template <class Config>
struct DeviceFamily;

// Command 32866 writes a default system to the unit, 32916 opens a session with one of
// the scanners behind it.
template <>
struct DeviceFamily<CKVRConfig>
    : DeviceFamilyParts<CKVRSensor, CKVRIdentity, CKVRProtocolResultsDialog, CKVRDiagnosisResultsDialog,
                        &ReadKVRIdentification, &ReadKVRConfiguration, &WriteKVRDefaultSystem,
                        &RunKVRScannerSession> {};

// Command 32866 writes the scanner's whole system, 32916 runs the scanner's own session.
template <>
struct DeviceFamily<CZOKConfig>
    : DeviceFamilyParts<CZOKSensor, CZOKIdentity, CZOKProtocolResultsDialog, CZOKDiagnosisResultsDialog,
                        &ReadZOKIdentification, &ReadZOKConfiguration, &WriteZOKWholeSystem,
                        &RunZOKScannerSession> {};
