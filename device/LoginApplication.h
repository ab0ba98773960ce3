#pragma once
// What the login dialog needs of the application: the documents, which must be saved and
// closed before the rights shrink. The application object implements it; tests use a
// fake. The device of the password check is connected through the device procedures
// (ProcedureApplication.h).
#include "framework/core/WinTypes.h"

class LoginApplication {
public:
    virtual ~LoginApplication() = default;

    // Stops every document's running mode and asks to save the modified ones; FALSE when
    // the user cancels.
    virtual BOOL SaveAllModified() = 0;
    // Closes every document without a further question.
    virtual void CloseAllDocuments() = 0;
};
