#include "framework/ui/ControlSupport.h"

#include "framework/core/CException.h"
#include "framework/core/Utf8Text.h"
#include "framework/gdi/GdiTextLayout.h"
#include "framework/ui/MessageBox.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstring>

void AfxNotifyParent(HWND hWndCtrl, UINT code)
{
    if (!AfxIsLiveHandle(hWndCtrl)) return;
    HWND parent = AfxParentHandle(hWndCtrl);
    if (!parent) return;
    // The notification runs inside a Qt signal, which no exception may cross: a failure
    // is reported to the user by its message, a user abort ends quietly.
    try {
        ::SendMessage(parent, WM_COMMAND, WPARAM(MAKELONG(WORD(hWndCtrl->id), WORD(code))), LPARAM(hWndCtrl));
    } catch (CUserException&) {
    } catch (CException& e) {
        AfxMessageBox(e.GetErrorText(), MB_ICONEXCLAMATION);
    } catch (std::exception& e) {
        AfxMessageBox(e.what(), MB_ICONEXCLAMATION);
    }
}

void AfxNotifyParent(QWidget* control, UINT code) { AfxNotifyParent(AfxHandleFromWidget(control), code); }

bool AfxIsWindowClass(HWND hWnd, LPCTSTR className)
{
    return AfxIsLiveHandle(hWnd) && hWnd->windowClass && className &&
           QString::fromStdString(hWnd->windowClass->name).compare(QString::fromUtf8(className), Qt::CaseInsensitive) == 0;
}

bool AfxMessageFromQt(HWND hWnd)
{
    const AfxMessageFrame* frame = AfxCurrentMessageFrame();
    return frame != nullptr && frame->fromQt && frame->hWnd == hWnd;
}

QString AfxTextFromParam(LPARAM lParam)
{
    return lParam ? QString::fromUtf8(reinterpret_cast<const char*>(lParam)) : QString();
}

int AfxCopyTextToBuffer(const QString& text, LPARAM buffer, WPARAM size)
{
    auto* out = reinterpret_cast<char*>(buffer);
    if (!out || size == 0) return 0;
    const QByteArray bytes = text.toUtf8();
    const int limit = size > WPARAM(INT32_MAX) ? INT32_MAX : int(size);
    return CopyUtf8ToBuffer(std::string_view(bytes.constData(), std::size_t(bytes.size())), out, limit);
}

int AfxCopyTextUnbounded(const QString& text, LPARAM buffer)
{
    auto* out = reinterpret_cast<char*>(buffer);
    const QByteArray bytes = text.toUtf8();
    if (!out) return int(bytes.size());
    std::memcpy(out, bytes.constData(), std::size_t(bytes.size()));
    out[bytes.size()] = '\0';
    return int(bytes.size());
}

LRESULT AfxTextLength(const QString& text) { return LRESULT(text.toUtf8().size()); }

QString AfxTextWithoutMnemonic(const QString& text) { return GdiTextLayout::StripPrefixes(text); }

QChar AfxAccessKey(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return {};
}

void AfxDrawFocusRect(QPainter& painter, const QRect& rect, const QColor& color)
{
    if (rect.isEmpty()) return;
    painter.save();
    painter.setPen(QPen(color, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

int AfxTextLineHeight(const QFont& font) { return int(std::ceil(QFontMetricsF(font).height())); }

int AfxQuarterCharsToPixels(const QFont& font, int quarters)
{
    const QFontMetrics metrics(font);
    const int alphabet = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int average = (alphabet / 26 + 1) / 2;
    return (quarters * average + 2) / 4;
}

int AfxCompareItemText(const QString& a, const QString& b)
{
    const int result = QString::compare(a, b, Qt::CaseInsensitive);
    return (result > 0) - (result < 0);
}

bool AfxItemTextStartsWith(const QString& text, const QString& prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}
