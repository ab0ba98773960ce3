#include "framework/core/CFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <string>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

std::string AbsolutePath(const char* path)
{
    const std::string given(path ? path : "");
    if (given.empty()) return given;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(given, error);
    return error ? given : absolute.string();
}

bool ParentDirectoryExists(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path.has_parent_path() ? path.parent_path() : ".", error);
}

// A missing file in a missing directory is a bad path, not a missing file: the user is
// told to check the folder rather than the name.
int OpenErrorCause(int error, const std::string& path)
{
    if (path.empty()) return CFileException::badPath;
    if (error == ENOENT && !ParentDirectoryExists(path)) return CFileException::badPath;
    return CFileException::OsErrorToException(error);
}

int AccessFlags(UINT nOpenFlags)
{
    switch (nOpenFlags & 0x3) {
    case CFile::modeRead: return O_RDONLY;
    case CFile::modeWrite: return O_WRONLY;
    case CFile::modeReadWrite: return O_RDWR;
    default: return -1;
    }
}

void Report(CFileException* pError, int cause, LONG osError, const std::string& path)
{
    if (!pError) return;
    pError->m_cause = cause;
    pError->m_lOsError = osError;
    pError->m_strFileName = CString(path);
}

} // namespace

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags)
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error)) throw error;
}

CFile::~CFile()
{
    if (m_hFile != hFileNull) ::close(m_hFile);
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    Abort();
    const std::string path = AbsolutePath(lpszFileName);
    int flags = AccessFlags(nOpenFlags);
    if (flags < 0) {
        Report(pError, CFileException::genericException, EINVAL, path);
        return FALSE;
    }
    flags |= O_CLOEXEC;
    if (nOpenFlags & modeCreate) flags |= O_CREAT | ((nOpenFlags & modeNoTruncate) ? 0 : O_TRUNC);

    int fd = path.empty() ? -1 : ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        const int error = path.empty() ? ENOENT : errno;
        Report(pError, OpenErrorCause(error, path), error, path);
        return FALSE;
    }
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        Report(pError, CFileException::accessDenied, EISDIR, path);
        return FALSE;
    }
    m_hFile = fd;
    m_strFileName = CString(path);
    return TRUE;
}

void CFile::RequireOpen() const
{
    if (m_hFile == hFileNull) throw CFileException(CFileException::invalidFile, EBADF, m_strFileName);
}

void CFile::ThrowErrno(int error) const { CFileException::ThrowOsError(error, m_strFileName); }

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    RequireOpen();
    auto* out = static_cast<char*>(lpBuf);
    UINT total = 0;
    while (total < nCount) {
        const ssize_t got = ::read(m_hFile, out + total, nCount - total);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) ThrowErrno(errno);
        if (got == 0) break;
        total += UINT(got);
    }
    return total;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    RequireOpen();
    const auto* in = static_cast<const char*>(lpBuf);
    UINT total = 0;
    while (total < nCount) {
        const ssize_t put = ::write(m_hFile, in + total, nCount - total);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) ThrowErrno(errno);
        if (put == 0) throw CFileException(CFileException::diskFull, ENOSPC, m_strFileName);
        total += UINT(put);
    }
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    RequireOpen();
    const int whence = nFrom == begin ? SEEK_SET : nFrom == current ? SEEK_CUR : nFrom == end ? SEEK_END : -1;
    if (whence < 0) throw CFileException(CFileException::badSeek, EINVAL, m_strFileName);
    const off_t position = ::lseek(m_hFile, off_t(lOff), whence);
    if (position < 0) throw CFileException(CFileException::badSeek, errno, m_strFileName);
    return ULONGLONG(position);
}

ULONGLONG CFile::GetLength() const
{
    RequireOpen();
    struct stat info {};
    if (fstat(m_hFile, &info) != 0) ThrowErrno(errno);
    return ULONGLONG(info.st_size);
}

ULONGLONG CFile::GetPosition() const
{
    RequireOpen();
    const off_t position = ::lseek(m_hFile, 0, SEEK_CUR);
    if (position < 0) throw CFileException(CFileException::badSeek, errno, m_strFileName);
    return ULONGLONG(position);
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    RequireOpen();
    if (::ftruncate(m_hFile, off_t(dwNewLen)) != 0) ThrowErrno(errno);
}

void CFile::Flush()
{
    RequireOpen();
    if (::fsync(m_hFile) != 0 && errno != EINVAL && errno != EROFS) ThrowErrno(errno);
}

void CFile::Close()
{
    if (m_hFile == hFileNull) return;
    const int fd = m_hFile;
    m_hFile = hFileNull;
    if (::close(fd) != 0 && errno != EINTR) ThrowErrno(errno);
}

void CFile::Abort()
{
    if (m_hFile == hFileNull) return;
    ::close(m_hFile);
    m_hFile = hFileNull;
}

CString CFile::GetFileName() const { return CString(std::filesystem::path(m_strFileName.str()).filename().string()); }

CString CFile::GetFileTitle() const { return CString(std::filesystem::path(m_strFileName.str()).stem().string()); }

void CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName)
{
    if (!lpszOldName || !lpszNewName) throw CFileException(CFileException::badPath, ENOENT, lpszOldName);
    if (std::rename(lpszOldName, lpszNewName) != 0) {
        const int error = errno;
        throw CFileException(OpenErrorCause(error, lpszOldName), error, lpszOldName);
    }
}

BOOL CFile::IsNamedBy(LPCTSTR lpszPath) const
{
    struct stat open {};
    struct stat named {};
    return m_hFile != hFileNull && lpszPath != nullptr && ::fstat(m_hFile, &open) == 0 &&
           ::stat(lpszPath, &named) == 0 && open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

int CFile::OpenFailureCause(int error, const std::string& path) { return OpenErrorCause(error, path); }

void CFile::Remove(LPCTSTR lpszFileName)
{
    if (!lpszFileName) throw CFileException(CFileException::badPath, ENOENT, lpszFileName);
    if (::unlink(lpszFileName) != 0) {
        const int error = errno;
        throw CFileException(OpenErrorCause(error, lpszFileName), error, lpszFileName);
    }
}
