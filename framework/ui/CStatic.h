#pragma once
// A static control: text, icon or bitmap.
#include "framework/gdi/GdiDefs.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() = default;
    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);

    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};

// The standard icons (IDI_EXCLAMATION, IDI_QUESTION, ...) with no instance; other icons
// are not kept in resource modules, so those give nullptr.
HICON LoadIcon(void* hInstance, LPCTSTR lpIconName);
