#include "framework/ui/DDX.h"

#include "framework/core/CException.h"
#include "framework/core/Resources.h"
#include "framework/core/Utf8Text.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/ControlSupport.h"
#include "framework/ui/DDXNumber.h"
#include "framework/ui/MessageBox.h"

#include <cstdio>
#include <limits>

namespace {

CString WindowText(HWND hWnd)
{
    CString text;
    const int length = ::GetWindowTextLength(hWnd);
    if (length > 0) {
        ::GetWindowText(hWnd, text.GetBuffer(length + 1), length + 1);
        text.ReleaseBuffer();
    }
    return text;
}

[[noreturn]] void FailParse(CDataExchange* pDX, UINT nIDPrompt)
{
    AfxMessageBox(nIDPrompt);
    pDX->Fail();
}

// Reads or shows one number of type T through its parser and its display format.
template <class T, class Parse, class Show>
void ExchangeNumber(CDataExchange* pDX, int nIDC, T& value, UINT nIDPrompt, Parse parse, Show show)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        T parsed{};
        if (!parse(WindowText(hWndCtrl), parsed)) FailParse(pDX, nIDPrompt);
        pDX->Store(value, parsed);
    } else {
        AfxSetWindowText(hWndCtrl, show(value));
    }
}

[[noreturn]] void FailRange(CDataExchange* pDX, const CString& low, const CString& high, UINT nIDPrompt)
{
    CString prompt;
    AfxFormatString2(prompt, nIDPrompt, low, high);
    AfxMessageBox(prompt, MB_ICONEXCLAMATION, nIDPrompt);
    pDX->Fail();
}

template <class T>
void CheckIntegerRange(CDataExchange* pDX, T value, T minVal, T maxVal, const char* format)
{
    if (!pDX->m_bSaveAndValidate || (minVal <= value && value <= maxVal)) return;
    FailRange(pDX, CString(FormatText(format, minVal)), CString(FormatText(format, maxVal)), AFX_IDP_PARSE_INT_RANGE);
}

template <class T>
void CheckRealRange(CDataExchange* pDX, T value, T minVal, T maxVal, int digits)
{
    if (!pDX->m_bSaveAndValidate || (minVal <= value && value <= maxVal)) return;
    FailRange(pDX, FormatDialogReal(minVal, digits), FormatDialogReal(maxVal, digits), AFX_IDP_PARSE_REAL_RANGE);
}

constexpr int kFloatDigits = std::numeric_limits<float>::digits10;   // 6
constexpr int kDoubleDigits = std::numeric_limits<double>::digits10; // 15

// The index-exchange shared by combo and list boxes.
void ExchangeIndex(CDataExchange* pDX, int nIDC, int& index, UINT getMessage, UINT setMessage)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        pDX->Store(index, int(::SendMessage(hWndCtrl, getMessage, 0, 0)));
    else
        ::SendMessage(hWndCtrl, setMessage, WPARAM(index), 0);
}

CString ListText(HWND hWndCtrl, int index, UINT lengthMessage, UINT textMessage)
{
    const LRESULT length = ::SendMessage(hWndCtrl, lengthMessage, WPARAM(index), 0);
    if (length < 0) return CString();
    CString text;
    ::SendMessage(hWndCtrl, textMessage, WPARAM(index), LPARAM(text.GetBuffer(int(length) + 1)));
    text.ReleaseBuffer();
    return text;
}

