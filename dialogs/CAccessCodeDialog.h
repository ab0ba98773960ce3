#pragma once
// Asks for a new access code of exactly 8 letters, digits or underscores (edit 2024).
// The caller reads m_strCode after IDOK.
#include "dialogs/controls/CPasswordEdit.h"
#include "framework/ui/CDialog.h"

class CAccessCodeDialog : public CDialog {
    DECLARE_DYNAMIC(CAccessCodeDialog)
public:
    explicit CAccessCodeDialog(CWnd* pParentWnd = nullptr, int bConfirm = 0);

    BOOL OnInitDialog() override;

    CString m_strCode;
    CPasswordEdit m_editCode;
    int m_bConfirm;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};
