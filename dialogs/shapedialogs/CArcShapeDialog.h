#pragma once
// Asks for the radius of a circular field (edit 2015) and, when shown, the beam count of
// a contour (combo 2105). The caller presets the members, runs the dialog modally and on
// IDOK reads the radius (cm) and the beam count.
#include "framework/ui/CDialog.h"

class CArcShapeDialog : public CDialog {
    DECLARE_DYNAMIC(CArcShapeDialog)
public:
    explicit CArcShapeDialog(CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;

    int m_bInch = 0;              // lengths shown in inches
    int m_nRadius = 0;            // cm
    int m_nMinDistance = 0;       // cm
    int m_nMaxDistance = 0;       // cm
    int m_bShowBeamCount = 1;     // combo 2105 shown
    int m_nBeamCount = 181;       // 91, 181 or 361
    CString m_strUnit;

protected:
    // The radius within [minimum, maximum], then the beam count; an inch value is rounded
    // to whole cm, and the check tests that.
    void DoDataExchange(CDataExchange* pDX) override;
};
