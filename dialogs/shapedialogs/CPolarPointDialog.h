#pragma once
// Entry of one contour point by angle and distance. The caller presets the point (0, 0
// for a new one), the limits and the unit, runs the dialog and on IDOK reads m_fAngle
// (degrees) and m_fDistance (in the distance unit, cm).
#include "framework/core/CString.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/CEdit.h"

class CPolarPointDialog : public CDialog {
public:
    enum { IDD = 153 };
    explicit CPolarPointDialog(CWnd* pParent = nullptr);

    int m_nUnit = 0;   // 0 cm, 1 mm, 2 dm
    int m_bInch = 0;   // show the distance in inch
    float m_fAngle = 0;
    float m_fMinAngle = 0;
    float m_fMaxAngle = 0;
    float m_fDistance = 0;
    float m_fMinDistance = 0;
    float m_fMaxDistance = 0;
    float m_fMaxWidth = 0; // largest abs(x); 0: no lateral check
    int m_bAngleFixed = 0; // the angle cannot be changed
    CEdit m_editAngle;
    CString m_strAngleUnit;
    CString m_strDistanceUnit;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // The distance at which the point's beam meets the lateral limit; the maximum
    // distance when there is no lateral limit for the angle.
    float LateralLimit(float distance) const;
    float ExchangeDistance(CDataExchange* pDX);
    // Inch entry rounds to the whole unit that will be stored, and the checks test that.
    float ExchangeInchDistance(CDataExchange* pDX);
};
