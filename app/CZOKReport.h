#pragma once
// The printed report of a ZOK scanner's configuration: title, settings and (not in a
// confirmation report) its two fields.
#include "app/CDeviceReport.h"
#include "model/CZOKConfig.h"

class CZOKReport : public CDeviceReport {
public:
    using CDeviceReport::CDeviceReport;

    // Appends the report of the configuration for the print kind; returns 1.
    int Build(const CZOKConfig& config, int kind, const CString& deviceName, const CString& identity);
};
