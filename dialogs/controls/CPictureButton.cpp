#include "dialogs/controls/CPictureButton.h"

#include "framework/gdi/CDC.h"

IMPLEMENT_DYNAMIC(CPictureButton, CButton)

namespace {
constexpr int kMargin = 2;
constexpr COLORREF kShadowColour = RGB(128, 128, 128);
constexpr COLORREF kFrameColour = RGB(0, 0, 0);
} // namespace

CPictureButton::CPictureButton(UINT nStyle) : m_nStyle(nStyle) {}

BOOL CPictureButton::LoadBitmap(UINT nIDResource)
{
    m_bitmap.DeleteObject();
    return m_bitmap.LoadBitmap(nIDResource);
}

void CPictureButton::SizeToContent()
{
    if (!HasBitmap()) return;
    CSize size = m_bitmap.GetSize();
    size.cx += 2 * kMargin;
    size.cy += 2 * kMargin;
    if (m_nStyle & kShadow) {
        size.cx += m_shadowOffset.cx;
        size.cy += m_shadowOffset.cy;
    }
    SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPictureButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (!HasBitmap()) return;
    CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
    const CSize size = m_bitmap.GetSize();
    if (m_nStyle & kShadow)
        dc->FillSolidRect(kMargin + m_shadowOffset.cx, kMargin + m_shadowOffset.cy, size.cx, size.cy, kShadowColour);
    if (m_nStyle & kFrame) {
        CBrush frame;
        frame.CreateSolidBrush(kFrameColour);
        const CRect around(kMargin - 1, kMargin - 1, kMargin + size.cx + 1, kMargin + size.cy + 1);
        dc->FrameRect(&around, &frame);
    }
    CDC memory;
    if (!memory.CreateCompatibleDC(dc)) return;
    CBitmap* previous = memory.SelectObject(&m_bitmap);
    dc->BitBlt(kMargin, kMargin, size.cx, size.cy, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
}

// The picture covers what it needs; erasing first would only flicker.
BOOL CPictureButton::OnEraseBkgnd(CDC*) { return TRUE; }
