#pragma once
// Page 135 of the KVR configuration sheet: which control inputs, whether speed measurement
// and which of options A and B the unit uses, with the extra choice of each option. Items
// that the monitoring cases use cannot be switched off here.
#include "dialogs/CKVRConfigPage.h"
#include "dialogs/controls/CPictureButton.h"

#include <array>

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
    void LoadFromConfig(CKVRConfig& config);
    void DisableUsedItems(const CKVRConfig& config);
    void SetSpeed(BOOL on);
    void ShowSpeedDependents();
    void EnableExtras();
    BOOL IsComplete() const;
    BYTE FlagsToStore() const;

    std::array<int, 4> m_nInput{};
    int m_nSpeed = 0;
    int m_nOptionA = 1;
    int m_nOptionB = 0;
    int m_nExtraA = 0;
    int m_nExtraB = 0;
    CPictureButton m_picture;

    DECLARE_MESSAGE_MAP()
};
