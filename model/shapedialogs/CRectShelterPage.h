#pragma once
// The property page (template 157) that shows a rectangle field: besides the device
// type's texts, its time stamp (control 2161) and its left (2061), front (2023) and
// right (2063) extents with the unit.
#include "model/shapedialogs/CShelterPage.h"

class CRectShelter;

class CRectShelterPage : public CShelterPage {
    DECLARE_DYNAMIC(CRectShelterPage)
public:
    CRectShelterPage(UINT nIDCaption, const CSensorType& type, CRectShelter* pShelter, BOOL inch);

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CString m_strTime;
    CString m_strLeft;
    CString m_strFront;
    CString m_strRight;
};
