#pragma once
// Dialogs from templates of the current resource module: modal (DoModal) and modeless
// (Create), with initialisation, OK and Cancel, and data exchange between controls and
// members (DoDataExchange through UpdateData).
#include "framework/core/ResourceScript.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/DialogTemplateLayout.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Modeless: creates and initialises the dialog; it shows when its template is WS_VISIBLE.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(const DialogTemplate* pTemplate, CWnd* pParentWnd = nullptr);

    // Modal: a template given directly instead of by id (DoModal then uses it).
    BOOL InitModalIndirect(const DialogTemplate* pTemplate, CWnd* pParentWnd = nullptr);
    // Runs the dialog until EndDialog and returns its result; -1 when it cannot be made.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // The default transfers the members into the controls; TRUE puts the focus on the
    // first tab stop.
    virtual BOOL OnInitDialog();
    // Runs DoDataExchange; FALSE when a value failed (reported, the focus is on its control,
    // and no member is changed). Control notifications to the dialog are held back meanwhile.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Dialog units of this dialog's font to pixels.
    void MapDialogRect(LPRECT lpRect) const;
    DialogBaseUnits GetBaseUnits() const;

    // Focus movement as the dialog keyboard moves it.
    void GotoDlgCtrl(CWnd* pWndCtrl);

    // Controls by id.
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    // The checked button's id in the range, 0 when none is checked.
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const;

    UINT GetTemplateId() const { return m_nIDTemplate; }
    // Whether EndDialog has run, and its result (for those who drive dialogs).
    BOOL IsEnded() const;
    INT_PTR GetResult() const;

    UINT m_nIDHelp = 0;

protected:
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // The template to build from: the indirect one, else the id's in the resource module.
    const DialogTemplate* FindTemplate() const;
    // Creates the window and its controls and sends WM_INITDIALOG.
    BOOL CreateAndInit(CWnd* pParentWnd, bool asChild);

    UINT m_nIDTemplate = 0;
    const DialogTemplate* m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;

private:
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    BOOL m_bLockoutNotify = FALSE;

    DECLARE_MESSAGE_MAP()
};
