#include "dialogs/CKVRControlTableDialog.h"

#include "framework/gdi/CDC.h"
#include "model/CKVRConfig.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CKVRControlListBox, CColumnListBox)
IMPLEMENT_DYNAMIC(CKVRControlTableDialog, CDialog)

namespace {

constexpr UINT IDD_KVR_CASE_TABLE = 124;
constexpr int IDC_CASE_TABLE = 2078;
constexpr UINT IDS_PLAIN_TITLES = 1184;
constexpr UINT IDS_SPEED_TITLES = 1185;
constexpr int kCentred = 4;
constexpr int kSpeedBarColumn = 5;
constexpr COLORREF kBarColour = RGB(0, 255, 0);
constexpr COLORREF kMiddleColour = RGB(0, 0, 0);

const char* StateText(int state)
{
    switch (state) {
    case kInputHigh: return "1";
    case kInputLow: return "0";
    default: return "X";
    }
}

int Pixel(double x)
{
    return int(x + 0.5);
}

} // namespace

void CKVRControlListBox::SetSpeedRange(int row, int low, int high)
{
    if (m_nBarColumn >= 0) SetItemData(row, m_nBarColumn, DWORD_PTR((DWORD(WORD(high)) << 16) | WORD(low)));
    m_nLowest = std::min(m_nLowest, low);
    m_nHighest = std::max(m_nHighest, high);
}

void CKVRControlListBox::GetBarExtent(const RECT& cellRect, DWORD_PTR value, int& left, int& right) const
{
    left = cellRect.left;
    right = cellRect.right;
    const int scaleBase = std::max(std::abs(m_nLowest), std::abs(m_nHighest));
    if (value == 0 || scaleBase == 0) return;
    const int low = short(WORD(value & 0xFFFF));
    const int high = short(WORD((value >> 16) & 0xFFFF));
    const double middle = (cellRect.left + cellRect.right) / 2.0;
    const double scale = (cellRect.right - cellRect.left) / 2.0 / scaleBase;
    left = Pixel(middle + low * scale);
    right = Pixel(middle + high * scale);
}

void CKVRControlListBox::DrawCell(CDC* pDC, const RECT& cellRect, int column, int format, const CString& text,
                                  DWORD_PTR data)
{
    if (column != m_nBarColumn) {
        CColumnListBox::DrawCell(pDC, cellRect, column, format, text, data);
        return;
    }
    int left = 0;
    int right = 0;
    GetBarExtent(cellRect, data, left, right);
    // Filling takes the background colour; the cells drawn after this one keep the row's.
    const COLORREF rowBack = pDC->GetBkColor();
    pDC->FillSolidRect(left, cellRect.top, right - left, cellRect.bottom - cellRect.top, kBarColour);
    pDC->SetBkColor(rowBack);
    CPen pen(PS_SOLID, 1, kMiddleColour);
    CPen* old = pDC->SelectObject(&pen);
    const int middle = (cellRect.left + cellRect.right) / 2;
    pDC->MoveTo(middle, cellRect.top);
    pDC->LineTo(middle, cellRect.bottom);
    pDC->SelectObject(old);
}

CKVRControlTableDialog::CKVRControlTableDialog(const CKVRConfig* pConfig, CWnd* pParentWnd)
    : CDialog(IDD_KVR_CASE_TABLE, pParentWnd), m_pConfig(pConfig)
{
}

void CKVRControlTableDialog::AddSpeedRow(int n)
{
    const CKVRControlConfig& control = *m_pConfig->GetControlConfig(n);
    const BYTE flags = m_pConfig->GetUsedFlags();
    const int row = m_list.AddItem(m_pConfig->GetControlConfigName(n));
    for (int input = 1; input <= 2; ++input) {
        if (flags & (kUsesInput1 << (input - 1))) m_list.SetItemText(row, input, StateText(control.GetInputState(input)));
    }
    const CSpeed& speed = control.GetSpeed();
    if (speed.IsSet()) {
        CString text;
        text.Format("%d", speed.GetLow());
        m_list.SetItemText(row, 3, text);
        text.Format("%d", speed.GetHigh());
        m_list.SetItemText(row, 4, text);
        m_list.SetSpeedRange(row, speed.GetLow(), speed.GetHigh());
    }
    if (flags & (kUsesOssdA | kUsesOssdB)) m_list.SetItemText(row, 6, control.GetOutputA() ? "A" : "B");
    m_list.SetItemText(row, 7, m_pConfig->GetShelterConfigName(control.GetShelterIndex()));
    m_list.SetItemText(row, 8, m_pConfig->GetSensorConfigName(control.GetSensorIndex()));
}

void CKVRControlTableDialog::AddPlainRow(int n)
{
    const CKVRControlConfig& control = *m_pConfig->GetControlConfig(n);
    const BYTE flags = m_pConfig->GetUsedFlags();
    const int row = m_list.AddItem(m_pConfig->GetControlConfigName(n));
    for (int input = 1; input <= 4; ++input) {
        if (flags & (kUsesInput1 << (input - 1))) m_list.SetItemText(row, input, StateText(control.GetInputState(input)));
    }
    if (flags & (kUsesOssdA | kUsesOssdB)) m_list.SetItemText(row, 5, control.GetOutputA() ? "A" : "B");
    m_list.SetItemText(row, 6, m_pConfig->GetShelterConfigName(control.GetShelterIndex()));
    m_list.SetItemText(row, 7, m_pConfig->GetSensorConfigName(control.GetSensorIndex()));
}

BOOL CKVRControlTableDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_pConfig || !m_list.AttachToDlgItem(IDC_CASE_TABLE, this)) return TRUE;
    const BOOL speed = (m_pConfig->GetUsedFlags() & kUsesSpeed) != 0;
    if (speed) {
        m_list.SetColumnCount(9);
        m_list.SetColumnTitles(IDS_SPEED_TITLES, '\n');
        m_list.SetBarColumn(kSpeedBarColumn);
        for (const int column : {1, 2, 3, 4, 6}) m_list.SetColumnFormat(column, kCentred);
    } else {
        m_list.SetColumnCount(8);
        m_list.SetColumnTitles(IDS_PLAIN_TITLES, '\n');
        for (int column = 1; column <= 5; ++column) m_list.SetColumnFormat(column, kCentred);
    }
    for (int n = 0; n < m_pConfig->GetControlConfigCount(); ++n) {
        if (n == m_nExcluded || !m_pConfig->GetControlConfig(n)) continue;
        if (speed)
            AddSpeedRow(n);
        else
            AddPlainRow(n);
    }
    // Sized to the contents first, so that the bar keeps its least width.
    m_list.AutoSizeColumns(-1);
    if (speed && m_list.GetColumnWidth(kSpeedBarColumn) < kMinBarWidth)
        m_list.SetColumnWidth(kSpeedBarColumn, kMinBarWidth);
    m_list.SetCurSel(0);
    return TRUE;
}
