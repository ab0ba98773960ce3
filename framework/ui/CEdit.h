#pragma once
// An edit control. A subclass filters typed characters in OnChar: it calls the base
// handler for a character it lets through and leaves the others out (a password edit
// beeps on them with MessageBeep).
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() = default;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Characters the user may type; 0 removes the limit. Texts set by the program are
    // never cut.
    void SetLimitText(UINT nMax);
    void LimitText(int nChars = 0) { SetLimitText(UINT(nChars)); }
    UINT GetLimitText() const;

    // nStartChar -1 removes the selection; nEndChar -1 selects to the end.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    void GetSel(int& nStartChar, int& nEndChar) const;
    DWORD GetSel() const;
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);

    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    void SetPasswordChar(char ch);
    char GetPasswordChar() const;
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
    BOOL CanUndo() const;
    void EmptyUndoBuffer();

    // Lines of a multi-line edit.
    int GetLineCount() const;
    // Copies a line into the buffer (no terminating NUL); nMaxLength counts bytes.
    int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;
    int LineIndex(int nLine = -1) const;
    int LineLength(int nLine = -1) const;
    int LineFromChar(int nIndex = -1) const;
    void LineScroll(int nLines, int nChars = 0);
    // Tab stops in dialog template units: none gives every 32, one gives a repeating interval.
    void SetTabStops();
    BOOL SetTabStops(const int& cxEachStop);
    BOOL SetTabStops(int nTabStops, const int* rgTabStops);
};
