#include "framework/core/CList.h"

#include "framework/core/CArchive.h"

IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CStringList, CObject, 0)

void CObList::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount(DWORD(GetCount()));
        for (POSITION position = GetHeadPosition(); position;) ar << GetNext(position);
        return;
    }
    // Every element costs at least two bytes, so a damaged count ends at the data's end.
    for (DWORD remaining = ar.ReadCount(); remaining > 0; --remaining) {
        CObject* pOb = nullptr;
        ar >> pOb;
        AddTail(pOb);
    }
}

void CStringList::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount(DWORD(GetCount()));
        for (POSITION position = GetHeadPosition(); position;) ar << GetNext(position);
        return;
    }
    for (DWORD remaining = ar.ReadCount(); remaining > 0; --remaining) {
        CString text;
        ar >> text;
        AddTail(text);
    }
}
