#include "framework/ui/Clipboard.h"

#include "framework/ui/WindowHandle.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <vector>

namespace {

struct ClipboardState {
    bool open = false;
    HWND owner = nullptr;
    std::vector<HGLOBAL> handedOut; // blocks GetClipboardData returned; freed at close
};

ClipboardState& State()
{
    static ClipboardState state;
    return state;
}

QString MimeType(UINT format)
{
    if (format == CF_TEXT)
        return QStringLiteral("text/plain");
    return QStringLiteral("application/x-taliso-format-%1").arg(format);
}

QClipboard* Board()
{
    if (!AfxEnsureGuiApplication())
        return nullptr;
    return QGuiApplication::clipboard();
}

} // namespace

BOOL OpenClipboard(HWND hWndNewOwner)
{
    ClipboardState& state = State();
    if (state.open || Board() == nullptr)
        return FALSE;
    state.open = true;
    state.owner = hWndNewOwner;
    return TRUE;
}

BOOL CloseClipboard()
{
    ClipboardState& state = State();
    if (!state.open)
        return FALSE;
    for (HGLOBAL block : state.handedOut)
        GlobalFree(block);
    state.handedOut.clear();
    state.open = false;
    state.owner = nullptr;
    return TRUE;
}

BOOL EmptyClipboard()
{
    QClipboard* board = Board();
    if (!State().open || board == nullptr)
        return FALSE;
    board->clear();
    return TRUE;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    QClipboard* board = Board();
    const QMimeData* data = board != nullptr ? board->mimeData() : nullptr;
    return data != nullptr && data->hasFormat(MimeType(format));
}

HGLOBAL GetClipboardData(UINT format)
{
    QClipboard* board = Board();
    if (!State().open || board == nullptr)
        return nullptr;
    const QMimeData* data = board->mimeData();
    if (data == nullptr || !data->hasFormat(MimeType(format)))
        return nullptr;
    const QByteArray bytes = data->data(MimeType(format));
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::size_t(bytes.size()));
    if (!bytes.isEmpty())
        std::copy(bytes.begin(), bytes.end(), static_cast<char*>(GlobalLock(block)));
    State().handedOut.push_back(block);
    return block;
}

HGLOBAL SetClipboardData(UINT format, HGLOBAL hMem)
{
    QClipboard* board = Board();
    if (!State().open || board == nullptr || GlobalLock(hMem) == nullptr) {
        GlobalFree(hMem);
        return nullptr;
    }
    // The formats already there stay; this one is added or replaced.
    auto data = std::make_unique<QMimeData>();
    if (const QMimeData* current = board->mimeData()) {
        for (const QString& type : current->formats())
            data->setData(type, current->data(type));
    }
    const auto* bytes = static_cast<const char*>(GlobalLock(hMem));
    data->setData(MimeType(format), QByteArray(bytes, qsizetype(GlobalSize(hMem))));
    board->setMimeData(data.release());
    GlobalFree(hMem);
    return hMem;
}
