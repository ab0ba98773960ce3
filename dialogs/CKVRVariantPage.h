#pragma once
// Page 138 of the KVR configuration sheet: the sensor variant and the size option. Its
// radio buttons change only through the handlers, which ask before a change that alters
// fields or cases.
#include "dialogs/CKVRConfigPage.h"

class CKVRVariantPage : public CKVRConfigPage {
    DECLARE_DYNAMIC(CKVRVariantPage)
public:
    CKVRVariantPage();

    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

protected:
    afx_msg void OnVariant0Clicked();
    afx_msg void OnVariant1Clicked();
    afx_msg void OnSizeOffClicked();
    afx_msg void OnSizeOnClicked();

private:
    void ShowChoices();
    void ChangeToVariant0(CKVRConfig& config);
    void ChangeToVariant1(CKVRConfig& config);
    static BOOL Ask(UINT nIDPrompt, const CString& insert);
    void FocusOn(int nID);

    WORD m_wVariant = 0;
    BYTE m_bySize = 0;
    BOOL m_bBusy = FALSE;

    DECLARE_MESSAGE_MAP()
};
