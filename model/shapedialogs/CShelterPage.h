#pragma once
// The base of the fields' property pages: the template and caption come from the shape's
// page; this level shows the device type's unit (control 2133), angular span (2131,
// "%d°") and angular step (2132, "%.2f°").
#include "framework/ui/CPropertyPage.h"
#include "model/CSensorType.h"

class CShelter;

class CShelterPage : public CPropertyPage {
    DECLARE_DYNAMIC(CShelterPage)
public:
    // The page shows the field; it neither owns nor changes it.
    CShelterPage(UINT nIDTemplate, UINT nIDCaption, const CSensorType& type, CShelter* pShelter, BOOL inch);

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    CSensorType m_sensorType;
    CShelter* m_pShelter;
    BOOL m_bInch;
    CString m_strUnit;
    CString m_strAngleSpan;
    CString m_strAngleStep;
};
