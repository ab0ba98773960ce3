#pragma once
// The program's property sheet with a Help button: Help (ID_HELP) asks the sheet itself
// for its context help (WM_COMMANDHELP), which opens the topic of the shown page.
#include "framework/ui/CPropertySheet.h"

class CCSPropertySheet : public CPropertySheet {
    DECLARE_DYNAMIC(CCSPropertySheet)
public:
    explicit CCSPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CCSPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

protected:
    afx_msg void OnHelp();
    // lParam: a context id, or 0 for the shown page's own.
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    // Opens the program's help file for the context id (the application's WinHelp).
    virtual void ShowHelpTopic(UINT nContextId);

    DECLARE_MESSAGE_MAP()
};
