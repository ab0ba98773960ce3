#include "framework/ui/CEdit.h"

#include <algorithm>
#include <cstring>
#include <vector>

IMPLEMENT_DYNAMIC(CEdit, CWnd)

void CEdit::SetLimitText(UINT nMax) { SendMessage(EM_LIMITTEXT, nMax, 0); }

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll)
{
    SendMessage(EM_SETSEL, WPARAM(nStartChar), LPARAM(nEndChar));
    if (!bNoScroll) SendMessage(EM_SCROLLCARET, 0, 0);
}

void CEdit::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo)
{
    SendMessage(EM_REPLACESEL, WPARAM(bCanUndo), LPARAM(lpszNewText ? lpszNewText : ""));
}

char CEdit::GetPasswordChar() const { return char(SendMessage(EM_GETPASSWORDCHAR, 0, 0)); }

BOOL CEdit::GetModify() const { return BOOL(SendMessage(EM_GETMODIFY, 0, 0)); }

int CEdit::GetLineCount() const { return int(SendMessage(EM_GETLINECOUNT, 0, 0)); }

int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const
{
    if (!lpszBuffer || nMaxLength <= 0) return 0;
    // The message reads the buffer's size from its first WORD.
    std::vector<char> buffer(std::max<std::size_t>(std::size_t(nMaxLength), sizeof(WORD)));
    const WORD size = WORD(std::min(nMaxLength, 0xFFFF));
    std::memcpy(buffer.data(), &size, sizeof size);
    const int copied = int(SendMessage(EM_GETLINE, WPARAM(nIndex), LPARAM(buffer.data())));
    std::memcpy(lpszBuffer, buffer.data(), std::size_t(copied));
    return copied;
}

int CEdit::LineIndex(int nLine) const { return int(SendMessage(EM_LINEINDEX, WPARAM(nLine), 0)); }

int CEdit::LineLength(int nLine) const { return int(SendMessage(EM_LINELENGTH, WPARAM(nLine), 0)); }

int CEdit::LineFromChar(int nIndex) const { return int(SendMessage(EM_LINEFROMCHAR, WPARAM(nIndex), 0)); }

BOOL CEdit::SetTabStops(int nTabStops, const int* rgTabStops)
{
    return BOOL(SendMessage(EM_SETTABSTOPS, WPARAM(nTabStops), LPARAM(rgTabStops)));
}
