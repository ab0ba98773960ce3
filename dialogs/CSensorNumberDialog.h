#pragma once
// Asks which scanner of a KVR unit to address (radio group 2163 to 2166); only the
// scanners the unit has can be chosen. After IDOK m_nChoice is the scanner number - 1.
#include "framework/ui/CButton.h"
#include "framework/ui/CDialog.h"

class CSensorNumberDialog : public CDialog {
    DECLARE_DYNAMIC(CSensorNumberDialog)
public:
    explicit CSensorNumberDialog(int nSensorCount, CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;

    CButton m_buttonSecond;
    CButton m_buttonThird;
    CButton m_buttonFourth;
    int m_nChoice = 0;
    int m_nSensorCount;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
