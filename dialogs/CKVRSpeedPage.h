#pragma once
// Page 136 of the KVR configuration sheet: speed values 1 and 2 and the speed tolerance,
// with the speed range they allow and the range the cases use.
#include "dialogs/CKVRConfigPage.h"

class CKVRSpeedPage : public CKVRConfigPage {
    DECLARE_DYNAMIC(CKVRSpeedPage)
public:
    CKVRSpeedPage();

    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    // Upper bound of both speed values for the cases' speeds: 100000 divided by the larger
    // absolute case speed, never above what the configuration check accepts (1000).
    static UINT SpeedValueLimit(int lowestCaseSpeed, int highestCaseSpeed);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnSpeedValueChanged();

private:
    UINT m_nSpeed1 = 50;
    UINT m_nSpeed2 = 50;
    UINT m_nTolerance = 25;
    UINT m_nUpper = 1000;

    DECLARE_MESSAGE_MAP()
};
