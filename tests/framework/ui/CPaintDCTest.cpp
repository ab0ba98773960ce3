// Painting through the back buffer: WM_ERASEBKGND with the class brush, WM_PAINT with a
// paint DC, client-DC drawing shown without a paint pass; rendered offscreen to a PNG.
#include "framework/gdi/CDC.h"
#include "framework/ui/CPaintDC.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/WindowHandle.h"
#include "ScreenshotFolder.h"

#include <QCoreApplication>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class PaintedWnd : public CWnd {
public:
    int paints = 0;
    int erases = 0;

protected:
    BOOL OnEraseBkgnd(CDC* pDC) override
    {
        ++erases;
        return CWnd::OnEraseBkgnd(pDC);
    }
    void OnPaint() override
    {
        ++paints;
        CPaintDC dc(this);
        CBrush red(RGB(255, 0, 0));
        CRect box(10, 10, 60, 40);
        dc.FillRect(&box, &red);
        CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
        CPen* old = dc.SelectObject(&blue);
        dc.MoveTo(0, 80);
        dc.LineTo(150, 80);
        dc.SelectObject(old);
    }
};

QColor PixelAt(QWidget* widget, int x, int y)
{
    return widget->grab().toImage().pixelColor(x, y);
}

TEST(CPaintDCTest, PaintedWindowRendersOffscreenWithClassBackgroundAndPaintDcDrawing)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    static CBrush green(RGB(0, 128, 0));
    PaintedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, nullptr, HBRUSH(green.GetSafeHandle())), "paint",
                             WS_OVERLAPPEDWINDOW, CRect(0, 0, 160, 100), nullptr, 0));
    wnd.ShowWindow(SW_SHOW);
    QWidget* widget = AfxWidgetFromHandle(wnd.m_hWnd);
    ASSERT_NE(widget, nullptr);

    const QImage shot = widget->grab().toImage();
    const ScreenshotFolder folder("painted-window");
    const std::string path = (folder.Path() / "ui-painted-window.png").string();
    ASSERT_TRUE(shot.save(QString::fromStdString(path), "PNG"));
    const QImage reloaded(QString::fromStdString(path));
    ASSERT_EQ(reloaded.size(), QSize(160, 100));

    EXPECT_EQ(reloaded.pixelColor(3, 3), QColor(0, 128, 0)) << "erased with the class brush";
    EXPECT_EQ(reloaded.pixelColor(30, 20), QColor(255, 0, 0));
    EXPECT_EQ(reloaded.pixelColor(59, 39), QColor(255, 0, 0));
    EXPECT_EQ(reloaded.pixelColor(60, 40), QColor(0, 128, 0)) << "rectangles end before right and bottom";
    EXPECT_EQ(reloaded.pixelColor(100, 80), QColor(0, 0, 255));
    EXPECT_EQ(wnd.paints, 1);
    EXPECT_EQ(wnd.erases, 1);
}

TEST(CPaintDCTest, ClientDcDrawingShowsAtOnceAndTheNextPaintPassReplacesIt)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    PaintedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "paint", WS_OVERLAPPEDWINDOW, CRect(0, 0, 160, 100), nullptr, 0));
    wnd.ShowWindow(SW_SHOW);
    QWidget* widget = AfxWidgetFromHandle(wnd.m_hWnd);
    EXPECT_EQ(PixelAt(widget, 30, 20), QColor(255, 0, 0));
    const int paintsBefore = wnd.paints;

    {
        CClientDC dc(&wnd);
        CBrush yellow(RGB(255, 255, 0));
        CRect spot(100, 10, 140, 40);
        dc.FillRect(&spot, &yellow);
    }
    EXPECT_EQ(PixelAt(widget, 120, 20), QColor(255, 255, 0));
    EXPECT_EQ(wnd.paints, paintsBefore) << "showing client-DC drawing needs no WM_PAINT";

    CRect spot(100, 10, 140, 40);
    wnd.InvalidateRect(&spot, FALSE);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.paints, paintsBefore + 1);
    EXPECT_EQ(PixelAt(widget, 120, 20), QColor(255, 255, 0)) << "no erase asked: the old pixels stay";
    wnd.Invalidate();
    wnd.UpdateWindow();
    EXPECT_EQ(PixelAt(widget, 120, 20), QColor(Qt::white)) << "the default class erases to the window colour";
}

