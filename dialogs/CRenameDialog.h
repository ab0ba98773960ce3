#pragma once
// Asks for a new name for an existing entry of a named configuration list (edit 2174,
// at most 8 characters). The caller proposes m_strName, runs the dialog and, after IDOK,
// checks the name against the list itself; an empty name passes here.
#include "framework/ui/CDialog.h"

class CRenameDialog : public CDialog {
    DECLARE_DYNAMIC(CRenameDialog)
public:
    explicit CRenameDialog(CWnd* pParentWnd = nullptr);

    CString m_strName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
