#include "model/CKVRConfigList.h"

#include "framework/core/CArchive.h"
#include "framework/ui/CComboBox.h"
#include "framework/ui/CListBox.h"
#include "model/ArchiveOwnership.h"

IMPLEMENT_SERIAL(CKVRConfigList, CObject, 1)

void CKVRConfigList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << WORD(m_items.size());
        for (const CKVRConfigItem& item : m_items) ar << item.name << item.object.get();
        return;
    }
    WORD count = 0;
    ar >> count;
    for (WORD i = 0; i < count; ++i) {
        CKVRConfigItem item;
        ar >> item.name;
        item.object = ReadOwnedObject(ar, m_pItemClass);
        m_items.push_back(std::move(item));
    }
}

int CKVRConfigList::FindByName(LPCTSTR name) const
{
    for (int n = 0; n < GetCount(); ++n)
        if (m_items[std::size_t(n)].name == name) return n;
    return -1;
}

int CKVRConfigList::Add(const CString& name, std::unique_ptr<CObject> object)
{
    m_items.push_back(CKVRConfigItem{name, std::move(object)});
    return 1;
}

int CKVRConfigList::RemoveAt(int n)
{
    if (!IsValid(n)) return 0;
    m_items.erase(m_items.begin() + n);
    return 1;
}

int CKVRConfigList::Rename(int n, const CString& name)
{
    if (!IsValid(n)) return 0;
    m_items[std::size_t(n)].name = name;
    return 1;
}

int CKVRConfigList::SetObject(int n, std::unique_ptr<CObject> object)
{
    if (!IsValid(n)) return 0;
    m_items[std::size_t(n)].object = std::move(object);
    return 1;
}

CString CKVRConfigList::GetName(int n) const { return IsValid(n) ? m_items[std::size_t(n)].name : CString(); }

CObject* CKVRConfigList::GetObject(int n) const { return IsValid(n) ? m_items[std::size_t(n)].object.get() : nullptr; }

CString CKVRConfigList::LineOf(int n, BOOL bare) const
{
    const CString& name = m_items[std::size_t(n)].name;
    if (bare) return name;
    CString line;
    line.Format("%d\t%s", n + 1, name.c_str());
    return line;
}

void CKVRConfigList::FillListBox(CListBox* pListBox, BOOL bare) const
{
    pListBox->SetRedraw(FALSE);
    pListBox->ResetContent();
    for (int n = 0; n < GetCount(); ++n) pListBox->AddString(LineOf(n, bare));
    pListBox->SetRedraw(TRUE);
}

void CKVRConfigList::FillComboBox(CComboBox* pComboBox, BOOL bare) const
{
    pComboBox->SetRedraw(FALSE);
    pComboBox->ResetContent();
    for (int n = 0; n < GetCount(); ++n) pComboBox->AddString(LineOf(n, bare));
    pComboBox->SetRedraw(TRUE);
}
