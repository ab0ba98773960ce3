#include "model/shapedialogs/CPolyShelterDialog.h"

#include "dialogs/shapedialogs/CCartesianPointDialog.h"
#include "dialogs/shapedialogs/CPolarPointDialog.h"
#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"
#include "model/CPolyShelter.h"

#include <vector>

namespace {
constexpr int IDC_DELETE = 2059;
constexpr int IDC_EDIT_POINT = 2060;
constexpr int IDC_ADD_POINT = 2168;
constexpr int IDC_UNDO = 2147;
constexpr int IDC_REDO = 2150;
constexpr int IDC_VERTICES = 2078;
constexpr UINT IDS_CARTESIAN_TITLES = 946;
constexpr UINT IDS_POLAR_TITLES = 947;
constexpr UINT IDP_NOT_A_VERTEX = 307;
constexpr UINT IDP_OUTSIDE_RANGE = 308;
} // namespace

BEGIN_MESSAGE_MAP(CPolyShelterDialog, CDialog)
    ON_BN_CLICKED(IDC_ADD_POINT, OnAddPoint)
    ON_BN_CLICKED(IDC_EDIT_POINT, OnEditPoint)
    ON_BN_CLICKED(IDC_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_UNDO, OnUndo)
    ON_BN_CLICKED(IDC_REDO, OnRedo)
    ON_LBN_SELCHANGE(IDC_VERTICES, OnSelChangeList)
    ON_LBN_DBLCLK(IDC_VERTICES, OnEditPoint)
END_MESSAGE_MAP()

CPolyShelterDialog::CPolyShelterDialog(CPolyShelter* pField, int displayMode, BOOL inch, CWnd* pParent)
    : CDialog(IDD, pParent), m_pField(pField), m_nDisplayMode(displayMode), m_bInch(inch)
{
}

CPolyShelterDialog::~CPolyShelterDialog() = default;

void CPolyShelterDialog::SetUpVertexColumns(CColumnListBox& list, int displayMode)
{
    list.SetColumnCount(2);
    CRect client;
    list.GetClientRect(&client);
    list.SetColumnWidth(0, client.Width() / 2);
    list.SetColumnWidth(1, client.Width() / 2);
    list.SetColumnTitles(displayMode == kPolar ? IDS_POLAR_TITLES : IDS_CARTESIAN_TITLES, '\n');
}

void CPolyShelterDialog::FillVertexList(CColumnListBox& list, const CPolyShelter& field, int displayMode, BOOL inch)
{
    const int unit = field.GetUnit();
    list.SetRedraw(FALSE);
    list.ResetContent();
    for (int beam = 0; beam < field.GetBeamCount(); ++beam) {
        if (!field.IsVertex(beam)) continue;
        const CSensorPoint point = field.GetBeamPoint(beam);
        const bool polar = displayMode == kPolar;
        const int row = list.AddItem(polar ? FormatPointAngle(point, true) : FormatPointX(point, unit, inch, true));
        list.SetItemText(row, 1, polar ? FormatPointRadius(point, unit, inch, true) : FormatPointY(point, unit, inch, true));
        list.SetItemData(row, DWORD_PTR(beam));
        if (field.IsBeamSelected(beam)) list.SetSel(row, TRUE);
    }
    list.SetRedraw(TRUE);
    list.Invalidate();
}

BOOL CPolyShelterDialog::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    m_nUnit = m_pField->GetUnit();
    m_btnDelete.SubclassDlgItem(IDC_DELETE, this);
    m_btnEditPoint.SubclassDlgItem(IDC_EDIT_POINT, this);
    m_btnAddPoint.SubclassDlgItem(IDC_ADD_POINT, this);
    m_btnUndo.SubclassDlgItem(IDC_UNDO, this);
    m_btnRedo.SubclassDlgItem(IDC_REDO, this);
    m_list.AttachToDlgItem(IDC_VERTICES, this);
    SetUpVertexColumns(m_list, m_nDisplayMode);
    Refresh();
    return result;
}

void CPolyShelterDialog::Refresh()
{
    FillVertexList(m_list, *m_pField, m_nDisplayMode, m_bInch);
    UpdateButtons();
    NotifyOwner();
}

void CPolyShelterDialog::UpdateButtons()
{
    const int vertices = m_pField->GetVertexCount();
    const int selected = m_pField->GetSelectedBeamCount();
    m_btnAddPoint.EnableWindow(vertices < m_pField->GetBeamCount());
    m_btnEditPoint.EnableWindow(vertices > 0 && selected == 1);
    m_btnDelete.EnableWindow(vertices > 0 && selected > 0);
    m_btnUndo.EnableWindow(m_stack.CanUndo());
    m_btnRedo.EnableWindow(m_stack.CanRedo());
}

void CPolyShelterDialog::NotifyOwner()
{
    if (m_pOwner && m_pOwner->IsKindOf(RUNTIME_CLASS(CWnd))) {
        auto* window = static_cast<CWnd*>(m_pOwner);
        if (window->GetSafeHwnd()) window->Invalidate();
    }
    if (m_onChange) m_onChange();
}

bool CPolyShelterDialog::ApplyChange(const std::function<bool()>& change)
{
    std::unique_ptr<CSensorObject> before = m_pField->Clone();
    static_cast<CPolyShelter&>(*before).SetBeamSelection(-1, FALSE);
    if (!change()) return false;
    m_stack.Push(std::move(before));
    m_pField->SetModified(1);
    m_stack.SetCurrent(m_pField->Clone());
    Refresh();
    return true;
}

