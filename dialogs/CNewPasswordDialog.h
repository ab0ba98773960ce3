#pragma once
// Dialogs that ask for a new password of exactly 8 letters, digits or underscores,
// optionally typed twice: the user password (template 106) and the device password
// (template 107). A reserved password is refused with message 300, a confirmation that
// differs with message 301; the caller reads m_strPassword after IDOK.
#include "dialogs/controls/CPasswordEdit.h"
#include "framework/ui/CDialog.h"

#include <vector>

class CNewPasswordDialog : public CDialog {
    DECLARE_DYNAMIC(CNewPasswordDialog)
public:
    BOOL OnInitDialog() override;

    // Stores the flag; an existing dialog shows or hides the confirmation entry and its label.
    void SetConfirm(int bConfirm);

    CString m_strPassword;
    CString m_strConfirm;
    CPasswordEdit m_editPassword;
    CPasswordEdit m_editConfirm;
    int m_bConfirm;

    // The scanner's factory password and the second reserved one.
    static constexpr const char* kFactoryPassword = "MIRTOVAL";
    static constexpr const char* kReservedPassword = "PENDRAXO";

protected:
    struct Controls {
        UINT templateId;
        int password;
        int confirm;
        int confirmLabel;
    };
    CNewPasswordDialog(const Controls& controls, std::vector<CString> refused, CWnd* pParentWnd, int bConfirm);

    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    bool IsRefused(const CString& password) const;
    void ShowConfirmation();
    void StartOver(UINT nIDPrompt);

    Controls m_controls;
    std::vector<CString> m_refused;
};

class CUserPasswordDialog : public CNewPasswordDialog {
    DECLARE_DYNAMIC(CUserPasswordDialog)
public:
    explicit CUserPasswordDialog(CWnd* pParentWnd = nullptr, int bConfirm = 1);
};

class CDevicePasswordDialog : public CNewPasswordDialog {
    DECLARE_DYNAMIC(CDevicePasswordDialog)
public:
    explicit CDevicePasswordDialog(CWnd* pParentWnd = nullptr, int bConfirm = 1);
};
