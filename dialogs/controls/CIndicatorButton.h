#pragma once
// An owner-drawn button that shows one image of a horizontal strip of equally wide
// images, chosen by a state index (a status lamp).
#include "framework/gdi/CGdiObject.h"
#include "framework/ui/CButton.h"

class CIndicatorButton : public CButton {
    DECLARE_DYNAMIC(CIndicatorButton)
public:
    CIndicatorButton() = default;

    // Replaces the strip; on success it holds nImageCount images and shows image 0.
    // A count below 1 is refused, as it gives no image to show.
    BOOL LoadBitmap(UINT nIDResource, int nImageCount);
    // Shows image nIndex at once; an index outside the strip shows nothing.
    void SetState(int nIndex);
    int GetState() const { return m_nIndex; }
    int GetImageCount() const { return m_nCount; }

    // Image m_nIndex centred in the client area.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    BOOL OnEraseBkgnd(CDC* pDC) override;

private:
    CBitmap m_bitmap;
    int m_nCount = 0;
    int m_nIndex = 0;
};
