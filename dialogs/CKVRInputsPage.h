#pragma once
// Page 135 of the KVR configuration sheet: which control inputs, whether speed measurement
// and which of options A and B the unit uses, with the extra choice of each option. Items
// that the monitoring cases use cannot be switched off here.
#include "dialogs/CKVRConfigPage.h"
#include "dialogs/KVRInputsChoice.h"
#include "dialogs/controls/CPictureButton.h"

class CKVRInputsPage : public CKVRConfigPage {
    DECLARE_DYNAMIC(CKVRInputsPage)
public:
    CKVRInputsPage();

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnSpeedClicked();
    afx_msg void OnSecondSpeedClicked();
    afx_msg void OnOptionClicked();

private:
    void DisableUsedItems(const CKVRConfig& config);
    void SetSpeed(BOOL on);
    void ShowSpeedDependents();
    // Each extra is enabled only while its option is on.
    void EnableExtras();

    KVRInputsChoice m_choice;
    CPictureButton m_picture;

    DECLARE_MESSAGE_MAP()
};
