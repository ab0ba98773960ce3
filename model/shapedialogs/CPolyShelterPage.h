#pragma once
// The read-only page of a contour field: its time stamp (control 2161) and the vertex
// table (list 2078) in the page's display mode, besides the texts of the field page base.
#include "dialogs/controls/CColumnListBox.h"
#include "model/shapedialogs/CShelterPage.h"

class CPolyShelter;

class CPolyShelterPage : public CShelterPage {
    DECLARE_DYNAMIC(CPolyShelterPage)
public:
    CPolyShelterPage(UINT nIDTemplate, UINT nIDCaption, const CSensorType& type, CPolyShelter* pField, int displayMode,
                     BOOL inch);

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CPolyShelter* m_pPolyField;
    int m_nDisplayMode;
    CString m_strTime;
    CColumnListBox m_list;
};
