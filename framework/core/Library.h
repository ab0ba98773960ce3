#pragma once
// Loading shared libraries by the names the INI files give: "NAME.DLL" (any case) loads
// "NAME.so"; a name without a directory is looked up beside the running program only,
// never on the search path. When the file is not there as spelled, the one file that
// differs only in case is taken, as names were written for a case-blind file system.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

#include <string>
#include <string_view>

// nullptr on failure; GetLastLibraryError then says why.
HMODULE LoadLibrary(LPCSTR fileName);

// nullptr when the module does not export the name. Cast to the real signature.
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);

// Unloads the module and frees its handle (also a module built from script text).
// When it is the current resource handle, that becomes nullptr.
BOOL FreeLibrary(HMODULE module);

// Path of the running program (module == nullptr) or of a loaded library: at most
// size-1 bytes plus NUL; when cut, the return value is size.
DWORD GetModuleFileName(HMODULE module, LPSTR buffer, DWORD size);

// The reason for the last failed LoadLibrary, GetProcAddress or FreeLibrary.
CString GetLastLibraryError();

// The file that LoadLibrary(name) opens, given the program's directory.
std::string LibraryPathForName(std::string_view name, std::string_view programDirectory);

// The directory of the running program, without a trailing '/'.
std::string ProgramDirectory();
