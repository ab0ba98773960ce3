#pragma once
// The scroll bar window class ("SCROLLBAR"): the parent hears WM_HSCROLL or WM_VSCROLL
// and moves the thumb itself (inside framework/ui only; the layers above use CScrollBar).
#include "framework/core/WinStyles.h"
#include "framework/ui/UiDefs.h"

#include <QScrollBar>

class ScrollBarWidget final : public QScrollBar {
public:
    ScrollBarWidget(DWORD style, QWidget* parent);

    bool HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    void OnAction(int action);
    void OnReleased();
    void ShowState();
    void Notify(UINT code, int position);

    int m_min = 0;
    int m_max = 100;
    UINT m_page = 0;
    int m_pos = 0;
    int m_trackPos = 0;
};

QWidget* AfxCreateScrollBarWidget(const CREATESTRUCT& cs, QWidget* parent);
