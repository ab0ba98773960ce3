#pragma once
// The beam-word base of the field records of older files: one 16-bit word per beam with a
// 13-bit distance in cm and three flag bits, the distance extremes seen so far and one
// counter per flag bit. Read from old files only; the importers turn it into a field.
#include "framework/core/CObject.h"
#include "model/CSensorPoint.h"
#include "model/CWordScopeArray.h"

#include <vector>

class CTalsData : public CObject {
    DECLARE_SERIAL(CTalsData)
public:
    static constexpr WORD kFlag15 = 0x8000;
    static constexpr WORD kFlag14 = 0x4000;
    static constexpr WORD kFlag13 = 0x2000;
    static constexpr WORD kFlagMask = kFlag15 | kFlag14 | kFlag13;
    static constexpr WORD kDistanceMask = 0x1FFF;

    CTalsData() : CTalsData(0) {}
    // beamCount zero words indexed 0..beamCount-1.
    explicit CTalsData(int beamCount);

    // Five 16-bit words (minimum and maximum distance, the counts of flags 15, 14 and 13,
    // zero-extended), then the beams. Loading marks the record modified; a minimum of 0
    // makes both extremes be recomputed from the beams.
    void Serialize(CArchive& ar) override;

    int GetBeamCount() const { return m_beams.GetSize(); }
    int GetLowerIndex() const { return m_beams.GetLower(); }
    int GetUpperIndex() const { return m_beams.GetUpper(); }
    // The whole word, flags included; 0 outside the beams.
    WORD GetBeam(int i) const { return m_beams.GetAt(i); }
    WORD GetDistance(int i) const { return WORD(GetBeam(i) & kDistanceMask); }
    // Every word from the lower to the upper index.
    std::vector<WORD> GetBeams() const;

    // Stores the word and keeps the flag counters true; the extremes only widen. A beam
    // outside the array changes nothing.
    void SetBeam(int i, WORD word);
    // Flag bits on beam i, or on every beam for i = -1; other bits of flag are ignored.
    void SetFlag(int i, WORD flag);
    void ClearFlag(int i, WORD flag);
    BOOL TestFlag(int i, WORD flag) const { return (GetBeam(i) & flag) != 0; }
    // The number of beams with the flag bit.
    int GetFlagCount(WORD flag) const;

    int GetMinDistance() const { return m_nMinDistance; }
    int GetMaxDistance() const { return m_nMaxDistance; }

    // 180 / (n - 1) degrees for the usual counts of 91, 181 and 361 beams, else 180 / n;
    // 0 without a beam.
    double GetAngleStep() const;
    double GetBeamAngle(int i) const { return GetAngleStep() * i; }
    CSensorPoint GetBeamPoint(int i) const;

    void SetModified(BOOL modified) { m_bModified = modified; }
    BOOL IsModified() const { return m_bModified; }

private:
    void ChangeFlag(int i, WORD flag, bool on);
    void RecomputeExtremes();

    CWordScopeArray m_beams;
    int m_nMinDistance = 0x7FFF;
    int m_nMaxDistance = -0x8000;
    int m_nFlag15Count = 0;
    int m_nFlag14Count = 0;
    int m_nFlag13Count = 0;
    BOOL m_bModified = TRUE;
};
