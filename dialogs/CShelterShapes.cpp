#include "dialogs/CShelterShapes.h"

#include "dialogs/shapedialogs/CArcShapeDialog.h"
#include "dialogs/shapedialogs/CRectShapeDialog.h"
#include "framework/core/CString.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/settings/ViewMetricSetting.h"

#include <iterator>

namespace {

constexpr int kProtectiveKind = 1;
constexpr int kWarningKind = 2;

// Beam counts of the contour shapes 2, 3 and 4.
constexpr int kContourBeamCounts[] = {91, 181, 361};

int ContourBeamCount(int shape)
{
    const int index = shape - 2;
    return index >= 0 && index < int(std::size(kContourBeamCounts)) ? kContourBeamCounts[index] : 0;
}

WORD ToWord(int cm) { return WORD(cm < 0 ? 0 : cm > 0xFFFF ? 0xFFFF : cm); }

void FillShapeCombo(HWND hCombo)
{
    ::SendMessage(hCombo, WM_SETREDRAW, FALSE, 0);
    ::SendMessage(hCombo, CB_RESETCONTENT, 0, 0);
    for (int shape = 0; shape < CShelterShapes::kShapeCount; ++shape) {
        CString text;
        text.LoadString(CShelterShapes::IDS_FIRST_SHAPE + UINT(shape));
        const LRESULT index = ::SendMessage(hCombo, CB_ADDSTRING, 0, LPARAM(text.c_str()));
        if (index >= 0) ::SendMessage(hCombo, CB_SETITEMDATA, WPARAM(index), LPARAM(shape));
    }
    ::SendMessage(hCombo, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hCombo, nullptr, TRUE);
}

} // namespace

CShelterShapes::CShelterShapes() { SetDefaults(CSensorType(4, 0)); }

void CShelterShapes::SetDefaults(const CSensorType& type)
{
    m_nProtectiveShape = kShapeRectangle;
    m_nProtectiveBeamCount = 181;
    m_nWarningShape = kShapeRectangle;
    m_nWarningBeamCount = 181;
    const int protective = type.GetProtectiveDefaultDistance();
    m_nProtectiveRadius = m_nProtectiveLeft = m_nProtectiveRight = m_nProtectiveFront = protective;
    const int warning = type.GetWarningDefaultDistance();
    m_nWarningRadius = m_nWarningLeft = m_nWarningRight = m_nWarningFront = warning;
}

BOOL CShelterShapes::EditProtectiveSizes(CWnd* pParentWnd, const CSensorType& type)
{
    if (m_nProtectiveShape == kShapeRectangle) {
        CRectShapeDialog dialog(pParentWnd);
        dialog.m_bInch = IsInchDisplay();
        dialog.m_bShowBeamCount = 0;
        dialog.m_nLeft = m_nProtectiveLeft;
        dialog.m_nRight = m_nProtectiveRight;
        dialog.m_nFront = m_nProtectiveFront;
        dialog.m_nMinDistance = type.GetProtectiveMinDistance();
        dialog.m_nMaxDistance = type.GetProtectiveMaxDistance();
        dialog.m_nMaxWidth = type.GetProtectiveMaxWidth();
        if (dialog.DoModal() != IDOK) return FALSE;
        m_nProtectiveLeft = dialog.m_nLeft;
        m_nProtectiveRight = dialog.m_nRight;
        m_nProtectiveFront = dialog.m_nFront;
        return TRUE;
    }
    if (m_nProtectiveShape == kShapeArc) {
        CArcShapeDialog dialog(pParentWnd);
        dialog.m_bInch = IsInchDisplay();
        dialog.m_bShowBeamCount = 0;
        dialog.m_nRadius = m_nProtectiveRadius;
        dialog.m_nMinDistance = type.GetProtectiveMinDistance();
        dialog.m_nMaxDistance = type.GetProtectiveMaxDistance();
        if (dialog.DoModal() != IDOK) return FALSE;
        m_nProtectiveRadius = dialog.m_nRadius;
        return TRUE;
    }
    return FALSE;
}

