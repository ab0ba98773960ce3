#pragma once
// Page 137 of the KVR configuration sheet: the option value, off (0) or 5 to 126.
#include "dialogs/CKVRConfigPage.h"

class CKVROptionValuePage : public CKVRConfigPage {
    DECLARE_DYNAMIC(CKVROptionValuePage)
public:
    CKVROptionValuePage();

    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnChoiceClicked();

private:
    int m_nChoice = 0; // 0 off, 1 on
    BYTE m_byValue = 5;

    DECLARE_MESSAGE_MAP()
};
