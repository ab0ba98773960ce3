#pragma once
// Whether a window manager runs that places top-level windows and carries out requests
// such as maximising. A bare X server or the offscreen platform has none: there the
// program sizes a maximised window itself.

class QRect;
class QWidget;

bool AfxWindowManagerRuns();

// The area of the widget's screen that windows may take (without panels and docks).
QRect AfxAvailableScreenArea(const QWidget& widget);
