#include "framework/core/CException.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CException)

namespace {

const char* ArchiveCauseText(int cause)
{
    switch (cause) {
    case CArchiveException::none: return "No error occurred";
    case CArchiveException::readOnly: return "Attempted to write to an archive opened for loading";
    case CArchiveException::endOfFile: return "Unexpected end of file";
    case CArchiveException::writeOnly: return "Attempted to read from an archive opened for storing";
    case CArchiveException::badIndex: return "Invalid file format";
    case CArchiveException::badClass: return "Unexpected object in file";
    case CArchiveException::badSchema: return "Incorrect object version";
    default: return "Unexpected file format";
    }
}

const char* FileCauseText(int cause)
{
    switch (cause) {
    case CFileException::none: return "No error occurred";
    case CFileException::fileNotFound: return "File not found";
    case CFileException::badPath: return "Invalid path";
    case CFileException::tooManyOpenFiles: return "Too many open files";
    case CFileException::accessDenied: return "Access denied";
    case CFileException::invalidFile: return "Invalid file handle";
    case CFileException::removeCurrentDir: return "Cannot remove the current directory";
    case CFileException::directoryFull: return "Directory full";
    case CFileException::badSeek: return "Seek failed";
    case CFileException::hardIO: return "Hardware I/O error";
    case CFileException::sharingViolation: return "Sharing violation";
    case CFileException::lockViolation: return "Lock violation";
    case CFileException::diskFull: return "Disk full";
    case CFileException::endOfFile: return "End of file reached";
    default: return "Unspecified file error";
    }
}

CString WithFileName(const char* text, const CString& fileName)
{
    CString out(text);
    if (!fileName.IsEmpty()) out += CString(": ") + fileName;
    return out;
}

} // namespace

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext) *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0) return FALSE;
    const CString text = ErrorText();
    const std::size_t length = std::min<std::size_t>(std::size_t(text.GetLength()), nMaxError - 1);
    std::memcpy(lpszError, text.c_str(), length);
    lpszError[length] = '\0';
    return TRUE;
}

const char* CException::what() const noexcept
{
    try {
        m_what = ErrorText().str();
    } catch (...) {
        return "framework exception";
    }
    return m_what.c_str();
}

CString CException::ErrorText() const { return "Unspecified error"; }

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName)
{
}

CString CArchiveException::ErrorText() const { return WithFileName(ArchiveCauseText(m_cause), m_strFileName); }

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName)
{
}

CString CFileException::OsErrorText(LONG lOsError)
{
    return lOsError > 0 ? CString(std::strerror(int(lOsError))) : CString();
}

int CFileException::OsErrorToException(LONG lOsError)
{
    switch (lOsError) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EXDEV: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST: return accessDenied;
    case EBADF: return invalidFile;
    case EBUSY:
    case ETXTBSY: return sharingViolation;
    case EDEADLK:
    case ENOLCK: return lockViolation;
    case ESPIPE: return badSeek;
    case EIO: return hardIO;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return diskFull;
    default: return genericException;
    }
}

void CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName)
{
    throw CFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

CString CFileException::ErrorText() const { return WithFileName(FileCauseText(m_cause), m_strFileName); }

CString CMemoryException::ErrorText() const { return "Out of memory"; }
CString CUserException::ErrorText() const { return "Operation stopped by the user"; }
CString CNotSupportedException::ErrorText() const { return "Operation not supported"; }
CString CInvalidArgException::ErrorText() const { return "Invalid argument"; }

void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName) { throw CArchiveException(cause, lpszArchiveName); }

void AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
{
    throw CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowMemoryException() { throw CMemoryException(); }
void AfxThrowUserException() { throw CUserException(); }
void AfxThrowNotSupportedException() { throw CNotSupportedException(); }
void AfxThrowInvalidArgException() { throw CInvalidArgException(); }
