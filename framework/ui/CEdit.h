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

    // Characters the user may type; 0 removes the limit. Texts set by the program are
    // never cut.
    void SetLimitText(UINT nMax);

    // nStartChar -1 removes the selection; nEndChar -1 selects to the end.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);

    char GetPasswordChar() const;
    BOOL GetModify() const;

    // Lines of a multi-line edit.
    int GetLineCount() const;
    // Copies a line into the buffer (no terminating NUL); nMaxLength counts bytes.
    int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;
    int LineIndex(int nLine = -1) const;
    int LineLength(int nLine = -1) const;
    int LineFromChar(int nIndex = -1) const;
    // Tab stops in dialog template units: none gives every 32, one gives a repeating interval.
    BOOL SetTabStops(int nTabStops, const int* rgTabStops);
};
