#pragma once
// The field record of the oldest files: a protective or warning field kept as beams, or a
// protective rectangle kept as three extents, with a time in the newer of its two forms.
// It stores no version of its own: the reader sets the form it expects (2 or 3) through
// SetLegacyVersion before reading. Read only; storing writes nothing.
#include "model/CTalsData.h"

#include <array>

class CEditShelter : public CTalsData {
    DECLARE_SERIAL(CEditShelter)
public:
    // Kind selector and shape values.
    static constexpr int kProtective = 0;
    static constexpr int kWarning = 1;
    static constexpr int kRectangle = 0;
    static constexpr int kContour = 1;

    // Time bytes of version 3.
    enum TimeByte { kUnusedByte, kMinute, kHour, kDay, kMonthFromZero, kYearFrom1900, kTimeByteCount };

    CEditShelter() = default;

    // The CTalsData part; kind selector (word); four 32-bit values; shape, front, left,
    // right (words); with version 3 six words whose low bytes are the time bytes. Any
    // legacy version other than 2 or 3 is refused as bad schema.
    void Serialize(CArchive& ar) override;

    // The form that the next CEditShelter read expects; shared by all readers.
    static void SetLegacyVersion(int version) { s_nLegacyVersion = version; }
    static int GetLegacyVersion() { return s_nLegacyVersion; }

    int GetKindSelector() const { return m_nKindSelector; }
    int GetShape() const { return m_nShape; }
    DWORD GetValue(int n) const { return n >= 0 && n < 4 ? m_values[std::size_t(n)] : 0; }
    int GetFront() const { return m_nFront; }
    int GetLeft() const { return m_nLeft; }
    int GetRight() const { return m_nRight; }
    BYTE GetTimeByte(TimeByte which) const { return m_timeBytes[which]; }

private:
    static inline int s_nLegacyVersion = 0;

    int m_nKindSelector = 0;
    int m_nShape = 0;
    std::array<DWORD, 4> m_values{};
    int m_nFront = 0;
    int m_nLeft = 0;
    int m_nRight = 0;
    std::array<BYTE, kTimeByteCount> m_timeBytes{};
};
