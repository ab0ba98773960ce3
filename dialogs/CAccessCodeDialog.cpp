#include "dialogs/CAccessCodeDialog.h"

#include "dialogs/controls/UnitDataExchange.h"
#include "framework/ui/DDX.h"

IMPLEMENT_DYNAMIC(CAccessCodeDialog, CDialog)

namespace {
constexpr UINT IDD_ACCESS_CODE = 105;
constexpr int IDC_ACCESS_CODE = 2024;
constexpr int kCodeLength = 8;
} // namespace

CAccessCodeDialog::CAccessCodeDialog(CWnd* pParentWnd, int bConfirm)
    : CDialog(IDD_ACCESS_CODE, pParentWnd), m_bConfirm(bConfirm)
{
}

BOOL CAccessCodeDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_editCode.SubclassDlgItem(IDC_ACCESS_CODE, this);
    CenterWindow();
    return TRUE;
}

void CAccessCodeDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ACCESS_CODE, m_strCode);
    DDV_ExactChars(pDX, m_strCode, kCodeLength);
    DDV_PasswordChars(pDX, m_strCode);
}

void CAccessCodeDialog::OnOK()
{
    if (UpdateData(TRUE)) EndDialog(IDOK);
}
