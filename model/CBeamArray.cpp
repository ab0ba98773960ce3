#include "model/CBeamArray.h"

#include <algorithm>

CBeamArray::CBeamArray(const CBeamArray& other)
{
    CopyFrom(other);
}

CBeamArray& CBeamArray::operator=(const CBeamArray& other)
{
    CopyFrom(other);
    return *this;
}

void CBeamArray::CopyFrom(const CBeamArray& other)
{
    if (&other == this)
        return;
    m_nType = other.m_nType;
    m_nFlag15Count = other.m_nFlag15Count;
    m_nFlag14Count = other.m_nFlag14Count;
    m_nFlag13Count = other.m_nFlag13Count;
    m_words = other.m_words;
}

void CBeamArray::RemoveAll()
{
    m_words.clear();
    m_nFlag15Count = m_nFlag14Count = m_nFlag13Count = 0;
}

void CBeamArray::ResetTo(int type, WORD count)
{
    RemoveAll();
    m_nType = type;
    m_words.assign(count, 0);
}

void CBeamArray::Fill(CBeamWord word, WORD count, int type)
{
    ResetTo(type, count);
    for (int i = 0; i < int(count); ++i)
        SetAt(i, word);
}

void CBeamArray::SetWords(const WORD* words, WORD count, int type)
{
    ResetTo(type, count);
    for (int i = 0; i < int(count); ++i)
        SetAt(i, words[i]);
}

void CBeamArray::SetWordsInRange(const WORD* words, WORD count, WORD first, WORD last, int type)
{
    ResetTo(type, count);
    if (count == 0)
        return;
    const int end = std::min(int(last), int(count) - 1);
    for (int i = first; i <= end; ++i)
        SetAt(i, words[i - first]);
}

void CBeamArray::SetAt(int index, CBeamWord word)
{
    if (!IsValidIndex(index))
        return;
    const CBeamWord old = m_words[std::size_t(index)];
    m_nFlag13Count += word.GetFlag13(m_nType) - old.GetFlag13(m_nType);
    m_nFlag14Count += word.GetFlag14(m_nType) - old.GetFlag14(m_nType);
    m_nFlag15Count += word.GetFlag15(m_nType) - old.GetFlag15(m_nType);
    m_words[std::size_t(index)] = word.GetWord();
}

CBeamWord CBeamArray::GetAt(int index) const
{
    return IsValidIndex(index) ? CBeamWord(m_words[std::size_t(index)]) : CBeamWord();
}

void CBeamArray::SetDistance(int index, WORD distance)
{
    CBeamWord word = GetAt(index);
    word.SetDistance(m_nType, distance);
    SetAt(index, word);
}

WORD CBeamArray::GetDistance(int index) const
{
    return GetAt(index).GetDistance(m_nType);
}

void CBeamArray::GetMinMaxDistance(WORD& minimum, WORD& maximum) const
{
    minimum = maximum = 0;
    for (std::size_t i = 0; i < m_words.size(); ++i) {
        const WORD distance = CBeamWord(m_words[i]).GetDistance(m_nType);
        if (i == 0 || distance < minimum)
            minimum = distance;
        if (i == 0 || distance > maximum)
            maximum = distance;
    }
}

WORD CBeamArray::GetMinDistance() const
{
    WORD minimum, maximum;
    GetMinMaxDistance(minimum, maximum);
    return minimum;
}

WORD CBeamArray::GetMaxDistance() const
{
    WORD minimum, maximum;
    GetMinMaxDistance(minimum, maximum);
    return maximum;
}

void CBeamArray::SetType(int type)
{
    if (type == m_nType)
        return;
    m_nType = type;
    RecountFlags();
}

void CBeamArray::RecountFlags()
{
    const std::vector<WORD> words = std::move(m_words);
    m_words.assign(words.size(), 0);
    m_nFlag15Count = m_nFlag14Count = m_nFlag13Count = 0;
    for (std::size_t i = 0; i < words.size(); ++i)
        SetAt(int(i), words[i]);
}

template <typename Op>
BOOL CBeamArray::ForBeams(int index, Op op)
{
    if (index == -1) {
        for (int i = 0; i < GetCount(); ++i) {
            CBeamWord word = GetAt(i);
            op(word);
            SetAt(i, word);
        }
        return TRUE;
    }
    if (!IsValidIndex(index))
        return FALSE;
    CBeamWord word = GetAt(index);
    op(word);
    SetAt(index, word);
    return TRUE;
}

BOOL CBeamArray::SetFlag13(int index, BOOL on)
{
    if (m_nType != 13)
        return FALSE;
    return ForBeams(index, [&](CBeamWord& w) { w.SetFlag13(m_nType, on); });
}

BOOL CBeamArray::SetFlag14(int index, BOOL on)
{
    if (m_nType != 13 && m_nType != 14)
        return FALSE;
    return ForBeams(index, [&](CBeamWord& w) { w.SetFlag14(m_nType, on); });
}

BOOL CBeamArray::SetFlag15(int index, BOOL on)
{
    if (!CBeamWord::IsValidType(m_nType))
        return FALSE;
    return ForBeams(index, [&](CBeamWord& w) { w.SetFlag15(m_nType, on); });
}

void CBeamArray::SetAllFlags(int index, BOOL on)
{
    ForBeams(index, [&](CBeamWord& w) { w.SetAllFlags(m_nType, on); });
}

WORD CBeamArray::GetFlaggedCount() const
{
    const auto flagged = std::count_if(m_words.begin(), m_words.end(),
                                       [&](WORD w) { return CBeamWord(w).IsAnyFlagSet(m_nType); });
    return WORD(flagged);
}

void CBeamArray::SetFlagBits(int index, BYTE bits)
{
    ForBeams(index, [&](CBeamWord& w) { w.SetFlagBits(m_nType, bits); });
}
