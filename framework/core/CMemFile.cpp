#include "framework/core/CMemFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

namespace {

// A memory file never outgrows what a 32-bit length can describe.
constexpr ULONGLONG kMaxLength = std::numeric_limits<UINT>::max();

} // namespace

CMemFile::CMemFile(const BYTE* lpBuffer, UINT nBufferSize, UINT)
{
    Attach(lpBuffer, nBufferSize);
}

void CMemFile::Attach(const BYTE* lpBuffer, UINT nBufferSize, UINT)
{
    m_data.assign(lpBuffer, lpBuffer + (lpBuffer ? nBufferSize : 0));
    m_position = 0;
    m_bOpen = true;
}

std::vector<BYTE> CMemFile::Detach()
{
    std::vector<BYTE> content = std::move(m_data);
    m_data.clear();
    m_position = 0;
    m_bOpen = false;
    return content;
}

BOOL CMemFile::Open(LPCTSTR, UINT, CFileException* pError)
{
    if (pError) *pError = CFileException(CFileException::genericException, EINVAL);
    return FALSE;
}

void CMemFile::RequireOpenMemory() const
{
    if (!m_bOpen) throw CFileException(CFileException::invalidFile, EBADF);
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    RequireOpenMemory();
    if (m_position >= m_data.size()) return 0;
    const std::size_t count = std::min<std::size_t>(nCount, m_data.size() - m_position);
    std::memcpy(lpBuf, m_data.data() + m_position, count);
    m_position += count;
    return UINT(count);
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    RequireOpenMemory();
    if (nCount == 0) return;
    const ULONGLONG end = ULONGLONG(m_position) + nCount;
    if (end > kMaxLength) throw CFileException(CFileException::diskFull, ENOSPC);
    if (end > m_data.size()) m_data.resize(std::size_t(end));
    std::memcpy(m_data.data() + m_position, lpBuf, nCount);
    m_position = std::size_t(end);
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    RequireOpenMemory();
    LONGLONG base = 0;
    if (nFrom == current) base = LONGLONG(m_position);
    else if (nFrom == end) base = LONGLONG(m_data.size());
    else if (nFrom != begin) throw CFileException(CFileException::badSeek, EINVAL);
    const LONGLONG target = base + lOff;
    if (target < 0 || ULONGLONG(target) > kMaxLength) throw CFileException(CFileException::badSeek, EINVAL);
    m_position = std::size_t(target);
    return ULONGLONG(target);
}

ULONGLONG CMemFile::GetLength() const
{
    RequireOpenMemory();
    return m_data.size();
}

ULONGLONG CMemFile::GetPosition() const
{
    RequireOpenMemory();
    return m_position;
}

void CMemFile::SetLength(ULONGLONG dwNewLen)
{
    RequireOpenMemory();
    if (dwNewLen > kMaxLength) throw CFileException(CFileException::diskFull, ENOSPC);
    m_data.resize(std::size_t(dwNewLen));
    m_position = std::min(m_position, m_data.size());
}

void CMemFile::Close()
{
    m_data.clear();
    m_data.shrink_to_fit();
    m_position = 0;
    m_bOpen = false;
}

void CMemFile::Abort() { Close(); }
