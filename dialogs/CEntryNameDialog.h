#pragma once
// Asks for the name of an entry of a named configuration list (edit 2174, at most 8
// characters). The caller proposes m_strName, runs the dialog and, after IDOK, checks
// the name against the list itself; an empty name passes here. CNewNameDialog and
// CRenameDialog only differ in their templates.
#include "framework/ui/CDialog.h"

class CEntryNameDialog : public CDialog {
    DECLARE_DYNAMIC(CEntryNameDialog)
public:
    CString m_strName;

protected:
    CEntryNameDialog(UINT nIDTemplate, CWnd* pParentWnd);

    void DoDataExchange(CDataExchange* pDX) override;
};
