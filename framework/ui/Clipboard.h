#pragma once
// The clipboard: data blocks under numeric formats. Private formats (any number, e.g.
// 522-527) travel under the MIME type "application/x-taliso-format-<number>"; CF_TEXT
// as plain text. Setting a format keeps the other formats on the clipboard.
#include "framework/ui/CSharedFile.h"
#include "framework/ui/UiDefs.h"

constexpr UINT CF_TEXT = 1;

// FALSE when another window holds the clipboard open.
BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
BOOL IsClipboardFormatAvailable(UINT format);
// The data under the format (owned by the clipboard until it is closed), or nullptr.
HGLOBAL GetClipboardData(UINT format);
// The clipboard takes the block (the caller must not free it); nullptr on failure,
// when the block is freed all the same.
HGLOBAL SetClipboardData(UINT format, HGLOBAL hMem);
