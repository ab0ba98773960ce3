#pragma once
// Shared by the print tests: a printer recording DC mapped like the printing view
// (0.01 mm per unit, y down) at 2540 dpi, so that one logical unit is one device pixel
// and measured text converts without rounding.
#include "framework/gdi/CDC.h"

#include <cstring>
#include <vector>

inline void MapHundredthsOfMillimetre(CDC& dc)
{
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(2540, 2540);
    dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
}

inline bool CreatePrintRecorder(CDC& dc)
{
    if (!dc.CreateRecordingDC(21000, 29700, 2540, 2540, TRUE)) return false;
    MapHundredthsOfMillimetre(dc);
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    dc.ClearRecording();
    return true;
}

inline LOGFONT ReportFont(int points, LONG weight, BYTE italic)
{
    LOGFONT lf;
    lf.lfHeight = -MulDiv(points, 2540, 72);
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strcpy(lf.lfFaceName, "Arial");
    return lf;
}

// The recorded calls that start with the given name.
inline std::vector<CString> CallsNamed(const std::vector<CString>& log, const char* name)
{
    std::vector<CString> calls;
    for (const CString& entry : log)
        if (std::strncmp(entry.c_str(), name, std::strlen(name)) == 0) calls.push_back(entry);
    return calls;
}
