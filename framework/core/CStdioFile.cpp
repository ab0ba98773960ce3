#include "framework/core/CStdioFile.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {

constexpr UINT kReadAheadSize = 4096;

} // namespace

CStdioFile::CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags)
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error)) throw error;
}

BOOL CStdioFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    m_readAhead.clear();
    m_readPos = 0;
    return CFile::Open(lpszFileName, nOpenFlags, pError);
}

bool CStdioFile::FillReadAhead()
{
    m_readAhead.resize(kReadAheadSize);
    const UINT got = CFile::Read(m_readAhead.data(), kReadAheadSize);
    m_readAhead.resize(got);
    m_readPos = 0;
    return got > 0;
}

void CStdioFile::DropReadAhead()
{
    const std::size_t unread = m_readAhead.size() - m_readPos;
    m_readAhead.clear();
    m_readPos = 0;
    if (unread > 0) CFile::Seek(-LONGLONG(unread), current);
}

BOOL CStdioFile::ReadString(CString& rString)
{
    RequireOpen();
    std::string line;
    bool readAny = false;
    for (;;) {
        if (m_readPos >= m_readAhead.size() && !FillReadAhead()) break;
        readAny = true;
        const std::size_t newline = m_readAhead.find('\n', m_readPos);
        const std::size_t stop = newline == std::string::npos ? m_readAhead.size() : newline;
        line.append(m_readAhead, m_readPos, stop - m_readPos);
        m_readPos = stop;
        if (newline != std::string::npos) {
            ++m_readPos;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            break;
        }
    }
    rString = CString(std::move(line));
    return readAny ? TRUE : FALSE;
}

void CStdioFile::WriteString(LPCTSTR lpsz)
{
    if (!lpsz) AfxThrowInvalidArgException();
    Write(lpsz, UINT(std::strlen(lpsz)));
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    RequireOpen();
    auto* out = static_cast<char*>(lpBuf);
    const std::size_t buffered = std::min<std::size_t>(nCount, m_readAhead.size() - m_readPos);
    std::memcpy(out, m_readAhead.data() + m_readPos, buffered);
    m_readPos += buffered;
    return UINT(buffered) + CFile::Read(out + buffered, nCount - UINT(buffered));
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    RequireOpen();
    DropReadAhead();
    CFile::Write(lpBuf, nCount);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    RequireOpen();
    DropReadAhead();
    return CFile::Seek(lOff, nFrom);
}

ULONGLONG CStdioFile::GetPosition() const
{
    return CFile::GetPosition() - (m_readAhead.size() - m_readPos);
}

void CStdioFile::SetLength(ULONGLONG dwNewLen)
{
    RequireOpen();
    DropReadAhead();
    CFile::SetLength(dwNewLen);
}

void CStdioFile::Flush()
{
    RequireOpen();
    DropReadAhead();
    CFile::Flush();
}

void CStdioFile::Close()
{
    m_readAhead.clear();
    m_readPos = 0;
    CFile::Close();
}

void CStdioFile::Abort()
{
    m_readAhead.clear();
    m_readPos = 0;
    CFile::Abort();
}
