#pragma once
// The common part of the field records of older files that kept their drawing settings:
// distance limits and step, fill and handle colours, handle size. Read only; storing
// writes nothing.
#include "framework/core/CPoint.h"
#include "model/CTalsData.h"

class CBaseShelter : public CTalsData {
    DECLARE_SERIAL(CBaseShelter)
public:
    CBaseShelter() : CBaseShelter(5, 5000, 1, 0xC0C0C0) {}

    // The CTalsData part and a version byte. Version 1: fill colour, handle colour, handle
    // size (two 32-bit values). Version 2 adds five words: minimum distance, maximum
    // distance and step (sign-extended), then the low 16 bits of the maximum and the step.
    void Serialize(CArchive& ar) override;

    int GetMinDistanceLimit() const { return m_nMinDistance; }
    int GetMaxDistanceLimit() const { return m_nMaxDistance; }
    int GetDistanceStep() const { return m_nDistanceStep; }
    COLORREF GetFillColor() const { return m_crFill; }
    COLORREF GetHandleColor() const { return m_crHandle; }
    CSize GetHandleSize() const { return m_handleSize; }

protected:
    CBaseShelter(int minDistance, int maxDistance, int step, COLORREF fill);
    // The CBaseShelter part of a derived record.
    void LoadBase(CArchive& ar);

private:
    int m_nMinDistance;
    int m_nMaxDistance;
    int m_nDistanceStep;
    COLORREF m_crFill;
    COLORREF m_crHandle = 0x0080FFFF;
    CSize m_handleSize{2, 2};
};
