#include "dialogs/CNewNameDialog.h"

#include "framework/ui/DDX.h"

IMPLEMENT_DYNAMIC(CNewNameDialog, CDialog)

namespace {
constexpr UINT IDD_NEW_ENTRY_NAME = 123;
constexpr int IDC_ENTRY_NAME = 2174;
constexpr int kMaxNameLength = 8;
} // namespace

CNewNameDialog::CNewNameDialog(CWnd* pParentWnd) : CDialog(IDD_NEW_ENTRY_NAME, pParentWnd) {}

void CNewNameDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ENTRY_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, kMaxNameLength);
}