bool IsRadioButton(HWND hWnd) { return (::SendMessage(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0; }

bool StartsGroup(HWND hWnd)
{
    const CWnd* pWnd = CWnd::FromHandle(hWnd);
    return pWnd && (pWnd->GetStyle() & WS_GROUP) != 0;
}

HWND NextSibling(HWND hWnd)
{
    const CWnd* pWnd = CWnd::FromHandle(hWnd);
    const CWnd* pNext = pWnd ? pWnd->GetWindow(GW_HWNDNEXT) : nullptr;
    return pNext ? pNext->GetSafeHwnd() : nullptr;
}


} // namespace

void AfxSetWindowText(HWND hWndCtrl, LPCTSTR lpszNew)
{
    const CString wanted(lpszNew);
    if (WindowText(hWndCtrl) != wanted) ::SetWindowText(hWndCtrl, wanted);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        pDX->Store(value, WindowText(hWndCtrl));
    else
        AfxSetWindowText(hWndCtrl, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    ExchangeNumber(
        pDX, nIDC, value, AFX_IDP_PARSE_INT,
        [](const CString& text, int& out) {
            std::int32_t v = 0;
            if (!ParseDialogInt32(text, v)) return false;
            out = v;
            return true;
        },
        [](int v) { return CString(FormatText("%d", v)); });
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    ExchangeNumber(
        pDX, nIDC, value, AFX_IDP_PARSE_INT,
        [](const CString& text, UINT& out) {
            std::uint32_t v = 0;
            if (!ParseDialogUInt32(text, v)) return false;
            out = v;
            return true;
        },
        [](UINT v) { return CString(FormatText("%u", v)); });
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    ExchangeNumber(
        pDX, nIDC, value, AFX_IDP_PARSE_INT,
        [](const CString& text, long& out) {
            std::int32_t v = 0;
            if (!ParseDialogInt32(text, v)) return false;
            out = v;
            return true;
        },
        [](long v) { return CString(FormatText("%ld", v)); });
}

void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value)
{
    ExchangeNumber(
        pDX, nIDC, value, AFX_IDP_PARSE_INT,
        [](const CString& text, BYTE& out) {
            std::uint32_t v = 0;
            if (!ParseDialogUInt32(text, v) || v > 255) return false;
            out = BYTE(v);
            return true;
        },
        [](BYTE v) { return CString(FormatText("%u", unsigned(v))); });
}

void DDX_Text(CDataExchange* pDX, int nIDC, short& value)
{
    ExchangeNumber(
        pDX, nIDC, value, AFX_IDP_PARSE_INT,
        [](const CString& text, short& out) {
            std::int16_t v = 0;
            if (!ParseDialogInt16(text, v)) return false;
            out = v;
            return true;
        },
        [](short v) { return CString(FormatText("%d", int(v))); });
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    ExchangeNumber(
        pDX, nIDC, value, AFX_IDP_PARSE_REAL, [](const CString& text, float& out) { return ParseDialogFloat(text, out); },
        [](float v) { return FormatDialogReal(v, kFloatDigits); });
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    ExchangeNumber(
        pDX, nIDC, value, AFX_IDP_PARSE_REAL, [](const CString& text, double& out) { return ParseDialogReal(text, out); },
        [](double v) { return FormatDialogReal(v, kDoubleDigits); });
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        pDX->Store(value, int(::SendMessage(hWndCtrl, BM_GETCHECK, 0, 0)));
    } else {
        // A state the button cannot show reads as unchecked.
        const int state = (value < 0 || value > 2) ? 0 : value;
        ::SendMessage(hWndCtrl, BM_SETCHECK, WPARAM(state), 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    int checked = -1;
    int button = 0;
    do {
        if (IsRadioButton(hWndCtrl)) {
            if (pDX->m_bSaveAndValidate) {
                if (checked < 0 && ::SendMessage(hWndCtrl, BM_GETCHECK, 0, 0) != 0) checked = button;
            } else {
                ::SendMessage(hWndCtrl, BM_SETCHECK, button == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++button;
        }
        hWndCtrl = NextSibling(hWndCtrl);
    } while (hWndCtrl && !StartsGroup(hWndCtrl));
    if (pDX->m_bSaveAndValidate) pDX->Store(value, checked);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) { ExchangeIndex(pDX, nIDC, index, CB_GETCURSEL, CB_SETCURSEL); }

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) { ExchangeIndex(pDX, nIDC, index, LB_GETCURSEL, LB_SETCURSEL); }

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        // A drop-down list has no edit text of its own: take the selected item.
        CString text = WindowText(hWndCtrl);
        if (text.IsEmpty()) {
            const int index = int(::SendMessage(hWndCtrl, CB_GETCURSEL, 0, 0));
            if (index != CB_ERR) text = ListText(hWndCtrl, index, CB_GETLBTEXTLEN, CB_GETLBTEXT);
        }
        pDX->Store(value, text);
    } else if (::SendMessage(hWndCtrl, CB_SELECTSTRING, WPARAM(-1), LPARAM(value.c_str())) == CB_ERR) {
        AfxSetWindowText(hWndCtrl, value);
    }
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        DDX_CBString(pDX, nIDC, value);
        return;
    }
    const int index = int(::SendMessage(hWndCtrl, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(value.c_str())));
    if (index == CB_ERR)
        AfxSetWindowText(hWndCtrl, value);
    else
        ::SendMessage(hWndCtrl, CB_SETCURSEL, WPARAM(index), 0);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        const int index = int(::SendMessage(hWndCtrl, LB_GETCURSEL, 0, 0));
        pDX->Store(value, index == LB_ERR ? CString() : ListText(hWndCtrl, index, LB_GETTEXTLEN, LB_GETTEXT));
    } else if (::SendMessage(hWndCtrl, LB_SELECTSTRING, WPARAM(-1), LPARAM(value.c_str())) == LB_ERR) {
        ::SendMessage(hWndCtrl, LB_SETCURSEL, WPARAM(-1), 0);
    }
}

