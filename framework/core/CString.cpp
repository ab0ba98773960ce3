#include "framework/core/CString.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

std::size_t Clamp(int v, std::size_t hi)
{
    if (v < 0) return 0;
    return std::min(std::size_t(v), hi);
}

} // namespace

std::string FormatTextV(const char* format, va_list args)
{
    if (!format) return {};
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed <= 0) return {};
    std::string out(std::size_t(needed) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(std::size_t(needed));
    return out;
}

std::string FormatText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string out = FormatTextV(format, args);
    va_end(args);
    return out;
}

int CString::Compare(const char* s) const { return Sign(std::strcmp(m_text.c_str(), s ? s : "")); }

int CString::CompareNoCase(const char* s) const { return Sign(strcasecmp(m_text.c_str(), s ? s : "")); }

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const
{
    const std::size_t from = Clamp(first, m_text.size());
    return CString(m_text.substr(from, Clamp(count, m_text.size() - from)));
}

CString CString::Left(int count) const { return CString(m_text.substr(0, Clamp(count, m_text.size()))); }

CString CString::Right(int count) const
{
    const std::size_t n = Clamp(count, m_text.size());
    return CString(m_text.substr(m_text.size() - n));
}

int CString::Find(char ch, int start) const
{
    if (start < 0 || std::size_t(start) >= m_text.size()) return -1;
    const auto pos = m_text.find(ch, std::size_t(start));
    return pos == std::string::npos ? -1 : int(pos);
}

int CString::Find(const char* sub, int start) const
{
    if (!sub || start < 0 || std::size_t(start) > m_text.size()) return -1;
    const auto pos = m_text.find(sub, std::size_t(start));
    return pos == std::string::npos ? -1 : int(pos);
}

int CString::ReverseFind(char ch) const
{
    const auto pos = m_text.rfind(ch);
    return pos == std::string::npos ? -1 : int(pos);
}

void CString::MakeUpper()
{
    for (char& c : m_text) c = char(std::toupper(static_cast<unsigned char>(c)));
}

void CString::MakeLower()
{
    for (char& c : m_text) c = char(std::tolower(static_cast<unsigned char>(c)));
}

void CString::TrimLeft()
{
    std::size_t n = 0;
    while (n < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[n]))) ++n;
    m_text.erase(0, n);
}

void CString::TrimRight()
{
    while (!m_text.empty() && std::isspace(static_cast<unsigned char>(m_text.back()))) m_text.pop_back();
}

int CString::Replace(const char* from, const char* to)
{
    if (!from || !*from) return 0;
    const std::string f(from), t(to ? to : "");
    int count = 0;
    std::size_t pos = 0;
    while ((pos = m_text.find(f, pos)) != std::string::npos) {
        m_text.replace(pos, f.size(), t);
        pos += t.size();
        ++count;
    }
    return count;
}

int CString::Remove(char ch) { return int(std::erase(m_text, ch)); }

int CString::Delete(int index, int count)
{
    const std::size_t from = Clamp(index, m_text.size());
    m_text.erase(from, Clamp(count, m_text.size() - from));
    return GetLength();
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    m_text = FormatTextV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args) { m_text = FormatTextV(format, args); }

void CString::AppendFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    m_text += FormatTextV(format, args);
    va_end(args);
}

char* CString::GetBuffer(int minLength)
{
    if (minLength > 0 && m_text.size() < std::size_t(minLength)) m_text.resize(std::size_t(minLength));
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0) {
        m_text.resize(std::strlen(m_text.c_str()));
    } else {
        m_text.resize(Clamp(newLength, m_text.size()));
    }
}

