#pragma once
// What the tests of the print preview ask of its scroll bars at the window's present size:
// a bar shows exactly when the pages do not fit across it and scrolls over what is left,
// zoomed out the whole page fits, and the view has heard its last size.
#include "framework/ui/CPreviewView.h"
#include "framework/ui/WindowHandle.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>
#include <sstream>
#include <string>

// Runs the size notices a scroll-bar change left for the event loop, without painting.
inline void RunQueuedSizeNotices()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

// What is wrong with the preview's bars; empty when nothing is.
inline std::string PreviewBarFault(CPreviewView& preview)
{
    WindowHandle* handle = preview.GetSafeHwnd();
    CRect client;
    preview.GetClientRect(&client);
    const CSize extent = preview.GetPagesExtent();
    std::ostringstream fault;
    struct Axis {
        int bar;
        int content;
        int room;
    };
    for (const Axis& axis : {Axis{SB_HORZ, int(extent.cx), client.Width()}, Axis{SB_VERT, int(extent.cy), client.Height()}}) {
        int low = 0;
        int high = 0;
        preview.GetScrollRange(axis.bar, &low, &high);
        const bool needed = axis.content > axis.room;
        const char* name = axis.bar == SB_HORZ ? "horizontal" : "vertical";
        if (handle->scroll[axis.bar].visible != needed)
            fault << name << " bar " << (needed ? "missing" : "without need") << "; ";
        if (high - low != std::max(0, axis.content - axis.room))
            fault << name << " range " << high - low << " for " << axis.content << " in " << axis.room << "; ";
    }
    if (preview.GetZoomState() == CPreviewView::ZOOM_OUT && (extent.cx > client.Width() || extent.cy > client.Height()))
        fault << "the whole page does not fit when zoomed out; ";
    if (handle->notifiedSize != QSize(client.Width(), client.Height()))
        fault << "the last size notice told " << handle->notifiedSize.width() << " x " << handle->notifiedSize.height()
              << "; ";
    if (!fault.str().empty())
        fault << "client " << client.Width() << " x " << client.Height() << ", pages " << extent.cx << " x " << extent.cy;
    return fault.str();
}

// Resizes the preview's window through sizes, pressing Zoom In (and Zoom Out again) at
// each one below the largest zoom; the faults found, counted, the first one described.
struct PreviewSweepResult {
    int checked = 0;
    int faults = 0;
    std::string first;
};

template <class Sizes>
PreviewSweepResult SweepPreviewSizes(CPreviewView& preview, const Sizes& sizes)
{
    PreviewSweepResult result;
    CFrameWnd* frame = preview.GetParentFrame();
    auto check = [&](const char* step, CSize size) {
        ++result.checked;
        const std::string fault = PreviewBarFault(preview);
        if (!fault.empty() && result.faults++ == 0)
            result.first = std::string(step) + " at " + std::to_string(size.cx) + " x " + std::to_string(size.cy) + ": " + fault;
    };
    for (const CSize size : sizes) {
        frame->MoveWindow(0, 0, size.cx, size.cy);
        RunQueuedSizeNotices();
        check("resized", size);
        if (preview.GetZoomState() == CPreviewView::ZOOM_IN) continue;
        frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_ZOOMIN);
        RunQueuedSizeNotices();
        check("zoomed in", size);
        frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_ZOOMOUT);
        RunQueuedSizeNotices();
    }
    return result;
}
