#include "dialogs/controls/CPasswordEdit.h"

#include "framework/ui/CWnd.h"
#include "framework/ui/MessageBox.h"

IMPLEMENT_DYNAMIC(CPasswordEdit, CEdit)

namespace {
constexpr UINT IDP_PASSWORD_CHARACTERS = 304;
} // namespace

bool CPasswordEdit::IsAllowedChar(UINT nChar)
{
    return nChar < 32 || (nChar >= '0' && nChar <= '9') || (nChar >= 'A' && nChar <= 'Z') ||
           (nChar >= 'a' && nChar <= 'z') || nChar == '_';
}

bool CPasswordEdit::IsAllowedText(const CString& text)
{
    for (int i = 0; i < text.GetLength(); ++i) {
        const auto ch = UINT(static_cast<unsigned char>(text[i]));
        if (ch < 32 || !IsAllowedChar(ch)) return false;
    }
    return true;
}

void CPasswordEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!IsAllowedChar(nChar)) {
        OnRefusedChar(nChar);
        return;
    }
    CEdit::OnChar(nChar, nRepCnt, nFlags);
}

void CPasswordEdit::OnRefusedChar(UINT) { MessageBeep(UINT(-1)); }

void DDV_PasswordChars(CDataExchange* pDX, const CString& value)
{
    if (!pDX->m_bSaveAndValidate || CPasswordEdit::IsAllowedText(value)) return;
    AfxMessageBox(IDP_PASSWORD_CHARACTERS, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}
