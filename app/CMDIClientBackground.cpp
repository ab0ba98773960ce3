#include "app/CMDIClientBackground.h"

#include "framework/gdi/CDC.h"

IMPLEMENT_DYNAMIC(CMDIClientBackground, CWnd)

BOOL CMDIClientBackground::SetBitmap(UINT nIDResource)
{
    m_bitmap.DeleteObject();
    const BOOL loaded = m_bitmap.LoadBitmap(nIDResource);
    if (m_hWnd != nullptr)
        Invalidate();
    return loaded;
}

BOOL CMDIClientBackground::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, kWorkspaceColor);
    if (!HasBitmap())
        return TRUE;
    CDC memory;
    if (!memory.CreateCompatibleDC(pDC))
        return TRUE;
    const CSize size = m_bitmap.GetSize();
    CBitmap* old = memory.SelectObject(&m_bitmap);
    pDC->BitBlt((client.Width() - size.cx) / 2, (client.Height() - size.cy) / 2, size.cx, size.cy, &memory, 0, 0,
                SRCCOPY);
    memory.SelectObject(old);
    return TRUE;
}

void CMDIClientBackground::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    const CSize size(cx, cy);
    if (size == m_sizeClient)
        return;
    m_sizeClient = size;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_ERASENOW);
}
