#include "dialogs/CQuestionDialog.h"

#include "framework/ui/CWinApp.h"
#include "framework/ui/DDX.h"

IMPLEMENT_DYNAMIC(CQuestionDialog, CDialog)

namespace {
constexpr UINT IDD_TEACH_CHOICE = 118;
constexpr int IDC_DIALOG_ICON = 2145;
} // namespace

BEGIN_MESSAGE_MAP(CQuestionDialog, CDialog)
    ON_BN_CLICKED(CQuestionDialog::IDC_ANSWER_EDIT, OnAnswerEdit)
    ON_BN_CLICKED(CQuestionDialog::IDC_ANSWER_VERIFY, OnAnswerVerify)
END_MESSAGE_MAP()

CQuestionDialog::CQuestionDialog(CWnd* pParentWnd) : CDialog(IDD_TEACH_CHOICE, pParentWnd) {}

BOOL CQuestionDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    m_icon.SetIcon(LoadIcon(nullptr, IDI_QUESTION));
    SetWindowText(AfxGetAppName());
    return TRUE;
}

void CQuestionDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DIALOG_ICON, m_icon);
}

void CQuestionDialog::OnAnswerEdit() { EndDialog(IDC_ANSWER_EDIT); }

void CQuestionDialog::OnAnswerVerify() { EndDialog(IDC_ANSWER_VERIFY); }