BOOL CShelterShapes::EditWarningSizes(CWnd* pParentWnd, const CSensorType& type)
{
    if (m_nWarningShape == kShapeRectangle) {
        CRectShapeDialog dialog(pParentWnd);
        dialog.m_bInch = IsInchDisplay();
        dialog.m_bShowBeamCount = 1;
        dialog.m_nBeamCount = m_nWarningBeamCount;
        dialog.m_nLeft = m_nWarningLeft;
        dialog.m_nRight = m_nWarningRight;
        dialog.m_nFront = m_nWarningFront;
        dialog.m_nMinDistance = type.GetWarningMinDistance();
        dialog.m_nMaxDistance = type.GetWarningMaxDistance();
        dialog.m_nMaxWidth = type.GetWarningMaxDistance();
        if (dialog.DoModal() != IDOK) return FALSE;
        m_nWarningLeft = dialog.m_nLeft;
        m_nWarningRight = dialog.m_nRight;
        m_nWarningFront = dialog.m_nFront;
        m_nWarningBeamCount = dialog.m_nBeamCount;
        return TRUE;
    }
    if (m_nWarningShape == kShapeArc) {
        CArcShapeDialog dialog(pParentWnd);
        dialog.m_bInch = IsInchDisplay();
        dialog.m_bShowBeamCount = 1;
        dialog.m_nBeamCount = m_nWarningBeamCount;
        dialog.m_nRadius = m_nWarningRadius;
        dialog.m_nMinDistance = type.GetWarningMinDistance();
        dialog.m_nMaxDistance = type.GetWarningMaxDistance();
        if (dialog.DoModal() != IDOK) return FALSE;
        m_nWarningRadius = dialog.m_nRadius;
        m_nWarningBeamCount = dialog.m_nBeamCount;
        return TRUE;
    }
    return FALSE;
}

std::unique_ptr<CShelter> CShelterShapes::CreateProtectiveField(const CSensorType& type) const
{
    if (m_nProtectiveShape == kShapeRectangle) {
        auto field = std::make_unique<CRectShelter>();
        field->Initialize(type, ToWord(m_nProtectiveLeft), ToWord(m_nProtectiveFront), ToWord(m_nProtectiveRight),
                          kProtectiveKind);
        return field;
    }
    if (m_nProtectiveShape == kShapeArc) {
        auto field = std::make_unique<CArcShelter>();
        field->Initialize(type, ToWord(m_nProtectiveRadius), kProtectiveKind);
        return field;
    }
    const int beams = ContourBeamCount(m_nProtectiveShape);
    if (beams == 0) return nullptr;
    auto field = std::make_unique<CPolyShelter>();
    field->InitializeWithBeamCount(type, beams, kProtectiveKind);
    return field;
}

std::unique_ptr<CPolyShelter> CShelterShapes::CreateWarningField(const CSensorType& type) const
{
    auto field = std::make_unique<CPolyShelter>();
    if (m_nWarningShape == kShapeRectangle) {
        field->InitializeFromRectangle(type, m_nWarningBeamCount, m_nWarningLeft, m_nWarningFront, m_nWarningRight,
                                       kWarningKind);
        return field;
    }
    if (m_nWarningShape == kShapeArc) {
        field->InitializeConstant(type, m_nWarningRadius, m_nWarningBeamCount, kWarningKind);
        return field;
    }
    const int beams = ContourBeamCount(m_nWarningShape);
    if (beams == 0) return nullptr;
    field->InitializeWithBeamCount(type, beams, kWarningKind);
    return field;
}

void DDX_ShelterShapeCombo(CDataExchange* pDX, int nIDC, int& shape)
{
    const HWND hCombo = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        const LRESULT selected = ::SendMessage(hCombo, CB_GETCURSEL, 0, 0);
        if (selected != CB_ERR) pDX->Store(shape, int(::SendMessage(hCombo, CB_GETITEMDATA, WPARAM(selected), 0)));
        return;
    }
    if (::SendMessage(hCombo, CB_GETCOUNT, 0, 0) != LRESULT(CShelterShapes::kShapeCount)) FillShapeCombo(hCombo);
    LRESULT match = CB_ERR;
    const LRESULT count = ::SendMessage(hCombo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count && match == CB_ERR; ++i)
        if (::SendMessage(hCombo, CB_GETITEMDATA, WPARAM(i), 0) == LPARAM(shape)) match = i;
    ::SendMessage(hCombo, CB_SETCURSEL, WPARAM(match), 0);
}

void DDX_ShelterShapes(CDataExchange* pDX, CShelterShapes& shapes)
{
    DDX_ShelterShapeCombo(pDX, CShelterShapes::IDC_PROTECTIVE_SHAPE, shapes.m_nProtectiveShape);
    DDX_ShelterShapeCombo(pDX, CShelterShapes::IDC_WARNING_SHAPE, shapes.m_nWarningShape);
}

void EnableShelterSizeButtons(CWnd& page, const CShelterShapes& shapes)
{
    if (CWnd* button = page.GetDlgItem(CShelterShapes::IDC_PROTECTIVE_SIZES))
        button->EnableWindow(CShelterShapes::HasSizes(shapes.m_nProtectiveShape));
    if (CWnd* button = page.GetDlgItem(CShelterShapes::IDC_WARNING_SIZES))
        button->EnableWindow(CShelterShapes::HasSizes(shapes.m_nWarningShape));
}
