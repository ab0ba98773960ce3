#pragma once
// The device type of a field, scan or configuration: a row of the built-in
// device-type table plus the variant that picks one of the row's two limit blocks.
#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

class CDataExchange;

class CSensorType : public CObject {
    DECLARE_SERIAL(CSensorType)
public:
    CSensorType() = default;
    CSensorType(UINT typeCode, WORD variant);
    CSensorType(const CSensorType& other) = default;
    CSensorType& operator=(const CSensorType& other);

    // Version 0x97: row index and variant (bit 0 of the stored word); 0x96 (row index
    // only) is read as variant 0.
    void Serialize(CArchive& ar) override;

    // Type codes are compared as 16-bit values. An unknown code falls back to the row of code 4.
    void SetType(UINT typeCode, WORD variant);
    // An unknown code leaves the type as it is and returns FALSE.
    BOOL SetTypeCode(UINT typeCode);
    WORD GetTypeCode() const;
    // Only bit 0 counts: older files and devices hand over a whole byte whose other bits
    // mean something else, and there are only two limit blocks.
    void SetVariant(WORD variant) { m_wVariant = WORD(variant & 1); }
    WORD GetVariant() const { return m_wVariant; }
    static int FindTypeIndex(UINT typeCode);
    static BOOL IsKnownTypeCode(UINT typeCode) { return FindTypeIndex(typeCode) >= 0; }

    void CopyFrom(const CSensorType& other);
    friend bool operator==(const CSensorType& a, const CSensorType& b)
    {
        return a.m_nIndex == b.m_nIndex && a.m_wVariant == b.m_wVariant;
    }

    CString GetModelName() const;

    WORD GetMinAngle() const;
    WORD GetMaxAngle() const;
    WORD GetAngleSpan() const;
    float GetAngleStep() const;

    WORD GetMinDistance() const;
    WORD GetMaxDistance() const;
    WORD GetDistanceStep() const;
    WORD GetDistanceSpan() const;
    WORD GetGeneralFourthValue() const;
    WORD GetDefaultDistance() const;

    WORD GetProtectiveMinDistance() const;
    WORD GetProtectiveMaxDistance() const;
    WORD GetProtectiveDistanceStep() const;
    WORD GetProtectiveDefaultDistance() const { return GetDefaultDistance(); }
    WORD GetProtectiveMaxWidth() const { return GetProtectiveMaxDistance(); }

    WORD GetWarningMinDistance() const;
    WORD GetWarningMaxDistance() const;
    WORD GetWarningDistanceStep() const;
    WORD GetWarningDefaultDistance() const { return GetDefaultDistance(); }

    // Limits by field kind: 1 protective, 2 warning, any other general.
    WORD GetMinDistanceOfKind(int kind) const;
    WORD GetMaxDistanceOfKind(int kind) const;
    WORD GetDistanceStepOfKind(int kind) const;
    WORD GetDefaultDistanceOfKind(int kind) const;
    WORD GetMaxWidthOfKind(int kind) const;

    BYTE GetMinScanCount() const;
    BYTE GetMaxScanCount() const;

    int GetBeamCount() const;
    static int GetBeamCountForResolution(int choice);

    UINT GetGeneralFieldTextId() const { return 0; }
    UINT GetProtectiveFieldTextId() const;
    UINT GetWarningFieldTextId() const;

    int GetLayer() const { return 0; }
    // Distances are always in cm; other units are not supported.
    int GetUnit() const { return 0; }
    void SetUnit(int) {}
    CString GetUnitText() const { return "cm"; }

private:
    int m_nIndex = 0;
    WORD m_wVariant = 0;
};

inline bool operator!=(const CSensorType& a, const CSensorType& b) { return !(a == b); }

// A combo box of the device types, one entry per table row (text from string 996 with
// the two model numbers and the range in metres, item data the type code). Loading
// fills it when it does not hold three entries and selects the current type; saving
// takes the selected type code (no selection changes nothing).
void DDX_SensorTypeCombo(CDataExchange* pDX, int nIDC, CSensorType& type);
