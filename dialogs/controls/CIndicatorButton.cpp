#include "dialogs/controls/CIndicatorButton.h"

#include "framework/gdi/CDC.h"

IMPLEMENT_DYNAMIC(CIndicatorButton, CButton)

BOOL CIndicatorButton::LoadBitmap(UINT nIDResource, int nImageCount)
{
    m_bitmap.DeleteObject();
    m_nCount = 0;
    m_nIndex = 0;
    if (nImageCount < 1 || !m_bitmap.LoadBitmap(nIDResource)) {
        m_bitmap.DeleteObject();
        return FALSE;
    }
    m_nCount = nImageCount;
    return TRUE;
}

void CIndicatorButton::SetState(int nIndex)
{
    m_nIndex = nIndex;
    if (!GetSafeHwnd()) return;
    Invalidate(TRUE);
    UpdateWindow();
}

void CIndicatorButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (m_nCount < 1 || m_nIndex < 0 || m_nIndex >= m_nCount) return;
    CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
    const CSize strip = m_bitmap.GetSize();
    const int width = strip.cx / m_nCount;
    const CRect client(lpDrawItemStruct->rcItem);
    const int x = client.left + (client.Width() - width) / 2;
    const int y = client.top + (client.Height() - strip.cy) / 2;
    CDC memory;
    if (!memory.CreateCompatibleDC(dc)) return;
    CBitmap* previous = memory.SelectObject(&m_bitmap);
    dc->BitBlt(x, y, width, strip.cy, &memory, width * m_nIndex, 0, SRCCOPY);
    memory.SelectObject(previous);
}

// The lamp image covers its place; erasing first would only flicker.
BOOL CIndicatorButton::OnEraseBkgnd(CDC*) { return TRUE; }
