#pragma once
// What the device procedures need of the application: the simulated-device choice, the
// INI file the driver is loaded with, and the main window's message bar. The application
// object installs itself with SetProcedureApplication at start-up; tests install a fake.
// Without one, devices are real, the driver gets an empty INI path, and no status text
// is shown.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

class ProcedureApplication {
public:
    virtual ~ProcedureApplication() = default;

    // TRUE when device objects talk to the simulator instead of the port.
    virtual BOOL IsSimulating() = 0;
    // The INI file the driver is loaded with.
    virtual CString GetIniPath() = 0;
    // Puts the text into the main window's message bar and invalidates the bar; with
    // repaintNow the bar is repainted at once, so the text shows while a telegram blocks.
    // Nothing happens when there is no main window or no message bar.
    virtual void ShowMessageBarText(const CString& text, BOOL repaintNow) = 0;
};

// The installed application, or null.
ProcedureApplication* GetProcedureApplication();
// Installs the application (null removes it); returns the one installed before.
ProcedureApplication* SetProcedureApplication(ProcedureApplication* application);
