#pragma once
// Ends a contour teach-in with one of two answers: DoModal returns the id of the button
// pressed (2086 or 2181), or IDCANCEL when the dialog is closed otherwise.
#include "framework/ui/CDialog.h"
#include "framework/ui/CStatic.h"

class CQuestionDialog : public CDialog {
    DECLARE_DYNAMIC(CQuestionDialog)
public:
    static constexpr int IDC_ANSWER_EDIT = 2086;
    static constexpr int IDC_ANSWER_VERIFY = 2181;

    explicit CQuestionDialog(CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;

    CStatic m_icon;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnAnswerEdit();
    afx_msg void OnAnswerVerify();

    DECLARE_MESSAGE_MAP()
};
