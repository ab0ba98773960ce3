#pragma once
// The library's texts: strings of the language library by id with %1..%9 inserts, the
// two printf formats that the driver supplies, and the library's message boxes.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"
#include "framework/ui/UiDefs.h"

#include <initializer_list>
#include <string>

// One insert: a text or a number in decimal.
class TextArg {
public:
    TextArg(const char* text) : m_text(text ? text : ""), m_isNumber(false) {}
    TextArg(const std::string& text) : m_text(text), m_isNumber(false) {}
    TextArg(const CString& text) : m_text(text.c_str()), m_isNumber(false) {}
    TextArg(int value) : m_text(std::to_string(value)), m_number(std::uint32_t(value)), m_signed(true) {}
    TextArg(long value) : TextArg(int(value)) {}
    TextArg(unsigned value) : m_text(std::to_string(value)), m_number(value) {}
    TextArg(unsigned long value) : TextArg(unsigned(value)) {}
    TextArg(BYTE value) : TextArg(unsigned(value)) {}
    TextArg(WORD value) : TextArg(unsigned(value)) {}

    const std::string& Text() const { return m_text; }
    bool IsNumber() const { return m_isNumber; }
    bool IsSigned() const { return m_signed; }
    std::uint32_t Number() const { return m_number; }

private:
    std::string m_text;
    std::uint32_t m_number = 0;
    bool m_isNumber = true;
    bool m_signed = false;
};

// Size of the static buffers of LoadDiagnoseText and FormatDiagnoseText, NUL included.
constexpr int kDiagnoseTextSize = 1024;
// The caption of every message box of the library.
constexpr UINT IDS_DIAGNOSE_CAPTION = 502;

// String id of the language library (at most 128 characters) with the inserts put in
// for %1..%9; the result lives in a static buffer until the next call.
const char* LoadDiagnoseText(UINT id, std::initializer_list<TextArg> args = {});

// A printf format given as text (the driver's status-report and operating-time formats)
// applied to the arguments. Only %s, %d, %i, %u, %x and %X with flags, width and
// precision are taken, each matched with an argument of its kind; when the conversions
// do not match the arguments one to one the arguments are shown separated by blanks
// instead. The result lives in a static buffer until the next call.
const char* FormatDiagnoseText(const char* format, std::initializer_list<TextArg> args);

// A message box with caption string 502. With id -1 the text is the first argument as it
// is; otherwise string id with the inserts. The text is cut to 159 characters.
int ShowDiagnoseMessage(HWND parent, UINT type, int id, std::initializer_list<TextArg> args = {});

// Cuts a text to at most maxBytes bytes without splitting a UTF-8 character.
std::string CutText(std::string text, std::size_t maxBytes);
