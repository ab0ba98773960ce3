#include "framework/core/CArray.h"

#include "framework/core/CArchive.h"

#include <algorithm>

IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)

namespace {

// Elements are read in pieces of this many, so a damaged count costs no more memory
// than the data behind it.
constexpr DWORD kReadPiece = 16 * 1024;

template <typename T>
void StoreValues(CArchive& ar, const std::vector<T>& values)
{
    ar.WriteCount(DWORD(values.size()));
    std::vector<BYTE> bytes;
    bytes.reserve(values.size() * sizeof(T));
    for (T value : values)
        for (std::size_t i = 0; i < sizeof(T); ++i) bytes.push_back(BYTE(value >> (8 * i)));
    ar.Write(bytes.data(), UINT(bytes.size()));
}

template <typename T>
void LoadValues(CArchive& ar, std::vector<T>& values)
{
    values.clear();
    std::vector<BYTE> bytes;
    for (DWORD remaining = ar.ReadCount(); remaining > 0;) {
        const DWORD piece = std::min(remaining, kReadPiece);
        bytes.resize(std::size_t(piece) * sizeof(T));
        if (ar.Read(bytes.data(), UINT(bytes.size())) != bytes.size())
            throw CArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
        for (std::size_t at = 0; at < bytes.size(); at += sizeof(T)) {
            T value = 0;
            for (std::size_t i = 0; i < sizeof(T); ++i) value = T(value | (T(bytes[at + i]) << (8 * i)));
            values.push_back(value);
        }
        remaining -= piece;
    }
}

} // namespace

void CByteArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring())
        StoreValues(ar, Elements());
    else
        LoadValues(ar, Elements());
}

void CWordArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring())
        StoreValues(ar, Elements());
    else
        LoadValues(ar, Elements());
}

void CDWordArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring())
        StoreValues(ar, Elements());
    else
        LoadValues(ar, Elements());
}

void CStringArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount(DWORD(GetSize()));
        for (const CString& text : Elements()) ar << text;
        return;
    }
    RemoveAll();
    for (DWORD remaining = ar.ReadCount(); remaining > 0; --remaining) {
        CString text;
        ar >> text;
        Add(text);
    }
}
