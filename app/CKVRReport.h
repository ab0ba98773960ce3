#pragma once
// The printed report of a KVR unit's configuration: title, unit-wide settings, scanners,
// field pairs (not in a confirmation report) and monitoring cases.
#include "app/CDeviceReport.h"
#include "model/CKVRConfig.h"

class CKVRReport : public CDeviceReport {
public:
    using CDeviceReport::CDeviceReport;

    // Appends the report of the configuration for the print kind; returns 1.
    int Build(const CKVRConfig& config, int kind, const CString& deviceName, const CString& identity);

private:
    void Settings(const CKVRConfig& config, const CString& deviceName, const CString& identity);
    void ControlInputs(const CKVRConfig& config);
    void Outputs(const CKVRConfig& config);
    void Scanners(const CKVRConfig& config);
    void FieldPairs(const CKVRConfig& config);
    void Cases(const CKVRConfig& config);
    void Case(const CKVRConfig& config, const CKVRControlConfig& control, int index);
};
