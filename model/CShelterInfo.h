#pragma once
// A size with its distance unit (0 cm, 1 mm, 2 dm), kept as a value record in archives,
// and the shape choice of a new field in the field wizard's combo box.
#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

class CDataExchange;

class CShelterInfo : public CObject {
    DECLARE_SERIAL(CShelterInfo)
public:
    CShelterInfo() = default;
    ~CShelterInfo() override = default;

    // Version 1, the value and the unit as 16-bit words; the unit is sign-extended on reading.
    void Serialize(CArchive& ar) override;
    // "%u" of the value.
    virtual CString FormatValue() const;
    // "cm", "mm" or "dm"; empty for any other unit.
    virtual CString GetUnitText() const;

    void SetValue(WORD value) { m_wValue = value; }
    WORD GetValue() const { return m_wValue; }
    void SetUnit(int unit) { m_nUnit = unit; }
    int GetUnit() const { return m_nUnit; }

private:
    WORD m_wValue = 4;
    int m_nUnit = 0;
};

// Shape choices of a new field, the item data of the shape combo.
enum ShelterShapeChoice : DWORD {
    kShapeRectangle = 0,
    kShapeArc = 1,
    kShapeContour91 = 2,
    kShapeContour181 = 3,
    kShapeContour361 = 4,
};

// The shape combo (texts 997 to 1001 with the choices 0 to 4 as item data). Loading fills
// it unless it holds five items and selects the item of the choice (none matching leaves
// the selection); saving takes the selected item's data (no selection keeps the choice).
void DDX_ShelterShapeCombo(CDataExchange* pDX, int nIDC, DWORD* pChoice);
