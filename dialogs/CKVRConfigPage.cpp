#include "dialogs/CKVRConfigPage.h"

#include "dialogs/CKVRConfigSheet.h"

IMPLEMENT_DYNAMIC(CKVRConfigPage, CPropertyPage)

CKVRConfigPage::CKVRConfigPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}

CKVRConfigSheet* CKVRConfigPage::GetSheet() const
{
    CWnd* parent = GetParent();
    if (!parent || !parent->IsKindOf(RUNTIME_CLASS(CKVRConfigSheet))) return nullptr;
    return static_cast<CKVRConfigSheet*>(parent);
}

CKVRConfig* CKVRConfigPage::GetConfig() const
{
    const CKVRConfigSheet* sheet = GetSheet();
    return sheet ? sheet->GetConfig() : nullptr;
}

void CKVRConfigPage::EnableControl(int nID, BOOL bEnable) const
{
    if (CWnd* control = GetDlgItem(nID)) control->EnableWindow(bEnable);
}

void CKVRConfigPage::ShowControl(int nID, BOOL bShow) const
{
    if (CWnd* control = GetDlgItem(nID)) control->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}
