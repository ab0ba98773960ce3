#pragma once
// The application base of the program: finds the one INI file beside the program and
// keeps its path as the profile name, so every profile access of the program, the
// device sessions' driver and the language choice use that file.
#include "framework/core/CString.h"
#include "framework/ui/CWinApp.h"

class CWinAppExt : public CWinApp {
    DECLARE_DYNAMIC(CWinAppExt)
public:
    explicit CWinAppExt(LPCTSTR lpszAppName = nullptr);

    // The program's path with its extension, if any, replaced by ".INI".
    void SetIniFileName();
    BOOL InitApplication() override;

    // The program path SetIniFileName starts from; the running program's unless set
    // (a test program folder).
    void SetModulePath(const CString& path) { m_strModulePath = path; }
    CString GetModulePath() const;
    // The INI file's directory, with its trailing '/'.
    CString GetIniDirectory() const;

    // The INI path for a program path: a dot after the last '/' starts the extension.
    static CString IniPathForProgram(const CString& programPath);

private:
    CString m_strModulePath;
};
