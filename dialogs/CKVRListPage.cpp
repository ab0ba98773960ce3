#include "dialogs/CKVRListPage.h"

#include "dialogs/CRenameDialog.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"

IMPLEMENT_DYNAMIC(CKVRListPage, CKVRConfigPage)

namespace {

constexpr int IDC_ENTRY_LIST = 2050;
constexpr int IDC_ENTRY_ADD = 2168;
constexpr int IDC_ENTRY_RENAME = 2173;
constexpr int IDC_ENTRY_DELETE = 2059;
constexpr UINT IDP_NAME_EXISTS = 448;

} // namespace

BEGIN_MESSAGE_MAP(CKVRListPage, CKVRConfigPage)
    ON_BN_CLICKED(IDC_ENTRY_ADD, OnAdd)
    ON_BN_CLICKED(IDC_ENTRY_RENAME, OnRename)
    ON_BN_CLICKED(IDC_ENTRY_DELETE, OnDelete)
    ON_LBN_DBLCLK(IDC_ENTRY_LIST, OnListDoubleClick)
END_MESSAGE_MAP()

CKVRListPage::CKVRListPage(UINT nIDTemplate, int maxCount) : CKVRConfigPage(nIDTemplate), m_maxCount(maxCount) {}

void CKVRListPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRConfigPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ENTRY_LIST, m_list);
}

BOOL CKVRListPage::OnInitDialog()
{
    CKVRConfigPage::OnInitDialog();
    Refresh(0);
    return TRUE;
}

void CKVRListPage::EnableButtons(int count)
{
    EnableControl(IDC_ENTRY_ADD, count < m_maxCount);
    EnableControl(IDC_ENTRY_RENAME, count > 0);
    EnableControl(IDC_ENTRY_DELETE, count > 1);
}

void CKVRListPage::Refresh(int selection)
{
    if (!GetConfig()) return;
    FillList();
    m_list.SetCurSel(selection);
    EnableButtons(GetEntryCount());
}

int CKVRListPage::GetSelection() const
{
    return m_list.GetSafeHwnd() ? m_list.GetCurSel() : LB_ERR;
}

CString CKVRListPage::GetSelectedName() const
{
    CString name;
    const int n = GetSelection();
    if (n != LB_ERR) m_list.GetText(n, name);
    return name;
}

BOOL CKVRListPage::ConfirmDeletion(UINT nIDPrompt, const CString& name)
{
    CString text;
    AfxFormatString1(text, nIDPrompt, name);
    return AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, nIDPrompt) == IDYES;
}

void CKVRListPage::ShowRefusal(UINT nIDPrompt, const CString& name)
{
    CString text;
    AfxFormatString1(text, nIDPrompt, name);
    AfxMessageBox(text, MB_OK, nIDPrompt);
}

CString CKVRListPage::DefaultName(UINT nIDString) const
{
    CString stem;
    stem.LoadString(nIDString);
    CString name;
    name.Format("%s%d", stem.c_str(), GetEntryCount() + 1);
    return name;
}

BOOL CKVRListPage::IsNameFree(const CString& name) const
{
    if (FindEntry(name) < 0) return TRUE;
    ShowRefusal(IDP_NAME_EXISTS, name);
    return FALSE;
}

void CKVRListPage::OnAdd()
{
    if (GetConfig() && GetEntryCount() < m_maxCount) AddEntry();
}

// Renaming to the name the entry already has counts as an existing name.
void CKVRListPage::OnRename()
{
    const int n = GetSelection();
    if (n == LB_ERR || !GetConfig()) return;
    CRenameDialog dialog(this);
    dialog.m_strName = GetSelectedName();
    if (dialog.DoModal() != IDOK) return;
    if (!IsNameFree(dialog.m_strName)) return;
    RenameEntry(n, dialog.m_strName);
    Refresh(n);
}

void CKVRListPage::OnDelete()
{
    const int n = GetSelection();
    if (n == LB_ERR || !GetConfig() || GetEntryCount() <= 1) return;
    DeleteEntry(n);
}

void CKVRListPage::OnListDoubleClick()
{
    OnRename();
}
