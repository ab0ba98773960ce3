#pragma once
// Page 134 of the KVR configuration sheet: the list of 1 to 15 monitoring cases, added by
// the case wizard, and a test of all cases. The page is left only while the whole
// configuration passes its check.
#include "dialogs/CKVRListPage.h"

class CKVRControlListPage : public CKVRListPage {
    DECLARE_DYNAMIC(CKVRControlListPage)
public:
    CKVRControlListPage();

    BOOL OnKillActive() override;

protected:
    void AddEntry() override;
    void EnableButtons(int count) override;

    afx_msg void OnEdit();
    afx_msg void OnTable();
    afx_msg void OnTest();
    void OnListDoubleClick() override;

    DECLARE_MESSAGE_MAP()
};
