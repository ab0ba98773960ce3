#pragma once
// The beam words of one contour with their resolution type (13, 14 or 15) and
// the number of beams that carry each flag. Every single-word store goes through
// SetAt, which keeps the three counts true.
#include "framework/core/CObject.h"
#include "framework/core/WinTypes.h"
#include "model/CBeamWord.h"

#include <vector>

class CBeamArray : public CObject {
    DECLARE_SERIAL(CBeamArray)
public:
    // Largest number of beams an array holds (the fill operations take 16-bit counts).
    static constexpr DWORD kMaxBeams = 0xFFFF;

    CBeamArray() = default;
    CBeamArray(const CBeamArray& other);
    CBeamArray& operator=(const CBeamArray& other);

    void Fill(CBeamWord word, WORD count, int type);
    void SetWords(const WORD* words, WORD count, int type);
    // Beams first..last take words[0], words[1], ...; the others are 0. A last
    // beyond the array stops at its end.
    void SetWordsInRange(const WORD* words, WORD count, WORD first, WORD last, int type);

    int GetCount() const { return int(m_words.size()); }
    BOOL IsEmpty() const { return m_words.empty(); }
    void RemoveAll();
    void CopyFrom(const CBeamArray& other);

    // An index outside the array stores nothing and reads 0.
    void SetAt(int index, CBeamWord word);
    CBeamWord GetAt(int index) const;
    void SetWord(int index, WORD word) { SetAt(index, CBeamWord(word)); }
    WORD GetWord(int index) const { return GetAt(index).GetWord(); }
    void SetDistance(int index, WORD distance);
    WORD GetDistance(int index) const;

    void GetMinMaxDistance(WORD& minimum, WORD& maximum) const;
    WORD GetMinDistance() const;
    WORD GetMaxDistance() const;

    // Reinterprets the stored words under the new type and recounts the flags.
    void SetType(int type);
    int GetType() const { return m_nType; }

    // index -1 means every beam; FALSE when the type has no such flag or the index is bad.
    BOOL SetFlag13(int index, BOOL on);
    BOOL SetFlag14(int index, BOOL on);
    BOOL SetFlag15(int index, BOOL on);
    BOOL GetFlag13(int index) const { return GetAt(index).GetFlag13(m_nType); }
    BOOL GetFlag14(int index) const { return GetAt(index).GetFlag14(m_nType); }
    BOOL GetFlag15(int index) const { return GetAt(index).GetFlag15(m_nType); }
    WORD GetFlag13Count() const { return WORD(m_nFlag13Count); }
    WORD GetFlag14Count() const { return WORD(m_nFlag14Count); }
    WORD GetFlag15Count() const { return WORD(m_nFlag15Count); }

    void SetAllFlags(int index, BOOL on);
    WORD GetFlaggedCount() const;
    void SetFlagBits(int index, BYTE bits);
    WORD GetFlagBits(int index) const { return GetAt(index).GetFlagBits(m_nType); }

    // Writes version 3; reads 3, 2 and 1. The flag counts are recounted from the words
    // read, and a type or beam count the array cannot hold is refused as bad schema.
    void Serialize(CArchive& ar) override;

protected:
    // Recounts the three flag counts from the words.
    void RecountFlags();

    int m_nType = 13;
    int m_nFlag15Count = 0;
    int m_nFlag14Count = 0;
    int m_nFlag13Count = 0;
    std::vector<WORD> m_words;

private:
    static std::vector<WORD> ReadWords(CArchive& ar);
    BOOL IsValidIndex(int index) const { return index >= 0 && index < GetCount(); }
    void ResetTo(int type, WORD count);
    // Applies op to one beam or, for index -1, to every beam; FALSE for a bad index.
    template <typename Op>
    BOOL ForBeams(int index, Op op);
};
