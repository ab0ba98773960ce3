#include "framework/ui/CStatic.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

HICON CStatic::SetIcon(HICON hIcon) { return reinterpret_cast<HICON>(SendMessage(STM_SETICON, WPARAM(hIcon), 0)); }

HICON CStatic::GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON, 0, 0)); }

HICON LoadIcon(void* hInstance, LPCTSTR lpIconName)
{
    const auto id = reinterpret_cast<std::uintptr_t>(lpIconName);
    if (hInstance != nullptr || id < 32512 || id > 32516) return nullptr;
    return reinterpret_cast<HICON>(id);
}
