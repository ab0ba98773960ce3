#pragma once
// INI profile functions: section and key names are
// case-insensitive, blanks around names and values are ignored, a value in matching
// quotes loses them, lines starting with ';' are comments. A write keeps every other
// line as it was and replaces the file in one step, so a crash never leaves half a file.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

// Copies the value (or the default, trailing blanks removed) into buffer, at most
// size-1 bytes plus NUL, and returns the bytes copied. With section == nullptr the
// buffer receives the section names, with key == nullptr the keys of the section,
// each NUL-terminated with one more NUL at the end; when they do not fit, the list is
// cut to size-2 bytes followed by two NULs and size-2 is returned.
DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                              LPCSTR fileName);

// Reads an integer leniently: blanks, an optional sign, decimal digits (or
// "0x" and hex digits) up to the first other character; text without digits reads 0.
// A missing key or an empty value gives the default.
UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName);

// Sets a key, creating file and section as needed; value == nullptr deletes the key,
// key == nullptr deletes the whole section. FALSE when the file cannot be written or
// a name or value would not read back as written (line breaks, '=' in a key, ']' in
// a section name); the file is then unchanged and errno tells why (EINVAL for a
// refused name or value).
BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);

// The whole value without a length limit, for callers that keep no fixed buffer.
CString ReadProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPCSTR fileName);
