#include "dialogs/CKVRListPage.h"

IMPLEMENT_DYNAMIC(CKVRListPage, CKVRConfigPage)

namespace {

constexpr int IDC_ENTRY_LIST = 2050;

} // namespace

BEGIN_MESSAGE_MAP(CKVRListPage, CKVRConfigPage)
    ON_BN_CLICKED(IDC_ADD, OnAdd)
    ON_BN_CLICKED(IDC_RENAME, OnRename)
    ON_BN_CLICKED(IDC_REMOVE, OnRemove)
    ON_LBN_DBLCLK(IDC_ENTRY_LIST, OnListDoubleClick)
END_MESSAGE_MAP()

CKVRListPage::CKVRListPage(UINT nIDTemplate, const KVRConfigList& list)
    : CKVRListPageBase(nIDTemplate, IDC_ENTRY_LIST, list, TRUE)
{
}

BOOL CKVRListPage::OnInitDialog()
{
    CKVRListPageBase::OnInitDialog();
    Refresh(0);
    return TRUE;
}

void CKVRListPage::OnAdd()
{
    if (GetConfig() && Count() < m_kind.maxCount) AddEntry();
}

void CKVRListPage::OnListDoubleClick()
{
    OnRename();
}
