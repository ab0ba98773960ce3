#pragma once
// Page 139 of the KVR configuration sheet: the restart settings of options A and B (mode
// and delay) and the restart flag.
#include "dialogs/CKVRConfigPage.h"
#include "model/CModeDelay.h"

class CKVRRestartPage : public CKVRConfigPage {
    DECLARE_DYNAMIC(CKVRRestartPage)
public:
    CKVRRestartPage();

    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnModeClicked(UINT nID);

private:
    void EnableGroups();

    CModeDelay m_restartA;
    CModeDelay m_restartB;
    int m_nRestartFlag = 1;

    DECLARE_MESSAGE_MAP()
};
