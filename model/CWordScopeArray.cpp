#include "model/CWordScopeArray.h"

#include "framework/core/CArchive.h"

IMPLEMENT_SERIAL(CWordScopeArray, CObject, 0)

CWordScopeArray::CWordScopeArray(int size)
{
    SetSize(size);
}

CWordScopeArray::CWordScopeArray(int lower, int upper)
{
    SetScope(lower, upper);
}

void CWordScopeArray::RemoveAll()
{
    m_words.clear();
    m_nSize = 0;
    m_nLower = 0;
    m_nUpper = -1;
}

void CWordScopeArray::SetSize(int size)
{
    RemoveAll();
    if (size <= 0)
        return;
    m_words.assign(std::size_t(size), 0);
    m_nSize = size;
    m_nUpper = size - 1;
}

void CWordScopeArray::SetScope(int lower, int upper)
{
    SetSize(upper - lower + 1);
    if (upper < lower - 1)
        return; // an inverted scope leaves the array empty
    m_nLower = lower;
    m_nUpper = upper;
}

WORD CWordScopeArray::GetAt(int index) const
{
    return IsInScope(index) ? m_words[std::size_t(index - m_nLower)] : WORD(0);
}

void CWordScopeArray::SetAt(int index, WORD word)
{
    if (IsInScope(index))
        m_words[std::size_t(index - m_nLower)] = word;
}

void CWordScopeArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << short(m_nSize) << short(m_nLower) << short(m_nUpper);
        for (WORD word : m_words)
            ar << word;
        return;
    }
    short size = 0, lower = 0, upper = 0;
    ar >> size >> lower >> upper;
    // Users walk lower..upper, so the scope must cover exactly the words stored.
    if (size < 0 || int(upper) - int(lower) + 1 != int(size))
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    std::vector<WORD> words(std::size_t(size), 0);
    for (WORD& word : words)
        ar >> word;
    m_words = std::move(words);
    m_nSize = size;
    m_nLower = lower;
    m_nUpper = upper;
}
