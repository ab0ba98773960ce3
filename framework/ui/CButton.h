#pragma once
// A button control: push button, check box, radio button, group box, or an owner-drawn
// button whose subclass draws it in DrawItem.
#include "framework/gdi/GdiDefs.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    CButton() = default;

    int GetCheck() const; // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE
    void SetCheck(int nCheck);
    void SetState(BOOL bHighlight);

    // An owner-drawn button draws itself here (the parent reflects WM_DRAWITEM).
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
