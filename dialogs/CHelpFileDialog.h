#pragma once
// The file dialog of the program's file prompts: the framework's open or save dialog
// that answers its Help key or button (WM_COMMANDHELP) with the help context its
// caller gave. The prompts start in a directory kept in the INI section "DIRECTORY",
// which the program reads and never writes.
#include "framework/ui/CFileDialog.h"

class CHelpFileDialog : public CFileDialog {
    DECLARE_DYNAMIC(CHelpFileDialog)
public:
    CHelpFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                    LPCTSTR lpszFilter, CWnd* pParentWnd, int nHelpContextId);

    int GetHelpContextId() const { return m_nHelpContextId; }

    // The initial directory from key lpszKey of section "DIRECTORY" in the INI file
    // (nullptr: the application's profile); an absent key leaves the dialog's default.
    void SetInitialDirFromProfile(LPCTSTR lpszKey, LPCTSTR lpszIniPath = nullptr);
    CString GetInitialDir() const { return m_strInitialDir; }

protected:
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    // Opens the program's help file for the context id (the application's WinHelp).
    virtual void ShowHelpTopic(UINT nContextId);

    int m_nHelpContextId;

private:
    CString m_strInitialDir; // m_ofn.lpstrInitialDir points into it

    DECLARE_MESSAGE_MAP()
};
