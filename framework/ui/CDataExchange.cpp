#include "framework/ui/CDataExchange.h"

#include "framework/core/CException.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = nullptr;
    if (m_pDlgWnd) m_pDlgWnd->GetDlgItem(nIDC, &hWndCtrl);
    if (!hWndCtrl) AfxThrowNotSupportedException();
    m_idLastControl = UINT(nIDC);
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_idLastControl != 0 && m_pDlgWnd) {
        HWND hWndLast = nullptr;
        m_pDlgWnd->GetDlgItem(int(m_idLastControl), &hWndLast);
        if (hWndLast) {
            ::SetFocus(hWndLast);
            if (m_bEditLastControl) ::SendMessage(hWndLast, EM_SETSEL, 0, -1);
        }
    }
    AfxThrowUserException();
}

void CDataExchange::RestoreStoredValues()
{
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it) (*it)();
    m_undo.clear();
}
