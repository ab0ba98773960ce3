#pragma once
// Entry of one contour point by x and y (cm, or inch on the screen). The calculation mode
// (radio group 2087) picks how the field snaps the point: to the grid, keeping x (a side
// edge) or keeping y (a front edge); the snapped point must satisfy the limits. The mode
// is kept in the INI file ("Settings", "CalcMode") from one OK to the next opening.
#include "framework/core/CString.h"
#include "framework/ui/CDialog.h"
#include "model/CSensorPoint.h"

class CShelter;

class CCartesianPointDialog : public CDialog {
public:
    enum { IDD = 155 };
    explicit CCartesianPointDialog(CWnd* pParent = nullptr);

    int m_bInch = 0;
    float m_fX = 0;
    float m_fY = 0;
    float m_fMinDistance = 0;
    float m_fMaxDistance = 0; // also the upper bound of y
    float m_fMaxWidth = 0;    // largest abs(x); 0: no lateral check
    CShelter* m_pField = nullptr; // none: no snapping
    int m_nCalcMode = -1;
    CString m_strUnit;

    BOOL OnInitDialog() override;
    // (m_fX, m_fY) snapped by the field as the calculation mode says.
    CSensorPoint GetResultPoint() const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnCalculate();
    afx_msg void OnChangeCoordinate();

private:
    CSensorPoint ResultPointOf(float x, float y) const;
    void ExchangeCentimetres(CDataExchange* pDX, float& x, float& y);
    // Inch entry rounds to the whole cm the field keeps, and the checks test those.
    void ExchangeInches(CDataExchange* pDX, float& x, float& y);
    void ClearResult();

    DECLARE_MESSAGE_MAP()
};
