#include "dialogs/CRenameDialog.h"

#include "framework/ui/DDX.h"

IMPLEMENT_DYNAMIC(CRenameDialog, CDialog)

namespace {
constexpr UINT IDD_RENAME_ENTRY = 122;
constexpr int IDC_ENTRY_NAME = 2174;
constexpr int kMaxNameLength = 8;
} // namespace

CRenameDialog::CRenameDialog(CWnd* pParentWnd) : CDialog(IDD_RENAME_ENTRY, pParentWnd) {}

void CRenameDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ENTRY_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, kMaxNameLength);
}
