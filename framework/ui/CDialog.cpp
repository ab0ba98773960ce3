#include "framework/ui/CDialog.h"

#include "framework/core/CException.h"
#include "framework/core/Resources.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/DialogWindow.h"
#include "framework/ui/MessageBox.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

namespace {

// Destroys a modal dialog's window however DoModal is left.
class ModalWindowGuard {
public:
    explicit ModalWindowGuard(CWnd& dialog) : m_dialog(dialog) {}
    ~ModalWindowGuard()
    {
        if (m_dialog.GetSafeHwnd()) m_dialog.DestroyWindow();
    }
    ModalWindowGuard(const ModalWindowGuard&) = delete;
    ModalWindowGuard& operator=(const ModalWindowGuard&) = delete;

private:
    CWnd& m_dialog;
};

} // namespace

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
    m_nIDHelp = nIDTemplate;
}

CDialog::~CDialog()
{
    if (GetSafeHwnd()) DestroyWindow();
}

const DialogTemplate* CDialog::FindTemplate() const
{
    if (m_lpDialogTemplate) return m_lpDialogTemplate;
    return FindDialogTemplate(AfxGetResourceHandle(), m_nIDTemplate);
}

BOOL CDialog::CreateAndInit(CWnd* pParentWnd, bool asChild)
{
    const DialogTemplate* dialogTemplate = FindTemplate();
    if (!dialogTemplate || GetSafeHwnd()) return FALSE;
    if (!AfxCreateDialogWindow(*this, *dialogTemplate, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, asChild))
        return FALSE;
    AfxInitDialog(m_hWnd, 0);
    return GetSafeHwnd() != nullptr;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    if (m_nIDHelp == 0) m_nIDHelp = nIDTemplate;
    m_lpDialogTemplate = nullptr;
    m_pParentWnd = pParentWnd;
    const DialogTemplate* dialogTemplate = FindTemplate();
    if (!CreateAndInit(pParentWnd, false)) return FALSE;
    AfxPlaceDialog(*this);
    if (dialogTemplate->style & WS_VISIBLE) ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CDialog::CreateIndirect(const DialogTemplate* pTemplate, CWnd* pParentWnd)
{
    if (!pTemplate) return FALSE;
    m_lpDialogTemplate = pTemplate;
    m_nIDTemplate = pTemplate->id;
    m_pParentWnd = pParentWnd;
    if (!CreateAndInit(pParentWnd, false)) return FALSE;
    AfxPlaceDialog(*this);
    if (pTemplate->style & WS_VISIBLE) ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CDialog::InitModalIndirect(const DialogTemplate* pTemplate, CWnd* pParentWnd)
{
    if (!pTemplate) return FALSE;
    m_lpDialogTemplate = pTemplate;
    m_nIDTemplate = pTemplate->id;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    ModalWindowGuard guard(*this);
    if (!CreateAndInit(parent, false)) return -1;
    return AfxRunModalDialog(m_hWnd, *this, m_nIDTemplate);
}

void CDialog::EndDialog(int nResult)
{
    if (GetSafeHwnd()) AfxEndDialog(m_hWnd, nResult);
}

BOOL CDialog::IsEnded() const
{
    const DialogWidget* widget = AfxDialogWidget(m_hWnd);
    return widget && widget->ended;
}

INT_PTR CDialog::GetResult() const
{
    const DialogWidget* widget = AfxDialogWidget(m_hWnd);
    return widget ? widget->result : -1;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog()
{
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    const BOOL outerLockout = m_bLockoutNotify;
    m_bLockoutNotify = TRUE;
    BOOL ok = FALSE;
    try {
        DoDataExchange(&dx);
        ok = TRUE;
    } catch (CUserException&) {
        dx.RestoreStoredValues();
    } catch (CException& e) {
        // A template without a control the class exchanges, or another fault of the program.
        dx.RestoreStoredValues();
        CString text;
        if (!text.LoadString(AFX_IDP_INTERNAL_FAILURE)) text = e.GetErrorText();
        m_bLockoutNotify = outerLockout;
        AfxMessageBox(text, MB_ICONSTOP, AFX_IDP_INTERNAL_FAILURE);
        return FALSE;
    }
    m_bLockoutNotify = outerLockout;
    return ok;
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // Texts set while members go into the controls must not look like the user's edits.
    if (lParam != 0 && m_bLockoutNotify) return TRUE;
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // A child dialog (a property page) leaves the keyboard to the window around it.
    if (!GetSafeHwnd() || (GetStyle() & WS_CHILD)) return FALSE;
    return ::IsDialogMessage(m_hWnd, pMsg);
}

void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

DialogBaseUnits CDialog::GetBaseUnits() const
{
    const DialogWidget* widget = AfxDialogWidget(m_hWnd);
    return widget ? widget->units : DialogBaseUnits{};
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl) ::SendMessage(m_hWnd, WM_NEXTDLGCTL, WPARAM(pWndCtrl->GetSafeHwnd()), 1);
}

void CDialog::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }

UINT CDialog::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
}

void CDialog::CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }

UINT CDialog::IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }

void CDialog::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
}

int CDialog::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const
{
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
        if (HWND item = ::GetDlgItem(m_hWnd, id); item && ::SendMessage(item, BM_GETCHECK, 0, 0) == BST_CHECKED)
            return id;
    }
    return 0;
}
