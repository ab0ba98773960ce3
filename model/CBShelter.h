#pragma once
// The protective-field record of older scanner configurations: beams, or one rectangle
// record that describes a rectangle field, and the time the field was made. Read only;
// storing writes nothing.
#include "framework/core/CRect.h"
#include "framework/core/CTime.h"
#include "model/CBaseShelter.h"

#include <vector>

// One 20-byte rectangle record.
struct LegacyRectangle {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
    LONG value = 0;
};

class CBShelter : public CBaseShelter {
    DECLARE_SERIAL(CBShelter)
public:
    CBShelter();

    // The CBaseShelter part and a version byte; then the time (32-bit seconds) and the
    // rectangle records (a word count, then left, top, right, bottom and a value as 32-bit
    // values each). Version 2 adds the fine-resolution flag as a word; version 1 derives
    // it from the beam count (361).
    void Serialize(CArchive& ar) override;

    CTime GetTimeStamp() const { return m_timeStamp; }
    int GetReserved() const { return m_nReserved; }
    BOOL IsFineResolution() const { return m_bFineResolution; }

    int GetRectangleCount() const { return int(m_rectangles.size()); }
    BOOL HasRectangle() const { return GetRectangleCount() > 0; }
    BOOL HasSeveralRectangles() const { return GetRectangleCount() > 1; }
    // FALSE when there is no record n.
    BOOL GetRectangle(int n, LegacyRectangle& rectangle) const;
    // The first record's sides; an empty rectangle and FALSE when there is none.
    BOOL GetFirstRectangle(CRect& rect) const;

private:
    CTime m_timeStamp;
    int m_nReserved = 0;
    BOOL m_bFineResolution = FALSE;
    std::vector<LegacyRectangle> m_rectangles;
};
