#include "model/CBeamArray.h"

#include "framework/core/CArchive.h"

#include <algorithm>

IMPLEMENT_SERIAL(CBeamArray, CObject, 0)

namespace {
constexpr BYTE kVersion = 3;
constexpr int kOldVersionType = 13;
} // namespace

CBeamArray::CBeamArray(const CBeamArray& other) : CObject()
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

void CBeamArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion << WORD(m_nType) << WORD(m_nFlag15Count) << WORD(m_nFlag14Count) << WORD(m_nFlag13Count);
        ar.WriteCount(DWORD(m_words.size()));
        for (WORD word : m_words)
            ar << word;
        return;
    }

    BYTE version = 0;
    ar >> version;
    short type = kOldVersionType;
    short storedCounts[3] = {};
    std::vector<WORD> words;
    switch (version) {
    case 3:
        ar >> type >> storedCounts[0] >> storedCounts[1] >> storedCounts[2];
        words = ReadWords(ar);
        break;
    case 2:
        ar >> storedCounts[0] >> storedCounts[1] >> storedCounts[2];
        words = ReadWords(ar);
        break;
    case 1: {
        short skipped[2] = {};
        ar >> skipped[0] >> skipped[1] >> storedCounts[0] >> storedCounts[1] >> storedCounts[2];
        ReadWords(ar);
        // The second word array of this version replaces the first.
        words = ReadWords(ar);
        break;
    }
    default:
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    }
    if (!CBeamWord::IsValidType(type))
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);

    // Stored counts are not trusted: they are recounted from the words.
    m_nType = type;
    m_words = std::move(words);
    RecountFlags();
}

std::vector<WORD> CBeamArray::ReadWords(CArchive& ar)
{
    const DWORD count = ar.ReadCount();
    if (count > kMaxBeams)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    std::vector<WORD> words;
    words.reserve(count); // at most 64K words
    for (DWORD i = 0; i < count; ++i) {
        WORD word = 0;
        ar >> word;
        words.push_back(word);
    }
    return words;
}
