#include "framework/ui/CDataExchange.h"

#include "framework/core/CException.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"

#include <cstdint>

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

__attribute__((noinline)) bool CDataExchange::OutlivesPass(const void* address) const
{
    const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    const auto mark = reinterpret_cast<std::uintptr_t>(this);
    const auto where = reinterpret_cast<std::uintptr_t>(address);
    // The stack grows down. An exchange object that is not above this frame (made on the
    // heap) gives no way to tell, so nothing is remembered rather than something dead.
    if (mark <= here) return false;
    return where < here || where >= mark;
}

void CDataExchange::RestoreStoredValues()
{
    for (auto it = m_undo.rbegin(); it != m_undo.rend(); ++it) (*it)();
    m_undo.clear();
}
