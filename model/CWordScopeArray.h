#pragma once
// A plain array of 16-bit words indexed from a lower to an upper index, as the
// legacy field records keep their beams.
#include "framework/core/CObject.h"
#include "framework/core/WinTypes.h"

#include <vector>

class CWordScopeArray : public CObject {
    DECLARE_SERIAL(CWordScopeArray)
public:
    CWordScopeArray() = default;
    explicit CWordScopeArray(int size);
    CWordScopeArray(int lower, int upper);

    // n zero words indexed 0..n-1; a size of 0 or less empties the array.
    void SetSize(int size);
    // upper - lower + 1 zero words indexed lower..upper.
    void SetScope(int lower, int upper);
    void RemoveAll();

    int GetSize() const { return m_nSize; }
    int GetLower() const { return m_nLower; }
    int GetUpper() const { return m_nUpper; }

    // Indexed lower..upper; an index outside stores nothing and reads 0.
    WORD GetAt(int index) const;
    void SetAt(int index, WORD word);

    // No version byte: size, lower and upper as 16-bit values, then the words. A scope
    // that does not match the size is refused as bad schema.
    void Serialize(CArchive& ar) override;

protected:
    std::vector<WORD> m_words;
    int m_nSize = 0;
    int m_nLower = 0;
    int m_nUpper = -1;

private:
    BOOL IsInScope(int index) const { return index >= m_nLower && index <= m_nUpper; }
};