void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        DDX_LBString(pDX, nIDC, value);
        return;
    }
    const int index = int(::SendMessage(hWndCtrl, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(value.c_str())));
    ::SendMessage(hWndCtrl, LB_SETCURSEL, WPARAM(index), 0);
}

void DDX_Scroll(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        pDX->Store(value, int(::SendMessage(hWndCtrl, SBM_GETPOS, 0, 0)));
    else
        ::SendMessage(hWndCtrl, SBM_SETPOS, WPARAM(value), TRUE);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.GetSafeHwnd()) return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl)) AfxThrowNotSupportedException();
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->m_bSaveAndValidate) {
        if (Utf8CharacterCount(value.str()) <= nChars) return;
        CString prompt;
        AfxFormatString1(prompt, AFX_IDP_PARSE_STRING_SIZE, CString(FormatText("%d", nChars)));
        AfxMessageBox(prompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
        pDX->Fail();
    }
    if (pDX->m_idLastControl == 0 || !pDX->m_pDlgWnd) return;
    HWND hWndLast = nullptr;
    pDX->m_pDlgWnd->GetDlgItem(int(pDX->m_idLastControl), &hWndLast);
    if (!hWndLast) return;
    ::SendMessage(hWndLast, AfxIsWindowClass(hWndLast, "COMBOBOX") ? CB_LIMITTEXT : EM_LIMITTEXT,
                  WPARAM(nChars), 0);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    CheckIntegerRange(pDX, value, minVal, maxVal, "%d");
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    CheckIntegerRange(pDX, value, minVal, maxVal, "%u");
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    CheckIntegerRange(pDX, value, minVal, maxVal, "%ld");
}

void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal)
{
    CheckIntegerRange(pDX, value, minVal, maxVal, "%u");
}

void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal)
{
    CheckIntegerRange(pDX, unsigned(value), unsigned(minVal), unsigned(maxVal), "%u");
}

void DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal)
{
    CheckIntegerRange(pDX, int(value), int(minVal), int(maxVal), "%d");
}

void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal)
{
    CheckRealRange(pDX, value, minVal, maxVal, kFloatDigits);
}

void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal)
{
    CheckRealRange(pDX, value, minVal, maxVal, kDoubleDigits);
}
