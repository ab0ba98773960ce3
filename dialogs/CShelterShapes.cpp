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

constexpr int kProtectiveKind = CShelterShapes::kProtectiveKind;
constexpr int kWarningKind = CShelterShapes::kWarningKind;

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

// The shape and sizes of one of the two fields.
struct FieldSizes {
    int& shape;
    int& beamCount;
    int& radius;
    int& left;
    int& right;
    int& front;
};

FieldSizes SizesOf(CShelterShapes& shapes, int kind)
{
    if (kind == kProtectiveKind)
        return {shapes.m_nProtectiveShape, shapes.m_nProtectiveBeamCount, shapes.m_nProtectiveRadius,
                shapes.m_nProtectiveLeft,  shapes.m_nProtectiveRight,     shapes.m_nProtectiveFront};
    return {shapes.m_nWarningShape, shapes.m_nWarningBeamCount, shapes.m_nWarningRadius,
            shapes.m_nWarningLeft,  shapes.m_nWarningRight,     shapes.m_nWarningFront};
}

// Both size dialogs in the unit of the settings. The protective field keeps no beam count
// of its own, so only the warning field's dialogs offer the choice.
template <class Dialog>
void PresetUnitAndBeamCount(Dialog& dialog, const FieldSizes& sizes, int kind)
{
    dialog.m_bInch = IsInchDisplay();
    dialog.m_bShowBeamCount = kind == kWarningKind ? 1 : 0;
    if (dialog.m_bShowBeamCount) dialog.m_nBeamCount = sizes.beamCount;
}

template <class Dialog>
void TakeBeamCount(const Dialog& dialog, FieldSizes& sizes)
{
    if (dialog.m_bShowBeamCount) sizes.beamCount = dialog.m_nBeamCount;
}

BOOL EditRectangle(CWnd* pParentWnd, FieldSizes sizes, int kind, const CSensorType& type)
{
    CRectShapeDialog dialog(pParentWnd);
    PresetUnitAndBeamCount(dialog, sizes, kind);
    dialog.m_nLeft = sizes.left;
    dialog.m_nRight = sizes.right;
    dialog.m_nFront = sizes.front;
    dialog.m_nMinDistance = type.GetMinDistanceOfKind(kind);
    dialog.m_nMaxDistance = type.GetMaxDistanceOfKind(kind);
    dialog.m_nMaxWidth = type.GetMaxWidthOfKind(kind);
    if (dialog.DoModal() != IDOK) return FALSE;
    sizes.left = dialog.m_nLeft;
    sizes.right = dialog.m_nRight;
    sizes.front = dialog.m_nFront;
    TakeBeamCount(dialog, sizes);
    return TRUE;
}

BOOL EditArc(CWnd* pParentWnd, FieldSizes sizes, int kind, const CSensorType& type)
{
    CArcShapeDialog dialog(pParentWnd);
    PresetUnitAndBeamCount(dialog, sizes, kind);
    dialog.m_nRadius = sizes.radius;
    dialog.m_nMinDistance = type.GetMinDistanceOfKind(kind);
    dialog.m_nMaxDistance = type.GetMaxDistanceOfKind(kind);
    if (dialog.DoModal() != IDOK) return FALSE;
    sizes.radius = dialog.m_nRadius;
    TakeBeamCount(dialog, sizes);
    return TRUE;
}

} // namespace

CShelterShapes::CShelterShapes() { SetDefaults(CSensorType(4, 0)); }

void CShelterShapes::SetDefaults(const CSensorType& type)
{
    for (const int kind : {kProtectiveKind, kWarningKind}) {
        const FieldSizes sizes = SizesOf(*this, kind);
        sizes.shape = kShapeRectangle;
        sizes.beamCount = 181;
        sizes.radius = sizes.left = sizes.right = sizes.front = type.GetDefaultDistanceOfKind(kind);
    }
}

BOOL CShelterShapes::EditSizes(int kind, CWnd* pParentWnd, const CSensorType& type)
{
    const FieldSizes sizes = SizesOf(*this, kind);
    if (sizes.shape == kShapeRectangle) return EditRectangle(pParentWnd, sizes, kind, type);
    if (sizes.shape == kShapeArc) return EditArc(pParentWnd, sizes, kind, type);
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
