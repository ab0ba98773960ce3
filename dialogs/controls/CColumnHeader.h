#pragma once
// The strip of column titles above a CColumnListBox: a plain child window that paints
// the list's titles as raised cells, shifted with the list's horizontal scrolling.
#include "framework/gdi/GdiDefs.h"
#include "framework/ui/CWnd.h"

class CColumnListBox;
class CDC;

class CColumnHeader : public CWnd {
    DECLARE_DYNAMIC(CColumnHeader)
public:
    CColumnHeader() = default;

    void SetOwnerList(CColumnListBox* pList) { m_pOwnerList = pList; }
    CColumnListBox* GetOwnerList() const { return m_pOwnerList; }
    HFONT GetHeaderFont() const { return m_hFont; }

    // Paints the strip into the device context; nothing without an owner list.
    void Paint(CDC* pDC);

protected:
    // WM_SETFONT stores the font, WM_GETFONT gives it back.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;

private:
    CColumnListBox* m_pOwnerList = nullptr;
    HFONT m_hFont = nullptr;
};
