#pragma once
// Base of the pages of the KVR configuration sheet: a page reaches the configuration that
// its sheet edits.
#include "framework/ui/CPropertyPage.h"

class CKVRConfig;
class CKVRConfigSheet;

class CKVRConfigPage : public CPropertyPage {
    DECLARE_DYNAMIC(CKVRConfigPage)
public:
    explicit CKVRConfigPage(UINT nIDTemplate);

    // The configuration of the sheet that is the page's parent window; null without one.
    CKVRConfig* GetConfig() const;

protected:
    CKVRConfigSheet* GetSheet() const;
    void EnableControl(int nID, BOOL bEnable) const;
    void ShowControl(int nID, BOOL bShow) const;
};
