#pragma once
// Message boxes: by text or by string id of the current resource module, with the
// usual MB_ flags and ID results. Under a ScriptedUi they are logged and answered
// from its script instead of shown.
#include "framework/ui/UiDefs.h"

// Caption: the application's name. nIDHelp -1 takes the prompt id as help context.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));

// Owned by hWnd's top-level window (any window when null); a null caption reads "Error".
int MessageBox(HWND hWnd, LPCTSTR lpText, LPCTSTR lpCaption, UINT uType);
inline int MessageBoxA(HWND hWnd, LPCTSTR lpText, LPCTSTR lpCaption, UINT uType)
{
    return MessageBox(hWnd, lpText, lpCaption, uType);
}

// The results a box of these flags can give, in button order, and the default one.
int AfxMessageBoxButtons(UINT nType, int* results);
int AfxMessageBoxDefaultResult(UINT nType);
