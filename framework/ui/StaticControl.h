#pragma once
// The static window class ("STATIC"): texts, icons, bitmaps, frames and rectangles
// (inside framework/ui only; the layers above use CStatic).
#include "framework/core/WinStyles.h"
#include "framework/gdi/GdiDefs.h"
#include "framework/ui/UiDefs.h"

#include <QWidget>

class StaticWidget final : public QWidget {
public:
    StaticWidget(DWORD style, const QString& text, QWidget* parent);

    bool HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A bitmap from the current resource module, shown by an SS_BITMAP control.
    void LoadBitmapResource(UINT id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    DWORD Kind() const { return m_style & SS_TYPEMASK; }
    QImage ImageToShow() const;
    void PaintText(QPainter& painter);
    bool PaintTextWithParentColours(QPainter& painter);
    void PaintFrame(QPainter& painter);

    DWORD m_style;
    QString m_text;
    HICON m_icon = nullptr;
    HGDIOBJ m_bitmap = nullptr;
    QImage m_resourceBitmap;
};

QWidget* AfxCreateStaticWidget(const CREATESTRUCT& cs, QWidget* parent);

// The image of a standard icon (IDI_ values as handles), or a null image.
QImage AfxStandardIconImage(HICON hIcon, int size);
