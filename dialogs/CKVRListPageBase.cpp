#include "dialogs/CKVRListPageBase.h"

#include "dialogs/CKVRConfigPage.h"
#include "dialogs/CKVRConfigWizardPage.h"
#include "dialogs/CNewNameDialog.h"
#include "dialogs/CRenameDialog.h"
#include "framework/core/Resources.h"
#include "framework/ui/MessageBox.h"
#include "model/CKVRConfig.h"

#include <memory>

const KVRConfigList kKVRSensorList{
    .maxCount = 4,
    .defaultNameText = 1180,
    .inUsePrompt = 452,
    .removePrompt = 457,
    .count = [](const CKVRConfig& c) { return c.GetSensorConfigCount(); },
    .name = [](const CKVRConfig& c, int n) { return c.GetSensorConfigName(n); },
    .find = [](const CKVRConfig& c, const CString& name) { return c.FindSensorConfig(name); },
    .rename = [](CKVRConfig& c, int n, const CString& name) { c.RenameSensorConfig(n, name); },
    .remove = [](CKVRConfig& c, int n) { c.RemoveSensorConfig(n); },
    .used = [](const CKVRConfig& c, int n) { return c.IsSensorConfigUsed(n); },
    .fill = [](const CKVRConfig& c, CListBox* list, BOOL bare) { c.FillSensorListBox(list, bare); },
};

const KVRConfigList kKVRShelterList{
    .maxCount = 8,
    .defaultNameText = 1181,
    .inUsePrompt = 453,
    .removePrompt = 458,
    .count = [](const CKVRConfig& c) { return c.GetShelterConfigCount(); },
    .name = [](const CKVRConfig& c, int n) { return c.GetShelterConfigName(n); },
    .find = [](const CKVRConfig& c, const CString& name) { return c.FindShelterConfig(name); },
    .rename = [](CKVRConfig& c, int n, const CString& name) { c.RenameShelterConfig(n, name); },
    .remove = [](CKVRConfig& c, int n) { c.RemoveShelterConfig(n); },
    .used = [](const CKVRConfig& c, int n) { return c.IsShelterConfigUsed(n); },
    .fill = [](const CKVRConfig& c, CListBox* list, BOOL bare) { c.FillShelterListBox(list, bare); },
};

// Cases are removed without a use test: a case that names a removed one as its
// following case loses that reference, and the configuration check reports it.
const KVRConfigList kKVRControlList{
    .maxCount = 15,
    .defaultNameText = 0,
    .inUsePrompt = 0,
    .removePrompt = 459,
    .count = [](const CKVRConfig& c) { return c.GetControlConfigCount(); },
    .name = [](const CKVRConfig& c, int n) { return c.GetControlConfigName(n); },
    .find = [](const CKVRConfig& c, const CString& name) { return c.FindControlConfigByName(name); },
    .rename = [](CKVRConfig& c, int n, const CString& name) { c.RenameControlConfig(n, name); },
    .remove = [](CKVRConfig& c, int n) { c.RemoveControlConfig(n); },
    .used = nullptr,
    .fill = [](const CKVRConfig& c, CListBox* list, BOOL bare) { c.FillControlConfigList(list, bare); },
};

template <class PageBase>
CKVRListPageBase<PageBase>::CKVRListPageBase(UINT nIDTemplate, int nListId, const KVRConfigList& list, BOOL bare)
    : PageBase(nIDTemplate), m_kind(list), m_nListId(nListId), m_bBare(bare)
{
}

template <class PageBase>
BOOL CKVRListPageBase<PageBase>::OnInitDialog()
{
    PageBase::OnInitDialog();
    m_list.SubclassDlgItem(UINT(m_nListId), this);
    return TRUE;
}

template <class PageBase>
int CKVRListPageBase<PageBase>::Count() const
{
    const CKVRConfig* config = this->GetConfig();
    return config ? m_kind.count(*config) : 0;
}

template <class PageBase>
int CKVRListPageBase<PageBase>::Selected() const
{
    return m_list.GetSafeHwnd() ? m_list.GetCurSel() : LB_ERR;
}

template <class PageBase>
void CKVRListPageBase<PageBase>::EnableItem(int nID, BOOL bEnable) const
{
    if (CWnd* item = this->GetDlgItem(nID)) item->EnableWindow(bEnable);
}

template <class PageBase>
void CKVRListPageBase<PageBase>::EnableButtons(int count)
{
    EnableItem(IDC_ADD, count < m_kind.maxCount);
    EnableItem(IDC_RENAME, count > 0);
    EnableItem(IDC_REMOVE, count > 1);
}

template <class PageBase>
void CKVRListPageBase<PageBase>::Refresh(int nSelect)
{
    const CKVRConfig* config = this->GetConfig();
    if (!config || !m_list.GetSafeHwnd()) return;
    m_kind.fill(*config, &m_list, m_bBare);
    m_list.SetCurSel(nSelect);
    EnableButtons(m_kind.count(*config));
}

template <class PageBase>
CString CKVRListPageBase<PageBase>::DefaultName() const
{
    CString stem;
    stem.LoadString(m_kind.defaultNameText);
    CString name;
    name.Format("%s%d", LPCTSTR(stem), Count() + 1);
    return name;
}

template <class PageBase>
int CKVRListPageBase<PageBase>::ShowNamed(UINT nIDPrompt, const CString& name, UINT nType) const
{
    CString text;
    AfxFormatString1(text, nIDPrompt, name);
    return AfxMessageBox(text, nType, nIDPrompt);
}

template <class PageBase>
BOOL CKVRListPageBase<PageBase>::IsNameFree(const CString& name) const
{
    const CKVRConfig* config = this->GetConfig();
    if (!config || m_kind.find(*config, name) < 0) return TRUE;
    ShowNamed(IDP_NAME_IN_USE, name, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

template <class PageBase>
void CKVRListPageBase<PageBase>::OnRename()
{
    CKVRConfig* config = this->GetConfig();
    const int n = Selected();
    if (!config || n < 0) return;
    CRenameDialog dialog(this);
    dialog.m_strName = m_kind.name(*config, n);
    if (dialog.DoModal() != IDOK || !IsNameFree(dialog.m_strName)) return;
    m_kind.rename(*config, n, dialog.m_strName);
    Refresh(n);
}

template <class PageBase>
void CKVRListPageBase<PageBase>::OnRemove()
{
    CKVRConfig* config = this->GetConfig();
    const int n = Selected();
    if (!config || n < 0 || m_kind.count(*config) < 2) return;
    const CString name = m_kind.name(*config, n);
    if (m_kind.used && m_kind.used(*config, n)) {
        ShowNamed(m_kind.inUsePrompt, name, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (ShowNamed(m_kind.removePrompt, name, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    m_kind.remove(*config, n);
    Refresh(0);
}

template <class PageBase>
void CKVRListPageBase<PageBase>::AddNamedSensor()
{
    CKVRConfig* config = this->GetConfig();
    if (!config || config->GetSensorConfigCount() >= kKVRSensorList.maxCount) return;
    CNewNameDialog dialog(this);
    dialog.m_strName = DefaultName();
    if (dialog.DoModal() != IDOK || !IsNameFree(dialog.m_strName)) return;
    config->AddSensorConfig(dialog.m_strName, std::make_unique<CKVRSensorConfig>());
    RefreshAfterAdd();
}

template class CKVRListPageBase<CKVRConfigPage>;
template class CKVRListPageBase<CKVRConfigWizardPage>;
