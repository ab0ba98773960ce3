#include "dialogs/controls/CColumnHeader.h"

#include "dialogs/controls/CColumnListBox.h"
#include "framework/gdi/CDC.h"
#include "framework/gdi/CGdiObject.h"
#include "framework/ui/CPaintDC.h"

IMPLEMENT_DYNAMIC(CColumnHeader, CWnd)

LRESULT CColumnHeader::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETFONT) {
        m_hFont = reinterpret_cast<HFONT>(wParam);
        return 0;
    }
    if (message == WM_GETFONT) return reinterpret_cast<LRESULT>(m_hFont);
    return CWnd::WindowProc(message, wParam, lParam);
}

void CColumnHeader::OnPaint()
{
    CPaintDC dc(this);
    Paint(&dc);
}

namespace {

UINT AlignmentOf(int format)
{
    if (format == kColumnLeft) return DT_LEFT;
    if (format == kColumnRight) return DT_RIGHT;
    return DT_CENTER;
}

} // namespace

void CColumnHeader::Paint(CDC* pDC)
{
    if (!m_pOwnerList) return;
    CRect client;
    GetClientRect(&client);
    CFont* oldFont = m_hFont ? pDC->SelectObject(CFont::FromHandle(m_hFont)) : nullptr;
    const COLORREF oldText = pDC->SetTextColor(CColumnListBox::kButtonText);
    const COLORREF oldBack = pDC->SetBkColor(CColumnListBox::kButtonFace);
    pDC->FillSolidRect(&client, CColumnListBox::kButtonFace);

    const int offset = m_pOwnerList->GetHorizontalOffset();
    const int margin = CColumnListBox::kCellMargin;
    int end = client.left - offset;
    for (int i = 0; i < m_pOwnerList->GetColumnCount(); ++i) {
        int left = 0;
        int right = 0;
        m_pOwnerList->GetColumnEdges(i, left, right);
        CRect cell(left - offset, client.top, right - offset, client.bottom);
        end = cell.right;
        if (cell.right <= client.left || cell.left >= client.right) continue;
        pDC->Draw3dRect(&cell, CColumnListBox::kButtonHighlight, CColumnListBox::kButtonShadow);
        // The frame's solid fills leave their colour as the background; titles stand on the face.
        pDC->SetBkColor(CColumnListBox::kButtonFace);
        CRect text(cell.left + margin, cell.top, cell.right - margin, cell.bottom);
        pDC->DrawText(m_pOwnerList->GetColumnTitle(i), &text,
                      AlignmentOf(m_pOwnerList->GetColumnFormat(i)) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (end < client.right) {
        const CRect rest(end, client.top, client.right, client.bottom);
        pDC->Draw3dRect(&rest, CColumnListBox::kButtonHighlight, CColumnListBox::kButtonShadow);
    }

    pDC->SetBkColor(oldBack);
    pDC->SetTextColor(oldText);
    if (oldFont) pDC->SelectObject(oldFont);
}
