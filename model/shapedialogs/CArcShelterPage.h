#pragma once
// The property page (template 158) that shows an arc field: besides the device type's
// texts, its time stamp (control 2161) and its radius with the unit (2015).
#include "model/shapedialogs/CShelterPage.h"

class CArcShelter;

class CArcShelterPage : public CShelterPage {
    DECLARE_DYNAMIC(CArcShelterPage)
public:
    CArcShelterPage(UINT nIDCaption, const CSensorType& type, CArcShelter* pShelter, BOOL inch);

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CString m_strTime;
    CString m_strRadius;
};
