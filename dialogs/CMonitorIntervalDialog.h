#pragma once
// The polling interval of the monitor, 100 to 5000 ms; the Defaults button restores 500.
#include "framework/ui/CDialog.h"

class CMonitorIntervalDialog : public CDialog {
    DECLARE_DYNAMIC(CMonitorIntervalDialog)
public:
    static constexpr int kDefaultInterval = 500;
    static constexpr int kMinInterval = 100;
    static constexpr int kMaxInterval = 5000;

    explicit CMonitorIntervalDialog(CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;

    int m_nInterval = kDefaultInterval;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnDefaults();

    DECLARE_MESSAGE_MAP()
};
