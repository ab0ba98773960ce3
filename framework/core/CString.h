#pragma once
// The string value of the program: UTF-8 bytes inside; lengths and indexes count bytes.
#include "framework/core/WinTypes.h"

#include <compare>
#include <cstdarg>
#include <string>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(const char* s) : m_text(s ? s : "") {}
    CString(const char* s, int length) : m_text(s ? std::string(s, std::size_t(std::max(length, 0))) : std::string()) {}
    CString(char ch, int repeat = 1) : m_text(std::size_t(std::max(repeat, 0)), ch) {}
    CString(std::string s) : m_text(std::move(s)) {}

    int GetLength() const { return int(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    char GetAt(int index) const { return m_text.at(std::size_t(index)); }
    char operator[](int index) const { return GetAt(index); }

    operator const char*() const { return m_text.c_str(); }
    const char* c_str() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

    CString& operator=(const char* s) { m_text = s ? s : ""; return *this; }
    CString& operator+=(const CString& s) { m_text += s.m_text; return *this; }
    CString& operator+=(const char* s) { if (s) m_text += s; return *this; }
    CString& operator+=(char ch) { m_text += ch; return *this; }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_text + b.m_text); }
    friend CString operator+(const CString& a, const char* b) { return CString(a.m_text + (b ? b : "")); }
    friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_text); }

    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == (b ? b : ""); }
    friend std::strong_ordering operator<=>(const CString& a, const CString& b) { return a.m_text <=> b.m_text; }

    int Compare(const char* s) const;
    int CompareNoCase(const char* s) const;

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;

    void MakeUpper();
    void MakeLower();
    void TrimLeft();
    void TrimRight();
    void Trim() { TrimRight(); TrimLeft(); }
    int Replace(const char* from, const char* to);
    int Remove(char ch);
    int Delete(int index, int count = 1);

    // printf semantics; a format from a resource must never reach these with untrusted text.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);
    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Text of a string resource of the current language library; FALSE (and empty) if unknown.
    BOOL LoadString(UINT id);

    // Writable buffer of at least minLength bytes; ReleaseBuffer cuts at the first NUL (or newLength).
    char* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

private:
    std::string m_text;
};

// Formats into a std::string with printf semantics.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* format, va_list args);
