#pragma once
// Asks for the extents of a rectangular field, left (edit 2061), right (2063) and front
// (2023), and, when shown, the beam count of a contour (combo 2105). The caller presets
// the members, runs the dialog modally and on IDOK reads the extents (cm) and the count.
#include "framework/ui/CDialog.h"

class CRectShapeDialog : public CDialog {
    DECLARE_DYNAMIC(CRectShapeDialog)
public:
    explicit CRectShapeDialog(CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;

    int m_bInch = 0;              // lengths shown in inches
    int m_nLeft = 0;              // cm
    int m_nRight = 0;             // cm
    int m_nFront = 0;             // cm
    int m_nMinDistance = 0;       // cm
    int m_nMaxDistance = 0;       // cm
    int m_nMaxWidth = 0;          // cm, limit of each side
    int m_bShowBeamCount = 1;     // combo 2105 shown
    int m_nBeamCount = 181;       // 91, 181 or 361
    CString m_strUnit;

protected:
    // In this order: front within [minimum, maximum]; left within [minimum, width]; the left
    // far corner within [minimum, maximum]; right and the right far corner likewise; the
    // beam count. Inch values are rounded to whole cm, and the checks test those.
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void ExchangeCentimetres(CDataExchange* pDX, int& left, int& front, int& right);
    void ExchangeInches(CDataExchange* pDX, int& left, int& front, int& right);
};
