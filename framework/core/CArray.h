#pragma once
// Growable arrays indexed from 0: CArray<TYPE> and the typed
// arrays CByteArray, CWordArray, CDWordArray, CUIntArray and CStringArray. An index
// outside the array throws CInvalidArgException.
//
// Archive forms (Serialize replaces the content when loading):
//   CByteArray, CWordArray, CDWordArray: count (WORD, or 0xFFFF + DWORD), then the
//   elements as little-endian 8/16/32-bit values. CStringArray: count, then each string.
//   CUIntArray has no archive form.
#include "framework/core/CException.h"
#include "framework/core/CObject.h"
#include "framework/core/CString.h"

#include <utility>
#include <vector>

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;
    CArray(const CArray&) = default;
    CArray& operator=(const CArray&) = default;

    int GetSize() const { return int(m_data.size()); }
    BOOL IsEmpty() const { return m_data.empty(); }
    int GetUpperBound() const { return GetSize() - 1; }

    // New elements are value-initialised (0 for numbers); the grow step is a hint only.
    void SetSize(int nNewSize, int /*nGrowBy*/ = -1)
    {
        if (nNewSize < 0) AfxThrowInvalidArgException();
        m_data.resize(std::size_t(nNewSize));
    }
    void RemoveAll() { m_data.clear(); }

    const TYPE& GetAt(int nIndex) const { return m_data[Checked(nIndex)]; }
    void SetAt(int nIndex, ARG_TYPE newElement) { m_data[Checked(nIndex)] = newElement; }
    TYPE& ElementAt(int nIndex) { return m_data[Checked(nIndex)]; }
    const TYPE& ElementAt(int nIndex) const { return m_data[Checked(nIndex)]; }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }
    const TYPE& operator[](int nIndex) const { return GetAt(nIndex); }

    // Grows the array as needed to hold nIndex.
    void SetAtGrow(int nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0) AfxThrowInvalidArgException();
        TYPE value = newElement; // may refer into the array, which is about to grow
        if (nIndex >= GetSize()) SetSize(nIndex + 1);
        m_data[std::size_t(nIndex)] = std::move(value);
    }
    int Add(ARG_TYPE newElement)
    {
        m_data.push_back(newElement);
        return GetUpperBound();
    }

    // An index beyond the end grows the array first.
    void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1)
    {
        if (nIndex < 0 || nCount < 0) AfxThrowInvalidArgException();
        const TYPE value = newElement; // may refer into the array, which is about to grow
        if (nIndex > GetSize()) SetSize(nIndex);
        m_data.insert(m_data.begin() + nIndex, std::size_t(nCount), value);
    }
    void RemoveAt(int nIndex, int nCount = 1)
    {
        if (nIndex < 0 || nCount < 0 || nIndex > GetSize() - nCount) AfxThrowInvalidArgException();
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
    }

protected:
    std::vector<TYPE>& Elements() { return m_data; }
    const std::vector<TYPE>& Elements() const { return m_data; }

private:
    std::size_t Checked(int nIndex) const
    {
        if (nIndex < 0 || nIndex >= GetSize()) AfxThrowInvalidArgException();
        return std::size_t(nIndex);
    }

    std::vector<TYPE> m_data;
};

class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_SERIAL(CByteArray)
public:
    void Serialize(CArchive& ar) override;
};

class CWordArray : public CArray<WORD, WORD> {
    DECLARE_SERIAL(CWordArray)
public:
    void Serialize(CArchive& ar) override;
};

class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_SERIAL(CDWordArray)
public:
    void Serialize(CArchive& ar) override;
};

class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
};

class CStringArray : public CArray<CString, const CString&> {
    DECLARE_SERIAL(CStringArray)
public:
    void Serialize(CArchive& ar) override;
};
