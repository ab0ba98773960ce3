#include "dialogs/CNewPasswordDialog.h"

#include "dialogs/controls/UnitDataExchange.h"
#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"

#include <algorithm>
#include <utility>

IMPLEMENT_DYNAMIC(CNewPasswordDialog, CDialog)
IMPLEMENT_DYNAMIC(CUserPasswordDialog, CNewPasswordDialog)
IMPLEMENT_DYNAMIC(CDevicePasswordDialog, CNewPasswordDialog)

namespace {
constexpr int kPasswordLength = 8;
constexpr UINT IDP_PASSWORD_RESERVED = 300;
constexpr UINT IDP_PASSWORD_MISMATCH = 301;
} // namespace

CNewPasswordDialog::CNewPasswordDialog(const Controls& controls, std::vector<CString> refused, CWnd* pParentWnd,
                                       int bConfirm)
    : CDialog(controls.templateId, pParentWnd), m_bConfirm(bConfirm), m_controls(controls),
      m_refused(std::move(refused))
{
}

BOOL CNewPasswordDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_editPassword.SubclassDlgItem(m_controls.password, this);
    m_editConfirm.SubclassDlgItem(m_controls.confirm, this);
    ShowConfirmation();
    CenterWindow();
    return TRUE;
}

void CNewPasswordDialog::SetConfirm(int bConfirm)
{
    m_bConfirm = bConfirm;
    if (GetSafeHwnd()) ShowConfirmation();
}

void CNewPasswordDialog::ShowConfirmation()
{
    const int show = m_bConfirm ? SW_SHOW : SW_HIDE;
    for (const int id : {m_controls.confirm, m_controls.confirmLabel}) {
        if (CWnd* control = GetDlgItem(id)) control->ShowWindow(show);
    }
}

void CNewPasswordDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, m_controls.password, m_strPassword);
    DDV_ExactChars(pDX, m_strPassword, kPasswordLength);
    DDV_PasswordChars(pDX, m_strPassword);
    if (m_bConfirm) {
        DDX_Text(pDX, m_controls.confirm, m_strConfirm);
        DDV_ExactChars(pDX, m_strConfirm, kPasswordLength);
        DDV_PasswordChars(pDX, m_strConfirm);
    } else {
        m_strConfirm = m_strPassword;
    }
}

bool CNewPasswordDialog::IsRefused(const CString& password) const
{
    return std::find(m_refused.begin(), m_refused.end(), password) != m_refused.end();
}

void CNewPasswordDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (m_strPassword != m_strConfirm)
        StartOver(IDP_PASSWORD_MISMATCH);
    else if (IsRefused(m_strPassword))
        StartOver(IDP_PASSWORD_RESERVED);
    else
        EndDialog(IDOK);
}

// Both entries emptied and the first one focused for a new try.
void CNewPasswordDialog::StartOver(UINT nIDPrompt)
{
    AfxMessageBox(nIDPrompt, MB_OK | MB_ICONEXCLAMATION);
    m_strPassword.Empty();
    m_strConfirm.Empty();
    UpdateData(FALSE);
    if (CWnd* first = GetDlgItem(m_controls.password)) GotoDlgCtrl(first);
}

CUserPasswordDialog::CUserPasswordDialog(CWnd* pParentWnd, int bConfirm)
    : CNewPasswordDialog({106, 2044, 2045, 2049}, {CString(kFactoryPassword), CString(kReservedPassword)},
                         pParentWnd, bConfirm)
{
}

CDevicePasswordDialog::CDevicePasswordDialog(CWnd* pParentWnd, int bConfirm)
    : CNewPasswordDialog({107, 2042, 2043, 2047}, {CString(kFactoryPassword)}, pParentWnd, bConfirm)
{
}
