#pragma once
// Asks which device family the program simulates when no device is used: radio group
// 2139, index 0 = ZOK, 1 = KVR. The caller may preset m_nFamily and reads it after IDOK.
#include "framework/ui/CDialog.h"
#include "framework/ui/CStatic.h"

class CDeviceFamilyDialog : public CDialog {
    DECLARE_DYNAMIC(CDeviceFamilyDialog)
public:
    explicit CDeviceFamilyDialog(CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;

    // The family as the application keeps it: 0 ZOK, 1 KVR, 255 none (no button checked).
    BYTE GetFamilyByte() const;

    CStatic m_icon;
    int m_nFamily = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
