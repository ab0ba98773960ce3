#pragma once
// The modal dialog that edits a rectangle field's extents on a copy of the field: front
// (control 2023), left (2061) and right (2063), in cm or, with the inch flag, in inches.
// The caller takes the copy over on OK.
#include "framework/ui/CDialog.h"
#include "model/CRectShelter.h"

class CRectShelterDialog : public CDialog {
    DECLARE_DYNAMIC(CRectShelterDialog)
public:
    CRectShelterDialog(const CRectShelter& shelter, BOOL inch, CWnd* pParentWnd = nullptr);

    const CRectShelter& GetShelter() const { return m_shelter; }

protected:
    // In this order: front within the kind's distance limits; left within [minimum, width
    // limit]; the left far corner within the distance limits; right and the right far
    // corner likewise. The extents are stored only when every check passed.
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void ExchangeCentimetres(CDataExchange* pDX, LPCTSTR unit);
    // Inch values are rounded to whole cm, and the checks test those.
    void ExchangeInches(CDataExchange* pDX, LPCTSTR unit);

    CRectShelter m_shelter;
    BOOL m_bInch;
};
