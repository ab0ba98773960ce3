#pragma once
// What the login dialog needs of the application: the simulated-device choice, the INI
// path for the driver, and the documents, which must be saved and closed before the
// rights shrink. The application object implements it; tests use a fake.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

class LoginApplication {
public:
    virtual ~LoginApplication() = default;

    // TRUE when device objects talk to the simulator instead of the port.
    virtual BOOL IsSimulating() = 0;
    // The INI file the driver is loaded with.
    virtual CString GetIniPath() = 0;
    // Stops every document's running mode and asks to save the modified ones; FALSE when
    // the user cancels.
    virtual BOOL SaveAllModified() = 0;
    // Closes every document without a further question.
    virtual void CloseAllDocuments() = 0;
};
