#pragma once
// A speed range in cm/s that switches a monitoring case.
#include "framework/core/CObject.h"
#include "framework/core/WinTypes.h"

class CDataExchange;

class CSpeed : public CObject {
    DECLARE_SERIAL(CSpeed)
public:
    CSpeed() = default;
    CSpeed(int low, int high) : m_nLow(low), m_nHigh(high) {}
    CSpeed(const CSpeed& other) = default;
    CSpeed& operator=(const CSpeed& other) = default;

    // Version 1: low and high bound as 16-bit values.
    void Serialize(CArchive& ar) override;

    void CopyFrom(const CSpeed& other) { *this = other; }

    int GetLow() const { return m_nLow; }
    int GetHigh() const { return m_nHigh; }
    void Set(int low, int high) { m_nLow = low; m_nHigh = high; }

    BOOL IsSet() const { return m_nLow != m_nHigh; }
    // 0 same bounds, 2 this range wholly below the other, 1 wholly above,
    // 3 overlapping (a shared bound overlaps).
    int Compare(const CSpeed& other) const;
    // 2 above the high bound, 1 below the low bound, 3 inside (bounds included).
    int Classify(int value) const;

private:
    int m_nLow = 0;
    int m_nHigh = 0;
};

// While saving: the value must lie in [min1, max1] or in [min2, max2]; otherwise message
// 472 shows the four bounds, each followed directly by the unit text, and the exchange fails.
void DDV_MinMaxTwoRanges(CDataExchange* pDX, int value, int min1, int max1, int min2, int max2, LPCTSTR unit);
