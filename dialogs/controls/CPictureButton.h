#pragma once
// An owner-drawn button that shows a bitmap of the language library at (2, 2), unscaled,
// optionally with a one-pixel frame and a drop shadow.
#include "framework/gdi/CGdiObject.h"
#include "framework/ui/CButton.h"

class CPictureButton : public CButton {
    DECLARE_DYNAMIC(CPictureButton)
public:
    static constexpr UINT kFrame = 0x0001;
    static constexpr UINT kShadow = 0x0002;

    explicit CPictureButton(UINT nStyle = 0);

    // Replaces the picture; FALSE (and no picture) when the resource cannot be loaded.
    BOOL LoadBitmap(UINT nIDResource);
    BOOL HasBitmap() const { return m_bitmap.GetSafeHandle() != nullptr; }
    CSize GetBitmapSize() const { return m_bitmap.GetSize(); }

    void SetPictureStyle(UINT nStyle) { m_nStyle = nStyle; }
    UINT GetPictureStyle() const { return m_nStyle; }
    void SetShadowOffset(CSize offset) { m_shadowOffset = offset; }
    CSize GetShadowOffset() const { return m_shadowOffset; }

    // The picture + 4 pixels (+ the shadow offset with a shadow); keeps the position.
    // Nothing without a picture.
    void SizeToContent();

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    BOOL OnEraseBkgnd(CDC* pDC) override;

private:
    CBitmap m_bitmap;
    UINT m_nStyle;
    CSize m_shadowOffset{4, 4};
};
