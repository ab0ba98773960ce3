#pragma once
// The fixed-width integer vocabulary the device formats and the program are written in.
#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using UINT = unsigned int;
using PUINT = unsigned int*;
using BOOL = int;
using COLORREF = std::uint32_t;
using LPCTSTR = const char*;
using LPTSTR = char*;
using LPCSTR = const char*;
using LPSTR = char*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// A loaded library (or a resource module built in memory); opaque, see Library.h.
struct ModuleInstance;
using HMODULE = ModuleInstance*;
using HINSTANCE = ModuleInstance*;
// Generic exported-function pointer; cast to the real signature before calling.
using FARPROC = void (*)();

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return BYTE(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return BYTE((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return BYTE((c >> 16) & 0xFF); }

constexpr WORD LOWORD(DWORD v) { return WORD(v & 0xFFFF); }
constexpr WORD HIWORD(DWORD v) { return WORD((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(WORD v) { return BYTE(v & 0xFF); }
constexpr BYTE HIBYTE(WORD v) { return BYTE((v >> 8) & 0xFF); }
constexpr WORD MAKEWORD(BYTE lo, BYTE hi) { return WORD(lo | (WORD(hi) << 8)); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return DWORD(lo) | (DWORD(hi) << 16); }

struct POINT {
    LONG x = 0;
    LONG y = 0;
};
struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
};
struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};