// A client DC gets pixels only when it draws, and then those of the window's client
// area: one that measures text or maps points (a view's creation and sizing) leaves a
// window without a buffer as it was, whatever size its widget has.
TEST(CPaintDCTest, ClientDcMakesTheBufferOnlyWhenItDraws)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    PaintedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "hidden", WS_OVERLAPPEDWINDOW, CRect(0, 0, 160, 100), nullptr, 0));
    WindowHandle* handle = wnd.m_hWnd;
    CRect client;
    wnd.GetClientRect(&client);
    ASSERT_TRUE(handle->backBuffer.isNull()) << "never shown, never painted";
    {
        CClientDC dc(&wnd);
        TEXTMETRIC tm{};
        EXPECT_TRUE(dc.GetTextMetrics(&tm));
        EXPECT_GT(dc.GetTextExtent("Field").cx, 0);
        CPoint point(10, 20);
        dc.SetViewportOrg(5, 5);
        dc.DPtoLP(&point);
        EXPECT_EQ(point, CPoint(5, 15));
        EXPECT_EQ(dc.GetDeviceCaps(HORZRES), client.Width());
        EXPECT_EQ(dc.GetDeviceCaps(VERTRES), client.Height());
    }
    EXPECT_TRUE(handle->backBuffer.isNull()) << "measuring made no buffer";
    EXPECT_EQ(wnd.paints, 0);

    {
        CClientDC dc(&wnd);
        dc.FillSolidRect(0, 0, 20, 20, RGB(0, 0, 255));
    }
    EXPECT_EQ(handle->backBuffer.size(), QSize(client.Width(), client.Height()));
    wnd.ShowWindow(SW_SHOW);
    QWidget* widget = AfxWidgetFromHandle(wnd.m_hWnd);
    EXPECT_EQ(PixelAt(widget, 30, 20), QColor(255, 0, 0)) << "the new buffer is painted in full";
    {
        CClientDC dc(&wnd);
        EXPECT_EQ(dc.GetPixel(30, 20), RGB(255, 0, 0)) << "reading gets the window's pixels";
    }
}

// Pixels that cannot show are not kept: a window under its child gives its buffer back at
// idle time, and repaints in full once it shows again; the child on top keeps its pixels.
TEST(CPaintDCTest, WindowCoveredByItsChildRepaintsInFullWhenUncovered)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    PaintedWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "under", WS_OVERLAPPEDWINDOW, CRect(0, 0, 160, 100), nullptr, 0));
    parent.ShowWindow(SW_SHOW);
    QWidget* widget = AfxWidgetFromHandle(parent.m_hWnd);
    ASSERT_EQ(PixelAt(widget, 30, 20), QColor(255, 0, 0));
    {
        CClientDC dc(&parent);
        CBrush yellow(RGB(255, 255, 0));
        CRect spot(100, 10, 140, 40);
        dc.FillRect(&spot, &yellow);
    }
    CRect client;
    parent.GetClientRect(&client);
    PaintedWnd child;
    ASSERT_TRUE(child.CreateEx(0, nullptr, "over", WS_CHILD | WS_VISIBLE, client, &parent, 1));
    QWidget* childWidget = AfxWidgetFromHandle(child.m_hWnd);
    ASSERT_EQ(PixelAt(childWidget, 30, 20), QColor(255, 0, 0));
    const int parentPaints = parent.paints;
    const int childPaints = child.paints;

    AfxReleaseCoveredBackBuffers();
    EXPECT_EQ(PixelAt(childWidget, 30, 20), QColor(255, 0, 0));
    EXPECT_EQ(child.paints, childPaints) << "the window on top keeps its buffer";

    child.ShowWindow(SW_HIDE);
    EXPECT_EQ(PixelAt(widget, 30, 20), QColor(255, 0, 0));
    EXPECT_EQ(parent.paints, parentPaints + 1) << "the uncovered window paints again";
    EXPECT_EQ(PixelAt(widget, 120, 20), QColor(Qt::white)) << "and in full: the covered client-DC drawing is gone";
}

} // namespace
