#pragma once
// An ordered list of named sub-records of a KVR configuration (sensor configurations,
// field pairs or monitoring cases). Items are addressed by their 0-based position; the
// list owns every item's object. Names need not be unique: lookups take the first match.
#include "framework/core/CObject.h"
#include "framework/core/CString.h"

#include <memory>
#include <vector>

class CArchive;
class CComboBox;
class CListBox;

struct CKVRConfigItem {
    CString name;
    std::unique_ptr<CObject> object; // may be null
};

class CKVRConfigList : public CObject {
    DECLARE_SERIAL(CKVRConfigList)
public:
    // Objects loaded into the list must be of the item class (any class when null).
    explicit CKVRConfigList(const CRuntimeClass* pItemClass = nullptr) : m_pItemClass(pItemClass) {}
    ~CKVRConfigList() override = default;
    CKVRConfigList(const CKVRConfigList&) = delete;
    CKVRConfigList& operator=(const CKVRConfigList&) = delete;

    // No version byte: a 16-bit count, then per item its name and its object (by pointer,
    // null allowed). Loading appends the items it reads; an object must be new to
    // the archive (see ArchiveOwnership.h) and of the item class.
    void Serialize(CArchive& ar) override;

    // Position of the first item of exactly that (case-sensitive) name, -1 when none.
    int FindByName(LPCTSTR name) const;
    // Appends an item; the list takes the object. Returns 1.
    int Add(const CString& name, std::unique_ptr<CObject> object);
    // Deletes item n and its object; 0 when n is out of range.
    int RemoveAt(int n);
    int Rename(int n, const CString& name);
    // Replaces the object of item n (the old one is deleted); 0 when n is out of range.
    int SetObject(int n, std::unique_ptr<CObject> object);
    // The name, empty when n is out of range; the object, null when out of range.
    CString GetName(int n) const;
    CObject* GetObject(int n) const;
    int GetCount() const { return int(m_items.size()); }
    BOOL IsEmpty() const { return m_items.empty(); }
    void RemoveAll() { m_items.clear(); }
    const CRuntimeClass* GetItemClass() const { return m_pItemClass; }

    // Refill the control with one line per item: the name (bare), else "%d\t%s" with the
    // 1-based position and the name. Redrawing is off meanwhile.
    void FillListBox(CListBox* pListBox, BOOL bare) const;
    void FillComboBox(CComboBox* pComboBox, BOOL bare) const;

private:
    BOOL IsValid(int n) const { return n >= 0 && n < GetCount(); }
    CString LineOf(int n, BOOL bare) const;

    const CRuntimeClass* m_pItemClass;
    std::vector<CKVRConfigItem> m_items;
};
