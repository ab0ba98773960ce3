#include "model/CShelterInfo.h"

#include "framework/core/CArchive.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"

IMPLEMENT_SERIAL(CShelterInfo, CObject, 0)

namespace {

constexpr BYTE kVersion = 1;
constexpr UINT kFirstShapeTextId = 997;
constexpr DWORD kShapeChoiceCount = 5;

void FillShapeCombo(HWND hCombo)
{
    ::SendMessage(hCombo, WM_SETREDRAW, FALSE, 0);
    ::SendMessage(hCombo, CB_RESETCONTENT, 0, 0);
    for (DWORD choice = 0; choice < kShapeChoiceCount; ++choice) {
        CString text;
        text.LoadString(kFirstShapeTextId + choice);
        const LRESULT index = ::SendMessage(hCombo, CB_ADDSTRING, 0, LPARAM(text.c_str()));
        if (index >= 0) ::SendMessage(hCombo, CB_SETITEMDATA, WPARAM(index), LPARAM(choice));
    }
    ::SendMessage(hCombo, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hCombo, nullptr, TRUE);
}

} // namespace

void CShelterInfo::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion << m_wValue << WORD(m_nUnit);
        return;
    }
    BYTE version = 0;
    ar >> version;
    if (version != kVersion) AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    WORD value = 0;
    short unit = 0;
    ar >> value >> unit;
    m_wValue = value;
    m_nUnit = unit;
}

CString CShelterInfo::FormatValue() const
{
    CString text;
    text.Format("%u", unsigned(m_wValue));
    return text;
}

CString CShelterInfo::GetUnitText() const
{
    switch (m_nUnit) {
    case 0: return "cm";
    case 1: return "mm";
    case 2: return "dm";
    default: return CString();
    }
}

void DDX_ShelterShapeCombo(CDataExchange* pDX, int nIDC, DWORD* pChoice)
{
    const HWND hCombo = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        const LRESULT selected = ::SendMessage(hCombo, CB_GETCURSEL, 0, 0);
        // With no selection the choice stays: the error value is no shape.
        if (selected != CB_ERR) pDX->Store(*pChoice, DWORD(::SendMessage(hCombo, CB_GETITEMDATA, WPARAM(selected), 0)));
        return;
    }
    if (::SendMessage(hCombo, CB_GETCOUNT, 0, 0) != LRESULT(kShapeChoiceCount)) FillShapeCombo(hCombo);
    const LRESULT count = ::SendMessage(hCombo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (DWORD(::SendMessage(hCombo, CB_GETITEMDATA, WPARAM(i), 0)) == *pChoice) {
            ::SendMessage(hCombo, CB_SETCURSEL, WPARAM(i), 0);
            return;
        }
    }
}
