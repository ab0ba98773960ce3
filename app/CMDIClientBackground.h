#pragma once
// The MDI client window of the main frame, subclassed so that it paints its own
// background: the workspace colour with an optional picture centred on it.
#include "framework/gdi/CGdiObject.h"
#include "framework/ui/CWnd.h"

class CMDIClientBackground : public CWnd {
    DECLARE_DYNAMIC(CMDIClientBackground)
public:
    // The workspace grey behind the child windows.
    static constexpr COLORREF kWorkspaceColor = RGB(171, 171, 171);

    CMDIClientBackground() = default;

    // The picture shown in the middle of the area; FALSE when the bitmap is missing.
    BOOL SetBitmap(UINT nIDResource);
    BOOL HasBitmap() const { return m_bitmap.GetSafeHandle() != nullptr; }

protected:
    BOOL OnEraseBkgnd(CDC* pDC) override;
    // A new size repaints the whole area at once, so the picture stays centred.
    void OnSize(UINT nType, int cx, int cy) override;

private:
    CSize m_sizeClient{-1, -1};
    CBitmap m_bitmap;
};
