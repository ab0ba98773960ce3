#pragma once
// Asks for the name of a new entry of a named configuration list (edit 2174, at most 8
// characters). The caller proposes m_strName, runs the dialog and, after IDOK, checks
// the name against the list itself; an empty name passes here.
#include "framework/ui/CDialog.h"

class CNewNameDialog : public CDialog {
    DECLARE_DYNAMIC(CNewNameDialog)
public:
    explicit CNewNameDialog(CWnd* pParentWnd = nullptr);

    CString m_strName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
