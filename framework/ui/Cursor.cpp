// Cursors: the standard shapes, cursor resources of the language library, and the
// SetCursor, which changes the pointer over the window asking for it.
#include "framework/core/Resources.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/WindowHandle.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QPixmap>

#include <map>
#include <memory>

struct CursorHandle {
    QCursor cursor;
};

namespace {

struct StandardCursor {
    unsigned id;
    Qt::CursorShape shape;
};

constexpr StandardCursor kStandardCursors[] = {
    {32512, Qt::ArrowCursor},     {32513, Qt::IBeamCursor},     {32514, Qt::WaitCursor},
    {32515, Qt::CrossCursor},     {32516, Qt::UpArrowCursor},   {32642, Qt::SizeFDiagCursor},
    {32643, Qt::SizeBDiagCursor}, {32644, Qt::SizeHorCursor},   {32645, Qt::SizeVerCursor},
    {32646, Qt::SizeAllCursor},   {32648, Qt::ForbiddenCursor}, {32649, Qt::PointingHandCursor},
    {32650, Qt::BusyCursor},      {32651, Qt::WhatsThisCursor},
};

// Cursors live for the process, shared by every caller; the key is the module
// and resource id.
std::map<std::pair<const void*, unsigned>, std::unique_ptr<CursorHandle>>& CursorCache()
{
    static std::map<std::pair<const void*, unsigned>, std::unique_ptr<CursorHandle>> cache;
    return cache;
}

HCURSOR g_currentCursor = nullptr;

unsigned ResourceId(LPCTSTR name)
{
    return unsigned(reinterpret_cast<std::uintptr_t>(name));
}

bool IsIntResource(LPCTSTR name)
{
    return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0;
}

std::uint16_t Word(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return std::uint16_t(bytes[at] | (bytes[at + 1] << 8));
}

// A cursor file (the icon-directory layout, typed "cursor"): Qt reads its image; the hot
// spot of the first image sits where an icon keeps its planes and bit count.
bool CursorFromBytes(const std::vector<std::uint8_t>& bytes, QCursor& cursor)
{
    constexpr std::size_t kHeader = 6;
    constexpr std::size_t kEntry = 16;
    if (bytes.size() < kHeader + kEntry || Word(bytes, 0) != 0 || Word(bytes, 2) != 2 || Word(bytes, 4) == 0)
        return false;
    const QImage image = QImage::fromData(bytes.data(), int(bytes.size()), "CUR");
    if (image.isNull())
        return false;
    cursor = QCursor(QPixmap::fromImage(image), Word(bytes, kHeader + 4), Word(bytes, kHeader + 6));
    return true;
}

} // namespace

HCURSOR LoadCursor(HINSTANCE hInstance, LPCTSTR lpCursorName)
{
    if (lpCursorName == nullptr || !IsIntResource(lpCursorName))
        return nullptr;
    const unsigned id = ResourceId(lpCursorName);
    auto& cache = CursorCache();
    const auto key = std::make_pair(static_cast<const void*>(hInstance), id);
    if (auto it = cache.find(key); it != cache.end())
        return it->second.get();

    auto handle = std::make_unique<CursorHandle>();
    bool found = false;
    if (hInstance == nullptr) {
        for (const StandardCursor& standard : kStandardCursors) {
            if (standard.id == id) {
                handle->cursor = QCursor(standard.shape);
                found = true;
            }
        }
    } else if (const std::vector<std::uint8_t>* bytes = FindCursorResource(hInstance, id)) {
        found = CursorFromBytes(*bytes, handle->cursor);
    }
    if (!found)
        return nullptr;
    HCURSOR result = handle.get();
    cache.emplace(key, std::move(handle));
    return result;
}

HCURSOR SetCursor(HCURSOR hCursor)
{
    HCURSOR previous = g_currentCursor;
    g_currentCursor = hCursor;
    HWND target = AfxCursorTargetHandle();
    if (target == nullptr)
        target = AfxCaptureHandle();
    QWidget* widget = AfxWidgetFromHandle(target);
    if (widget == nullptr && qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
        widget = AfxWidgetFromHandle(AfxHandleFromWidget(QApplication::widgetAt(QCursor::pos())));
    if (widget != nullptr) {
        if (hCursor != nullptr)
            widget->setCursor(hCursor->cursor);
        else
            widget->setCursor(Qt::BlankCursor);
    }
    return previous;
}

QCursor AfxQtCursor(HCURSOR hCursor)
{
    return hCursor != nullptr ? hCursor->cursor : QCursor(Qt::ArrowCursor);
}

HCURSOR GetCursor()
{
    return g_currentCursor;
}

BOOL GetCursorPos(LPPOINT lpPoint)
{
    if (lpPoint == nullptr || qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return FALSE;
    const QPoint position = QCursor::pos();
    *lpPoint = POINT{position.x(), position.y()};
    return TRUE;
}

// Moving the pointer also makes the window under it choose its cursor again.
BOOL SetCursorPos(int x, int y)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return FALSE;
    QCursor::setPos(x, y);
    return TRUE;
}
