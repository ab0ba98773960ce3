#pragma once
// Resources by numeric id from a resource module (the language library): strings
// with %1..%9 insertion, dialog templates, menus, bitmaps, cursors, icons, accelerator
// tables and tool-bar layouts.
#include "framework/core/CString.h"
#include "framework/core/ResourceScript.h"
#include "framework/core/WinTypes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The process-wide module that resources come from (nullptr until set).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);

// Copies string 'id' into buffer (at most size-1 bytes, never half a character,
// plus NUL) and returns the bytes copied; 0 and an empty buffer for an unknown id.
int LoadString(HINSTANCE module, UINT id, LPSTR buffer, int size);

// Replace %1..%9 in a text by the given strings. A placeholder beyond the count
// is dropped, a null string inserts nothing; "%%", "%0" and other '%' stay as they are.
// The id forms take the text from the current resource module (unknown id: empty).
void AfxFormatStrings(CString& result, LPCSTR text, const char* const* strings, int count);
void AfxFormatStrings(CString& result, UINT id, const char* const* strings, int count);
void AfxFormatString1(CString& result, UINT id, LPCSTR string1);
void AfxFormatString2(CString& result, UINT id, LPCSTR string1, LPCSTR string2);

// nullptr when the module has no such resource.
const DialogTemplate* FindDialogTemplate(HINSTANCE module, UINT id);
const MenuTemplate* FindMenuTemplate(HINSTANCE module, UINT id);
const std::vector<std::uint8_t>* FindBitmapResource(HINSTANCE module, UINT id);
const std::vector<std::uint8_t>* FindCursorResource(HINSTANCE module, UINT id);
const std::vector<std::uint8_t>* FindIconResource(HINSTANCE module, UINT id);
const std::vector<AccelEntry>* FindAcceleratorTable(HINSTANCE module, UINT id);
const ToolBarTemplate* FindToolBarTemplate(HINSTANCE module, UINT id);

// A resource module built from script text, for tests and tools; nullptr with the
// parse error in 'error'. Release it with FreeLibrary.
HINSTANCE CreateResourceModule(std::string_view fileName, std::string_view scriptText, const ResourceFileLoader& files,
                               std::string& error);
