#pragma once
// The framework's dialog data exchange (DDX_) and validation (DDV_) functions. Each
// works on one control of the dialog in the exchange; a failure tells the user with
// the framework's prompt and ends the pass through CDataExchange::Fail.
#include "framework/core/CString.h"
#include "framework/ui/CDataExchange.h"

class CWnd;

// Sets a window's text only when it differs, so that an unchanged control does not flicker
// or raise a change notification.
void AfxSetWindowText(HWND hWndCtrl, LPCTSTR lpszNew);

// Edit text. Numbers read from a text that is not a number of the member's type (or out of
// its range) give prompt 61712 (integers) or 61713 (reals).
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value); // also DWORD
void DDX_Text(CDataExchange* pDX, int nIDC, long& value); // 32-bit range, as stored in the files
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
void DDX_Text(CDataExchange* pDX, int nIDC, short& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);

// Buttons: check state (0, 1, 2) and the index of the checked radio button of the group
// that starts at nIDC (-1 when none is checked).
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);

// Combo and list boxes: the selected index (-1 for none) or the selected item's text.
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value);

// Scroll bar position.
void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value);

// Binds a control object to the dialog's control on the first exchange (subclassing).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Validation, checked only while saving. Loading a maximum length limits the text the
// last prepared edit or combo box takes.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal);
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal);
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal);
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal);
