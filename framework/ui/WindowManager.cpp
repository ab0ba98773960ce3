#include "framework/ui/WindowManager.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <cstdlib>

#ifdef TALISO_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace {

#ifdef TALISO_HAVE_XCB
// A window manager is the client that redirects the root window's children to itself;
// the root's event masks tell whether any client does.
bool RootIsRedirected(xcb_connection_t* connection)
{
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    if (screens.rem == 0)
        return false;
    xcb_get_window_attributes_reply_t* reply =
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, screens.data->root), nullptr);
    if (reply == nullptr)
        return false;
    const bool redirected = (reply->all_event_masks & XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT) != 0;
    free(reply);
    return redirected;
}
#endif

} // namespace

bool AfxWindowManagerRuns()
{
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (application == nullptr)
        return false;
#ifdef TALISO_HAVE_XCB
    if (auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>())
        return x11->connection() != nullptr && RootIsRedirected(x11->connection());
#endif
    // A Wayland compositor always manages its windows.
    return QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

QRect AfxAvailableScreenArea(const QWidget& widget)
{
    QScreen* screen = widget.screen() != nullptr ? widget.screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : widget.geometry();
}
