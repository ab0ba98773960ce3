#include "dialogs/CEntryNameDialog.h"

#include "framework/ui/DDX.h"

IMPLEMENT_DYNAMIC(CEntryNameDialog, CDialog)

namespace {
constexpr int IDC_ENTRY_NAME = 2174;
constexpr int kMaxNameLength = 8;
} // namespace

CEntryNameDialog::CEntryNameDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

void CEntryNameDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ENTRY_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, kMaxNameLength);
}
