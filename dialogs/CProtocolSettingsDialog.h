#pragma once
// Which beams of a recorded contour the protocol-results table lists: those from the
// first to the last angle that lie on the angle step. The step must be a whole multiple
// of 0.5 degrees; the Defaults button restores 0, 180 and 0.5.
#include "framework/ui/CDialog.h"

class CProtocolSettingsDialog : public CDialog {
    DECLARE_DYNAMIC(CProtocolSettingsDialog)
public:
    static constexpr int kDefaultFirstAngle = 0;
    static constexpr int kDefaultLastAngle = 180;
    static constexpr float kDefaultAngleStep = 0.5f;

    explicit CProtocolSettingsDialog(CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;

    int m_nFirstAngle = kDefaultFirstAngle;
    int m_nLastAngle = kDefaultLastAngle;
    float m_fAngleStep = kDefaultAngleStep;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnDefaults();

    DECLARE_MESSAGE_MAP()
};

// TRUE when the value is a whole multiple of the step (within float rounding).
BOOL IsWholeMultiple(double value, double step);
