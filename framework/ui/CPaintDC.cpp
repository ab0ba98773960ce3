#include "framework/ui/CPaintDC.h"

#include "framework/gdi/GdiQt.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/WindowHandle.h"

#include <map>
#include <memory>

namespace {

// The pixels of a client DC, made when it first draws: most client DCs only measure
// text or map points, and need none. A window that paints itself gets its back buffer
// (of its client size); a window Qt paints, or one without a buffer, a scratch image
// (drawing there is not shown).
struct ClientPixels {
    HWND hWnd = nullptr;
    QSize size;
    std::unique_ptr<QImage> scratch;
    bool inBackBuffer = false;

    QImage* Provide()
    {
        if (AfxIsLiveHandle(hWnd) && hWnd->selfPainted && hWnd->widget) {
            hWnd->EnsureBackBuffer();
            if (!hWnd->backBuffer.isNull()) {
                inBackBuffer = true;
                return &hWnd->backBuffer;
            }
        }
        scratch = std::make_unique<QImage>(size, QImage::Format_RGB32);
        scratch->fill(Qt::white);
        return scratch.get();
    }
};

// Devices handed out by GetDC.
struct ClientDevice {
    std::shared_ptr<ClientPixels> pixels;
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
    record.area = handle->ClientRect();
    record.pixels = std::make_shared<ClientPixels>();
    record.pixels->hWnd = handle;
    record.pixels->size = record.area.size().expandedTo(QSize(1, 1));
    HDC hdc = GdiCreateDeferredImageDevice(record.pixels->size, [pixels = record.pixels] { return pixels->Provide(); });
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
    const HWND drawn = record.pixels->inBackBuffer ? record.pixels->hWnd : nullptr;
    if (AfxIsLiveHandle(drawn) && drawn->widget && !drawn->inPaintEvent)
        drawn->widget->update(record.area);
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