void CPolyShelterDialog::PlaceVertex(const CSensorPoint& point, const CSensorPoint* pOld)
{
    const bool placed = ApplyChange([&] {
        if (!m_pField->IsInSensorRange(point)) return false;
        if (pOld) m_pField->RemovePoint(*pOld);
        return m_pField->SetPoint(point) != FALSE;
    });
    if (!placed) AfxMessageBox(IDP_OUTSIDE_RANGE, MB_OK | MB_ICONEXCLAMATION);
}

int CPolyShelterDialog::SingleSelectedBeam() const
{
    if (m_pField->GetSelectedBeamCount() != 1) return -1;
    for (int beam = 0; beam < m_pField->GetBeamCount(); ++beam)
        if (m_pField->IsBeamSelected(beam)) return beam;
    return -1;
}

bool CPolyShelterDialog::AskPolarPoint(CSensorPoint& point, bool angleFixed)
{
    CPolarPointDialog dialog(this);
    dialog.m_nUnit = m_nUnit;
    dialog.m_bInch = m_bInch;
    dialog.m_fAngle = point.GetAngle();
    dialog.m_fDistance = point.GetRadius();
    dialog.m_fMinAngle = m_pField->GetMinAngle();
    dialog.m_fMaxAngle = m_pField->GetMaxAngle();
    dialog.m_fMinDistance = m_pField->GetMinDistance();
    dialog.m_fMaxDistance = m_pField->GetMaxDistance();
    dialog.m_fMaxWidth = m_pField->GetMaxWidth();
    dialog.m_bAngleFixed = angleFixed;
    if (dialog.DoModal() != IDOK) return false;
    CSensorPoint entered;
    entered.SetAngleRadius(dialog.m_fAngle, dialog.m_fDistance);
    point = m_pField->SnapPoint(entered, kSnapToGrid);
    return true;
}

bool CPolyShelterDialog::AskCartesianPoint(CSensorPoint& point)
{
    CCartesianPointDialog dialog(this);
    dialog.m_bInch = m_bInch;
    dialog.m_fX = point.GetX();
    dialog.m_fY = point.GetY();
    dialog.m_fMinDistance = m_pField->GetMinDistance();
    dialog.m_fMaxDistance = m_pField->GetMaxDistance();
    dialog.m_fMaxWidth = m_pField->GetMaxWidth();
    dialog.m_pField = m_pField;
    if (dialog.DoModal() != IDOK) return false;
    point.SetXY(dialog.m_fX, dialog.m_fY);
    return true;
}

void CPolyShelterDialog::OnAddPoint()
{
    CSensorPoint point;
    const bool entered = m_nDisplayMode == kPolar ? AskPolarPoint(point, false) : AskCartesianPoint(point);
    if (entered) PlaceVertex(point, nullptr);
}

void CPolyShelterDialog::OnEditPoint()
{
    const int beam = SingleSelectedBeam();
    if (beam < 0) return;
    const CSensorPoint old = m_pField->GetBeamPoint(beam);
    const bool isVertex = m_pField->IsVertex(beam) != FALSE;
    CSensorPoint point = old;
    if (m_nDisplayMode == kPolar) {
        if (!AskPolarPoint(point, !isVertex)) return;
    } else {
        if (!isVertex) {
            AfxMessageBox(IDP_NOT_A_VERTEX, MB_OK | MB_ICONINFORMATION);
            m_pField->SetBeamSelection(beam, FALSE);
            Refresh();
            return;
        }
        if (!AskCartesianPoint(point)) return;
    }
    PlaceVertex(point, &old);
}

void CPolyShelterDialog::OnDelete()
{
    std::vector<int> vertices;
    bool strays = false;
    for (int beam = 0; beam < m_pField->GetBeamCount(); ++beam) {
        if (!m_pField->IsBeamSelected(beam)) continue;
        if (m_pField->IsVertex(beam)) {
            vertices.push_back(beam);
        } else {
            strays = true;
            m_pField->SetBeamSelection(beam, FALSE);
        }
    }
    if (strays) AfxMessageBox(IDP_NOT_A_VERTEX, MB_OK | MB_ICONINFORMATION);
    if (vertices.empty()) {
        Refresh();
        return;
    }
    ApplyChange([&] {
        for (int beam : vertices) m_pField->RemovePoint(m_pField->GetBeamPoint(beam));
        return true;
    });
}

void CPolyShelterDialog::Restore(CObject* snapshot)
{
    if (!snapshot) return;
    m_pField->CopyFrom(*static_cast<CPolyShelter*>(snapshot));
    Refresh();
}

void CPolyShelterDialog::OnUndo() { Restore(m_stack.Undo()); }

void CPolyShelterDialog::OnRedo() { Restore(m_stack.Redo()); }

void CPolyShelterDialog::OnSelChangeList()
{
    m_pField->SetBeamSelection(-1, FALSE);
    for (int row = 0; row < m_list.GetCount(); ++row)
        if (m_list.GetSel(row) > 0) m_pField->SetBeamSelection(int(m_list.GetItemData(row)), TRUE);
    UpdateButtons();
    NotifyOwner();
}

// Changes already made stay in the field: the caller's undo step covers the whole edit.
void CPolyShelterDialog::OnCancel()
{
    m_pField->SetBeamSelection(-1, FALSE);
    NotifyOwner();
    CDialog::OnCancel();
}
