#include "framework/ui/CPaintDC.h"

#include "framework/gdi/GdiQt.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/WindowHandle.h"

#include <map>
#include <memory>

namespace {

// Devices handed out by GetDC, with the scratch image of a window that has no buffer.
struct ClientDevice {
    HWND hWnd = nullptr;
    std::unique_ptr<QImage> scratch;
    QRect area;
};

std::map<HDC, ClientDevice>& ClientDevices()
{
    static std::map<HDC, ClientDevice> devices;
    return devices;
}

RECT FromQRect(const QRect& r)
{
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void ClipTo(HDC hdc, const QRect& area)
{
    if (CDC* dc = CDC::FromHandle(hdc))
        dc->IntersectClipRect(area.left(), area.top(), area.left() + area.width(), area.top() + area.height());
}

} // namespace

HDC BeginPaint(HWND hWnd, PAINTSTRUCT* lpPaint)
{
    if (lpPaint == nullptr)
        return nullptr;
    *lpPaint = PAINTSTRUCT{};
    WindowHandle* handle = AfxIsLiveHandle(hWnd) ? hWnd : nullptr;
    if (handle == nullptr || !handle->selfPainted || !handle->widget)
        return nullptr;
    handle->EnsureBackBuffer();
    if (handle->backBuffer.isNull())
        return nullptr;
    const QRect client = handle->ClientRect();
    const QRect area = handle->invalid.boundingRect().intersected(client);
    handle->paintRect = area;
    handle->invalid = QRegion();
    HDC hdc = GdiCreateImageDevice(&handle->backBuffer);
    if (hdc == nullptr)
        return nullptr;
    ClipTo(hdc, area);
    lpPaint->hdc = hdc;
    lpPaint->rcPaint = FromQRect(area);
    lpPaint->fErase = TRUE;
    if (handle->eraseNeeded) {
        handle->eraseNeeded = false;
        lpPaint->fErase = handle->Send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) == 0;
    }
    return hdc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint)
{
    if (lpPaint == nullptr || lpPaint->hdc == nullptr)
        return FALSE;
    GdiDeleteDevice(lpPaint->hdc);
    // Painting outside a paint event (a direct call of OnPaint) still shows.
    if (AfxIsLiveHandle(hWnd) && hWnd->widget && !hWnd->inPaintEvent) {
        const RECT& r = lpPaint->rcPaint;
        hWnd->widget->update(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
    }
    return TRUE;
}

HDC GetDC(HWND hWnd)
{
    WindowHandle* handle = AfxIsLiveHandle(hWnd) ? hWnd : nullptr;
    if (handle == nullptr || !handle->widget)
        return nullptr;
    ClientDevice record;
    record.hWnd = handle;
    record.area = handle->ClientRect();
    HDC hdc = nullptr;
    if (handle->selfPainted) {
        handle->EnsureBackBuffer();
        if (!handle->backBuffer.isNull())
            hdc = GdiCreateImageDevice(&handle->backBuffer);
    }
    if (hdc == nullptr) {
        const QSize size = record.area.size().expandedTo(QSize(1, 1));
        record.scratch = std::make_unique<QImage>(size, QImage::Format_RGB32);
        record.scratch->fill(Qt::white);
        hdc = GdiCreateImageDevice(record.scratch.get());
    }
    if (hdc == nullptr)
        return nullptr;
    ClientDevices().emplace(hdc, std::move(record));
    return hdc;
}

int ReleaseDC(HWND, HDC hDC)
{
    auto it = ClientDevices().find(hDC);
    if (it == ClientDevices().end())
        return 0;
    const ClientDevice& record = it->second;
    GdiDeleteDevice(hDC);
    // What was drawn into the buffer shows without another paint pass.
    if (!record.scratch && AfxIsLiveHandle(record.hWnd) && record.hWnd->widget && !record.hWnd->inPaintEvent)
        record.hWnd->widget->update(record.area);
    ClientDevices().erase(it);
    return 1;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr)
{
    if (HDC hdc = BeginPaint(m_hWnd, &m_ps))
        Attach(hdc);
}

CPaintDC::~CPaintDC()
{
    if (m_hDC != nullptr) {
        Detach();
        EndPaint(m_hWnd, &m_ps);
    }
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr)
{
    if (HDC hdc = GetDC(m_hWnd))
        Attach(hdc);
}

CClientDC::~CClientDC()
{
    if (m_hDC != nullptr)
        ReleaseDC(m_hWnd, Detach());
}

