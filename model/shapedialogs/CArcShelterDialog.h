#pragma once
// The modal dialog that edits an arc field's radius (control 2015) on a copy of the
// field, in cm or, with the inch flag, in inches. The caller takes the copy over on OK.
#include "framework/ui/CDialog.h"
#include "model/CArcShelter.h"

class CArcShelterDialog : public CDialog {
    DECLARE_DYNAMIC(CArcShelterDialog)
public:
    CArcShelterDialog(const CArcShelter& shelter, BOOL inch, CWnd* pParentWnd = nullptr);

    const CArcShelter& GetShelter() const { return m_shelter; }

protected:
    // The radius within the kind's distance limits of the copy: a whole number of cm, or
    // inches with decimals that are rounded back to whole cm.
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CArcShelter m_shelter;
    BOOL m_bInch;
};
